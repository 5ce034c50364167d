#include "reportpieces.h"
#include "rtfencoder.h"
#include "rtfreader.h"

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

QString roleColour(ReportColour colour)
{
    switch (colour) {
    case ReportColour::Blue:
        return QStringLiteral("#007aff");
    case ReportColour::Green:
        return QStringLiteral("#28cd41");
    case ReportColour::Red:
        return QStringLiteral("#ff3b30");
    case ReportColour::Text:
        return QStringLiteral("auto");
    }
    return {};
}

} // namespace

class TestRtfEncoder : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
    void roundTrip_data();
    void roundTrip();
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
    QTest::newRow("one line of a report")
        << composeReport([] {
               Appex r;
               r.SDK = "kind";
               r.name = "N";
               r.path = "/p";
               r.uuid = "U";
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

void TestRtfEncoder::roundTrip_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("accents and CJK") << QStringLiteral("Café Übersicht 辞書で調べる");
    QTest::newRow("emoji beyond U+FFFF") << QStringLiteral("🎵 Recent Shazams");
    QTest::newRow("hostile RTF") << QStringLiteral(
        "}{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt y}}");
    QTest::newRow("unbalanced braces and a trailing backslash") << QStringLiteral("{{{ \\");
    QTest::newRow("tabs and control characters") << QStringLiteral("a\tb\u0001c\u2028d");
}

void TestRtfEncoder::roundTrip()
{
    QFETCH(QString, name);
    Appex record;
    record.SDK = name;
    record.name = name;
    record.path = QStringLiteral("/Applications/") + name + QStringLiteral(".app");
    record.parentName = name;
    record.parentPath = QStringLiteral("/P");
    record.uuid = QStringLiteral("6C1F9A4E");
    const ReportText report = composeReport({record, record});

    const RtfReader reader(RtfEncoder::encode(report));
    QVERIFY(reader.wellFormed());
    QString expectedText;
    QList<RtfReader::Run> expectedRuns;
    for (const auto &[text, colour] : piecesOf(report)) {
        expectedText += text;
        if (!expectedRuns.isEmpty() && expectedRuns.last().colour == roleColour(colour))
            expectedRuns.last().text += text;
        else
            expectedRuns.append({text, roleColour(colour)});
    }
    QCOMPARE(reader.text(), expectedText);
    QCOMPARE(reader.runs().size(), expectedRuns.size());
    for (qsizetype i = 0; i < expectedRuns.size(); ++i) {
        QCOMPARE(reader.runs()[i].text, expectedRuns[i].text);
        QCOMPARE(reader.runs()[i].colour, expectedRuns[i].colour);
    }
}

QTEST_GUILESS_MAIN(TestRtfEncoder)
#include "tst_rtfencoder.moc"
