#pragma once

#include <QFrame>

class QLabel;
class QPlainTextEdit;
class QToolButton;
class QHBoxLayout;

// A message over the list, in the manner of KDE's KMessageWidget: an icon,
// one sentence, optional details to unfold, buttons for what can be done
// about it, and a button that closes it. An error's sentence wraps, to be
// read whole; information, which stays while the user works, keeps to one
// line, cut in the middle where the bar is narrow and whole in its tip.
class MessageBar : public QFrame
{
    Q_OBJECT

public:
    enum class Kind { Error, Information };

    explicit MessageBar(Kind kind, QWidget *parent = nullptr);

    // Shows `text`; `details`, when there are any, behind a "Details" button.
    void showMessage(const QString &text, const QString &details = {});
    void addActionButton(QAction *action);
    void setClosable(bool closable);

    // Its buttons, in the order they lie.
    [[nodiscard]] QList<QWidget *> buttons() const;
    [[nodiscard]] QString text() const;

    [[nodiscard]] QString details() const;

private:
    QLabel *m_text;
    QToolButton *m_detailsButton;
    QPlainTextEdit *m_details;
    QToolButton *m_close;
    QHBoxLayout *m_row;
};
