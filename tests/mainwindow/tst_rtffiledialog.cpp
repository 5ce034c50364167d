#include "filedialogsavepanel.h"
#include "rtffiledialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Answers the next modal message box with `button`, once it is shown.
void answerNextMessageBox(QMessageBox::StandardButton button, QString *text)
{
    QTimer::singleShot(0, [button, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        *text = box->text();
        box->button(button)->click();
    });
}

} // namespace

class TestRtfFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void completedName_data();
    void completedName();
    void acceptCompletesTheName();
    void replacingTheCompletedFileIsConfirmed();
    void savePanelReportsTheChoice();
    void savePanelsAreModelessAndIndependent();

private:
    QTemporaryDir m_dir;
};

void TestRtfFileDialog::completedName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("completed");
    QTest::newRow("proposed name") << "/d/Zephlist2026_12_05_11-59.text"
                                   << "/d/Zephlist2026_12_05_11-59.text.rtf";
    QTest::newRow("already rtf") << "/d/report.rtf"
                                 << "/d/report.rtf";
    QTest::newRow("upper case") << "/d/report.RTF"
                                << "/d/report.RTF";
    QTest::newRow("no ending") << "/d/report"
                               << "/d/report.rtf";
}

void TestRtfFileDialog::completedName()
{
    QFETCH(QString, name);
    QTEST(RtfFileDialog::completedName(name), "completed");
}

void TestRtfFileDialog::acceptCompletesTheName()
{
    RtfFileDialog dialog;
    dialog.setDirectory(m_dir.path());
    dialog.selectFile(m_dir.filePath(QStringLiteral("fresh.text")));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenFile(), m_dir.filePath(QStringLiteral("fresh.text.rtf")));
}

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
    QString question;
    answerNextMessageBox(QMessageBox::No, &question);
    dialog.accept();
    QVERIFY(question.contains(QStringLiteral("old.text.rtf")));
    QVERIFY(dialog.isVisible()); // declined: the user picks again
    QVERIFY(dialog.chosenFile().isEmpty());

    answerNextMessageBox(QMessageBox::Yes, &question);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenFile(), existing);
}

void TestRtfFileDialog::savePanelReportsTheChoice()
{
    QWidget window;
    FileDialogSavePanel panel(&window);
    QList<std::pair<SavePanel::Response, QString>> answers;
    const auto record = [&answers](SavePanel::Response response, const QString &location) {
        answers.append({response, location});
    };

    panel.begin(QStringLiteral("Zephlist2026_01_02_03-04.text"), record);
    QPointer<RtfFileDialog> dialog = panel.openDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->findChild<QLineEdit *>()->text(),
             QStringLiteral("Zephlist2026_01_02_03-04.text"));
    dialog->setDirectory(m_dir.path());
    dialog->accept();
    QCOMPARE(answers.size(), 1);
    QCOMPARE(answers[0].first, SavePanel::Response::OK);
    QCOMPARE(answers[0].second,
             m_dir.filePath(QStringLiteral("Zephlist2026_01_02_03-04.text.rtf")));
    QTRY_VERIFY(dialog.isNull()); // a panel lasts one save

    panel.begin(QStringLiteral("x.text"), record);
    panel.openDialog()->reject();
    QCOMPARE(answers.size(), 2);
    QCOMPARE(answers[1].first, SavePanel::Response::Cancel);
}

void TestRtfFileDialog::savePanelsAreModelessAndIndependent()
{
    QWidget window;
    FileDialogSavePanel panel(&window);
    int completions = 0;
    panel.begin(QStringLiteral("a.text"),
                [&](SavePanel::Response, const QString &) { ++completions; });
    RtfFileDialog *first = panel.openDialog();
    panel.begin(QStringLiteral("b.text"),
                [&](SavePanel::Response, const QString &) { ++completions; });
    RtfFileDialog *second = panel.openDialog();
    QVERIFY(first != second);
    QCOMPARE(first->windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());
    second->reject();
    QCOMPARE(completions, 1);
    QVERIFY(first->isVisible());
    first->reject();
    QCOMPARE(completions, 2);
}

QTEST_MAIN(TestRtfFileDialog)
#include "tst_rtffiledialog.moc"
