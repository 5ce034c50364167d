#include "displaysettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestDisplaySettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void emptyStoreReadsDefaults();
    void storedValuesReadBack();
    void valuesOfAnotherTypeReadAsDefaults_data();
    void valuesOfAnotherTypeReadAsDefaults();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDisplaySettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
}

void TestDisplaySettings::emptyStoreReadsDefaults()
{
    const DisplaySettings::Values values = DisplaySettings::read();
    QCOMPARE(values.showPaths, false);
    QCOMPARE(values.showUUID, false);
    QCOMPARE(values.sortCode, 0);
}

void TestDisplaySettings::storedValuesReadBack()
{
    DisplaySettings::storeShowPaths(true);
    DisplaySettings::storeShowUUID(true);
    DisplaySettings::storeSortCode(-9000000000);
    DisplaySettings::Values values = DisplaySettings::read();
    QCOMPARE(values.showPaths, true);
    QCOMPARE(values.showUUID, true);
    QCOMPARE(values.sortCode, -9000000000);

    DisplaySettings::storeShowUUID(false);
    values = DisplaySettings::read();
    QCOMPARE(values.showUUID, false);
    QCOMPARE(values.showPaths, true);
}

void TestDisplaySettings::valuesOfAnotherTypeReadAsDefaults_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("text") << QVariant(QStringLiteral("banana"));
    QTest::newRow("list") << QVariant(QStringList{"1", "2"});
    QTest::newRow("number text beyond 64 bits") << QVariant(QStringLiteral("99999999999999999999"));
}

void TestDisplaySettings::valuesOfAnotherTypeReadAsDefaults()
{
    QFETCH(QVariant, value);
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zephlist"),
                           QStringLiteral("Zephlist"));
        settings.setValue(QStringLiteral("showPaths"), value);
        settings.setValue(QStringLiteral("showUUID"), value);
        settings.setValue(QStringLiteral("sortCode"), value);
    }
    const DisplaySettings::Values values = DisplaySettings::read();
    QCOMPARE(values.showPaths, false);
    QCOMPARE(values.showUUID, false);
    QCOMPARE(values.sortCode, 0);
}

QTEST_GUILESS_MAIN(TestDisplaySettings)
#include "tst_displaysettings.moc"
