#pragma once

#include "appexer.h"
#include "cataloguecontroller.h"

// A window's catalogue without the window: the model and the controller
// that fills it, with the waits that tests and benchmarks use.
class TestCatalogue
{
public:
    explicit TestCatalogue(QString tool = QString(), ListingLimits limits = {});

    // Each starts a job and waits for it: true when it succeeded.
    [[nodiscard]] bool getAppexes(SortCode sortCode);
    [[nodiscard]] bool loadListing(const QString &file, SortCode sortCode);
    [[nodiscard]] bool elect(const Election &election);
    [[nodiscard]] bool changeRegistration(const Registration &registration);
    [[nodiscard]] bool compareWith(const QString &file);
    // Waits for the job running to end: true when it succeeded.
    [[nodiscard]] bool finished();

    // How the last job that ended ended.
    [[nodiscard]] QString failureText() const;
    [[nodiscard]] QString failureDetail() const;

    Appexer model;
    CatalogueController controller;
    CatalogueController::Outcome outcome;

private:
    int m_ended = 0;
};
