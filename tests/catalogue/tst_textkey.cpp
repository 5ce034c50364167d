#include "textkey.h"

#include <QTest>

#include <unicode/uchar.h>

class TestTextKey : public QObject
{
    Q_OBJECT

private slots:
    void trimSetIsWhiteSpaceAndLineBreaksOnly();
    void keys_data();
    void keys();
    void keysOrderByScalarValue();
};

void TestTextKey::trimSetIsWhiteSpaceAndLineBreaksOnly()
{
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const bool expected = c == u' ' || c == u'\t' || (c >= 0x0A && c <= 0x0D) || c == 0x85 ||
                              c == 0x2028 || c == 0x2029 ||
                              u_charType(UChar32(c)) == U_SPACE_SEPARATOR;
        QVERIFY2(TextKey::isTrimCharacter(char16_t(c)) == expected,
                 qPrintable(QString::number(c, 16)));
    }
    QVERIFY(TextKey::isTrimCharacter(0x3000));
    QVERIFY(!TextKey::isTrimCharacter(0x200B)); // zero-width space is a format character
    QVERIFY(!TextKey::isTrimCharacter(0x1C));   // information separators are not white space here
}

void TestTextKey::keys_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equalIgnoringCase");
    QTest::addColumn<bool>("equalWithCase");

    QTest::newRow("ASCII case") << "Alpha"
                                << "aLPHA" << true << false;
    QTest::newRow("precomposed and combining") << "\u00E9t\u00E9"
                                               << "e\u0301te\u0301" << true << true;
    QTest::newRow("non-ASCII case") << "\u00DCbersicht"
                                    << "\u00FCBERSICHT" << true << false;
    QTest::newRow("Kelvin sign lower-cases to k") << "\u212A"
                                                  << "k" << true << false;
    QTest::newRow("dotted capital I is i and a dot, in any locale") << "\u0130"
                                                                    << "i\u0307" << true << false;
    QTest::newRow("sharp s is not folded to ss") << "stra\u00DFe"
                                                 << "strasse" << false << false;
    QTest::newRow("final sigma stays itself") << "\u03A3"
                                              << "\u03C2" << false << false;
}

void TestTextKey::keys()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equalIgnoringCase);
    QFETCH(bool, equalWithCase);
    QCOMPARE(TextKey::caseInsensitive(a) == TextKey::caseInsensitive(b), equalIgnoringCase);
    QCOMPARE(TextKey::caseSensitive(a) == TextKey::caseSensitive(b), equalWithCase);
}

void TestTextKey::keysOrderByScalarValue()
{
    // UTF-16 code units would put the supplementary character before U+FFFD.
    QVERIFY(TextKey::caseSensitive(u"\uFFFD") < TextKey::caseSensitive(u"\U0001F3B5"));
    QVERIFY(TextKey::caseSensitive(u"Z") < TextKey::caseSensitive(u"a"));
    QVERIFY(TextKey::caseSensitive(u"A10") < TextKey::caseSensitive(u"A9"));
    QVERIFY(TextKey::caseSensitive(u"") < TextKey::caseSensitive(u" "));
    QVERIFY(TextKey::caseInsensitive(u"Zeta") > TextKey::caseInsensitive(u"alpha"));
}

QTEST_GUILESS_MAIN(TestTextKey)
#include "tst_textkey.moc"
