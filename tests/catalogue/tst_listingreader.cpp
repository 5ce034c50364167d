#include "faketool.h"
#include "golden.h"
#include "listingreader.h"
#include "listingsource.h"
#include "toolsource.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(ListingLimits)

namespace {

// Gives its bytes a few at a time, as a pipe may, all on one turn of the event
// loop; first, if given one, a size of the listing, as a file tells it.
class PieceSource : public ListingSource
{
public:
    PieceSource(QByteArray bytes, qsizetype pieceSize, std::optional<qint64> toldSize = {})
        : m_bytes(std::move(bytes))
        , m_pieceSize(pieceSize)
        , m_toldSize(toldSize)
    {}

    void start() override
    {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_toldSize)
                    emit sizeKnown(*m_toldSize);
                for (qsizetype at = 0; at < m_bytes.size() && !m_aborted; at += m_pieceSize)
                    emit bytesRead(QByteArrayView(m_bytes).sliced(at).first(
                        qMin(m_pieceSize, m_bytes.size() - at)));
                if (!m_aborted)
                    emit finished(std::nullopt, QString());
            },
            Qt::QueuedConnection);
    }
    void abort() override { m_aborted = true; }

private:
    QByteArray m_bytes;
    qsizetype m_pieceSize;
    std::optional<qint64> m_toldSize;
    bool m_aborted = false;
};

// Runs `job` to its end.
bool ran(ListingReader &job)
{
    QSignalSpy done(&job, &ListingReader::finished);
    job.start();
    return done.wait(30000);
}

ListingLimits limits(qsizetype maxBytes, qsizetype maxRecords, std::chrono::milliseconds timeout)
{
    ListingLimits limits;
    limits.maxBytes = maxBytes;
    limits.maxRecords = maxRecords;
    limits.timeout = timeout;
    return limits;
}

} // namespace

class TestListingReader : public QObject
{
    Q_OBJECT

private slots:
    void toolListings_data();
    void toolListings();
    void byteOrderMarkAndCharactersSplitByteByByte();
    void sizeToldPastTheLimitIsNotRead();
    void whatTheToolLeavesIsStopped_data();
    void whatTheToolLeavesIsStopped();
    void stoppingReachesTheWholeGroup_data();
    void stoppingReachesTheWholeGroup();

private:
    FakeTool m_tools;
    const QByteArray m_newer = readTestData(QStringLiteral("listings/newer.txt"));
};

void TestListingReader::toolListings_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<ListingLimits>("limits");
    QTest::addColumn<QString>("failure"); // empty: the newer listing's ten records
    QTest::addColumn<QString>("detail");

    const qsizetype any = 1 << 26;
    const std::chrono::seconds long_(30);
    QTest::newRow("exactly as large as the cap")
        << m_tools.printing(m_newer) << limits(m_newer.size(), any, long_) << ""
        << "";
    QTest::newRow("a tool that never stops printing")
        << m_tools.write("endless", "while :; do printf 'UUID = x\\n\\n'; done")
        << limits(any, 5, long_) << "The listing holds more than 5 records, so none of it was read."
        << "";
    QTest::newRow("standard error past 4 KiB: its end is the detail")
        << m_tools.write("chatty", "head -c 1000 /dev/zero | tr '\\0' a >&2\n"
                                   "head -c 4096 /dev/zero | tr '\\0' b >&2\nexit 3")
        << limits(any, any, long_) << "Error 3 when running pluginkit."
        << QString(4096, QLatin1Char('b'));
    QTest::newRow("a child writes the listing after the tool has ended")
        << m_tools.write("late", "(while kill -0 $$ 2>/dev/null; do sleep 0.05; done\n cat '" +
                                     testDataPath("listings/newer.txt").toUtf8() + "') &\nexit 0")
        << limits(any, any, long_) << ""
        << "";
    QTest::newRow("a child holds the listing open past the time-out")
        << m_tools.write("holding", "sleep 30 &\nexit 0")
        << limits(any, any, std::chrono::seconds(1))
        << "pluginkit did not finish within 1 second and was stopped."
        << "";
    QTest::newRow("a failed tool's child holds the listing open: the status tells at once")
        << m_tools.write("failing", "sleep 30 &\nexit 3")
        << limits(any, any, std::chrono::seconds(10)) << "Error 3 when running pluginkit."
        << "";
}

void TestListingReader::toolListings()
{
    QFETCH(QString, tool);
    QFETCH(ListingLimits, limits);
    QFETCH(QString, failure);
    ListingReader job(std::make_unique<ToolSource>(tool, QStringList{"-m", "-vv"}, limits.timeout),
                      limits);
    QVERIFY(ran(job));
    QCOMPARE(job.failureText(), failure);
    QTEST(job.detail(), "detail");
    QCOMPARE(job.takeRecords().size(), failure.isEmpty() ? 10 : 0);
}

// A byte order mark and a character, each cut by every read, are still what
// they were: no text, and one character.
void TestListingReader::byteOrderMarkAndCharactersSplitByteByByte()
{
    ListingReader job(
        std::make_unique<PieceSource>(
            "\xEF\xBB\xBF+    com.x(1)\nDisplay Name = \xC3\xA9\xE2\x82\xAC\nUUID = a\n", 1),
        ListingLimits());
    QVERIFY(ran(job));
    QVERIFY2(job.succeeded(), qPrintable(job.failureText()));
    const AppexList records = job.takeRecords();
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.first().identifier(), QStringLiteral("com.x"));
    QCOMPARE(records.first().name(), QStringLiteral("\u00E9\u20AC"));
}

// A source whose size is past the limit is refused before a byte of it is
// read, even one that would then give fewer bytes than the limit.
void TestListingReader::sizeToldPastTheLimitIsNotRead()
{
    const qsizetype mebibyte = 1024 * 1024;
    auto source = std::make_unique<PieceSource>(m_newer, 64, mebibyte + 1);
    int pieces = 0;
    connect(source.get(), &ListingSource::bytesRead, this, [&pieces] { ++pieces; });
    ListingReader job(std::move(source), limits(mebibyte, 100, std::chrono::seconds(30)));
    QVERIFY(ran(job));
    QCOMPARE(job.failureText(), "The listing is larger than 1 MiB, so none of it was read.");
    QCOMPARE(pieces, 0);
}

// A child that outlives the tool, deaf to SIGTERM and not holding the
// listing: only the grace period's SIGKILL ends it.
void TestListingReader::whatTheToolLeavesIsStopped_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("exit 0") << 0;
    QTest::newRow("exit 4") << 4;
}

void TestListingReader::whatTheToolLeavesIsStopped()
{
    QFETCH(int, status);
    const QString pidFile = m_tools.path(QStringLiteral("left%1.pid").arg(status));
    const QString tool = m_tools.write(QStringLiteral("leaving%1").arg(status),
                                       "sh -c 'trap \"\" TERM; echo $$ > " + pidFile.toUtf8() +
                                           "; while :; do sleep 0.1; done' >/dev/null 2>&1 &\n"
                                           "while [ ! -s " +
                                           pidFile.toUtf8() + " ]; do sleep 0.05; done\nexit " +
                                           QByteArray::number(status));
    ListingReader job(
        std::make_unique<ToolSource>(tool, QStringList{"-m", "-vv"}, std::chrono::seconds(30)),
        ListingLimits());
    QVERIFY(ran(job));
    QCOMPARE(job.succeeded(), status == 0);
    QTRY_VERIFY_WITH_TIMEOUT(!FakeTool::isRunning(pidFile), 10000);
}

// A tool that starts a child which notes SIGTERM and goes on, and then hangs:
// the child must hear SIGTERM first and be gone once the grace period after
// stopping the tool has passed. The child writes nothing anywhere, so that
// only SIGKILL can end it.
void TestListingReader::stoppingReachesTheWholeGroup_data()
{
    QTest::addColumn<bool>("cancel"); // else the time-out stops it
    QTest::newRow("cancelled") << true;
    QTest::newRow("timed out") << false;
}

void TestListingReader::stoppingReachesTheWholeGroup()
{
    QFETCH(bool, cancel);
    const QString pidFile = m_tools.path(QStringLiteral("child%1.pid").arg(cancel));
    const QString termFile = m_tools.path(QStringLiteral("child%1.term").arg(cancel));
    // The child tells its process id once it listens for SIGTERM.
    const QString tool = m_tools.write(QStringLiteral("spawner%1").arg(cancel),
                                       "sh -c 'trap \"touch " + termFile.toUtf8() +
                                           "\" TERM; echo $$ > " + pidFile.toUtf8() +
                                           "; while :; do sleep 0.1; done' >/dev/null 2>&1 &\n"
                                           "wait");
    const std::chrono::milliseconds timeout(cancel ? 60000 : 3000);
    ListingReader job(std::make_unique<ToolSource>(tool, QStringList{"-m", "-vv"}, timeout),
                      ListingLimits());
    QSignalSpy done(&job, &ListingReader::finished);
    job.start();
    QTRY_VERIFY_WITH_TIMEOUT(FakeTool::isRunning(pidFile), 10000);
    if (cancel) {
        job.cancel();
        QCOMPARE(done.size(), 1);
        QVERIFY(job.wasCancelled());
        // Heard before the end: SIGTERM came first, and SIGKILL not at once.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(termFile), 10000);
    } else {
        QVERIFY(done.wait(10000));
        QVERIFY(job.failureText().startsWith("pluginkit did not finish"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!FakeTool::isRunning(pidFile), 10000);
}

QTEST_GUILESS_MAIN(TestListingReader)
#include "tst_listingreader.moc"
