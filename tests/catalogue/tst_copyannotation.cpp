#include "appexelection.h"
#include "appexproblem.h"
#include "copyannotation.h"

#include <QRandomGenerator>
#include <QTest>

class TestCopyAnnotation : public QObject
{
    Q_OBJECT

private slots:
    void annotate_data();
    void annotate();
    void developmentPathsAsPlainSearchesFindThem();
};

void TestCopyAnnotation::annotate_data()
{
    QTest::addColumn<QStringList>("records");  // "identifier|path|UUID|election"
    QTest::addColumn<QStringList>("inUse");    // the UUIDs in use; "?" when not known
    QTest::addColumn<QStringList>("expected"); // per record "copies|active|problems"

    const QStringList unknown{"?"};
    QTest::newRow("one copy") << QStringList{"com.a|/A|1|"} << unknown << QStringList{"1|?|"};
    QTest::newRow("two paths: duplicates")
        << QStringList{"com.a|/A|1|", "com.b|/B|2|", "com.a|/B|3|"} << unknown
        << QStringList{"2|?|duplicate", "1|?|", "2|?|duplicate"};
    QTest::newRow("paths A, B, A: all three duplicates")
        << QStringList{"com.a|/A|1|", "com.a|/B|2|", "com.a|/A|3|"} << unknown
        << QStringList{"3|?|duplicate", "3|?|duplicate", "3|?|duplicate"};
    QTest::newRow("one path twice: copies, no duplicates")
        << QStringList{"com.a|/A|1|", "com.a|/A|2|"} << unknown << QStringList{"2|?|", "2|?|"};
    QTest::newRow("no identifier: no copies of each other")
        << QStringList{"|/A|1|", "|/B|2|"} << unknown << QStringList{"1|?|", "1|?|"};
    QTest::newRow("development folders")
        << QStringList{"a|/Volumes/X/a.appex|1|", "b|/U/Library/Developer/DerivedData/b|2|",
                       "c|/src/build/c|3|",       "d|/Users/u/.Trash/d|4|",
                       "e|/src/builds/e|5|",      "f|/Volumes|6|",
                       "g|/src/Build/g|7|",       "h|/src/xbuild/h|8|"}
        << unknown
        << QStringList{"1|?|development",
                       "1|?|development",
                       "1|?|development",
                       "1|?|development",
                       "1|?|",
                       "1|?|",
                       "1|?|",
                       "1|?|"};
    QTest::newRow("elections") << QStringList{"a|/a|1|superseded", "b|/b|2|debug", "c|/c|3|unknown",
                                              "d|/d|4|use", "e|/e|5|ignore"}
                               << unknown
                               << QStringList{"1|?|superseded", "1|?|debug", "1|?|unknown", "1|?|",
                                              "1|?|"};
    QTest::newRow("copies in use")
        << QStringList{"com.a|/A|1|", "com.a|/B|2|superseded"} << QStringList{"1"}
        << QStringList{"2|yes|", "2|no|duplicate,inactive,superseded"};
    QTest::newRow("none in use") << QStringList{"com.a|/A|1|"} << QStringList()
                                 << QStringList{"1|no|inactive"};
}

void TestCopyAnnotation::annotate()
{
    QFETCH(QStringList, records);
    QFETCH(QStringList, inUse);
    AppexList list;
    for (const QString &entry : records) {
        const QStringList fields = entry.split(u'|');
        Appex record;
        record.setText(AppexField::Identifier, fields[0]);
        record.setText(AppexField::Path, fields[1]);
        record.setText(AppexField::Uuid, fields[2]);
        for (const AppexElectionInfo &info : appexElections) {
            if (fields[3] == info.name)
                record.setElection(info.election);
        }
        list << record;
    }
    std::optional<QSet<QByteArray>> uuids;
    if (inUse != QStringList{"?"}) {
        uuids.emplace();
        for (const QString &uuid : inUse)
            uuids->insert(uuid.toUtf8());
    }
    CopyAnnotation::annotate(list, uuids);

    QStringList annotations;
    for (const Appex &record : list) {
        QStringList problems;
        for (const AppexProblemInfo &info : appexProblems) {
            if (record.problems().testFlag(info.problem))
                problems << QString(info.code);
        }
        const std::optional<bool> active = record.active();
        const QLatin1StringView activity(!active ? "?" : *active ? "yes" : "no");
        annotations << QStringLiteral("%1|%2|%3")
                           .arg(QString::number(record.copies()), activity, problems.join(u','));
    }
    QTEST(annotations, "expected");
}

// The check goes from slash to slash in one pass; its plain twin searches
// each path four times.
void TestCopyAnnotation::developmentPathsAsPlainSearchesFindThem()
{
    const QList<QByteArray> parts = {"",  "Volumes", "DerivedData", "build", ".Trash", "b",
                                     "D", ".",       "builds",      "Build", "x"};
    QRandomGenerator random(1);
    for (int i = 0; i < 5000; ++i) {
        QByteArray path;
        for (int count = random.bounded(6); count > 0; --count)
            path += (random.bounded(4) ? "/" : "") + parts[random.bounded(int(parts.size()))];
        const bool expected = path.startsWith("/Volumes/") || path.contains("/DerivedData/") ||
                              path.contains("/build/") || path.contains("/.Trash/");
        QVERIFY2(CopyAnnotation::isDevelopmentPath(path) == expected, path.constData());
    }
}

QTEST_GUILESS_MAIN(TestCopyAnnotation)
#include "tst_copyannotation.moc"
