#pragma once

#include <QString>

#include <functional>

// A modeless panel in which the user picks a captured listing to open.
class OpenPanel
{
public:
    // Called once, when the panel closes, with the chosen file; empty when
    // the user cancelled.
    using Completion = std::function<void(const QString &file)>;

    virtual ~OpenPanel() = default;

    // Shows a panel titled `title`, in `folder` or, when it is empty, in the
    // folder last used, and returns at once.
    virtual void begin(const QString &title, const QString &folder, Completion completion) = 0;
};
