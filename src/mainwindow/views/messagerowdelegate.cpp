#include "messagerowdelegate.h"

#include "appexer.h"
#include "recordfacts.h"

#include <QApplication>
#include <QPainter>

#include <cmath>

namespace {

constexpr int itemSpacing = 8;        // between the items of a row
constexpr int rowMargin = 6;          // left and right of a row
constexpr int verticalMargin = 2;     // above and below the text
constexpr qreal fadedStrength = 0.45; // of the colour, the rest the background's
constexpr double leastFadedContrast = 3.0;

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Base).lightness() < 128;
}

// Relative luminance, as the web's accessibility guidelines define it.
double luminance(const QColor &colour)
{
    const auto linear = [](float c) {
        return c <= 0.03928f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

QColor mixed(const QColor &colour, const QColor &background, qreal strength)
{
    const auto mix = [strength](float a, float b) { return strength * a + (1 - strength) * b; };
    return QColor::fromRgbF(float(mix(colour.redF(), background.redF())),
                            float(mix(colour.greenF(), background.greenF())),
                            float(mix(colour.blueF(), background.blueF())));
}

} // namespace

std::pair<QString, QColor> MessageRowDelegate::changeMark(AppexChange change,
                                                          const QPalette &palette)
{
    const bool dark = isDark(palette);
    switch (change) {
    case AppexChange::Added:
        return {QStringLiteral("+"), dark ? QColor(0x30, 0xd1, 0x58) : QColor(0x1a, 0x7f, 0x37)};
    case AppexChange::Changed:
        return {QStringLiteral("~"), dark ? QColor(0xff, 0xd6, 0x0a) : QColor(0x8a, 0x6d, 0x00)};
    case AppexChange::Removed:
        return {QStringLiteral("\u2212"),
                dark ? QColor(0xff, 0x70, 0x70) : QColor(0xc8, 0x10, 0x2e)};
    case AppexChange::Unchanged:
        break;
    }
    return {};
}

bool MessageRowDelegate::isFaded(const Appex &record, AppexChange change)
{
    return record.election() == AppexElection::Ignore || record.active() == false ||
           change == AppexChange::Removed;
}

double MessageRowDelegate::contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor MessageRowDelegate::colourOf(MessageRow::Colour colour, const QPalette &palette)
{
    // Each at least 4.5:1 against the list's background; parent path (orange)
    // and UUID (red) apart in hue as well as in lightness.
    const bool dark = isDark(palette);
    switch (colour) {
    case MessageRow::Colour::Green:
        return dark ? QColor(0x30, 0xd1, 0x58) : QColor(0x1a, 0x7f, 0x37);
    case MessageRow::Colour::Brown:
        return dark ? QColor(0xc4, 0xa0, 0x78) : QColor(0x7f, 0x65, 0x45);
    case MessageRow::Colour::Orange:
        return dark ? QColor(0xff, 0x9f, 0x0a) : QColor(0x9a, 0x5a, 0x00);
    case MessageRow::Colour::Red:
        return dark ? QColor(0xff, 0x70, 0x70) : QColor(0xc8, 0x10, 0x2e);
    case MessageRow::Colour::Text:
        return palette.color(QPalette::Text);
    }
    Q_UNREACHABLE();
}

QColor MessageRowDelegate::faded(const QColor &colour, const QColor &background)
{
    // Faded as far as stays legible: a colour already close to the background
    // fades less, or not at all.
    constexpr qreal step = 0.05;
    QColor faded = colour;
    for (qreal strength = fadedStrength; strength < 1; strength += step) {
        faded = mixed(colour, background, strength);
        if (contrast(faded, background) >= leastFadedContrast)
            return faded;
    }
    return colour;
}

int MessageRowDelegate::marksWidth(const QFontMetrics &metrics) const
{
    const int mark = 2 * metrics.horizontalAdvance(u'M');
    return m_display.isComparing ? 2 * mark : mark;
}

int MessageRowDelegate::rowWidth(const Appex &record, const QFont &font) const
{
    const QFontMetrics metrics(font);
    const MessageRow row(record, m_display.showPaths, m_display.showUUID, m_display.isSearching);
    int width = 2 * rowMargin + marksWidth(metrics) - itemSpacing;
    for (const MessageRow::Item &item : row.items())
        width += itemSpacing + advanceOf(item.text, font);
    return width;
}

int MessageRowDelegate::advanceOf(const QString &text, const QFont &font) const
{
    constexpr qsizetype mostRemembered = 8192;
    if (const QString key = font.key();
        key != m_advancesFont || m_advances.size() > mostRemembered) {
        m_advances.clear();
        m_advancesFont = key;
    }
    auto known = m_advances.find(text);
    if (known == m_advances.end())
        known = m_advances.insert(text, QFontMetrics(font).horizontalAdvance(text));
    return *known;
}

void MessageRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    // Background, selection and focus as the style draws them, without text.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const Appex record = index.data(Appexer::RecordRole).value<Appex>();
    const auto change = AppexChange(index.data(Appexer::ChangeRole).toInt());
    const MessageRow row(record, m_display.showPaths, m_display.showUUID, m_display.isSearching);
    // On the selection colour the item colours could vanish: selected rows
    // use the palette's highlighted text throughout.
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor plain =
        option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    QFont font = option.font;
    font.setStrikeOut(change == AppexChange::Removed);
    const QFontMetrics metrics(font);
    const int mark = 2 * metrics.horizontalAdvance(u'M');
    const int alignment = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

    painter->save();
    painter->setFont(font);
    QRect area = option.rect.adjusted(rowMargin, 0, -rowMargin, 0);
    if (m_display.isComparing) {
        const auto [symbol, colour] = changeMark(change, option.palette);
        painter->setPen(selected ? plain : colour);
        painter->drawText(area, alignment, symbol);
        area.setLeft(area.left() + mark);
    }
    painter->setPen(plain);
    painter->drawText(area, alignment, RecordFacts::rowMark(record));
    area.setLeft(area.left() + mark);

    const bool faint = isFaded(record, change);
    const QColor base = option.palette.color(QPalette::Base);
    for (const MessageRow::Item &item : row.items()) {
        const QColor colour = colourOf(item.colour, option.palette);
        painter->setPen(selected ? plain : faint ? faded(colour, base) : colour);
        int advance = advanceOf(item.text, font);
        if (advance <= area.width()) {
            painter->drawText(area, alignment, item.text);
        } else {
            const QString text = metrics.elidedText(item.text, Qt::ElideRight, area.width());
            painter->drawText(area, alignment, text);
            advance = metrics.horizontalAdvance(text);
        }
        area.setLeft(area.left() + advance + itemSpacing);
        if (area.width() <= 0)
            break;
    }
    painter->restore();
}

QSize MessageRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    // Rows are as wide as the view's column: the window sets it to the widest.
    return {option.rect.width(), QFontMetrics(option.font).height() + 2 * verticalMargin};
}
