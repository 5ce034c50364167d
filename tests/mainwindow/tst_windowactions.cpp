#include "windowactions.h"
#include "zephlisttest.h"

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

using Command = WindowActions::Command;
Q_DECLARE_METATYPE(WindowActions::State)

// Which of the window's commands apply in each state of the window.
class TestWindowActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void enabledByState_data();
    void enabledByState();

private:
    QTemporaryDir m_settings;
};

void TestWindowActions::initTestCase()
{
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
}

void TestWindowActions::enabledByState_data()
{
    QTest::addColumn<WindowActions::State>("state");
    QTest::addColumn<QList<Command>>("enabled"); // of the commands below

    const auto state = [](bool busy, bool comparing, bool selected, bool records) {
        WindowActions::State window;
        window.busy = busy;
        window.comparing = comparing;
        window.selected = selected;
        window.hasListing = records;
        window.hasRecords = records;
        return window;
    };
    const QList<Command> copies{Command::Copy, Command::CopyUuid, Command::CopyPath,
                                Command::CopyIdentifier};
    QTest::newRow("empty window") << state(false, false, false, false)
                                  << QList<Command>{Command::GetAppexes};
    QTest::newRow("comparing, a row selected")
        << state(false, true, true, true)
        << QList<Command>{Command::GetAppexes, Command::SaveListing, Command::SaveAsRTF,
                          Command::ClearComparison, Command::ChangesOnly} +
               copies;
    QTest::newRow("comparing while busy, nothing selected")
        << state(true, true, false, true)
        << QList<Command>{Command::SaveListing, Command::SaveAsRTF, Command::ChangesOnly};
}

void TestWindowActions::enabledByState()
{
    QFETCH(WindowActions::State, state);
    QFETCH(QList<Command>, enabled);
    QWidget window;
    WindowActions actions(&window);
    actions.update(state);
    for (const Command command : {Command::GetAppexes, Command::SaveListing, Command::SaveAsRTF,
                                  Command::ClearComparison, Command::ChangesOnly, Command::Copy,
                                  Command::CopyUuid, Command::CopyPath, Command::CopyIdentifier}) {
        QVERIFY2(actions[command]->isEnabled() == enabled.contains(command),
                 qPrintable(actions[command]->objectName()));
    }
}

ZEPHLIST_GUI_TEST_MAIN(TestWindowActions)
#include "tst_windowactions.moc"
