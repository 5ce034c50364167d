#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QPagedPaintDevice;
class QTextDocument;

// The outline of a printed document: its headings, nested by level, each
// with the page it lands on. QPdfWriter cannot write one, so qpdf writes the
// PDF QPdfWriter wrote anew with it, and has a viewer open the PDF with its
// outline shown.
class PdfOutline
{
public:
    struct Heading
    {
        QString title;
        int level = 1; // 1 for "#", 2 for "##" and so on
        int page = 0;  // from 0
    };

    explicit PdfOutline(QList<Heading> headings);

    // The headings of `document`, each on the page where
    // QTextDocument::print() puts it when printing on `printer`.
    [[nodiscard]] static PdfOutline ofPrinted(const QTextDocument &document,
                                              QPagedPaintDevice &printer);

    [[nodiscard]] const QList<Heading> &headings() const { return m_headings; }

    // Adds the outline to `pdf`, a whole PDF. When `pdf` is not a PDF qpdf can
    // read, or a heading's page is not in it, leaves it as it was and says
    // why. Without headings there is nothing to add.
    [[nodiscard]] std::optional<QString> appendTo(QByteArray &pdf) const;

private:
    QList<Heading> m_headings;
};
