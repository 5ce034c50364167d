#pragma once

#include "options.h"
#include "toolsource.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <optional>

// zephlist-cli's options: their help, and the checks that they go together.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    CommandLine();

    // The options of `arguments`, or nothing once it printed what is wrong.
    [[nodiscard]] std::optional<Options> read(const QStringList &arguments);
    [[nodiscard]] QString helpText() const { return m_parser.helpText(); }

private:
    // The options that change registrations or read the history, into `options`.
    [[nodiscard]] bool readActions(Options &options) const;

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
        tr("List only what changed since the captured listing OLDER, or with \"previous\" "
           "since the newest kept listing (a file of that name is ./previous): a first TSV "
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
    const QCommandLineOption m_register{
        QStringLiteral("register"),
        tr("Register the extension bundle at PATH, then list every copy to check that the "
           "system lists it. Nothing on disk changes."),
        tr("PATH")};
    const QCommandLineOption m_unregister{
        QStringLiteral("unregister"),
        tr("Remove the registration of the bundle at PATH, then list every copy to check that "
           "the system no longer lists it. The bundle stays on disk."),
        tr("PATH")};
    const QCommandLineOption m_cleanStale{
        QStringLiteral("clean-stale"),
        tr("Remove the registrations of every copy not in use that is a development build, in "
           "the Trash, on a disk image or missing from disk, one at a time, then list every "
           "copy to check. Nothing on disk changes.")};
    const QCommandLineOption m_dryRun{
        QStringLiteral("dry-run"),
        tr("With --clean-stale: print the commands it would run, each with why, and run none.")};
    const QCommandLineOption m_printCommand{
        QStringLiteral("print-command"),
        tr("Print the pluginkit commands that --elect, --register, --unregister or "
           "--clean-stale would run, a line each as a shell reads them, and run none.")};
    const QCommandLineOption m_history{
        QStringLiteral("history"),
        tr("List the kept listings, oldest first: time (UTC), records and file, as tsv or "
           "json (--format), to --output if given. They are kept "
           "in the folder ZEPHLIST_HISTORY_DIR names, else in \"history\" in Zephlist's "
           "data folder.")};
    const QCommandLineOption m_noHistory{
        QStringLiteral("no-history"),
        tr("Do not keep this run's listing (every listing of the tool that differs from the "
           "newest kept one is kept, up to 100 listings and 100 MB).")};
};
