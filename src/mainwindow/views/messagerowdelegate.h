#pragma once

#include "listingcomparison.h"
#include "messagerow.h"

#include <QHash>
#include <QStyledItemDelegate>

// Paints a row's MessageRow items on one line, each in its colour, in the
// view's font. A mark at the left tells the extension's election when it is
// not plainly in use, and, while comparing, how the record changed; ignored
// and removed records, and copies not used, are drawn faded.
class MessageRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // What every row shows, as the window's settings and state say.
    struct Display
    {
        bool showPaths = false;
        bool showUUID = false;
        bool isSearching = false;
        bool isComparing = false;

        bool operator==(const Display &) const = default;
    };

    using QStyledItemDelegate::QStyledItemDelegate;

    void setDisplay(Display display) { m_display = display; }
    [[nodiscard]] Display display() const { return m_display; }

    // The colour of an item on `palette`, legible on light and dark palettes.
    [[nodiscard]] static QColor colourOf(MessageRow::Colour colour, const QPalette &palette);
    // The mark of a change and its colour on `palette`: "+", "~" or "−";
    // none for an unchanged record.
    [[nodiscard]] static std::pair<QString, QColor> changeMark(AppexChange change,
                                                               const QPalette &palette);
    // Whether a record is drawn faded: ignored, a copy not used, or removed.
    [[nodiscard]] static bool isFaded(const Appex &record, AppexChange change);
    // The contrast ratio of two colours, 1 to 21, as the web's accessibility
    // guidelines define it.
    [[nodiscard]] static double contrast(const QColor &a, const QColor &b);
    // `colour` faded towards `background`, for the records that are off or
    // gone, yet at least 3:1 against it.
    [[nodiscard]] static QColor faded(const QColor &colour, const QColor &background);
    // The width that `record`'s row takes in `font`.
    [[nodiscard]] int rowWidth(const Appex &record, const QFont &font) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const override;

private:
    [[nodiscard]] int marksWidth(const QFontMetrics &metrics) const;
    // The advance of `text` in `font`, remembered: rows repeat their SDKs,
    // names and parents, and shaping text is the dearest part of painting.
    [[nodiscard]] int advanceOf(const QString &text, const QFont &font) const;

    Display m_display;
    mutable QHash<QString, int> m_advances;
    mutable QString m_advancesFont; // the font the advances are of
};
