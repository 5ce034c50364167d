#include "appexer.h"
#include "faketool.h"
#include "listingbuilder.h"

#include <QSignalSpy>
#include <QTest>

class TestAppexer : public QObject
{
    Q_OBJECT

private slots:
    void refreshAnnouncesEachAppendThenTheSort();
    void emptyListingSucceeds();
    void failures_data();
    void failures();
    void refreshesMakeNewIdentitiesAndKeepTheDate();
    void largeListingIsReadWhole();
    void onlyStandardOutputIsParsed();

private:
    FakeTool m_tools;
};

void TestAppexer::refreshAnnouncesEachAppendThenTheSort()
{
    const QByteArray listing = ListingBuilder()
                                   .add({QStringLiteral("Gamma"), QStringLiteral("3")})
                                   .add({QStringLiteral("alpha"), QStringLiteral("1")})
                                   .add({QStringLiteral("Beta"), QStringLiteral("2")})
                                   .listing();
    Appexer appexer(m_tools.printing(listing));
    QSignalSpy will(&appexer, &Appexer::appexListWillChange);
    QSignalSpy did(&appexer, &Appexer::appexListDidChange);
    QList<qsizetype> sizesAtDid;
    connect(&appexer, &Appexer::appexListDidChange, this,
            [&] { sizesAtDid << appexer.appexList().size(); });

    QVERIFY(appexer.getAppexes(SortCode::Name));
    QCOMPARE(appexer.failureText(), QString());
    QCOMPARE(will.size(), 4); // three appends and one sorting pass
    QCOMPARE(did.size(), 4);
    QCOMPARE(sizesAtDid, QList<qsizetype>({1, 2, 3, 3}));
    QCOMPARE(appexer.appexList().size(), 3);
    QCOMPARE(appexer.appexList()[0].name, QStringLiteral("alpha"));
    QCOMPARE(appexer.appexList()[2].name, QStringLiteral("Gamma"));
    QCOMPARE(appexer.appexList()[0].SDK, QStringLiteral("widgetkit-extension"));
}

void TestAppexer::emptyListingSucceeds()
{
    Appexer appexer(m_tools.printing(QByteArray()));
    QSignalSpy did(&appexer, &Appexer::appexListDidChange);
    QVERIFY(appexer.getAppexes(SortCode::SDK));
    QVERIFY(appexer.appexList().isEmpty());
    QCOMPARE(did.size(), 0);
}

void TestAppexer::failures_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("timeoutMs");

    const QByteArray listing = ListingBuilder().addGenerated(3).listing();
    QTest::newRow("status 1 with a listing")
        << m_tools.printing(listing, 1) << QStringLiteral("Error 1 when running pluginkit.") << 500;
    QTest::newRow("status 255") << m_tools.printing(listing, 255)
                                << QStringLiteral("Error 255 when running pluginkit.") << 500;
    QTest::newRow("missing tool") << m_tools.path(QStringLiteral("absent"))
                                  << QStringLiteral("pluginkit could not be started") << 500;
    QTest::newRow("killed by a signal")
        << m_tools.write(QStringLiteral("crash"), "echo 'UUID = 1'\nkill -9 $$")
        << QStringLiteral("killed by a signal") << 500;
    QTest::newRow("hangs") << m_tools.write(QStringLiteral("hang"), "exec sleep 60")
                           << QStringLiteral("did not finish within 0.5 seconds") << 500;
    QTest::newRow("hangs after writing")
        << m_tools.write(QStringLiteral("slow"), "echo 'UUID = 1'\nexec sleep 60")
        << QStringLiteral("did not finish") << 500;
    QTest::newRow("not UTF-8") << m_tools.printing("UUID = \xff\xfe\n")
                               << QStringLiteral("not valid UTF-8") << 500;
    QTest::newRow("more than 256 MiB")
        << m_tools.write(QStringLiteral("flood"), "exec head -c 268435457 /dev/zero")
        << QStringLiteral("more than 256 MiB") << 60000;
}

void TestAppexer::failures()
{
    QFETCH(QString, tool);
    QFETCH(QString, failure);
    QFETCH(int, timeoutMs);

    Appexer appexer(tool, std::chrono::milliseconds(timeoutMs));
    QSignalSpy will(&appexer, &Appexer::appexListWillChange);
    QSignalSpy did(&appexer, &Appexer::appexListDidChange);
    QVERIFY(!appexer.getAppexes(SortCode::SDK));
    QVERIFY2(appexer.failureText().contains(failure), qPrintable(appexer.failureText()));
    QVERIFY(appexer.appexList().isEmpty());
    QCOMPARE(will.size(), 0);
    QCOMPARE(did.size(), 0);
}

void TestAppexer::refreshesMakeNewIdentitiesAndKeepTheDate()
{
    Appexer appexer(m_tools.printing(ListingBuilder().addGenerated(20).listing()));
    const QDateTime created = appexer.theDate();
    QVERIFY(created.isValid());
    QVERIFY(appexer.getAppexes(SortCode::Parent));
    const AppexList first = appexer.appexList();
    QTest::qWait(5);
    QVERIFY(appexer.getAppexes(SortCode::Parent));
    const AppexList second = appexer.appexList();

    QCOMPARE(second.size(), first.size());
    for (qsizetype i = 0; i < first.size(); ++i) {
        QCOMPARE(second[i].copyText(), first[i].copyText());
        QVERIFY(second[i].id() != first[i].id());
    }
    QCOMPARE(appexer.theDate(), created);
}

void TestAppexer::largeListingIsReadWhole()
{
    // Several times what a pipe holds: the tool only exits once it is read.
    const QByteArray listing = ListingBuilder().addGenerated(20000).listing();
    QVERIFY(listing.size() > 4 * 1024 * 1024);
    Appexer appexer(m_tools.printing(listing));
    QVERIFY(appexer.getAppexes(SortCode::UUID));
    QCOMPARE(appexer.appexList().size(), 20000);
}

void TestAppexer::onlyStandardOutputIsParsed()
{
    Appexer appexer(m_tools.write(QStringLiteral("noisy"),
                                  "echo 'UUID = from-stderr' >&2\necho 'UUID = from-stdout'"));
    QVERIFY(appexer.getAppexes(SortCode::SDK));
    QCOMPARE(appexer.appexList().size(), 1);
    QCOMPARE(appexer.appexList()[0].uuid, QStringLiteral("from-stdout"));
}

QTEST_GUILESS_MAIN(TestAppexer)
#include "tst_appexer.moc"
