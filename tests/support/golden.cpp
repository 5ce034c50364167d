#include "golden.h"

#include <QFile>
#include <QList>

QString testDataPath(const QString &name)
{
    return QStringLiteral(ZEPHLIST_TEST_DATA "/") + name;
}

QByteArray readTestData(const QString &name)
{
    QFile file(testDataPath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the test data %s", qPrintable(file.fileName()));
    return file.readAll();
}

// A golden file that differs is written, as it now reads, under the folder
// that ZEPHLIST_GOLDEN_OUT names (a temporary one): to be read against the
// rules before it replaces the old one.
void keepActual(const QByteArray &actual, const QString &golden)
{
    const QString folder = qEnvironmentVariable("ZEPHLIST_GOLDEN_OUT");
    if (folder.isEmpty())
        return;
    QFile file(folder + u'/' + QString(golden).replace(u'/', u'_'));
    if (file.open(QIODevice::WriteOnly))
        file.write(actual);
}

QString goldenDifference(const QByteArray &actual, const QString &golden)
{
    const QList<QByteArray> expectedLines = readTestData(golden).split('\n');
    const QList<QByteArray> actualLines = actual.split('\n');
    for (qsizetype i = 0; i < std::max(expectedLines.size(), actualLines.size()); ++i) {
        const QByteArray expected = expectedLines.value(i, "(end)");
        const QByteArray got = actualLines.value(i, "(end)");
        if (expected != got) {
            keepActual(actual, golden);
            return QStringLiteral("%1, line %2:\n  expected: %3\n  actual:   %4")
                .arg(golden)
                .arg(i + 1)
                .arg(QString::fromUtf8(expected), QString::fromUtf8(got));
        }
    }
    return {};
}
