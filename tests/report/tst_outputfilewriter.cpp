#include "outputfilewriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

// A file written a piece at a time stays as it was until the commit; a writer
// that fails or is dropped leaves it so, and nothing else in its folder.
class TestOutputFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void replacesOnlyOnCommit_data();
    void replacesOnlyOnCommit();
};

void TestOutputFileWriter::replacesOnlyOnCommit_data()
{
    QTest::addColumn<int>("failingPiece"); // the write that finds the disk full; -1: none
    QTest::addColumn<bool>("commits");
    QTest::newRow("committed") << -1 << true;
    QTest::newRow("dropped uncommitted") << -1 << false;
    QTest::newRow("failing midway, then committed") << 2 << true;
}

void TestOutputFileWriter::replacesOnlyOnCommit()
{
    QFETCH(int, failingPiece);
    QFETCH(bool, commits);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("earlier") == 7);
    file.close();
    const auto contents = [&file] {
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    };

    int piece = 0;
    const auto writeSome = [&piece, failingPiece](int fd, const char *bytes, qint64 size) {
        if (piece == failingPiece) {
            errno = ENOSPC;
            return qint64(-1);
        }
        return qint64(::write(fd, bytes, size_t(size)));
    };
    const QList<QByteArray> pieces{"one ", "two ", "three ", "four"};
    std::optional<QString> failure;
    {
        OutputFileWriter writer(path, OutputFile::SpecialFiles::Refuse, writeSome);
        for (; piece < pieces.size(); ++piece) {
            const std::optional<QString> written = writer.write(pieces[piece]);
            // A failure stays: no later piece is written past the gap.
            QCOMPARE(bool(written), failingPiece >= 0 && piece >= failingPiece);
            failure = failure ? failure : written;
        }
        QCOMPARE(contents(), QByteArray("earlier"));
        file.close();
        if (commits)
            QCOMPARE(writer.commit(), failure);
    }
    QCOMPARE(contents(), commits && !failure ? pieces.join() : QByteArray("earlier"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"out"});
}

QTEST_GUILESS_MAIN(TestOutputFileWriter)
#include "tst_outputfilewriter.moc"
