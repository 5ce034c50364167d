#pragma once

#include "appexer.h"
#include "cataloguecontroller.h"

// A window's catalogue without the window: the model, its loader and the
// controller that ties them, with the waits that tests and benchmarks use.
class TestCatalogue
{
public:
    explicit TestCatalogue(QString tool = QString(), ListingLimits limits = {});

    // Each starts a job and waits for it: true when it succeeded.
    [[nodiscard]] bool getAppexes(qint64 sortCode);
    [[nodiscard]] bool loadListing(const QString &file, qint64 sortCode);
    [[nodiscard]] bool elect(const QString &identifier, CatalogueController::ElectionChoice choice,
                             qint64 sortCode);
    [[nodiscard]] bool compareWith(const QString &file);
    // Waits for the job running to end: true when it succeeded.
    [[nodiscard]] bool finished();

    Appexer model;
    ListingLoader loader;
    CatalogueController controller;
};
