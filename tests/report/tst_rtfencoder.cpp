#include "reportpieces.h"
#include "rtfencoder.h"
#include "version.h"

#include <QTest>

namespace {

const QByteArray header = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
                          "{\\fonttbl{\\f0\\fswiss\\fcharset0 Helvetica;}}\n";
const QByteArray generator =
    "\n{\\*\\generator Zephlist " ZEPHLIST_VERSION ";}\n\\pard\\plain\\f0\\fs24\n";

QByteArray document(const QByteArray &colourTable, const QByteArray &body)
{
    return header + colourTable + generator + body + "}\n";
}

} // namespace

class TestRtfEncoder : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
};

void TestRtfEncoder::bytes_data()
{
    QTest::addColumn<ReportText>("report");
    QTest::addColumn<QByteArray>("rtf");

    using C = ReportColour;
    QTest::newRow("empty report") << ReportText() << document("{\\colortbl;}", "");
    QTest::newRow("colour table holds the colours used, in a fixed order")
        << reportOf({{"r", C::Red}, {"b", C::Blue}})
        << document("{\\colortbl;\\red0\\green122\\blue255;\\red255\\green59\\blue48;}",
                    "\\cf2 r\\cf1 b");
    QTest::newRow("standard text is the automatic colour")
        << reportOf({{"a", C::Text}, {"b", C::Text}}) << document("{\\colortbl;}", "\\cf0 ab");
    QTest::newRow("escapes") << reportOf({{"\\{}\tx\ny", C::Text}})
                             << document("{\\colortbl;}", "\\cf0 \\\\\\{\\}\\tab x\\par\ny");
    QTest::newRow("non-ASCII as signed UTF-16 units")
        << reportOf({{"\u00E9\uFFFD\U0001F3B5", C::Text}})
        << document("{\\colortbl;}", "\\cf0 \\u233?\\u-3?\\u-10180?\\u-8267?");
    QTest::newRow("control characters never raw")
        << reportOf({{QString::fromUtf16(u"a\u0000\r\u007F\u001Bb", 6), C::Text}})
        << document("{\\colortbl;}", "\\cf0 a\\u0?\\u13?\\u127?\\u27?b");
    QTest::newRow("field text never becomes markup")
        << reportOf({{"}{\\field{\\*\\fldinst HYPERLINK \"x\"}}", C::Text}})
        << document("{\\colortbl;}",
                    "\\cf0 \\}\\{\\\\field\\{\\\\*\\\\fldinst HYPERLINK \"x\"\\}\\}");
    QTest::newRow("the parent marker")
        << reportOf({{parentMarker, C::Text}})
        << document("{\\colortbl;}", "\\cf0 \\u-10178?\\u-8751?\\u8205?\\u-10178?\\u-8750? ");
    QTest::newRow("one line of a report")
        << composeReport([] {
               Appex r;
               r.setText(AppexField::SDK, u"kind");
               r.setText(AppexField::Name, u"N");
               r.setText(AppexField::Path, u"/p");
               r.setText(AppexField::Uuid, u"U");
               return AppexList{r};
           }())
        << document("{\\colortbl;\\red0\\green122\\blue255;\\red40\\green205\\blue65;}",
                    "\\cf1 kind \\cf0 N \\cf2 /p \\cf0 U\\par\n");
}

void TestRtfEncoder::bytes()
{
    QFETCH(ReportText, report);
    QTEST(RtfEncoder::encode(report), "rtf");
}

QTEST_GUILESS_MAIN(TestRtfEncoder)
#include "tst_rtfencoder.moc"
