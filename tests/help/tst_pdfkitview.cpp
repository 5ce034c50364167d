#include "golden.h"
#include "helpview.h"
#include "pdfkitview.h"
#include "zephlisttest.h"

#include <QLineEdit>
#include <QPainter>
#include <QPdfBookmarkModel>
#include <QPdfDocument>
#include <QPdfPageRenderer>
#include <QPdfSearchModel>
#include <QPdfWriter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

// Whether the view has drawn its page at the size it shows it, since
// `drawn` was last cleared, and then nothing more for a while. QPdfView 6.4
// keeps a page it was drawing as the zoom changed at the old size,
// stretched; and a grab of a page not drawn yet asks for it once more. So a
// zoom waits for the page being drawn, and a grab for the page drawn.
bool drawnAndSettled(PDFKitView &view, QSignalSpy &drawn)
{
    const auto drawnAtSize = [&view, &drawn] {
        const QSize size = view.pageArea().size() * view.devicePixelRatio();
        return std::any_of(drawn.cbegin(), drawn.cend(),
                           [size](const QList<QVariant> &page) { return page[1] == size; });
    };
    if (!QTest::qWaitFor(drawnAtSize))
        return false;
    while (drawn.wait(300)) {
    }
    drawn.clear();
    return true;
}

// The page shown as QPdfDocument renders it at the size the view shows it,
// on white paper as QPdfView lays it.
QImage renderedPage(PDFKitView &view)
{
    QImage paper(view.pageArea().size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter(&paper).drawImage(0, 0, view.document()->render(view.currentPage(), paper.size()));
    return paper;
}

// Whether the view's pixels are its page as rendered, where pageArea() says.
bool showsRenderedPage(PDFKitView &view)
{
    const QRect page = view.pageArea();
    const QImage rendered = renderedPage(view);
    const QImage shown = view.viewport()->grab().toImage();
    const QRect area = page & view.viewport()->rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (shown.pixel(x, y) != rendered.pixel(x - page.x(), y - page.y()))
                return false;
        }
    }
    return true;
}

} // namespace

class TestPDFKitView : public QObject
{
    Q_OBJECT

private slots:
    void helpDocumentHasPages();
    void pageFitsTheViewAsItResizes();
    void keysTurnPages();
    void contentsFollowTheOutline();
    void foundPlacesAreMarkedWhereTheyAre_data();
    void foundPlacesAreMarkedWhereTheyAre();
    void findingMarksThePlaceFound();

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

void TestPDFKitView::foundPlacesAreMarkedWhereTheyAre_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("zoomSteps");
    QTest::newRow("tall, fitting") << QSize(420, 640) << 0;
    QTest::newRow("wide, fitting") << QSize(900, 480) << 0;
    QTest::newRow("tall, zoomed and scrolled") << QSize(420, 640) << 3;
    QTest::newRow("wide, zoomed and scrolled") << QSize(900, 480) << 2;
}

// The page lies where pageArea() says: the view's pixels are the page as
// QPdfDocument renders it there. The place shown is marked strongly in the
// highlight colour, the others on the page lightly, and nothing else changes.
void TestPDFKitView::foundPlacesAreMarkedWhereTheyAre()
{
    QFETCH(QSize, size);
    QFETCH(int, zoomSteps);
    PDFKitView view(m_help);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Highlight, Qt::green);
    view.setPalette(palette);
    QSignalSpy drawn(view.findChild<QPdfPageRenderer *>(), &QPdfPageRenderer::pageRendered);
    view.resize(size);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(drawnAndSettled(view, drawn));
    for (int step = 0; step < zoomSteps; ++step)
        view.zoomIn();
    if (zoomSteps > 0)
        QVERIFY(drawnAndSettled(view, drawn));
    for (QScrollBar *bar : {view.horizontalScrollBar(), view.verticalScrollBar()})
        bar->setValue(bar->maximum() * 2 / 3);
    QVERIFY(showsRenderedPage(view));

    const QRect page = view.pageArea();
    const QImage rendered = renderedPage(view);
    const QRect shown = page & view.viewport()->rect();

    QPdfSearchModel search;
    search.setDocument(view.document());
    search.setSearchString(QStringLiteral("the"));
    QTRY_VERIFY(search.resultsOnPage(0).size() > 3);
    const QSizeF points = view.document()->pagePointSize(0);
    const auto onScreen = [&](const QRectF &place) {
        return QRectF(page.x() + place.x() * page.width() / points.width(),
                      page.y() + place.y() * page.height() / points.height(),
                      place.width() * page.width() / points.width(),
                      place.height() * page.height() / points.height());
    };
    const QList<QPdfLink> places = search.resultsOnPage(0);
    const auto visible = std::find_if(places.cbegin(), places.cend(), [&](const QPdfLink &place) {
        return shown.contains(onScreen(place.rectangles().first()).toAlignedRect());
    });
    QVERIFY(visible != places.cend());
    const int current = int(visible - places.cbegin()); // page 0's places come first
    view.markFound(&search, current);
    const QImage marked = view.viewport()->grab().toImage();

    // How much of a white pixel's red the mark leaves, where it was white.
    const auto redLeft = [&](int x, int y) {
        const QRgb before = rendered.pixel(x - page.x(), y - page.y());
        return qRed(before) < 200 ? -1 : qRed(marked.pixel(x, y)) / qreal(qRed(before));
    };
    int strong = 0;
    int light = 0;
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        for (int x = shown.left(); x <= shown.right(); ++x) {
            const auto near = [x, y, &onScreen](const QPdfLink &place, int margin) {
                const QList<QRectF> parts = place.rectangles();
                return std::any_of(parts.cbegin(), parts.cend(), [&](const QRectF &part) {
                    return onScreen(part)
                        .adjusted(-margin, -margin, margin, margin)
                        .contains(QPointF(x, y));
                });
            };
            const qreal left = redLeft(x, y);
            if (near(places[current], -1)) {
                QVERIFY2(left < 0 || (left > 0.45 && left < 0.65),
                         qPrintable(QString::number(left)));
                strong += left >= 0;
            } else if (std::any_of(places.cbegin(), places.cend(),
                                   [&](const QPdfLink &place) { return near(place, -1); })) {
                QVERIFY2(left < 0 || (left > 0.7 && left < 0.9), qPrintable(QString::number(left)));
                light += left >= 0;
            } else if (std::none_of(places.cbegin(), places.cend(),
                                    [&](const QPdfLink &place) { return near(place, 1); })) {
                QCOMPARE(marked.pixel(x, y), rendered.pixel(x - page.x(), y - page.y()));
            }
        }
    }
    QVERIFY(strong > 0 && light > 0); // there were white pixels to mark
}

// The help's find field marks the first place it finds, on the page it goes
// to, until the field is cleared.
void TestPDFKitView::findingMarksThePlaceFound()
{
    HelpView help(m_help);
    auto *view = help.findChild<PDFKitView *>();
    QPalette palette = view->palette();
    palette.setColor(QPalette::Highlight, Qt::blue); // a colour the help's text never has
    view->setPalette(palette);
    help.resize(700, 800);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    const QString words = QStringLiteral("Comparison"); // one word, far into the help
    help.findChild<QLineEdit *>(QStringLiteral("helpFind"))->setText(words);
    QTRY_VERIFY(view->currentPage() > 0);

    QPdfSearchModel search;
    search.setDocument(view->document());
    search.setSearchString(words);
    QTRY_VERIFY(search.rowCount({}) > 0);
    const QPdfLink first = search.resultAtIndex(0);
    QCOMPARE(view->currentPage(), first.page());
    const QRect page = view->pageArea();
    const QSizeF points = view->document()->pagePointSize(first.page());
    const QPointF middle = first.rectangles().first().center();
    const QPoint spot(page.x() + int(middle.x() * page.width() / points.width()),
                      page.y() + int(middle.y() * page.height() / points.height()));
    const auto blueness = [view, spot] {
        const QRgb shown = view->viewport()->grab().toImage().pixel(spot);
        return qBlue(shown) - qRed(shown);
    };
    QVERIFY2(blueness() > 80, qPrintable(QString::number(blueness())));
    help.findChild<QLineEdit *>(QStringLiteral("helpFind"))->clear();
    QVERIFY2(blueness() < 20, qPrintable(QString::number(blueness())));
}

ZEPHLIST_GUI_TEST_MAIN(TestPDFKitView)
#include "tst_pdfkitview.moc"
