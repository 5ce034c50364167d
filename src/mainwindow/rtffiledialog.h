#pragma once

#include <QFileDialog>

// A save dialog for RTF files. A chosen name that does not end in ".rtf" gets
// it appended (so the proposed "….text" saves as "….text.rtf"), and replacing
// an existing file is confirmed for the completed name.
class RtfFileDialog : public QFileDialog
{
    Q_OBJECT

public:
    explicit RtfFileDialog(QWidget *parent = nullptr);

    // The file to write, once the dialog was accepted.
    [[nodiscard]] QString chosenFile() const { return m_chosenFile; }

    // `name` with ".rtf" appended unless it already ends so.
    [[nodiscard]] static QString completedName(const QString &name);

public slots:
    void accept() override;

private:
    QString m_chosenFile;
};
