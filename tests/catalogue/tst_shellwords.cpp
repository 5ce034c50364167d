#include "shellwords.h"

#include <QProcess>
#include <QTest>

class TestShellWords : public QObject
{
    Q_OBJECT

private slots:
    void wordsComeBackAsTheyWere_data();
    void wordsComeBackAsTheyWere();
};

void TestShellWords::wordsComeBackAsTheyWere_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "/Applications/Notes.app"
                           << "/Applications/Notes.app";
    QTest::newRow("spaces") << "/A/My App.app"
                            << "'/A/My App.app'";
    QTest::newRow("a quote") << "/A/Dana's.app"
                             << "'/A/Dana'\\''s.app'";
    QTest::newRow("a line feed and a dollar") << "/A/b\n$HOME"
                                              << "'/A/b\n$HOME'";
    QTest::newRow("not ASCII") << "/A/Résumé.appex"
                               << "'/A/Résumé.appex'";
    QTest::newRow("empty") << ""
                           << "''";
}

// What a shell makes of the quoted word is the word itself.
void TestShellWords::wordsComeBackAsTheyWere()
{
    QFETCH(QString, word);
    QTEST(ShellWords::quoted(word), "quoted");
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("printf %s ") + ShellWords::quoted(word)});
    QVERIFY(shell.waitForFinished());
    QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), word);
}

QTEST_GUILESS_MAIN(TestShellWords)
#include "tst_shellwords.moc"
