#pragma once

#include <QString>

#include <functional>

// A modeless panel in which the user picks where to save the report. Each
// call of begin() opens a panel of its own.
class SavePanel
{
public:
    enum class Response { Cancel, OK };
    // Called once, when the panel closes; `location` is the chosen file, or
    // empty when the panel gave none.
    using Completion = std::function<void(Response response, const QString &location)>;

    virtual ~SavePanel() = default;

    // Shows a panel proposing `proposedName` and returns at once.
    virtual void begin(const QString &proposedName, Completion completion) = 0;
};
