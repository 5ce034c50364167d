#include "golden.h"
#include "helpview.h"
#include "pdfkitview.h"
#include "zephlisttest.h"

#include <QPainter>
#include <QPdfBookmarkModel>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

class TestPDFKitView : public QObject
{
    Q_OBJECT

private slots:
    void helpDocumentHasPages();
    void pageFitsTheViewAsItResizes();
    void keysTurnPages();
    void contentsFollowTheOutline();

private:
    const QUrl m_help = QUrl::fromLocalFile(QStringLiteral(ZEPHLIST_HELP_PDF));
};

void TestPDFKitView::helpDocumentHasPages()
{
    QPdfDocument document;
    QCOMPARE(document.load(m_help.toLocalFile()), QPdfDocument::Error::None);
    QVERIFY(document.pageCount() >= 3);
    QCOMPARE(document.metaData(QPdfDocument::MetaDataField::Title).toString(),
             QStringLiteral("Zephlist Help"));
}

void TestPDFKitView::pageFitsTheViewAsItResizes()
{
    PDFKitView view(m_help);
    QVERIFY(view.document());
    QCOMPARE(view.pageMode(), QPdfView::PageMode::SinglePage);
    view.resize(400, 900); // tall: the width decides
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const qreal narrow = view.zoomFactor();
    view.resize(800, 900);
    QCoreApplication::processEvents();
    QVERIFY2(view.zoomFactor() > narrow * 1.5, qPrintable(QString::number(view.zoomFactor())));
    view.resize(800, 300); // wide: the height decides
    QCoreApplication::processEvents();
    QVERIFY(view.zoomFactor() < narrow);
}

void TestPDFKitView::keysTurnPages()
{
    PDFKitView view(m_help);
    view.resize(400, 600);
    view.show();
    QCOMPARE(view.currentPage(), 0);
    QTest::keyClick(&view, Qt::Key_PageDown);
    QCOMPARE(view.currentPage(), 1);
    QTest::keyClick(&view, Qt::Key_End);
    QCOMPARE(view.currentPage(), view.document()->pageCount() - 1);
    QTest::keyClick(&view, Qt::Key_PageDown); // no page after the last
    QCOMPARE(view.currentPage(), view.document()->pageCount() - 1);
    QTest::keyClick(&view, Qt::Key_Home);
    QCOMPARE(view.currentPage(), 0);
}

// A document's outline lists its headings beside it, each going to its page;
// a document without one shows no empty list.
void TestPDFKitView::contentsFollowTheOutline()
{
    HelpView outlined(QUrl::fromLocalFile(testDataPath(QStringLiteral("help/outline.pdf"))));
    auto *contents = outlined.findChild<QTreeView *>(QStringLiteral("helpContents"));
    QVERIFY(!contents->isHidden());
    QCOMPARE(contents->model()->rowCount(), 2);
    const QModelIndex second = contents->model()->index(1, 0);
    QCOMPARE(second.data().toString(), QStringLiteral("Searching"));
    emit contents->activated(second);
    QCOMPARE(outlined.findChild<PDFKitView *>()->currentPage(), 1);

    // The help's own outline: its sections under its title, each on the
    // page that shows it.
    const HelpView help(m_help);
    const auto *helpContents = help.findChild<QTreeView *>(QStringLiteral("helpContents"));
    QVERIFY(!helpContents->isHidden());
    const QAbstractItemModel *headings = helpContents->model();
    const QModelIndex title = headings->index(0, 0);
    QCOMPARE(title.data().toString(), QStringLiteral("Zephlist Help"));
    QVERIFY(headings->rowCount(title) >= 10);
    QPdfDocument *pdf = help.findChild<PDFKitView *>()->document();
    for (int row = 0; row < headings->rowCount(title); ++row) {
        const QModelIndex section = headings->index(row, 0, title);
        const int page = section.data(int(QPdfBookmarkModel::Role::Page)).toInt();
        QVERIFY2(pdf->getAllText(page).text().simplified().contains(section.data().toString()),
                 qPrintable(section.data().toString()));
    }

    QTemporaryDir folder;
    const QString plainPdf = folder.filePath(QStringLiteral("plain.pdf"));
    {
        QPdfWriter writer(plainPdf);
        QPainter(&writer).drawText(QPoint(100, 100), QStringLiteral("No outline"));
    }
    const HelpView plain(QUrl::fromLocalFile(plainPdf));
    QVERIFY(plain.findChild<QTreeView *>(QStringLiteral("helpContents"))->isHidden());
}

ZEPHLIST_GUI_TEST_MAIN(TestPDFKitView)
#include "tst_pdfkitview.moc"
