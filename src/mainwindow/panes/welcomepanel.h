#pragma once

#include <QWidget>

class QAction;

// Shown over the empty list of a new window, until its first listing: what
// Zephlist does, and a button for the action that lists.
class WelcomePanel : public QWidget
{
    Q_OBJECT

public:
    explicit WelcomePanel(QAction *getAppexes, QWidget *parent = nullptr);

    // Its texts at a comfortable measure, and as high as they wrap at it.
    [[nodiscard]] QSize sizeHint() const override;
};
