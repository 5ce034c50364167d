#include "detailstext.h"

#include <QMimeData>
#include <QTextDocumentFragment>

namespace {

constexpr char16_t breakHere = u'\u200B'; // ZERO WIDTH SPACE

} // namespace

QString DetailsText::breakable(const QString &value)
{
    QString text;
    text.reserve(value.size() + value.size() / 8);
    for (qsizetype at = 0; at < value.size(); ++at) {
        text += value[at];
        // Not at the end, where no line goes on.
        if ((value[at] == u'.' || value[at] == u'/') && at + 1 < value.size())
            text += breakHere;
    }
    return text;
}

QMimeData *DetailsText::createMimeDataFromSelection() const
{
    const QTextDocumentFragment selection(textCursor());
    auto *copied = new QMimeData;
    copied->setText(selection.toPlainText().remove(breakHere));
    copied->setHtml(selection.toHtml().remove(breakHere));
    return copied;
}
