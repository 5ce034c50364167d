#pragma once

#include <QTextBrowser>

// The details pane's text, whose long values (identifiers, paths) may break
// after a dot or a slash as the pane narrows, rather than within a word. The
// breaks are zero-width spaces in the text shown, which a copy leaves out.
class DetailsText : public QTextBrowser
{
    Q_OBJECT

public:
    using QTextBrowser::QTextBrowser;

    // `value` with a break allowed after each dot and slash within it.
    [[nodiscard]] static QString breakable(const QString &value);

protected:
    [[nodiscard]] QMimeData *createMimeDataFromSelection() const override;
};
