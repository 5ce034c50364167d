#include "pdfkitview.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfSearchModel>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

constexpr qreal zoomStep = 1.25;
constexpr qreal mostZoom = 4;
constexpr float currentFoundOpacity = 0.45F;
constexpr float otherFoundOpacity = 0.2F;

} // namespace

PDFKitView::PDFKitView(const QUrl &url, QWidget *parent)
    : QPdfView(parent)
    , m_pdf(new QPdfDocument(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setPageMode(PageMode::SinglePage);
    // Qt 6.4's ZoomMode::FitInView draws nothing in single-page mode; the
    // fitting scale is ours to compute, on every resize.
    setZoomMode(ZoomMode::Custom);
    if (m_pdf->load(url.toLocalFile()) == QPdfDocument::Error::None)
        setDocument(m_pdf);
    connect(pageNavigator(), &QPdfPageNavigator::currentPageChanged, this,
            &PDFKitView::currentPageChanged);
}

PDFKitView::~PDFKitView()
{
    // The document, our child, outlives QPdfView's own destructor and tells
    // its status when closing: the view must no longer be listening then.
    setDocument(nullptr);
}

int PDFKitView::currentPage() const
{
    return pageNavigator()->currentPage();
}

void PDFKitView::goToPage(int page)
{
    if (!document() || page < 0 || page >= document()->pageCount() || page == currentPage())
        return;
    pageNavigator()->jump(page, QPointF());
    fitPageInView();
}

void PDFKitView::zoomIn()
{
    m_zoom = std::min(m_zoom * zoomStep, mostZoom);
    fitPageInView();
}

void PDFKitView::zoomOut()
{
    m_zoom = std::max(m_zoom / zoomStep, qreal(1));
    fitPageInView();
}

void PDFKitView::resetZoom()
{
    m_zoom = 1;
    fitPageInView();
}

QRect PDFKitView::pageArea() const
{
    if (!document() || currentPage() < 0 || currentPage() >= document()->pageCount())
        return {};
    // Qt 6.4's QPdfView tells no page's place: it is worked out here as
    // QPdfView lays its single page out, rounded as it rounds it, at the
    // top of the document's margins and in the middle of the wider of the
    // document and the viewport, less how far the view is scrolled.
    const QSize page =
        (document()->pagePointSize(currentPage()) * pixelsPerPoint() * zoomFactor()).toSize();
    const QMargins margins = documentMargins();
    const int width =
        std::max(page.width() + margins.left() + margins.right(), viewport()->width());
    return {QPoint((width - page.width()) / 2 - horizontalScrollBar()->value(),
                   margins.top() - verticalScrollBar()->value()),
            page};
}

void PDFKitView::markFound(const QPdfSearchModel *search, int current)
{
    m_found = search;
    m_current = current;
    viewport()->update();
}

void PDFKitView::paintEvent(QPaintEvent *event)
{
    QPdfView::paintEvent(event);
    const QRect page = pageArea();
    if (!m_found || page.isEmpty())
        return;
    const QSizeF points = document()->pagePointSize(currentPage());
    const QTransform toViewport =
        QTransform::fromTranslate(page.x(), page.y())
            .scale(page.width() / points.width(), page.height() / points.height());
    const QPdfLink current = m_current >= 0 && m_current < m_found->rowCount({})
                                 ? m_found->resultAtIndex(m_current)
                                 : QPdfLink();
    QPainter painter(viewport());
    painter.setClipRect(page);
    for (const QPdfLink &place : m_found->resultsOnPage(currentPage())) {
        QColor colour = palette().color(QPalette::Highlight);
        const bool strong = current.isValid() && current.page() == place.page() &&
                            current.rectangles() == place.rectangles();
        colour.setAlphaF(strong ? currentFoundOpacity : otherFoundOpacity);
        for (const QRectF &part : place.rectangles())
            painter.fillRect(toViewport.mapRect(part), colour);
    }
}

void PDFKitView::resizeEvent(QResizeEvent *event)
{
    QPdfView::resizeEvent(event);
    fitPageInView();
}

void PDFKitView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_Space:
        goToPage(currentPage() + 1);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        goToPage(currentPage() - 1);
        break;
    case Qt::Key_Home:
        goToPage(0);
        break;
    case Qt::Key_End:
        if (document())
            goToPage(document()->pageCount() - 1);
        break;
    default:
        QPdfView::keyPressEvent(event);
    }
}

void PDFKitView::wheelEvent(QWheelEvent *event)
{
    // One page per notch of a wheel (120), however finely a touchpad reports it.
    m_wheelAngle += event->angleDelta().y();
    for (; m_wheelAngle >= 120; m_wheelAngle -= 120)
        goToPage(currentPage() - 1);
    for (; m_wheelAngle <= -120; m_wheelAngle += 120)
        goToPage(currentPage() + 1);
    event->accept();
}

void PDFKitView::fitPageInView()
{
    if (!document() || document()->pageCount() == 0)
        return;
    const QSizeF points = document()->pagePointSize(currentPage());
    const QSize room = viewport()->size().shrunkBy(documentMargins());
    if (points.isEmpty() || room.isEmpty())
        return;
    setZoomFactor(m_zoom * std::min(room.width() / (points.width() * pixelsPerPoint()),
                                    room.height() / (points.height() * pixelsPerPoint())));
}

qreal PDFKitView::pixelsPerPoint()
{
    // QPdfView counts in the primary screen's logical pixels, whichever
    // screen it is on.
    const QScreen *screen = QGuiApplication::primaryScreen();
    return (screen ? screen->logicalDotsPerInch() : 72.0) / 72.0;
}
