// zephlist-cli: the catalogue's records for scripts, as TSV, JSON or an RTF report.

#include "appexer.h"
#include "appexsearch.h"
#include "cataloguecontroller.h"
#include "copiesexplanation.h"
#include "explanationformat.h"
#include "extensionpoint.h"
#include "outputfilewriter.h"
#include "recordformat.h"
#include "rtfencoder.h"
#include "terminationsignals.h"
#include "toolsource.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>
#include <optional>

#include <unistd.h>

namespace {

enum ExitCode { Success = 0, Failure = 1, BadUsage = 2 };

struct Options
{
    QString listing; // empty: run the listing tool
    QString compare; // an older listing to compare with
    SortCode sortCode = SortCode::SDK;
    QString search;
    AppexSearch::Scope scope = AppexSearch::Scope::Uuid;
    QString format;
    QString output; // empty: standard output
    QString tool;
    ListingLimits limits{.keepsListing = false}; // the records are all a script gets
    std::optional<Election> election;
    bool allCopies = false;
    QString point; // keep the records of this point or category
    bool problemsOnly = false;
    QString explain; // an identifier whose copies to explain
};

void printError(const QString &message)
{
    std::fprintf(stderr, "zephlist-cli: %s\n", qPrintable(message));
}

class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    CommandLine();

    // The options of `arguments`, or nothing once it printed what is wrong.
    [[nodiscard]] std::optional<Options> read(const QStringList &arguments);
    [[nodiscard]] QString helpText() const { return m_parser.helpText(); }

private:
    QCommandLineParser m_parser;
    const QCommandLineOption m_listing{
        QStringLiteral("listing"),
        tr("Read a captured listing from FILE (- for standard input) instead of "
           "running pluginkit."),
        tr("FILE")};
    const QCommandLineOption m_sort{QStringLiteral("sort"),
                                    tr("Sort code: 0 SDK, 1 parent, 2 UUID, 3 name; "
                                       "any other sorts as 0."),
                                    tr("CODE"), QStringLiteral("0")};
    const QCommandLineOption m_search{
        QStringLiteral("search"),
        tr("Keep the records whose UUID (or, with --search-in all, any field) "
           "contains QUERY, ignoring case. Write --search=-x for a query that "
           "starts with a dash."),
        tr("QUERY")};
    const QCommandLineOption m_searchIn{QStringLiteral("search-in"),
                                        tr("Where --search looks: uuid or all."), tr("SCOPE"),
                                        QStringLiteral("uuid")};
    const QCommandLineOption m_format{QStringLiteral("format"),
                                      tr("Output format: tsv, json or rtf."), tr("FORMAT"),
                                      QStringLiteral("tsv")};
    const QCommandLineOption m_output{
        QStringLiteral("output"),
        tr("Write to FILE instead of standard output. A regular file is replaced only once "
           "the whole output is written; a FIFO or a device is written as a stream."),
        tr("FILE")};
    const QCommandLineOption m_compare{
        QStringLiteral("compare"),
        tr("List only what changed since the captured listing OLDER: a first TSV "
           "column +, - or ~, a JSON key \"change\"."),
        tr("OLDER")};
    const QCommandLineOption m_pluginkit{QStringLiteral("pluginkit"),
                                         tr("The listing tool to run."), tr("PATH"),
                                         ToolSource::defaultToolPath()};
    const QCommandLineOption m_timeout{QStringLiteral("timeout"),
                                       tr("Stop the listing tool after SECONDS (default 60)."),
                                       tr("SECONDS"), QStringLiteral("60")};
    const QCommandLineOption m_elect{
        QStringLiteral("elect"),
        tr("Elect every copy of the extension named by --identifier, or the copy "
           "named by --uuid: use, ignore or default; then list as usual, and fail "
           "when the listing does not show the change."),
        tr("CHOICE")};
    const QCommandLineOption m_identifier{QStringLiteral("identifier"),
                                          tr("The extension that --elect elects."), tr("ID")};
    const QCommandLineOption m_uuid{QStringLiteral("uuid"), tr("The copy that --elect elects."),
                                    tr("UUID")};
    const QCommandLineOption m_allCopies{
        QStringLiteral("all-copies"),
        tr("List every copy of each extension, each marked active or not (the tool "
           "runs twice)."),
    };
    const QCommandLineOption m_point{
        QStringLiteral("point"),
        tr("Keep the records of the extension point POINT, given as the point "
           "(com.apple.FinderSync) or its category (Finder)."),
        tr("POINT")};
    const QCommandLineOption m_explain{
        QStringLiteral("explain"),
        tr("Tell which copy of the extension ID the system uses and why the others are not "
           "used, with the commands that change that (every copy is listed: the tool runs "
           "twice)."),
        tr("ID")};
    const QCommandLineOption m_problems{QStringLiteral("problems"),
                                        tr("Keep only the records with problems.")};
};

CommandLine::CommandLine()
{
    m_parser.setApplicationDescription(tr("Lists the app extensions that pluginkit reports."));
    m_parser.addOptions({m_listing, m_sort, m_search, m_searchIn, m_format, m_output, m_compare,
                         m_pluginkit, m_timeout, m_elect, m_identifier, m_uuid, m_allCopies,
                         m_point, m_problems, m_explain});
}

std::optional<Options> CommandLine::read(const QStringList &arguments)
{
    const QCommandLineOption help = m_parser.addHelpOption();
    const QCommandLineOption version = m_parser.addVersionOption();
    const auto bad = [](const QString &message) {
        printError(message);
        return std::nullopt;
    };
    if (!m_parser.parse(arguments))
        return bad(m_parser.errorText());
    if (m_parser.isSet(help))
        m_parser.showHelp(Success);
    if (m_parser.isSet(version))
        m_parser.showVersion();
    if (!m_parser.positionalArguments().isEmpty())
        return bad(tr("unexpected argument: %1").arg(m_parser.positionalArguments().first()));

    // An option that takes a value takes one that is not empty.
    for (const QCommandLineOption &option :
         {m_listing, m_compare, m_output, m_identifier, m_uuid, m_explain, m_search, m_point}) {
        if (m_parser.isSet(option) && m_parser.value(option).isEmpty() &&
            option.names() != m_search.names())
            return bad(tr("--%1 needs a value").arg(option.names().first()));
    }
    Options options;
    options.listing = m_parser.value(m_listing);
    options.compare = m_parser.value(m_compare);
    options.search = m_parser.value(m_search);
    options.format = m_parser.value(m_format);
    options.output = m_parser.value(m_output);
    options.tool = m_parser.value(m_pluginkit);
    bool isNumber = false;
    options.sortCode = sortCodeFrom(m_parser.value(m_sort).toLongLong(&isNumber));
    if (!isNumber)
        return bad(tr("the sort code must be a whole number: %1").arg(m_parser.value(m_sort)));
    const double seconds = m_parser.value(m_timeout).toDouble(&isNumber);
    if (!isNumber || !(seconds > 0 && seconds <= 86400))
        return bad(tr("the time-out must be a number of seconds up to 86400: %1")
                       .arg(m_parser.value(m_timeout)));
    options.limits.timeout = std::chrono::milliseconds(qint64(seconds * 1000));

    const QString scope = m_parser.value(m_searchIn);
    if (scope != QLatin1String("uuid") && scope != QLatin1String("all"))
        return bad(tr("--search-in takes uuid or all: %1").arg(scope));
    if (scope == QLatin1String("all"))
        options.scope = AppexSearch::Scope::AllFields;
    if (!QStringList{QStringLiteral("tsv"), QStringLiteral("json"), QStringLiteral("rtf")}.contains(
            options.format))
        return bad(tr("unknown format: %1").arg(options.format));
    if (!options.compare.isEmpty() && options.format == QLatin1String("rtf"))
        return bad(tr("--compare writes tsv or json, not rtf"));

    options.allCopies = m_parser.isSet(m_allCopies);
    options.point = m_parser.value(m_point);
    options.problemsOnly = m_parser.isSet(m_problems);
    options.explain = m_parser.value(m_explain);
    if (!options.explain.isEmpty()) {
        if (options.format == QLatin1String("rtf") || !options.compare.isEmpty())
            return bad(tr("--explain writes tsv (as text) or json, and compares nothing"));
        options.allCopies = options.listing.isEmpty();
    }
    if (m_parser.isSet(m_identifier) && m_parser.isSet(m_uuid))
        return bad(tr("--elect takes --identifier or --uuid, not both"));
    if (m_parser.isSet(m_elect) != (m_parser.isSet(m_identifier) || m_parser.isSet(m_uuid)))
        return bad(tr("--elect and --identifier (or --uuid) go together"));
    if (m_parser.isSet(m_elect)) {
        const QString choice = m_parser.value(m_elect);
        Election election;
        if (choice == QLatin1String("use"))
            election.choice = Election::Choice::Use;
        else if (choice == QLatin1String("ignore"))
            election.choice = Election::Choice::Ignore;
        else if (choice != QLatin1String("default"))
            return bad(tr("--elect takes use, ignore or default: %1").arg(choice));
        if (!options.listing.isEmpty())
            return bad(tr("--elect works on the system's extensions, not on --listing"));
        if (m_parser.isSet(m_uuid)) {
            election.target = m_parser.value(m_uuid);
            election.kind = Election::Target::Copy;
        } else {
            election.target = m_parser.value(m_identifier);
        }
        options.election = election;
    }
    return options;
}

// Where the output goes: standard output or the file of --output, each
// written a piece at a time as it comes. The file is replaced only once
// complete, so that a failure or an interruption leaves an earlier file as it
// was. A FIFO or a device as --output is written as a stream, as the shell's
// redirection would: never replaced.
class Output
{
    Q_DECLARE_TR_FUNCTIONS(Output)

public:
    explicit Output(QString file)
        : m_file(std::move(file))
    {
        if (m_file.isEmpty())
            m_writer.emplace(STDOUT_FILENO);
        else
            m_writer.emplace(m_file, OutputFile::SpecialFiles::WriteAsStream);
    }

    [[nodiscard]] bool write(QByteArrayView piece)
    {
        return !interrupted() && succeeded(m_writer->write(piece));
    }
    [[nodiscard]] bool finish() { return !interrupted() && succeeded(m_writer->commit()); }

private:
    // Told to end while writing: the rest is not written, the file not
    // replaced, and the signal ends the CLI once the tool's group is stopped.
    static bool interrupted() { return TerminationSignals::received() != 0; }

    bool succeeded(const std::optional<QString> &failure) const
    {
        if (!failure)
            return true;
        // A write that a signal cut short needs no word: the signal says it.
        if (!interrupted())
            printError(m_file.isEmpty() ? tr("cannot write to standard output: %1").arg(*failure)
                                        : tr("cannot write %1: %2").arg(m_file, *failure));
        return false;
    }

    QString m_file;                   // empty: standard output
    TerminationSignals m_termination; // caught while writing, to end as above
    std::optional<OutputFileWriter> m_writer;
};

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
            printError(failure->text);
        else
            older = std::move(std::get<Listing>(result));
        loop.quit();
    });
    job->start();
    loop.exec();
    return older;
}

// Fills the catalogue as the options ask: from the tool (after an election,
// if any) or from a captured listing, and waits for it. Ctrl+C, SIGTERM or
// SIGHUP while the tool runs stops the tool's whole process group.
CatalogueController::Outcome load(CatalogueController &catalogue, const Options &options)
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
    if (!options.listing.isEmpty())
        catalogue.openListing(options.listing);
    else if (options.election)
        catalogue.elect(*options.election);
    else
        catalogue.getAppexes();
    loop.exec();
    return outcome;
}

void printFailure(const JobFailure &failure)
{
    printError(failure.text);
    if (!failure.detail.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(failure.detail));
}

// The copies of the extension that --explain names, or the identifiers
// closest to it.
int explain(const AppexList &records, const Options &options)
{
    const std::optional<CopiesExplanation> explanation =
        CopiesExplanation::of(records, options.explain);
    if (!explanation) {
        printError(QCoreApplication::translate("zephlist-cli",
                                               "No extension \u201C%1\u201D is registered.")
                       .arg(options.explain));
        if (const QStringList closest =
                CopiesExplanation::closestIdentifiers(records, options.explain);
            !closest.isEmpty())
            std::fprintf(stderr, "%s\n",
                         qPrintable(QCoreApplication::translate("zephlist-cli", "Closest: %1")
                                        .arg(closest.join(QStringLiteral(", ")))));
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
    // The older listing first: an election is not made for a run that fails.
    std::optional<Listing> older;
    if (!options.compare.isEmpty() && !(older = readOlderListing(options.compare)))
        return Failure;
    Appexer appexer;
    appexer.sortAppexList(options.sortCode);
    CatalogueController catalogue(&appexer, options.tool, options.limits);
    if (options.allCopies)
        catalogue.setCopies(ListingJob::Copies::All);
    const CatalogueController::Outcome outcome = load(catalogue, options);
    if (outcome.failure) {
        printFailure(*outcome.failure);
        return Failure;
    }
    if (!outcome.message.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(outcome.message));

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
