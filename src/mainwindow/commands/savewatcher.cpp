#include "savewatcher.h"

SaveWatcher::SaveWatcher(SavePanel &panel, ErrorAlert &alert, Saved saved)
    : m_panel(panel)
    , m_alert(alert)
    , m_saved(std::move(saved))
{}

void SaveWatcher::begin(const QString &proposedName, Completion completion)
{
    m_panel.begin(proposedName, [this, completion = std::move(completion)](
                                    Response response, const QString &location) {
        m_failed = false;
        completion(response, location);
        if (response == Response::OK && !location.isEmpty() && !m_failed)
            m_saved(location);
    });
}

void SaveWatcher::showErrorAlert(const QString &detail)
{
    m_failed = true;
    m_alert.showErrorAlert(detail);
}
