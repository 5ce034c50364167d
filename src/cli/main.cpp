// zephlist-cli: the catalogue's records for scripts, as TSV, JSON or an RTF report.

#include "appexer.h"
#include "outputfile.h"
#include "recordformat.h"
#include "rtfencoder.h"
#include "uuidsearch.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <optional>

namespace {

enum ExitCode { Success = 0, Failure = 1, BadUsage = 2 };

struct Options
{
    QString listing; // empty: run the listing tool
    qint64 sortCode = 0;
    QString search;
    QString format = QStringLiteral("tsv");
    QString output; // empty: standard output
};

void printError(const QString &message)
{
    std::fprintf(stderr, "zephlist-cli: %s\n", qPrintable(message));
}

std::optional<Options> parseOptions(QCommandLineParser &parser, const QStringList &arguments)
{
    const QCommandLineOption listing(
        QStringLiteral("listing"),
        QStringLiteral("Read a captured listing from FILE (- for "
                       "standard input) instead of running pluginkit."),
        QStringLiteral("FILE"));
    const QCommandLineOption sort(QStringLiteral("sort"),
                                  QStringLiteral("Sort code: 0 SDK, 1 parent, 2 UUID, 3 name; "
                                                 "any other sorts as 0."),
                                  QStringLiteral("CODE"), QStringLiteral("0"));
    const QCommandLineOption search(QStringLiteral("search"),
                                    QStringLiteral("Keep the records whose UUID contains QUERY, "
                                                   "ignoring case."),
                                    QStringLiteral("QUERY"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("Output format: tsv, json or rtf."),
                                    QStringLiteral("FORMAT"), QStringLiteral("tsv"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("Write to FILE instead of standard output."),
                                    QStringLiteral("FILE"));
    parser.setApplicationDescription(
        QStringLiteral("Lists the app extensions that pluginkit reports."));
    parser.addOptions({listing, sort, search, format, output});
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return std::nullopt;
    }
    if (parser.isSet(help))
        parser.showHelp(Success);
    if (parser.isSet(version))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        printError(
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));
        return std::nullopt;
    }

    Options options{parser.value(listing), 0, parser.value(search), parser.value(format),
                    parser.value(output)};
    bool isNumber = false;
    options.sortCode = parser.value(sort).toLongLong(&isNumber);
    if (!isNumber) {
        printError(
            QStringLiteral("the sort code must be a whole number: %1").arg(parser.value(sort)));
        return std::nullopt;
    }
    if (!QStringList{QStringLiteral("tsv"), QStringLiteral("json"), QStringLiteral("rtf")}.contains(
            options.format)) {
        printError(QStringLiteral("unknown format: %1").arg(options.format));
        return std::nullopt;
    }
    return options;
}

// A captured listing, read like the tool's output and with the same size limit.
std::optional<QByteArray> readListing(const QString &name)
{
    QFile file(name);
    const bool opened = name == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                   : file.open(QIODevice::ReadOnly);
    if (!opened) {
        printError(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
        return std::nullopt;
    }
    QByteArray listing = file.read(ListingTool::maxOutputBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        printError(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
        return std::nullopt;
    }
    if (listing.size() > ListingTool::maxOutputBytes) {
        printError(QStringLiteral("%1 is larger than %2 MiB; nothing was read.")
                       .arg(name)
                       .arg(ListingTool::maxOutputBytes / (1024 * 1024)));
        return std::nullopt;
    }
    return listing;
}

[[nodiscard]] bool writeOutput(const QString &name, const QByteArray &data)
{
    // A FIFO or a device as --output is written as a stream, as the shell's
    // redirection would: never replaced by a regular file.
    const std::optional<QString> failure =
        name.isEmpty() ? OutputFile::writeToStandardOutput(data)
                       : OutputFile::write(name, data, OutputFile::SpecialFiles::WriteAsStream);
    if (!failure)
        return true;
    printError(name.isEmpty() ? QStringLiteral("cannot write to standard output: %1").arg(*failure)
                              : QStringLiteral("cannot write %1: %2").arg(name, *failure));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zephlist-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEPHLIST_VERSION));

    QCommandLineParser parser;
    const std::optional<Options> options = parseOptions(parser, QCoreApplication::arguments());
    if (!options) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return BadUsage;
    }

    Appexer appexer;
    bool loaded = false;
    if (options->listing.isEmpty()) {
        loaded = appexer.getAppexes(options->sortCode);
    } else {
        std::optional<QByteArray> listing = readListing(options->listing);
        if (!listing)
            return Failure;
        loaded = appexer.loadListing(std::move(*listing), options->sortCode);
    }
    if (!loaded) {
        printError(appexer.failureText());
        return Failure;
    }

    const AppexList records = options->search.isEmpty()
                                  ? appexer.appexList()
                                  : UuidSearch(options->search).filter(appexer.appexList());
    const QByteArray data = options->format == QLatin1String("json") ? RecordFormat::json(records)
                            : options->format == QLatin1String("rtf")
                                ? RtfEncoder::encode(composeReport(records))
                                : RecordFormat::tsv(records);
    return writeOutput(options->output, data) ? Success : Failure;
}
