#include "helpview.h"

#include "helpfind.h"
#include "pdfkitview.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPdfBookmarkModel>
#include <QPdfDocument>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Previous and Next, and where the reader is: "Page 2 of 7"; the zoom, and
// the field that finds text.
QToolBar *pageBar(PDFKitView *view, QWidget *parent)
{
    auto *bar = new QToolBar(parent);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *previous = bar->addAction(parent->style()->standardIcon(QStyle::SP_ArrowBack),
                                       QObject::tr("&Previous"),
                                       [view] { view->goToPage(view->currentPage() - 1); });
    previous->setObjectName(QStringLiteral("previousPage"));
    previous->setToolTip(QObject::tr("The page before (Page Up)"));
    QAction *next =
        bar->addAction(parent->style()->standardIcon(QStyle::SP_ArrowForward), QObject::tr("&Next"),
                       [view] { view->goToPage(view->currentPage() + 1); });
    next->setObjectName(QStringLiteral("nextPage"));
    next->setToolTip(QObject::tr("The page after (Page Down)"));
    auto *where = new QLabel(bar);
    where->setObjectName(QStringLiteral("pageNumber"));
    where->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(where);
    const auto show = [view, previous, next, where] {
        const int pages = view->document() ? view->document()->pageCount() : 0;
        const int page = view->currentPage();
        where->setText(QObject::tr("Page %1 of %2").arg(pages ? page + 1 : 0).arg(pages));
        previous->setEnabled(page > 0);
        next->setEnabled(page + 1 < pages);
    };
    QObject::connect(view, &PDFKitView::currentPageChanged, bar, show);
    show();

    // Zoom from the page fitting the window, and back.
    struct Zoom
    {
        const char *name;
        const char *text;
        QList<QKeySequence> keys;
        void (PDFKitView::*act)();
    };
    const Zoom zooms[] = {
        {"zoomIn",
         QT_TRANSLATE_NOOP("HelpView", "Zoom &In"),
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
         &PDFKitView::zoomIn},
        {"zoomOut",
         QT_TRANSLATE_NOOP("HelpView", "Zoom &Out"),
         {QKeySequence(QKeySequence::ZoomOut)},
         &PDFKitView::zoomOut},
        {"resetZoom",
         QT_TRANSLATE_NOOP("HelpView", "&Fit Page"),
         {QKeySequence(Qt::CTRL | Qt::Key_0)},
         &PDFKitView::resetZoom}};
    for (const Zoom &zoom : zooms) {
        QAction *action = bar->addAction(QCoreApplication::translate("HelpView", zoom.text));
        action->setObjectName(QLatin1String(zoom.name));
        action->setShortcuts(zoom.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(action, &QAction::triggered, view, zoom.act);
    }

    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    auto *find = new HelpFind(view, bar);
    bar->addWidget(find);
    auto *startFind = new QAction(parent);
    startFind->setShortcut(QKeySequence::Find);
    startFind->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(startFind, &QAction::triggered, find, &HelpFind::start);
    parent->addAction(startFind);
    return bar;
}

// The document's outline beside its pages, a click going to a heading's
// page; hidden for a document without one.
QTreeView *contentsOf(PDFKitView *view, QWidget *parent)
{
    auto *contents = new QTreeView(parent);
    contents->setObjectName(QStringLiteral("helpContents"));
    contents->setAccessibleName(QObject::tr("Contents"));
    contents->setHeaderHidden(true);
    contents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *outline = new QPdfBookmarkModel(contents);
    outline->setDocument(view->document());
    contents->setModel(outline);
    contents->expandAll();
    contents->setVisible(outline->rowCount({}) > 0);
    const auto open = [view](const QModelIndex &heading) {
        view->goToPage(heading.data(int(QPdfBookmarkModel::Role::Page)).toInt());
    };
    QObject::connect(contents, &QTreeView::clicked, view, open);
    QObject::connect(contents, &QTreeView::activated, view, open);
    return contents;
}

} // namespace

HelpView::HelpView(const QUrl &pdfUrl, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *close = new QAction(this);
    close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    close->setShortcutContext(Qt::WindowShortcut);
    connect(close, &QAction::triggered, this, [this] { window()->close(); });
    addAction(close);
    if (pdfUrl.isEmpty()) {
        auto *missing =
            new QLabel(tr("The help document is missing from this installation."), this);
        missing->setObjectName(QStringLiteral("helpMissing"));
        missing->setAlignment(Qt::AlignCenter);
        missing->setWordWrap(true);
        layout->addWidget(missing);
    } else {
        auto *view = new PDFKitView(pdfUrl, this);
        layout->addWidget(pageBar(view, this));
        auto *panes = new QSplitter(this);
        panes->setChildrenCollapsible(false);
        panes->addWidget(contentsOf(view, panes));
        panes->addWidget(view);
        panes->setStretchFactor(1, 1);
        layout->addWidget(panes);
        view->setFocus();
    }
}

QUrl HelpView::helpDocumentUrl()
{
    // The resources lie beside the executable's folder: Contents/Resources in
    // the macOS bundle, share/zephlist elsewhere (installed and in the build).
#ifdef Q_OS_MACOS
    const QString resources = QStringLiteral("/../Resources");
#else
    const QString resources = QStringLiteral("/../" ZEPHLIST_DATA_DIR);
#endif
    const QString path = QDir::cleanPath(QCoreApplication::applicationDirPath() + resources +
                                         QStringLiteral("/ZephlistHelp.pdf"));
    return QFileInfo::exists(path) ? QUrl::fromLocalFile(path) : QUrl();
}
