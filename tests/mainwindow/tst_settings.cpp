#include "settings.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void absentOrForeignValuesReadAsDefaults_data();
    void absentOrForeignValuesReadAsDefaults();
    void storedValuesReadBack();
    void lastFolderOnlyWhileItExists();
};

void TestSettings::absentOrForeignValuesReadAsDefaults_data()
{
    QTest::addColumn<QVariant>("value"); // stored under all three keys by other means
    QTest::newRow("absent") << QVariant();
    QTest::newRow("text") << QVariant(QStringLiteral("banana"));
    QTest::newRow("list") << QVariant(QStringList{"1", "2"});
    QTest::newRow("number beyond 64 bits") << QVariant(QStringLiteral("99999999999999999999"));
}

void TestSettings::absentOrForeignValuesReadAsDefaults()
{
    QFETCH(QVariant, value);
    QTemporaryDir dir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    if (value.isValid()) {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zephlist", "Zephlist");
        for (const char *key : {"showPaths", "showUUID", "sortCode", "searchScope"})
            settings.setValue(QLatin1String(key), value);
    }
    const Settings::Values values = Settings::read();
    QVERIFY(!values.showPaths && !values.showUUID);
    QCOMPARE(values.sortCode, 0);
    QCOMPARE(values.searchScope, AppexSearch::Scope::Uuid);
}

void TestSettings::storedValuesReadBack()
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    Settings::storeShowUUID(true);
    Settings::storeSortCode(SortCode::UUID);
    Settings::storeSearchScope(AppexSearch::Scope::AllFields);
    const Settings::Values values = Settings::read();
    QVERIFY(!values.showPaths && values.showUUID);
    QCOMPARE(values.sortCode, qint64(SortCode::UUID));
    QCOMPARE(values.searchScope, AppexSearch::Scope::AllFields);
}

// A file dialog takes a folder that does not exist for a file's name.
void TestSettings::lastFolderOnlyWhileItExists()
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    Settings::storeLastFolder(dir.path());
    QCOMPARE(Settings::lastFolder(), dir.path());
    Settings::storeLastFolder(dir.filePath(QStringLiteral("gone")));
    const QString folder = Settings::lastFolder();
    QVERIFY2(QDir(folder).exists(), qPrintable(folder));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
