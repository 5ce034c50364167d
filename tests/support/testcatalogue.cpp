#include "testcatalogue.h"

#include <QEventLoop>
#include <QTimer>

TestCatalogue::TestCatalogue(QString tool, ListingLimits limits)
    : controller(&model, std::move(tool), limits)
{
    QObject::connect(&controller, &CatalogueController::finished,
                     [this](const CatalogueController::Outcome &ended) {
                         outcome = ended;
                         ++m_ended;
                     });
}

bool TestCatalogue::getAppexes(SortCode sortCode)
{
    model.sortAppexList(sortCode);
    controller.getAppexes();
    return finished();
}

bool TestCatalogue::loadListing(const QString &file, SortCode sortCode)
{
    model.sortAppexList(sortCode);
    controller.openListing(file);
    return finished();
}

bool TestCatalogue::elect(const Election &election)
{
    controller.elect(election);
    return finished();
}

bool TestCatalogue::changeRegistration(const Registration &registration)
{
    controller.changeRegistration(registration);
    return finished();
}

bool TestCatalogue::compareWith(const QString &file)
{
    controller.compareWithListing(file);
    return finished();
}

bool TestCatalogue::finished()
{
    if (!controller.isBusy())
        return false;
    // A loop of its own, not QTest's waits, which sleep between events and
    // would slow a tool's listing beyond its time-out.
    QEventLoop loop;
    QObject::connect(&controller, &CatalogueController::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    const int before = m_ended;
    loop.exec();
    return m_ended > before && !outcome.failure;
}

QString TestCatalogue::failureText() const
{
    return outcome.failure ? outcome.failure->text : QString();
}

QString TestCatalogue::failureDetail() const
{
    return outcome.failure ? outcome.failure->detail : QString();
}
