#include "messagerow.h"

#include <QTest>

#include <numeric>

using Colour = MessageRow::Colour;
using Items = QList<MessageRow::Item>;

class TestMessageRow : public QObject
{
    Q_OBJECT

private slots:
    void items_data();
    void items();
};

void TestMessageRow::items_data()
{
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QString>("parentPath");
    QTest::addColumn<bool>("showPaths");
    QTest::addColumn<bool>("showUUID");
    QTest::addColumn<bool>("isSearching");
    QTest::addColumn<Items>("items");

    const MessageRow::Item sdk{"kind", Colour::Green};
    const MessageRow::Item name{"Share", Colour::Text};
    const MessageRow::Item path{"/A/S.appex", Colour::Brown};
    const MessageRow::Item parent{parentMarker + "Notes", Colour::Text};
    const MessageRow::Item parentPath{"/A", Colour::Orange};
    const MessageRow::Item uuid{"5D2C", Colour::Red};

    QTest::newRow("no parent, settings off") << ""
                                             << "" << false << false << false << Items{sdk, name};
    QTest::newRow("no parent, settings on")
        << ""
        << "" << true << true << false << Items{sdk, name, path, uuid};
    QTest::newRow("parent, paths off")
        << "Notes"
        << "/A" << false << false << false << Items{sdk, name, parent};
    QTest::newRow("parent, paths on")
        << "Notes"
        << "/A" << true << false << false << Items{sdk, name, path, parent, parentPath};
    QTest::newRow("parent name without path: empty orange item")
        << "Notes"
        << "" << true << false << false << Items{sdk, name, path, parent, {"", Colour::Orange}};
    QTest::newRow("parent path without name: never shown")
        << ""
        << "/A" << true << true << false << Items{sdk, name, path, uuid};
    QTest::newRow("search results show the UUID")
        << ""
        << "" << false << false << true << Items{sdk, name, uuid};
}

void TestMessageRow::items()
{
    QFETCH(QString, parentName);
    QFETCH(QString, parentPath);
    QFETCH(bool, showPaths);
    QFETCH(bool, showUUID);
    QFETCH(bool, isSearching);

    Appex record;
    record.SDK = "kind";
    record.name = "Share";
    record.path = "/A/S.appex";
    record.parentName = parentName;
    record.parentPath = parentPath;
    record.uuid = "5D2C";
    QTEST(MessageRow(record, showPaths, showUUID, isSearching).items(), "items");
    QFETCH(Items, items); // the window measures rows by their length alone
    QCOMPARE(MessageRow::textLength(record, showPaths, showUUID, isSearching),
             std::accumulate(items.begin(), items.end(), qsizetype(0),
                             [](qsizetype sum, const MessageRow::Item &item) {
                                 return sum + item.text.size();
                             }));
}

QTEST_GUILESS_MAIN(TestMessageRow)
#include "tst_messagerow.moc"
