#include "bytesearch.h"

#include <QRandomGenerator>
#include <QTest>

// ByteSearch goes to memchr where QByteArrayView's own search is slow; its
// plain twin is that search.
class TestByteSearch : public QObject
{
    Q_OBJECT

private slots:
    void findsWhatQByteArrayViewFinds();
};

void TestByteSearch::findsWhatQByteArrayViewFinds()
{
    const QByteArray bytes = "=(a\n\xff";
    QRandomGenerator random(1);
    for (int i = 0; i < 5000; ++i) {
        QByteArray text;
        for (int count = random.bounded(20); count > 0; --count)
            text += bytes[random.bounded(int(bytes.size()))];
        const char c = bytes[random.bounded(int(bytes.size()))];
        const qsizetype from = random.bounded(int(text.size()) + 2);
        QCOMPARE(ByteSearch::indexOf(text, c, from), QByteArrayView(text).indexOf(c, from));
        QCOMPARE(ByteSearch::lastIndexOf(text, c), QByteArrayView(text).lastIndexOf(c));
    }
}

QTEST_GUILESS_MAIN(TestByteSearch)
#include "tst_bytesearch.moc"
