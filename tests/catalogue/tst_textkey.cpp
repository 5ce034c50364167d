#include "randomrecords.h"
#include "textkey.h"

#include <QTest>

// TextKey takes shortcuts for ASCII text; each is held here to the plain
// rule it stands for, on random text.
class TestTextKey : public QObject
{
    Q_OBJECT

private slots:
    void shortcutsKeepThePlainRules();
};

namespace {

bool isTrimCharacter(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u0085' || c == u'\u2028' ||
           c == u'\u2029' || c.category() == QChar::Separator_Space;
}

QString trimmed(QString text)
{
    while (!text.isEmpty() && isTrimCharacter(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && isTrimCharacter(text.back()))
        text.chop(1);
    return text;
}

} // namespace

void TestTextKey::shortcutsKeepThePlainRules()
{
    const QStringList blanks = {" ",      "\n",     "\x0b",  "\u0085", "\u00a0",
                                "\u2029", "\u3000", "\u200b" /* no blank: a format character */};
    QRandomGenerator random(1);
    for (int i = 0; i < 3000; ++i) {
        const QString text = RandomRecords::text(random, blanks);
        const QByteArray utf8 = text.toUtf8();
        const QString lower = text.toLower().normalized(QString::NormalizationForm_C);
        const QByteArray why = "text \"" + utf8 + '"';

        std::string key;
        TextKey::appendKey(key, utf8, true);
        QVERIFY2(key == lower.toStdString(), why.constData());
        QVERIFY2(TextKey::caseInsensitive(text) == key, why.constData());
        key.clear();
        TextKey::appendKey(key, utf8, false);
        QVERIFY2(key == text.normalized(QString::NormalizationForm_C).toStdString(),
                 why.constData());

        QCOMPARE(TextKey::trimmed(utf8).toByteArray(), trimmed(text).toUtf8());
        QCOMPARE(TextKey::startsWithTrimCharacter(utf8),
                 !text.isEmpty() && isTrimCharacter(text.front()));

        const std::string query = TextKey::caseInsensitive(RandomRecords::text(random).left(3));
        if (query.empty() || !TextKey::isAscii(QByteArrayView(query)))
            continue;
        const std::optional<bool> found = TextKey::asciiFind(utf8, query);
        QCOMPARE(found.has_value(), TextKey::isAscii(text));
        if (found)
            QVERIFY2(*found == lower.contains(QString::fromStdString(query)), why.constData());
    }
}

QTEST_GUILESS_MAIN(TestTextKey)
#include "tst_textkey.moc"
