#pragma once

#include "appex.h"
#include "jobfailure.h"
#include "listinglimits.h"

#include <QObject>
#include <QSet>

#include <memory>

class ListingReader;
class ListingSource;

// What a listing job read.
struct Listing
{
    AppexList records; // in the listing's order
    QByteArray bytes;  // as read, shared by the records; empty when only they are kept
    QString file;      // of a captured listing; empty for the tool's
};
using ListingResult = JobResult<Listing>;

// Reads one listing without waiting: the tool's, or one captured in a file.
// Every copy of the tool's takes two runs, of the copies in use and then of
// every copy, so that each copy is told whether it is in use. A listing that
// holds no record fails, saying why, unless the tool answered that nothing
// matched. Ends with one finished(), whether it succeeded, failed or was
// cancelled; the receiver may take the listing out of the result.
class ListingJob : public QObject
{
    Q_OBJECT

public:
    // The copies a listing of the tool holds: those the system uses (what
    // `pluginkit -m -vv` prints), or every copy.
    enum class Copies { InUse, All };

    [[nodiscard]] static std::unique_ptr<ListingJob> ofTool(QString toolPath, Copies copies,
                                                            ListingLimits limits);
    // `file` "-" is standard input; `subject` names it in failures, by default
    // "The listing “name”".
    [[nodiscard]] static std::unique_ptr<ListingJob> ofFile(QString file, ListingLimits limits,
                                                            QString subject = {});
    ~ListingJob() override;

    void start();
    // Stops the run; finished() follows at once, with a cancelled failure.
    void cancel();
    // What the job does, for the user: "Running pluginkit".
    [[nodiscard]] QString description() const;

signals:
    void finished(ListingResult &result);

private:
    enum class Run { InUse, AllCopies, Tool, File };

    ListingJob(QString toolOrFile, Run firstRun, ListingLimits limits, QString subject = {});
    void startRun(Run run);
    void runEnded();
    [[nodiscard]] std::optional<JobFailure> emptinessFailure() const;
    void end(ListingResult result);

    const QString m_toolOrFile;
    const ListingLimits m_limits;
    const QString m_subject;
    Run m_run;
    std::unique_ptr<ListingReader> m_reader;
    QSet<QByteArray> m_inUseUuids; // of the first of two runs
    bool m_ended = false;
};
