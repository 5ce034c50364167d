#include "messagerow.h"
#include "messagerowdelegate.h"
#include "zephlisttest.h"

#include <QPalette>
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
    void sdkOutsideApplesShowsAsThePoint();
    void coloursAreLegible_data();
    void coloursAreLegible();
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
    record.setText(AppexField::SDK, u"kind");
    record.setText(AppexField::Name, u"Share");
    record.setText(AppexField::Path, u"/A/S.appex");
    record.setText(AppexField::ParentName, parentName);
    record.setText(AppexField::ParentPath, parentPath);
    record.setText(AppexField::Uuid, u"5D2C");
    QTEST(MessageRow(record, showPaths, showUUID, isSearching).items(), "items");
    QFETCH(Items, items); // the window measures rows by their length alone
    QCOMPARE(MessageRow::textLength(fieldSizes(record), showPaths, showUUID, isSearching),
             std::accumulate(items.begin(), items.end(), qsizetype(0),
                             [](qsizetype sum, const MessageRow::Item &item) {
                                 return sum + item.text.size();
                             }));
}

// The field keeps the tool's line for a point outside Apple's; the row shows
// the point, and an Apple SDK as it is.
void TestMessageRow::sdkOutsideApplesShowsAsThePoint()
{
    Appex record;
    for (const auto &[field, shown] :
         {std::pair(u"SDK = com.microsoft.office.addin", u"com.microsoft.office.addin"),
          std::pair(u"SDK = ExampleKit", u"ExampleKit"),
          std::pair(u"widgetkit-extension", u"widgetkit-extension"), std::pair(u"SDK = ", u"")}) {
        record.setText(AppexField::SDK, field);
        QCOMPARE(MessageRow(record, false, false, false).items().first().text, shown);
    }
}

void TestMessageRow::coloursAreLegible_data()
{
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("dark") << QColor(0x1e, 0x1e, 0x1e) << QColor(0xe0, 0xe0, 0xe0);
}

void TestMessageRow::coloursAreLegible()
{
    QFETCH(QColor, background);
    QPalette palette;
    palette.setColor(QPalette::Base, background);
    QFETCH(QColor, text);
    palette.setColor(QPalette::Text, text);
    for (const Colour colour :
         {Colour::Green, Colour::Brown, Colour::Orange, Colour::Red, Colour::Text}) {
        const QColor shown = MessageRowDelegate::colourOf(colour, palette);
        QVERIFY(MessageRowDelegate::contrast(shown, background) >= 4.5);
        // Faded rows stay legible, yet visibly fainter.
        const double faded =
            MessageRowDelegate::contrast(MessageRowDelegate::faded(shown, background), background);
        QVERIFY2(faded >= 3 && faded < MessageRowDelegate::contrast(shown, background) - 1,
                 qPrintable(QString::number(faded)));
    }
    // The parent path and the UUID, side by side in a row, apart in hue.
    const int orange = MessageRowDelegate::colourOf(Colour::Orange, palette).hslHue();
    const int red = MessageRowDelegate::colourOf(Colour::Red, palette).hslHue();
    QVERIFY(std::min(std::abs(orange - red), 360 - std::abs(orange - red)) >= 30);
}

ZEPHLIST_GUI_TEST_MAIN(TestMessageRow)
#include "tst_messagerow.moc"
