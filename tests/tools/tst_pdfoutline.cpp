#include "pdfoutline.h"
#include "zephlisttest.h"

#include <QBuffer>
#include <QPdfBookmarkModel>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

class TestPdfOutline : public QObject
{
    Q_OBJECT

private slots:
    void headingsReadBackNestedOnTheirPages();
    void headingsAtTheFootOfAPageGoToTheNext();
    void unexpectedPdfIsLeftAsItWas_data();
    void unexpectedPdfIsLeftAsItWas();
};

namespace {

// Headings spread over several pages, one of them non-ASCII, two with
// parentheses (one unbalanced) and one with a backslash; printed as the help is.
struct Printed
{
    QByteArray pdf;
    PdfOutline outline;
};

QString sampleMarkdown()
{
    const QString filler =
        QStringLiteral("Filler text that runs on over many lines, so that the headings below it "
                       "land further down the pages and some of them on later ones.\n\n");
    return QStringLiteral("# Getting started\n\n") + filler.repeated(5) +
           QStringLiteral("## Find (Ctrl+F)\n\n") + filler.repeated(9) +
           QStringLiteral("## Größe ▸ Zoom\n\n") + filler.repeated(3) +
           QStringLiteral("### Back\\\\slash\n\n") + filler + QStringLiteral("# Second part\n\n") +
           filler.repeated(12) + QStringLiteral("## Closing ) alone\n\n") + filler;
}

Printed printed(const QString &markdown = sampleMarkdown())
{
    QTextDocument document;
    document.setMarkdown(markdown);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    std::optional<PdfOutline> outline;
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A5));
        pdf.setPageMargins(QMarginsF(14, 14, 14, 14), QPageLayout::Millimeter);
        outline = PdfOutline::ofPrinted(document, pdf);
        document.print(&pdf);
    }
    return {buffer.data(), *outline};
}

// Each heading of the outline indented by its depth, with its page.
QStringList outlineOf(const QAbstractItemModel &model, const QModelIndex &parent = {},
                      int depth = 0)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex heading = model.index(row, 0, parent);
        lines << QString(depth * 2, u' ') + heading.data().toString() + QStringLiteral(" @") +
                     heading.data(int(QPdfBookmarkModel::Role::Page)).toString();
        lines << outlineOf(model, heading, depth + 1);
    }
    return lines;
}

// The first page whose text holds `text`, as the PDF's reader finds it.
int pageShowing(QPdfDocument &document, const QString &text)
{
    for (int page = 0; page < document.pageCount(); ++page) {
        if (document.getAllText(page).text().contains(text))
            return page;
    }
    return -1;
}

} // namespace

void TestPdfOutline::headingsReadBackNestedOnTheirPages()
{
    Printed made = printed();
    QCOMPARE(made.outline.appendTo(made.pdf), std::nullopt);
    QVERIFY(made.pdf.contains("/PageMode /UseOutlines"));
    // Each heading is open, with a count of all below it, so a viewer shows
    // every heading (qpdf writes a dictionary's keys in order).
    const QString written = QString::fromLatin1(made.pdf);
    for (const QString &counted : {QStringLiteral("/Count 6 /First [^>]*/Type /Outlines"),
                                   QStringLiteral("/Count 3 /Dest [^>]*/Title \\(Getting started"),
                                   QStringLiteral("/Count 1 /Dest [^>]*/Title \\(Second part")})
        QVERIFY2(written.contains(QRegularExpression(counted)), qPrintable(counted));
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("outlined.pdf")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(made.pdf) == made.pdf.size());
    file.close();

    QPdfDocument document;
    QCOMPARE(document.load(file.fileName()), QPdfDocument::Error::None);
    // Qt warns of a destination it cannot read a place from.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("bookmark")));
    QPdfBookmarkModel bookmarks(nullptr);
    bookmarks.setDocument(&document);
    QStringList expected;
    for (const QString &heading :
         {QStringLiteral("Getting started"), QStringLiteral("  Find (Ctrl+F)"),
          QStringLiteral("  Größe ▸ Zoom"), QStringLiteral("    Back\\slash"),
          QStringLiteral("Second part"), QStringLiteral("  Closing ) alone")})
        expected << heading + QStringLiteral(" @") +
                        QString::number(pageShowing(document, heading.trimmed()));
    QCOMPARE(outlineOf(bookmarks), expected);
    // The headings spread over the pages, the last one two pages on at least.
    QVERIFY2(pageShowing(document, QStringLiteral("Closing ) alone")) >= 2,
             qPrintable(expected.join(u'\n')));
}

// A heading that does not fit at the foot of a page is printed at the top of
// the next, and its page is that one.
void TestPdfOutline::headingsAtTheFootOfAPageGoToTheNext()
{
    QString markdown;
    for (int heading = 10; heading < 70; ++heading)
        markdown += QStringLiteral("## Heading %1\n\nA line.\n\n").arg(heading);
    const Printed made = printed(markdown);
    QPdfDocument document;
    QBuffer pdf;
    pdf.setData(made.pdf);
    pdf.open(QIODevice::ReadOnly);
    document.load(&pdf);
    for (const PdfOutline::Heading &heading : made.outline.headings())
        QCOMPARE(heading.page, pageShowing(document, heading.title));
}

void TestPdfOutline::unexpectedPdfIsLeftAsItWas_data()
{
    QTest::addColumn<QByteArray>("pdf");
    QTest::addColumn<int>("lastPage"); // where the outline's last heading goes
    QTest::addColumn<QString>("reason");

    const Printed made = printed();
    const int lastPage = made.outline.headings().last().page;
    QTest::newRow("not a PDF") << QByteArray("Hello\n") << lastPage << "unable to find trailer";
    QByteArray damaged = made.pdf; // qpdf mends it, with a warning
    QTest::newRow("damaged") << damaged.replace(" 65535 f", " 65535 x") << lastPage
                             << "file is damaged";
    QTest::newRow("beyond the last page") << made.pdf << 40 << "on page 41 of";
}

void TestPdfOutline::unexpectedPdfIsLeftAsItWas()
{
    QFETCH(QByteArray, pdf);
    QFETCH(int, lastPage);
    QFETCH(QString, reason);
    QList<PdfOutline::Heading> headings = printed().outline.headings();
    headings.last().page = lastPage;
    QByteArray updated = pdf;
    const std::optional<QString> failure = PdfOutline(headings).appendTo(updated);
    QVERIFY(failure);
    QVERIFY2(failure->contains(reason), qPrintable(*failure));
    QCOMPARE(updated, pdf);
}

ZEPHLIST_GUI_TEST_MAIN(TestPdfOutline)
#include "tst_pdfoutline.moc"
