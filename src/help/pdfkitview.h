#pragma once

#include <QPdfView>
#include <QUrl>

class QPdfDocument;

// Shows the PDF at a file location one page at a time, scaled to fit the view
// as it resizes, and zoomed from there; the page keys, arrow keys and the
// wheel turn the pages.
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

signals:
    void currentPageChanged(int page);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void fitPageInView();

    QPdfDocument *m_pdf;
    int m_wheelAngle = 0; // wheel movement not yet turned into a page
    qreal m_zoom = 1;     // of the fitting scale
};
