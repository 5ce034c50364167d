#include "electioncommands.h"

#include "cataloguecontroller.h"
#include "windowrules.h"

ElectionCommands::ElectionCommands(CatalogueController *catalogue, Confirm confirm, QObject *parent)
    : QObject(parent)
    , m_catalogue(catalogue)
    , m_confirm(std::move(confirm))
{}

void ElectionCommands::elect(const Appex &record, Election::Choice choice, Election::Target kind)
{
    if (m_catalogue->isBusy())
        return;
    const bool copy = kind == Election::Target::Copy;
    if (choice != Election::Choice::Use) {
        const auto [question, detail, action] = choice == Election::Choice::Ignore
                                                    ? WindowRules::disableConfirmation(record, copy)
                                                    : WindowRules::resetConfirmation(record);
        // The question's own event loop may see the catalogue change: the
        // record is a copy, and the catalogue is asked again.
        if (!m_confirm(question, detail, action) || m_catalogue->isBusy())
            return;
    }
    m_toChoose = record;
    m_catalogue->elect({copy ? record.uuid() : record.identifier(), choice, kind});
}
