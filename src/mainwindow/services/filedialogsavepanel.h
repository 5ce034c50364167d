#pragma once

#include "savepanel.h"

class QWidget;

// The save panel as the platform's file dialog where it has one: modeless,
// one dialog per save, starting in the folder last used. A chosen name
// without the file type's suffix gets it appended (so the proposed
// "….text" saves as "….text.rtf"), and replacing a file under the completed
// name is confirmed, since the dialog only saw the name as typed.
class FileDialogSavePanel : public SavePanel
{
public:
    struct FileType
    {
        QString title;      // "Save Listing": what is saved
        QString nameFilter; // "Rich Text Format (*.rtf)"
        QString suffix;     // ".rtf"
    };

    FileDialogSavePanel(QWidget *window, FileType type);

    void begin(const QString &proposedName, Completion completion) override;

    // `name` with the suffix appended unless it already ends so.
    [[nodiscard]] QString completedName(const QString &name) const;

private:
    void chosen(const QString &file, const Completion &completion);

    QWidget *m_window;
    FileType m_type;
};
