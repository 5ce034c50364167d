#pragma once

#include "appex.h"

#include <QListWidget>

// The categories of the catalogue, each with how many records it holds,
// after All and Problems: choosing one narrows the list to it.
class CategorySidebar : public QListWidget
{
    Q_OBJECT

public:
    explicit CategorySidebar(QWidget *parent = nullptr);

    // Counts `records` again; the choice stays while its category does.
    void setRecords(const AppexList &records);
    // Chooses Problems, however the list came to show problems only; or
    // All in its place when the list shows every record again.
    void setProblemsOnly(bool problemsOnly);
    // Wide enough for a typical category and its count.
    [[nodiscard]] QSize sizeHint() const override;
    // In a narrow window, still room for a short category and its count.
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    // An empty category is every category.
    void scopeChosen(const QString &category, bool problemsOnly);

private:
    enum Kind { All, Problems, OneCategory };
    void addEntry(Kind kind, const QString &category, const QString &label, qsizetype count);
};
