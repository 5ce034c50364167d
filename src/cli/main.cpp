// zephlist-cli: the catalogue's records for scripts, as TSV, JSON or an RTF report.

#include "appexer.h"
#include "cataloguecontroller.h"
#include "cleanupplan.h"
#include "commandline.h"
#include "copiesexplanation.h"
#include "explanationformat.h"
#include "extensionpoint.h"
#include "historycommands.h"
#include "messages.h"
#include "output.h"
#include "recordformat.h"
#include "rtfencoder.h"
#include "shellwords.h"
#include "version.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>
#include <functional>
#include <optional>

namespace {

// The captured listing `file`; nothing once it printed why not.
std::optional<Listing> readOlderListing(const QString &file)
{
    const std::unique_ptr<ListingJob> job = ListingJob::ofFile(
        file, ListingLimits{.keepsListing = false},
        QCoreApplication::translate("zephlist-cli", "The older listing \u201C%1\u201D").arg(file));
    std::optional<Listing> older;
    QEventLoop loop;
    QObject::connect(job.get(), &ListingJob::finished, &loop, [&](ListingResult &result) {
        if (auto *failure = std::get_if<JobFailure>(&result))
            Messages::printError(failure->text);
        else
            older = std::move(std::get<Listing>(result));
        loop.quit();
    });
    job->start();
    loop.exec();
    return older;
}

// Asks `request` of the catalogue and waits for its end. Ctrl+C, SIGTERM or
// SIGHUP while the tool runs stops the tool's whole process group.
CatalogueController::Outcome await(CatalogueController &catalogue,
                                   const std::function<void()> &request)
{
    CatalogueController::Outcome outcome;
    QEventLoop loop;
    QObject::connect(&catalogue, &CatalogueController::finished, &loop,
                     [&](const CatalogueController::Outcome &ended) {
                         outcome = ended;
                         loop.quit();
                     });
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &catalogue,
                     &CatalogueController::cancel);
    request();
    loop.exec();
    return outcome;
}

// Fills the catalogue as the options ask: from the tool (after an election
// or a change of registrations, if any) or from a captured listing.
CatalogueController::Outcome load(CatalogueController &catalogue, const Options &options)
{
    return await(catalogue, [&] {
        if (!options.listing.isEmpty())
            catalogue.openListing(options.listing);
        else if (options.election)
            catalogue.elect(*options.election);
        else if (options.registration)
            catalogue.changeRegistration(*options.registration);
        else
            catalogue.getAppexes();
    });
}

// Says how a request ended: Success, or Failure once it said why.
int reported(const CatalogueController::Outcome &outcome)
{
    if (outcome.failure) {
        Messages::printFailure(*outcome.failure);
        return Failure;
    }
    if (!outcome.message.isEmpty())
        Messages::printNote(outcome.message);
    return Success;
}

// Writes `text` whole where the output goes.
int written(const QString &text, const Options &options)
{
    Output output(options.output);
    return output.write(text.toUtf8()) && output.finish() ? Success : Failure;
}

// Removes the registrations of the catalogue's stale copies; with --dry-run
// or --print-command prints the commands that would, and runs none.
int cleanUp(CatalogueController &catalogue, const AppexList &records, const Options &options)
{
    const CleanupPlan plan = CleanupPlan::of(records);
    if (plan.isEmpty()) {
        Messages::printNote(CleanupPlan::noneText());
        return Success;
    }
    if (options.dryRun || options.printCommand)
        return written(plan.commands(options.dryRun), options);
    return reported(await(catalogue, [&] { catalogue.cleanUp(plan); }));
}

// The copies of the extension that --explain names, or the identifiers
// closest to it.
int explain(const AppexList &records, const Options &options)
{
    const std::optional<CopiesExplanation> explanation =
        CopiesExplanation::of(records, options.explain);
    if (!explanation) {
        Messages::printError(QCoreApplication::translate(
                                 "zephlist-cli", "No extension \u201C%1\u201D is registered.")
                                 .arg(options.explain));
        if (const QStringList closest =
                CopiesExplanation::closestIdentifiers(records, options.explain);
            !closest.isEmpty())
            Messages::printNote(QCoreApplication::translate("zephlist-cli", "Closest: %1")
                                    .arg(closest.join(QStringLiteral(", "))));
        return Failure;
    }
    Output output(options.output);
    const QByteArray text = options.format == QLatin1String("json")
                                ? ExplanationFormat::json(*explanation)
                                : ExplanationFormat::text(*explanation);
    return output.write(text) && output.finish() ? Success : Failure;
}

int run(const Options &options)
{
    if (options.printCommand && !options.cleanStale) {
        const QStringList arguments = options.election ? options.election->toolArguments()
                                                       : options.registration->toolArguments();
        return written(ShellWords::toolCommand(arguments) + u'\n', options);
    }
    HistoryCommands history{ListingHistory(ListingHistory::defaultFolder())};
    if (options.listHistory) {
        Output output(options.output);
        return history.list(output, options.format == QLatin1String("json")) ? Success : Failure;
    }
    // The older listing first: an election is not made for a run that fails.
    std::optional<Listing> older;
    if (options.compareWithPrevious)
        older = history.readPrevious(); // before this run's listing is kept
    else if (!options.compare.isEmpty())
        older = readOlderListing(options.compare);
    if (!options.compare.isEmpty() && !older)
        return Failure;
    Appexer appexer;
    appexer.sortAppexList(options.sortCode);
    CatalogueController catalogue(&appexer, options.tool, options.limits);
    if (options.allCopies)
        catalogue.setCopies(ListingJob::Copies::All);
    if (options.keepHistory)
        catalogue.setHistory(history.history());
    QObject::connect(&catalogue, &CatalogueController::warning, &Messages::printError);
    if (reported(load(catalogue, options)) != Success)
        return Failure;
    if (options.registration)
        return Success; // what changed is all it tells
    if (options.cleanStale)
        return cleanUp(catalogue, appexer.appexList(), options);

    if (!options.explain.isEmpty())
        return explain(appexer.appexList(), options);

    const AppexSearch search(options.search, options.scope);
    const auto wanted = [&](const Appex &record) {
        return (options.search.isEmpty() || search.matches(record)) &&
               (options.point.isEmpty() ||
                ExtensionPoint::matches(record.bytes(AppexField::Point), options.point)) &&
               (!options.problemsOnly || record.problems());
    };
    const bool filtering =
        !options.search.isEmpty() || !options.point.isEmpty() || options.problemsOnly;
    Output output(options.output);
    const auto write = [&output](QByteArrayView piece) { return output.write(piece); };
    const bool json = options.format == QLatin1String("json");
    bool written = false;
    if (!options.compare.isEmpty()) {
        QList<ComparedAppex> changes = compareListings(older->records, appexer.inListingOrder());
        if (options.compareWithPrevious)
            Messages::printNote(ListingHistory::changesSince(history.previousTime(), changes));
        changes.removeIf([&](const ComparedAppex &change) { return !wanted(change.record); });
        sortChanges(changes, options.sortCode);
        written =
            json ? RecordFormat::writeJson(changes, write) : RecordFormat::writeTsv(changes, write);
    } else {
        // Copies of the records found only: a catalogue of a million records
        // is not copied whole to keep a few.
        AppexList found;
        if (filtering)
            std::copy_if(appexer.appexList().begin(), appexer.appexList().end(),
                         std::back_inserter(found), wanted);
        const AppexList &records = filtering ? found : appexer.appexList();
        written = json ? RecordFormat::writeJson(records, write)
                  : options.format == QLatin1String("rtf")
                      ? write(RtfEncoder::encode(composeReport(records)))
                      : RecordFormat::writeTsv(records, write);
    }
    return written && output.finish() ? Success : Failure;
}

} // namespace

int main(int argc, char *argv[])
{
    int status = Success;
    {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("zephlist-cli"));
        QCoreApplication::setApplicationVersion(QStringLiteral(ZEPHLIST_VERSION));

        CommandLine commandLine;
        const std::optional<Options> options = commandLine.read(QCoreApplication::arguments());
        if (!options) {
            std::fputs(qPrintable(commandLine.helpText()), stderr);
            return BadUsage;
        }
        status = run(*options);
    } // the application's end waits for a stopped tool's group to go
    if (TerminationSignals::received() != 0)
        TerminationSignals::endByReceivedSignal();
    return status;
}
