#pragma once

#include <QRadioButton>

// A sort choice that takes its mnemonic at once. A button pressed by its
// mnemonic otherwise shows itself pressed for 100 ms before it clicks, and a
// list of many rows waits that long before it starts to sort.
class SortEntryButton : public QRadioButton
{
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

protected:
    bool event(QEvent *event) override;
};
