#pragma once

#include "sortcode.h"

#include <QWidget>

#include <optional>

class WindowActions;
class QBoxLayout;
class QButtonGroup;
class QLabel;

// The controls across the top of the window: the sort entries, then Get
// Appexes and the count of records, then the display toggles and Save as RTF,
// each a button for one of the window's actions, and the search at the right
// end. Where the window is too narrow for one line, the sort entries go on a
// line of their own above the rest, and where it is too narrow for the rest
// too, the display toggles go on a third; the search stays at the right.
class ControlRow : public QWidget
{
    Q_OBJECT

public:
    ControlRow(const WindowActions &actions, qint64 sortCode, QWidget *search,
               QWidget *parent = nullptr);

    void setCount(const QString &count);
    // Checks the entry of `sortCode`; none without one, or for a code of none.
    void setSortCode(std::optional<SortCode> sortCode);
    // Its controls in the order the keyboard goes through them.
    [[nodiscard]] QList<QWidget *> focusChain() const;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    void sortCodePicked(SortCode sortCode);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // One line, two or three, as `width` leaves room.
    void arrangeLines(int width);

    QWidget *m_search;
    QWidget *m_controls; // all but the search
    QBoxLayout *m_lines;
    QWidget *m_sortEntries;
    QWidget *m_commands;
    QBoxLayout *m_commandLines;
    QWidget *m_listing; // Get Appexes and the count
    QWidget *m_display; // the toggles and Save as RTF
    QButtonGroup *m_sortGroup;
    QLabel *m_count;
};
