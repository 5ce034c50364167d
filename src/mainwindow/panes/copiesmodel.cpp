#include "copiesmodel.h"

#include "explanationformat.h"
#include "messagerowdelegate.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>

void CopiesModel::setExplanation(std::optional<CopiesExplanation> explanation)
{
    beginResetModel();
    m_explanation = std::move(explanation);
    endResetModel();
}

const CopiesExplanation::Copy *CopiesModel::copyAt(int row) const
{
    if (!m_explanation || row < 0 || row >= m_explanation->copies.size())
        return nullptr;
    return &m_explanation->copies.at(row);
}

int CopiesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_explanation ? 0 : int(m_explanation->copies.size());
}

int CopiesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QString CopiesModel::textOf(int column, const CopiesExplanation::Copy &copy)
{
    switch (column) {
    case Use:
        return ExplanationFormat::useText(copy);
    case Why:
        // The copy in use needs no excuse; its own problems are the pane's.
        return copy.use == CopiesExplanation::Use::InUse
                   ? QString()
                   : ExplanationFormat::reasons(copy).join(QStringLiteral(", "));
    case Version:
        return copy.record.version();
    case Registered:
        return copy.record.timestamp();
    case Folder:
        return copy.record.path();
    default:
        return {};
    }
}

// The copies of one extension differ in where their apps lie; past that,
// their paths are mostly the same ("…/Notes Plus.app/Contents/PlugIns/…"),
// and a whole path cut in the middle hid the part that differs.
QString CopiesModel::folderShown(const QString &path)
{
    const qsizetype app = path.indexOf(QLatin1String(".app/"));
    const qsizetype end = path.lastIndexOf(u'/', app >= 0 ? app : path.size() - 1);
    if (end < 0)
        return path;
    return end == 0 ? QStringLiteral("/") : path.left(end);
}

QVariant CopiesModel::data(const QModelIndex &index, int role) const
{
    const CopiesExplanation::Copy *copy =
        index.isValid() && index.column() < columnTotal ? copyAt(index.row()) : nullptr;
    if (!copy)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        // The day tells copies apart; the time and zone are in the tip.
        if (index.column() == Registered)
            return copy->record.timestamp().section(u' ', 0, 0);
        if (index.column() == Folder)
            return folderShown(copy->record.path());
        return textOf(index.column(), *copy);
    case Qt::ToolTipRole: // whole, where the column cuts it
        return textOf(index.column(), *copy);
    case Qt::FontRole: {
        if (copy->use != CopiesExplanation::Use::InUse)
            return {};
        QFont bold; // only the weight, over the view's font
        bold.setBold(true);
        return bold;
    }
    case Qt::ForegroundRole: {
        if (copy->use != CopiesExplanation::Use::NotUsed)
            return {};
        const QPalette palette = QGuiApplication::palette();
        return MessageRowDelegate::faded(palette.color(QPalette::Text),
                                         palette.color(QPalette::Base));
    }
    default:
        return {};
    }
}

QVariant CopiesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Use:
        return tr("Use");
    case Why:
        return tr("Why Not Used");
    case Version:
        return tr("Version");
    case Registered:
        return tr("Registered");
    case Folder:
        return tr("Folder");
    default:
        return {};
    }
}
