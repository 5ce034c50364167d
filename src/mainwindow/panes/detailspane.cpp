#include "detailspane.h"

#include "appexfield.h"
#include "detailstext.h"
#include "recordfacts.h"

#include <QAction>
#include <QHBoxLayout>
#include <QToolButton>

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString changeText(AppexChange change)
{
    switch (change) {
    case AppexChange::Added:
        return DetailsPane::tr("New since the older listing.");
    case AppexChange::Changed:
        return DetailsPane::tr("Changed since the older listing.");
    case AppexChange::Removed:
        return DetailsPane::tr("Removed since the older listing; these are its last values.");
    case AppexChange::Unchanged:
        break;
    }
    return {};
}

// A line per field that changed: "Version 28.0 → 28.0.1".
QString changedLines(const Appex &older, const Appex &record)
{
    QStringList lines;
    const QList<AppexField> changed = changedFields(older, record);
    for (const AppexFieldInfo &field : appexFields) {
        if (changed.contains(field.field))
            lines << QStringLiteral("<b>%1</b> %2")
                         .arg(escaped(fieldLabel(field)),
                              escaped(DetailsPane::tr("%1 \u2192 %2")
                                          .arg(older.text(field.field), record.text(field.field))));
    }
    return lines.join(QStringLiteral("<br>"));
}

} // namespace

DetailsPane::DetailsPane(const QList<QAction *> &elections, const QList<QAction *> &copyElections,
                         QWidget *parent)
    : QWidget(parent)
    , m_text(new DetailsText(this))
    , m_copies(new CopiesPane(this))
    , m_elections(new QWidget(this))
{
    setObjectName(QStringLiteral("details"));
    m_text->setObjectName(QStringLiteral("detailsText"));
    m_text->setAccessibleName(tr("Details"));
    m_elections->setObjectName(QStringLiteral("detailsButtons"));
    connect(m_copies, &CopiesPane::noted, this, &DetailsPane::noted);
    connect(m_copies, &CopiesPane::useCopyRequested, this, &DetailsPane::useCopyRequested);
    connect(m_copies, &CopiesPane::allCopiesRequested, this, &DetailsPane::allCopiesRequested);
    // One row of buttons under the text, each with the command's short text;
    // where the pane is narrow they give up room rather than widen it.
    auto *buttons = new QHBoxLayout(m_elections);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(2);
    for (QAction *election : elections + copyElections) {
        auto *button = new QToolButton(m_elections);
        button->setDefaultAction(election);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(u'x') * 4);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_text, 1);
    column->addWidget(m_copies, 1);
    column->addWidget(m_elections);
    showRecord(nullptr, AppexChange::Unchanged, {}, {}, {});
}

QSize DetailsPane::sizeHint() const
{
    // Room for the row of buttons whole.
    return {std::max(fontMetrics().horizontalAdvance(u'x') * 48, m_elections->sizeHint().width()),
            QWidget::sizeHint().height()};
}

QSize DetailsPane::minimumSizeHint() const
{
    return {std::max(fontMetrics().horizontalAdvance(u'x') * 16,
                     m_elections->minimumSizeHint().width()),
            QWidget::minimumSizeHint().height()};
}

void DetailsPane::showRecord(const Appex *record, AppexChange change,
                             const std::optional<Appex> &older, const AppexList &copies,
                             CopiesPane::Source source)
{
    m_text->setHtml(record ? describe(*record, change, older)
                           : tr("<p>Choose an extension to see all about it.</p>"));
    // Entries without an identifier are no copies of each other.
    const AppexList own = record && record->identifier().isEmpty() ? AppexList{*record} : copies;
    m_copies->showCopies(record ? CopiesExplanation::of(own, record->identifier()) : std::nullopt,
                         source);
}

QString DetailsPane::describe(const Appex &record, AppexChange change,
                              const std::optional<Appex> &older)
{
    QString html = QStringLiteral("<h3>%1</h3>").arg(escaped(record.name()));
    if (const QString changed = changeText(change); !changed.isEmpty())
        html += QStringLiteral("<p><i>%1</i></p>").arg(escaped(changed));
    if (older)
        html += QStringLiteral("<p>%1</p>").arg(changedLines(*older, record));
    // A long identifier or path breaks at its dots and slashes, not mid-word.
    const auto row = [](const QString &label, const QString &value) {
        return QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
            .arg(escaped(label), escaped(DetailsText::breakable(value)));
    };
    html += u"<table cellspacing=\"4\">"_qs;
    html += row(tr("Category"), record.category());
    for (const AppexFieldInfo &field : appexFields)
        html += row(fieldLabel(field), record.text(field.field));
    html += QStringLiteral("</table>");

    if (const QStringList problems = RecordFacts::problems(record); !problems.isEmpty()) {
        html += QStringLiteral("<h4>%1</h4><ul>").arg(escaped(tr("Problems")));
        for (const QString &problem : problems)
            html += QStringLiteral("<li>%1</li>").arg(escaped(problem));
        html += QStringLiteral("</ul>");
    }
    return html;
}
