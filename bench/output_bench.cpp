// zephlist-cli's --output FILE against the shell's "> FILE", on the stand-in's
// sample repeated to 100k entries: wall time and peak memory of each, run in
// turns so that both see the same machine. `output-bench [CLI]` times another
// build of the CLI, an older one to compare with.

#include "samplelisting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Measure
{
    double milliseconds;
    double peakMegabytes;
};

// Runs `arguments` with its standard output on `standardOutput`, opened
// (and emptied) as the shell's "> FILE" opens it.
Measure run(const QList<QByteArray> &arguments, const QByteArray &standardOutput)
{
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, standardOutput.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        qFatal("cannot start %s", argv[0]);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("zephlist-cli failed");
    return {double(timer.nsecsElapsed()) / 1e6, double(usage.ru_maxrss) * 1024 / 1e6};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray cli = argc > 1 ? QByteArray(argv[1]) : QByteArray(ZEPHLIST_CLI);
    const int entries = 100000;
    const int runs = 11;
    QTemporaryDir dir;
    // The listings the app keeps go with the rest, not to the user's history.
    qputenv("ZEPHLIST_HISTORY_DIR", dir.filePath(QStringLiteral("history")).toUtf8());
    const QByteArray listingFile = QFile::encodeName(dir.filePath(QStringLiteral("listing.txt")));
    // Made by a child of its own: a process's peak memory counts from the
    // peak of the one that started it, which this one keeps small.
    if (const pid_t maker = ::fork(); maker == 0) {
        const QByteArray listing = repeatedSample(entries);
        QFile out(QString::fromUtf8(listingFile));
        ::_exit(out.open(QIODevice::WriteOnly) && out.write(listing) == listing.size() ? 0 : 1);
    } else if (int status = 0; maker < 0 || ::waitpid(maker, &status, 0) != maker ||
                               !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        qFatal("cannot write the listing");
    }
    const QByteArray target = QFile::encodeName(dir.filePath(QStringLiteral("out")));

    std::printf("%s, %d entries, %d runs of each in turn\n", cli.constData(), entries, runs);
    std::printf("%-6s %-12s %8s %8s %8s %9s\n", "format", "written by", "min ms", "median",
                "MB out", "peak RSS");
    for (const QByteArray format : {"tsv", "json"}) {
        const QList<QByteArray> arguments{cli, "--listing", listingFile, "--format", format};
        std::vector<double> redirected, option;
        double redirectedPeak = 0, optionPeak = 0;
        for (int i = 0; i < runs; ++i) {
            // --output replaces the file the run before left, as it does in use.
            const Measure byShell = run(arguments, target);
            const Measure byOption =
                run(arguments + QList<QByteArray>{"--output", target}, "/dev/null");
            redirected.push_back(byShell.milliseconds);
            option.push_back(byOption.milliseconds);
            redirectedPeak = std::max(redirectedPeak, byShell.peakMegabytes);
            optionPeak = std::max(optionPeak, byOption.peakMegabytes);
        }
        const double written = double(QFileInfo(QString::fromUtf8(target)).size()) / 1e6;
        std::printf("%-6s %-12s %8.1f %8.1f %8.1f %8.1fM\n", format.constData(), "> FILE",
                    *std::min_element(redirected.begin(), redirected.end()), median(redirected),
                    written, redirectedPeak);
        std::printf("%-6s %-12s %8.1f %8.1f %8.1f %8.1fM\n", format.constData(), "--output FILE",
                    *std::min_element(option.begin(), option.end()), median(option), written,
                    optionPeak);
        std::printf("%-6s --output / > FILE: %.2fx (medians), %.2fx (minima)\n", format.constData(),
                    median(option) / median(redirected),
                    *std::min_element(option.begin(), option.end()) /
                        *std::min_element(redirected.begin(), redirected.end()));
    }
    std::printf("(wall ms from start to exit; peak RSS the largest of the runs, in MB)\n");
    return 0;
}
