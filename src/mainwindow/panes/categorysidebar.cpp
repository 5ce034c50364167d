#include "categorysidebar.h"

#include "extensionpoint.h"

#include <QScrollBar>
#include <QStyle>

#include <map>

namespace {

constexpr int kindRole = Qt::UserRole;
constexpr int categoryRole = Qt::UserRole + 1;

} // namespace

CategorySidebar::CategorySidebar(QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("sidebar"));
    setAccessibleName(tr("Categories"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A long category is cut at its end, where its count stays readable
    // enough, and shows whole in its tip: cut in the middle, a point read as
    // two words run together.
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            emit scopeChosen(item->data(categoryRole).toString(),
                             item->data(kindRole).toInt() == Problems);
    });
    setRecords({});
}

QSize CategorySidebar::sizeHint() const
{
    const int typical =
        fontMetrics().horizontalAdvance(QStringLiteral("Background Downloads (999)"));
    return {typical + 2 * frameWidth() + verticalScrollBar()->sizeHint().width() +
                2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this),
            QListWidget::sizeHint().height()};
}

QSize CategorySidebar::minimumSizeHint() const
{
    return {sizeHint().width() / 2, QListWidget::minimumSizeHint().height()};
}

void CategorySidebar::setRecords(const AppexList &records)
{
    const QListWidgetItem *chosen = currentItem();
    const int chosenKind = chosen ? chosen->data(kindRole).toInt() : All;
    const QString chosenCategory = chosen ? chosen->data(categoryRole).toString() : QString();

    // Counted by point, which reads the records' bytes, then by category,
    // which makes a string: a catalogue holds few points.
    std::map<QByteArray, qsizetype> byPoint;
    qsizetype problems = 0;
    for (const Appex &record : records) {
        ++byPoint[record.bytes(AppexField::Point).toByteArray()];
        problems += record.problems() ? 1 : 0;
    }
    std::map<QString, qsizetype> counts; // sorted by name
    for (const auto &[point, count] : byPoint)
        counts[ExtensionPoint::category(point)] += count;
    const QSignalBlocker quiet(this);
    clear();
    addEntry(All, {}, tr("All"), records.size());
    addEntry(Problems, {}, tr("Problems"), problems);
    for (const auto &[category, count] : counts)
        addEntry(OneCategory, category, category, count);

    int row = 0; // All, when the chosen category is gone
    for (int at = 0; at < count(); ++at) {
        const QListWidgetItem *entry = item(at);
        if (entry->data(kindRole).toInt() == chosenKind &&
            entry->data(categoryRole).toString() == chosenCategory)
            row = at;
    }
    setCurrentRow(row);
    if (row == 0 && chosenKind != All)
        emit scopeChosen({}, false);
}

void CategorySidebar::setProblemsOnly(bool problemsOnly)
{
    const QListWidgetItem *chosen = currentItem();
    const bool problemsChosen = chosen && chosen->data(kindRole).toInt() == Problems;
    if (problemsOnly != problemsChosen)
        setCurrentRow(problemsOnly ? Problems : All); // the first rows, in the order of Kind
}

void CategorySidebar::addEntry(Kind kind, const QString &category, const QString &label,
                               qsizetype count)
{
    auto *entry = new QListWidgetItem(tr("%1 (%L2)").arg(label).arg(count), this);
    entry->setData(kindRole, kind);
    entry->setData(categoryRole, category);
    entry->setToolTip(label);
}
