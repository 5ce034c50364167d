#include "displaysettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestDisplaySettings : public QObject
{
    Q_OBJECT

private slots:
    void absentOrForeignValuesReadAsDefaults_data();
    void absentOrForeignValuesReadAsDefaults();
    void storedValuesReadBack();
};

void TestDisplaySettings::absentOrForeignValuesReadAsDefaults_data()
{
    QTest::addColumn<QVariant>("value"); // stored under all three keys by other means
    QTest::newRow("absent") << QVariant();
    QTest::newRow("text") << QVariant(QStringLiteral("banana"));
    QTest::newRow("list") << QVariant(QStringList{"1", "2"});
    QTest::newRow("number beyond 64 bits") << QVariant(QStringLiteral("99999999999999999999"));
}

void TestDisplaySettings::absentOrForeignValuesReadAsDefaults()
{
    QFETCH(QVariant, value);
    QTemporaryDir dir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    if (value.isValid()) {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zephlist", "Zephlist");
        for (const char *key : {"showPaths", "showUUID", "sortCode"})
            settings.setValue(QLatin1String(key), value);
    }
    const DisplaySettings::Values values = DisplaySettings::read();
    QVERIFY(!values.showPaths && !values.showUUID);
    QCOMPARE(values.sortCode, 0);
}

void TestDisplaySettings::storedValuesReadBack()
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    DisplaySettings::storeShowUUID(true);
    DisplaySettings::storeSortCode(-9000000000);
    const DisplaySettings::Values values = DisplaySettings::read();
    QVERIFY(!values.showPaths && values.showUUID);
    QCOMPARE(values.sortCode, -9000000000);
}

QTEST_GUILESS_MAIN(TestDisplaySettings)
#include "tst_displaysettings.moc"
