#pragma once

#include "appex.h"
#include "election.h"

#include <QObject>

#include <functional>
#include <optional>

class CatalogueController;

// The elections the user asks for in the window. Each acts on one record the
// user chose; before it switches an extension off, or gives it back to the
// system's choice, it asks. It remembers the record elected, so that the
// window can choose it again in the listing that checks the election.
class ElectionCommands : public QObject
{
    Q_OBJECT

public:
    using Confirm =
        std::function<bool(const QString &question, const QString &detail, const QString &action)>;

    ElectionCommands(CatalogueController *catalogue, Confirm confirm, QObject *parent = nullptr);

    // Elects `record`'s extension, or with Target::Copy that copy alone,
    // unless the catalogue is busy or the user declines.
    void elect(const Appex &record, Election::Choice choice, Election::Target kind);
    // Keeps `record` to be chosen again once the job that runs ends.
    void chooseAfterJob(const Appex &record) { m_toChoose = record; }
    // The record to choose again now that a job ended, once.
    [[nodiscard]] std::optional<Appex> takeToChoose() { return std::exchange(m_toChoose, {}); }

private:
    CatalogueController *m_catalogue;
    Confirm m_confirm;
    std::optional<Appex> m_toChoose;
};
