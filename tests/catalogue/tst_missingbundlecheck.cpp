#include "missingbundlecheck.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestMissingBundleCheck : public QObject
{
    Q_OBJECT

private slots:
    void onlyUnderTheBundleRoot();
    void findsTheMissingAcrossBatches();
    void cancelledSaysNothing();

private:
    QTemporaryDir m_root;
};

void TestMissingBundleCheck::onlyUnderTheBundleRoot()
{
    qunsetenv("ZEPHLIST_BUNDLE_ROOT");
    QVERIFY(!MissingBundleCheck::isAvailable());
    qputenv("ZEPHLIST_BUNDLE_ROOT", QFile::encodeName(m_root.path()));
    QVERIFY(MissingBundleCheck::isAvailable());
}

// More records than one turn of the event loop checks; a record without a
// path is not missing.
void TestMissingBundleCheck::findsTheMissingAcrossBatches()
{
    qputenv("ZEPHLIST_BUNDLE_ROOT", QFile::encodeName(m_root.path()));
    const QStringList present = {"/A/x.appex", "/\u00e9/y.appex", "/B/z.appex"};
    for (const QString &path : present)
        QVERIFY(QDir(m_root.path()).mkpath(m_root.path() + path));
    AppexList records;
    QSet<QByteArray> expected;
    for (int i = 0; i < 5000; ++i) {
        Appex record;
        const QString path = i % 5 == 0   ? QStringLiteral("/gone/%1.appex").arg(i)
                             : i % 5 == 1 ? QString()
                                          : present[i % 3];
        record.setText(AppexField::Path, path);
        records << record;
        if (i % 5 == 0)
            expected.insert(path.toUtf8());
    }
    MissingBundleCheck check;
    QSignalSpy finished(&check, &MissingBundleCheck::finished);
    check.start(records);
    QVERIFY(check.isRunning());
    QCOMPARE(finished.size(), 0); // nothing checked before the event loop turns
    QVERIFY(finished.wait(10000));
    QVERIFY(!check.isRunning());
    QCOMPARE(finished.first().first().value<QSet<QByteArray>>(), expected);
}

void TestMissingBundleCheck::cancelledSaysNothing()
{
    qputenv("ZEPHLIST_BUNDLE_ROOT", QFile::encodeName(m_root.path()));
    MissingBundleCheck check;
    QSignalSpy finished(&check, &MissingBundleCheck::finished);
    Appex record;
    record.setText(AppexField::Path, u"/gone");
    check.start({record});
    check.cancel();
    QVERIFY(!check.isRunning());
    QVERIFY(!finished.wait(100));
}

QTEST_GUILESS_MAIN(TestMissingBundleCheck)
#include "tst_missingbundlecheck.moc"
