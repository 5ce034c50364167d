#include "appexlistmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

AppexList recordsNamed(const QStringList &names)
{
    AppexList records;
    for (const QString &name : names) {
        Appex record;
        record.name = name;
        record.uuid = name.toUpper();
        records << record;
    }
    return records;
}

} // namespace

class TestAppexListModel : public QObject
{
    Q_OBJECT

private slots:
    void passesTheModelTester();
    void displayChangeRepaintsWithoutReset();
};

void TestAppexListModel::passesTheModelTester()
{
    AppexListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecords(recordsNamed({"a", "b", "c"}), false);
    model.setDisplay(true, true);
    model.setRecords({}, true);
    model.setRecords(recordsNamed({"d"}), true);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.rowCount(model.index(0)), 0);
    QVERIFY(!model.data(model.index(5), Qt::DisplayRole).isValid());
}

void TestAppexListModel::displayChangeRepaintsWithoutReset()
{
    AppexListModel model;
    model.setRecords(recordsNamed({"a", "b"}), false);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setDisplay(false, true);
    QCOMPARE(reset.size(), 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(model.data(model.index(1)).toString(), QStringLiteral("[no SDK] b B"));
    model.setDisplay(false, true);
    QCOMPARE(changed.size(), 1); // nothing changed, nothing announced
}

QTEST_GUILESS_MAIN(TestAppexListModel)
#include "tst_appexlistmodel.moc"
