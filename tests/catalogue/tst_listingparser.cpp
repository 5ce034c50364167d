#include "listingparser.h"
#include "textkey.h"

#include <QSet>
#include <QTest>

#include <unicode/uchar.h>

// Each record is written as its six text fields joined by "|", in the order
// SDK|name|path|parentPath|parentName|uuid.
static QStringList summaries(const AppexList &records)
{
    QStringList lines;
    for (const Appex &r : records)
        lines << QStringList{r.SDK, r.name, r.path, r.parentPath, r.parentName, r.uuid}.join(u'|');
    return lines;
}

class TestListingParser : public QObject
{
    Q_OBJECT

private slots:
    void workedExample();
    void rules_data();
    void rules();
    void trimSetIsWhiteSpaceAndLineBreaksOnly();
    void copyTextAndIdentity();
};

void TestListingParser::workedExample()
{
    const QString listing =
        QStringLiteral("first entry\n"
                       "    Path = /Applications/Notes Plus.app/Contents/PlugIns/Share.appex\n"
                       "    UUID = 5D2C\n"
                       "    SDK = com.apple.sample-kind\n"
                       "    Parent Bundle = /Applications/Notes Plus.app\n"
                       "    Display Name = Notes Share\n"
                       "    Parent Name = Notes Plus\n"
                       "\n"
                       "second entry\n"
                       "    Path = /Applications/Tool.app/Contents/PlugIns/Widget.appex\n"
                       "    UUID = 9A41\n"
                       "    SDK = ExampleKit\n"
                       "    Display Name = Tool Widget\n"
                       "\n"
                       "third entry\n"
                       "    Path = /Library/Orphan.appex\n");
    QCOMPARE(
        summaries(parseListing(listing)),
        QStringList(
            {QStringLiteral("sample-kind|Notes Share|/Applications/Notes Plus.app/Contents/"
                            "PlugIns/Share.appex|/Applications/Notes Plus.app|Notes Plus|5D2C"),
             QStringLiteral("SDK = ExampleKit|Tool Widget|/Applications/Tool.app/Contents/"
                            "PlugIns/Widget.appex|||9A41")}));
}

void TestListingParser::rules_data()
{
    QTest::addColumn<QString>("listing");
    QTest::addColumn<QStringList>("records");

    const QString a = QStringLiteral("Display Name = A\nUUID = 1");
    const QString b = QStringLiteral("Display Name = B\nUUID = 2");
    const QStringList ab = {QStringLiteral("[no SDK]|A||||1"), QStringLiteral("[no SDK]|B||||2")};

    QTest::newRow("empty text") << QString() << QStringList();
    QTest::newRow("no UUID line") << QStringLiteral("Display Name = A\nPath = /a") << QStringList();
    QTest::newRow("blank UUID value")
        << QStringLiteral("UUID = \t \u00A0\nDisplay Name = A") << QStringList();
    QTest::newRow("UUID marker needs its spaces")
        << QStringLiteral("UUID=1\nUUID =2") << QStringList();
    QTest::newRow("no trailing blank line") << a + QStringLiteral("\n\n") + b << ab;
    QTest::newRow("leading blank line")
        << QStringLiteral("\n") + a + QStringLiteral("\n\n") + b << ab;
    QTest::newRow("three line feeds") << a + QStringLiteral("\n\n\n") + b << ab;
    QTest::newRow("four line feeds")
        << a + QStringLiteral("\n\n\n\n") + b + QStringLiteral("\n\n") << ab;
    QTest::newRow("white-space block") << a + QStringLiteral("\n\n  \t\n\n") + b << ab;
    QTest::newRow("no blank line between entries merges them")
        << a + QStringLiteral("\n") + b << QStringList{QStringLiteral("[no SDK]|B||||2")};
    QTest::newRow("CR LF lines lose the CR") << QStringLiteral("Display Name = A\r\nUUID = 1\r\n")
                                             << QStringList{QStringLiteral("[no SDK]|A||||1")};
    QTest::newRow("CR LF CR LF does not separate blocks")
        << QStringLiteral("Display Name = A\r\n\r\nUUID = 1")
        << QStringList{QStringLiteral("[no SDK]|A||||1")};
    QTest::newRow("second UUID line wins")
        << QStringLiteral("UUID = 1\nUUID = 2") << QStringList{QStringLiteral("[no SDK]|||||2")};
    QTest::newRow("indentation does not matter")
        << QStringLiteral("\t\tDisplay Name = A\n    UUID = 1\nPath = /p")
        << QStringList{QStringLiteral("[no SDK]|A|/p|||1")};
    QTest::newRow("marker order inside a block does not matter")
        << QStringLiteral("UUID = 1\nParent Name = P\nDisplay Name = N\nParent Bundle = /P.app")
        << QStringList{QStringLiteral("[no SDK]|N||/P.app|P|1")};
    QTest::newRow("SDK prefix removed")
        << QStringLiteral("SDK = com.apple.share-services\nUUID = 1")
        << QStringList{QStringLiteral("share-services|||||1")};
    QTest::newRow("SDK exactly the prefix is empty")
        << QStringLiteral("SDK = com.apple.\nUUID = 1") << QStringList{QStringLiteral("|||||1")};
    QTest::newRow("other SDK keeps its marker")
        << QStringLiteral("  SDK = org.kit\nUUID = 1")
        << QStringList{QStringLiteral("SDK = org.kit|||||1")};
    QTest::newRow("com.apple. elsewhere stays")
        << QStringLiteral("SDK = x.com.apple.y\nUUID = 1")
        << QStringList{QStringLiteral("SDK = x.com.apple.y|||||1")};
    QTest::newRow("earlier marker row wins: Path inside a name")
        << QStringLiteral("Display Name = Path = x\nUUID = 1")
        << QStringList{QStringLiteral("[no SDK]||Display Name = x|||1")};
    QTest::newRow("every occurrence of the removed text goes")
        << QStringLiteral("Path = /a/Path = b\nUUID = 1")
        << QStringList{QStringLiteral("[no SDK]||/a/b|||1")};
    QTest::newRow("UUID inside a parent name line is the parent name")
        << QStringLiteral("Parent Name = UUID = 9\nUUID = 1")
        << QStringList{QStringLiteral("[no SDK]||||UUID = 9|1")};
    QTest::newRow("trim set: Unicode spaces and line breaks")
        << QStringLiteral("Display Name = \u3000\u2028A B\u00A0\u0085\u2029\u000B\u000C\nUUID = 1")
        << QStringList{QStringLiteral("[no SDK]|A B||||1")};
    QTest::newRow("not in the trim set: zero-width space and BOM")
        << QStringLiteral("Display Name = \u200BA\uFEFF\nUUID = 1")
        << QStringList{QStringLiteral("[no SDK]|\u200BA\uFEFF||||1")};
    QTest::newRow("non-ASCII values are kept")
        << QStringLiteral("Display Name = Café 🎵\nUUID = ü1")
        << QStringList{QStringLiteral("[no SDK]|Café 🎵||||ü1")};
}

void TestListingParser::rules()
{
    QFETCH(QString, listing);
    QTEST(summaries(parseListing(listing)), "records");
}

void TestListingParser::trimSetIsWhiteSpaceAndLineBreaksOnly()
{
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const bool expected = c == u' ' || c == u'\t' || (c >= 0x0A && c <= 0x0D) || c == 0x85 ||
                              c == 0x2028 || c == 0x2029 ||
                              u_charType(UChar32(c)) == U_SPACE_SEPARATOR;
        QVERIFY2(TextKey::isTrimCharacter(char16_t(c)) == expected,
                 qPrintable(QString::number(c, 16)));
    }
}

void TestListingParser::copyTextAndIdentity()
{
    const AppexList records = parseListing(u"Display Name = Notes Share\nPath = /A/Share.appex\n"
                                           u"Parent Name = Notes\nParent Bundle = /A\n"
                                           u"SDK = com.apple.sample-kind\nUUID = 5D2C\n\n"
                                           u"UUID = X\n\nDisplay Name = a\tb\nUUID = 1");
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0].copyText(),
             QStringLiteral("Notes Share\t/A/Share.appex\tNotes\t/A\tsample-kind\t5D2C"));
    QCOMPARE(records[1].copyText(), QStringLiteral("\t\t\t\t[no SDK]\tX"));
    QCOMPARE(records[2].copyText(), QStringLiteral("a\tb\t\t\t\t[no SDK]\t1"));

    QSet<QUuid> ids;
    for (int i = 0; i < 2000; ++i) {
        const QUuid id = Appex().id();
        QCOMPARE(id.version(), QUuid::Random);
        QCOMPARE(id.variant(), QUuid::DCE);
        ids.insert(id);
    }
    QCOMPARE(ids.size(), 2000);
}

QTEST_GUILESS_MAIN(TestListingParser)
#include "tst_listingparser.moc"
