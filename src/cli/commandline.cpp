#include "commandline.h"

#include "messages.h"

CommandLine::CommandLine()
{
    m_parser.setApplicationDescription(tr("Lists the app extensions that pluginkit reports."));
    m_parser.addOptions({m_listing,      m_sort,     m_search,     m_searchIn,   m_format,
                         m_output,       m_compare,  m_pluginkit,  m_timeout,    m_elect,
                         m_identifier,   m_uuid,     m_allCopies,  m_point,      m_problems,
                         m_explain,      m_register, m_unregister, m_cleanStale, m_dryRun,
                         m_printCommand, m_history,  m_noHistory});
}

std::optional<Options> CommandLine::read(const QStringList &arguments)
{
    const QCommandLineOption help = m_parser.addHelpOption();
    const QCommandLineOption version = m_parser.addVersionOption();
    const auto bad = [](const QString &message) {
        Messages::printError(message);
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
         {m_listing, m_compare, m_output, m_identifier, m_uuid, m_explain, m_search, m_point,
          m_register, m_unregister}) {
        if (m_parser.isSet(option) && m_parser.value(option).isEmpty() &&
            option.names() != m_search.names())
            return bad(tr("--%1 needs a value").arg(option.names().first()));
    }
    Options options;
    options.listing = m_parser.value(m_listing);
    options.compare = m_parser.value(m_compare);
    options.compareWithPrevious = options.compare == QLatin1String("previous");
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
    return readActions(options) ? std::optional(options) : std::nullopt;
}

bool CommandLine::readActions(Options &options) const
{
    const auto bad = [](const QString &message) {
        Messages::printError(message);
        return false;
    };
    const QList<QCommandLineOption> actions{m_elect, m_register, m_unregister, m_cleanStale,
                                            m_history};
    if (std::count_if(actions.begin(), actions.end(), [this](const QCommandLineOption &option) {
            return m_parser.isSet(option);
        }) > 1)
        return bad(tr("choose one of --elect, --register, --unregister, --clean-stale and "
                      "--history"));
    for (const QCommandLineOption &option : {m_register, m_unregister}) {
        if (m_parser.isSet(option))
            options.registration = Registration::of(option.names() == m_register.names()
                                                        ? Registration::Action::Register
                                                        : Registration::Action::Unregister,
                                                    m_parser.value(option));
    }
    options.cleanStale = m_parser.isSet(m_cleanStale);
    options.dryRun = m_parser.isSet(m_dryRun);
    options.printCommand = m_parser.isSet(m_printCommand);
    options.listHistory = m_parser.isSet(m_history);
    options.keepHistory = !m_parser.isSet(m_noHistory) && options.listing.isEmpty();
    options.limits.keepsListing = options.keepHistory; // the bytes are what is kept
    if (options.listHistory) {
        // Of a listing: there is none, and a script would take its output for
        // what it asked.
        const QList<QCommandLineOption> ofAListing{
            m_listing,   m_sort,  m_search,   m_searchIn, m_compare, m_pluginkit,    m_timeout,
            m_allCopies, m_point, m_problems, m_explain,  m_dryRun,  m_printCommand, m_noHistory};
        if (std::any_of(
                ofAListing.begin(), ofAListing.end(),
                [this](const QCommandLineOption &option) { return m_parser.isSet(option); }))
            return bad(tr("--history takes only --format and --output"));
        if (options.format == QLatin1String("rtf"))
            return bad(tr("--history writes tsv or json, not rtf"));
    }
    if (options.compareWithPrevious && !options.listing.isEmpty())
        return bad(tr("--compare previous compares the tool's listing, not --listing"));
    if ((options.registration || options.cleanStale) && !options.listing.isEmpty())
        return bad(tr("--register, --unregister and --clean-stale work on the system's "
                      "extensions, not on --listing"));
    if (options.dryRun && !options.cleanStale)
        return bad(tr("--dry-run goes with --clean-stale"));
    if (options.printCommand && !(options.election || options.registration || options.cleanStale))
        return bad(tr("--print-command goes with --elect, --register, --unregister or "
                      "--clean-stale"));
    // The stale copies are those not in use, which only a listing of every copy tells.
    options.allCopies = options.allCopies || options.cleanStale;
    return true;
}
