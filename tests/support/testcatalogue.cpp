#include "testcatalogue.h"

#include <QSignalSpy>

TestCatalogue::TestCatalogue(QString tool, ListingLimits limits)
    : loader(std::move(tool), limits)
    , controller(&model, &loader)
{}

bool TestCatalogue::getAppexes(qint64 sortCode)
{
    QSignalSpy done(&controller, &CatalogueController::jobFinished);
    controller.refresh(sortCode);
    return done.wait(10000) && done.first().first().toBool();
}

bool TestCatalogue::loadListing(const QString &file, qint64 sortCode)
{
    QSignalSpy done(&controller, &CatalogueController::jobFinished);
    controller.openListing(file, sortCode);
    return done.wait(10000) && done.first().first().toBool();
}

bool TestCatalogue::elect(const QString &identifier, CatalogueController::ElectionChoice choice,
                          qint64 sortCode)
{
    QSignalSpy done(&controller, &CatalogueController::jobFinished);
    controller.setElection(identifier, choice, sortCode);
    return done.wait(10000) && done.first().first().toBool();
}

bool TestCatalogue::compareWith(const QString &file)
{
    QSignalSpy done(&controller, &CatalogueController::jobFinished);
    controller.compareWithListing(file);
    return done.wait(10000) && done.first().first().toBool();
}

bool TestCatalogue::finished()
{
    QSignalSpy done(&controller, &CatalogueController::jobFinished);
    return done.wait(10000) && done.first().first().toBool();
}
