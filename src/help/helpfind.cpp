#include "helpfind.h"

#include "pdfkitview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPdfSearchModel>

HelpFind::HelpFind(PDFKitView *view, QWidget *parent)
    : QWidget(parent)
    , m_view(view)
    , m_field(new QLineEdit(this))
    , m_where(new QLabel(this))
    , m_search(new QPdfSearchModel(this))
{
    m_field->setObjectName(QStringLiteral("helpFind"));
    m_field->setPlaceholderText(tr("Find"));
    m_field->setClearButtonEnabled(true);
    m_field->setToolTip(tr("Find text in the help; Enter goes to the next place (Ctrl+F)"));
    m_where->setObjectName(QStringLiteral("helpFound"));
    m_where->setContentsMargins(4, 0, 8, 0);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_field);
    row->addWidget(m_where);
    m_search->setDocument(view->document());
    connect(m_field, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_shown = -1;
        m_search->setSearchString(text);
        showFound();
    });
    connect(m_field, &QLineEdit::returnPressed, this, &HelpFind::showNext);
    // The pages are searched a few at a time: the first place shows once found.
    connect(m_search, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_shown < 0)
            showNext();
        else
            showFound();
    });
    connect(m_search, &QAbstractItemModel::modelReset, this, &HelpFind::showFound);
}

void HelpFind::start()
{
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void HelpFind::showNext()
{
    const int found = m_search->rowCount({});
    if (found == 0)
        return;
    m_shown = (m_shown + 1) % found;
    m_view->goToPage(m_search->resultAtIndex(m_shown).page());
    showFound();
}

void HelpFind::showFound()
{
    const int found = m_search->rowCount({});
    m_view->markFound(m_search, m_shown);
    if (m_field->text().isEmpty())
        m_where->clear();
    else if (found == 0)
        m_where->setText(tr("Not found"));
    else
        m_where->setText(tr("%L1 of %L2").arg(std::max(m_shown, 0) + 1).arg(found));
}
