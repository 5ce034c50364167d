#pragma once

#include "erroralert.h"
#include "savepanel.h"

#include <functional>

// Stands between a save and its panel and alert, to tell when a file was
// saved: the panel was confirmed and no alert followed.
class SaveWatcher : public SavePanel, public ErrorAlert
{
public:
    using Saved = std::function<void(const QString &location)>;

    SaveWatcher(SavePanel &panel, ErrorAlert &alert, Saved saved);

    void begin(const QString &proposedName, Completion completion) override;
    void showErrorAlert(const QString &detail) override;

private:
    SavePanel &m_panel;
    ErrorAlert &m_alert;
    Saved m_saved;
    bool m_failed = false;
};
