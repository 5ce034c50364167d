#include "filedialogsavepanel.h"
#include "rtffiledialog.h"
#include "zephlisttest.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestRtfFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void replacingTheCompletedFileIsConfirmed();
    void savePanelsAreModelessAndReportTheChoice();

private:
    QTemporaryDir m_dir;
};

void TestRtfFileDialog::replacingTheCompletedFileIsConfirmed()
{
    const QString existing = m_dir.filePath(QStringLiteral("old.text.rtf"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    RtfFileDialog dialog;
    dialog.setDirectory(m_dir.path());
    dialog.show();
    dialog.selectFile(m_dir.filePath(QStringLiteral("old.text")));
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString question;
        QTimer::singleShot(0, [answer, &question] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            question = box->text();
            box->button(answer)->click();
        });
        dialog.accept();
        QVERIFY(question.contains(QStringLiteral("old.text.rtf")));
        QCOMPARE(dialog.isVisible(), answer == QMessageBox::No); // declined: the user picks again
    }
    QCOMPARE(dialog.chosenFile(), existing);
    QCOMPARE(RtfFileDialog::completedName(QStringLiteral("/d/a.RTF")), QStringLiteral("/d/a.RTF"));
}

void TestRtfFileDialog::savePanelsAreModelessAndReportTheChoice()
{
    QWidget window;
    FileDialogSavePanel panel(&window);
    QList<std::pair<SavePanel::Response, QString>> answers;
    const auto record = [&answers](SavePanel::Response response, const QString &location) {
        answers.append({response, location});
    };

    panel.begin(QStringLiteral("Zephlist2026_01_02_03-04.text"), record);
    QPointer<RtfFileDialog> first = panel.openDialog();
    panel.begin(QStringLiteral("second.text"), record); // a second save, a panel of its own
    RtfFileDialog *second = panel.openDialog();
    QVERIFY(first && first != second && first->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(first->findChild<QLineEdit *>()->text(),
             QStringLiteral("Zephlist2026_01_02_03-04.text"));

    second->reject();
    first->setDirectory(m_dir.path());
    first->accept();
    QCOMPARE(answers.size(), 2);
    QCOMPARE(answers[0].first, SavePanel::Response::Cancel);
    QCOMPARE(answers[1].first, SavePanel::Response::OK);
    QCOMPARE(answers[1].second,
             m_dir.filePath(QStringLiteral("Zephlist2026_01_02_03-04.text.rtf")));
    QTRY_VERIFY(first.isNull()); // a panel lasts one save
}

ZEPHLIST_GUI_TEST_MAIN(TestRtfFileDialog)
#include "tst_rtffiledialog.moc"
