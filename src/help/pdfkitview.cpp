#include "pdfkitview.h"

#include <QKeyEvent>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QWheelEvent>

namespace {

constexpr qreal zoomStep = 1.25;
constexpr qreal mostZoom = 4;

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
    // At zoom 1 a point takes the screen's logical pixels per point.
    const qreal pixelsPerPoint = logicalDpiY() / 72.0;
    setZoomFactor(m_zoom * std::min(room.width() / (points.width() * pixelsPerPoint),
                                    room.height() / (points.height() * pixelsPerPoint)));
}
