#include "outputfile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using OutputFile::SpecialFiles;

class TestOutputFile : public QObject
{
    Q_OBJECT

private slots:
    void writes_data();
    void writes();
    void linkLoopFailsAndStays();
    void replacedFileKeepsOwnerAndMode();

private:
    QTemporaryDir m_dir;
};

void TestOutputFile::writes_data()
{
    QTest::addColumn<QString>("target"); // new, file, link (to a file) or fifo
    QTest::addColumn<SpecialFiles>("special");
    // The first writes: n >= 0 takes at most n bytes, n < 0 fails with errno -n.
    QTest::addColumn<QList<int>>("writes");
    QTest::addColumn<QString>("failure"); // contained in the reason; empty: written

    const auto stream = SpecialFiles::WriteAsStream;
    QTest::newRow("new file") << "new" << SpecialFiles::Refuse << QList<int>() << "";
    QTest::newRow("short and interrupted writes resumed")
        << "file" << SpecialFiles::Refuse << QList<int>{1, -EINTR, 7000} << "";
    QTest::newRow("full disk keeps the earlier file")
        << "file" << SpecialFiles::Refuse << QList<int>{1000, -ENOSPC} << "No space left on device";
    QTest::newRow("a write that takes nothing")
        << "file" << stream << QList<int>{0} << "No space left on device";
    QTest::newRow("link: its target written") << "link" << stream << QList<int>() << "";
    QTest::newRow("FIFO as a stream") << "fifo" << stream << QList<int>{5, -EINTR} << "";
    QTest::newRow("FIFO refused") << "fifo" << SpecialFiles::Refuse << QList<int>()
                                  << "Not a regular file";
    QTest::newRow("FIFO failing") << "fifo" << stream << QList<int>{-EIO} << "Input/output error";
}

void TestOutputFile::writes()
{
    QFETCH(QString, target);
    QFETCH(SpecialFiles, special);
    QFETCH(QList<int>, writes);
    QFETCH(QString, failure);

    const QString path = m_dir.filePath(QTest::currentDataTag());
    const QByteArray earlier(5000, 'e');
    const QByteArray data(20000, 'n'); // fits a pipe's buffer: the FIFO is read afterwards
    int reader = -1;
    if (target == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        // Open before the write, which would otherwise wait for a reader.
        reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
    }
    if (target == QLatin1String("link"))
        QVERIFY(QFile::link(path + QLatin1String(".target"), path));
    QFile file(path);
    if (target == QLatin1String("file") || target == QLatin1String("link")) {
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }
    const QFile::Permissions permissions = file.permissions();

    const auto scripted = [writes](int fd, const char *bytes, qint64 size) mutable -> qint64 {
        if (writes.isEmpty())
            return ::write(fd, bytes, size_t(size));
        const int next = writes.takeFirst();
        if (next < 0)
            errno = -next;
        return next < 0 ? -1 : ::write(fd, bytes, size_t(std::min<qint64>(next, size)));
    };
    const std::optional<QString> reason = OutputFile::write(path, data, special, scripted);
    QVERIFY2(failure.isEmpty() ? !reason : reason && reason->contains(failure),
             qPrintable(reason.value_or(QStringLiteral("written"))));

    QByteArray content(data.size() + 1, 0);
    if (reader >= 0) {
        content.resize(qMax(0, ::read(reader, content.data(), content.size())));
        ::close(reader);
    } else {
        QVERIFY(file.open(QIODevice::ReadOnly));
        content = file.readAll();
    }
    QCOMPARE(content, !failure.isEmpty() ? (reader >= 0 ? QByteArray() : earlier) : data);
    if (target != QLatin1String("new"))
        QCOMPARE(file.permissions(), permissions);
    QCOMPARE(QFileInfo(path).isSymLink(), target == QLatin1String("link"));
    struct stat status;
    QCOMPARE(::lstat(QFile::encodeName(path).constData(), &status), 0);
    QCOMPARE(bool(S_ISFIFO(status.st_mode)), target == QLatin1String("fifo"));
}

// Followed round and round, two links name no file: nothing may replace them.
void TestOutputFile::linkLoopFailsAndStays()
{
    const QString a = m_dir.filePath(QStringLiteral("loop-a"));
    const QString b = m_dir.filePath(QStringLiteral("loop-b"));
    QVERIFY(QFile::link(b, a) && QFile::link(a, b));
    const auto target = [](const QString &link) {
        char bytes[4096];
        const ssize_t size = ::readlink(QFile::encodeName(link).constData(), bytes, sizeof bytes);
        return QFile::decodeName(QByteArray(bytes, qMax<ssize_t>(size, 0)));
    };
    for (const SpecialFiles special : {SpecialFiles::Refuse, SpecialFiles::WriteAsStream}) {
        QCOMPARE(OutputFile::write(a, "data", special).value_or(QString()), qt_error_string(ELOOP));
        QCOMPARE(target(a), b);
        QCOMPARE(target(b), a);
    }
}

// As an editor does: a file replaced by root stays its owner's, with its mode.
void TestOutputFile::replacedFileKeepsOwnerAndMode()
{
    if (::geteuid() != 0)
        QSKIP("only root can give a file to another user");
    const QString path = m_dir.filePath(QStringLiteral("owned"));
    const QByteArray nativePath = QFile::encodeName(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("earlier") == 7);
    file.close();
    const uid_t nobody = 65534;
    QCOMPARE(::chown(nativePath.constData(), nobody, nobody), 0);
    QCOMPARE(::chmod(nativePath.constData(), 0640), 0);

    QVERIFY(!OutputFile::write(path, "new", SpecialFiles::Refuse));
    struct stat status;
    QCOMPARE(::stat(nativePath.constData(), &status), 0);
    QCOMPARE(status.st_uid, nobody);
    QCOMPARE(status.st_gid, gid_t(nobody));
    QCOMPARE(status.st_mode & 07777, mode_t(0640));
}

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"
