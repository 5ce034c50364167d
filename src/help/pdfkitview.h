#pragma once

#include <QPdfView>
#include <QPointer>
#include <QUrl>

class QPdfDocument;
class QPdfSearchModel;

// Shows the PDF at a file location one page at a time, scaled to fit the view
// as it resizes, and zoomed from there; the page keys, arrow keys and the
// wheel turn the pages. What a search found on the page shown is marked in
// the palette's highlight colour.
// Configured once, when made. A file that is not a PDF leaves the view
// without a document.
class PDFKitView : public QPdfView
{
    Q_OBJECT

public:
    explicit PDFKitView(const QUrl &url, QWidget *parent = nullptr);
    ~PDFKitView() override;

    [[nodiscard]] int currentPage() const;
    void goToPage(int page);
    // Larger or smaller by a step, from the page fitting the view to four
    // times that; resetZoom() fits it again.
    void zoomIn();
    void zoomOut();
    void resetZoom();

    // Where the page shown lies in the viewport; empty when there is none.
    [[nodiscard]] QRect pageArea() const;
    // Marks the places `search` found on the page shown, lightly, and the one
    // at `current` among all strongly (none when -1), from now on until
    // called again; a null `search` marks nothing.
    void markFound(const QPdfSearchModel *search, int current);

signals:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void fitPageInView();
    // Logical pixels a point takes at zoom factor 1, as QPdfView counts them.
    [[nodiscard]] static qreal pixelsPerPoint();

    QPdfDocument *m_pdf;
    int m_wheelAngle = 0; // wheel movement not yet turned into a page
    qreal m_zoom = 1;     // of the fitting scale
    QPointer<const QPdfSearchModel> m_found;
    int m_current = -1; // the place found shown strongly
};
