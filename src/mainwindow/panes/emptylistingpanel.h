#pragma once

#include "appexer.h"
#include "cataloguecontroller.h"

#include <QWidget>

class QLabel;

// Shown over the list while it holds no record although a listing was asked
// for: why, in the words of the failure, or that the tool found nothing.
// An empty list never stands there without saying so.
class EmptyListingPanel : public QWidget
{
    Q_OBJECT

public:
    explicit EmptyListingPanel(QWidget *parent = nullptr);

    // Follows how a job of `catalogue` ended.
    void follow(const CatalogueController::Outcome &outcome, const Appexer &catalogue);
    // Why the list is empty; none while it is not, or before any listing.
    [[nodiscard]] QString reason() const;

    // Its texts at a comfortable measure, and as high as they wrap at it.
    [[nodiscard]] QSize sizeHint() const override;

private:
    QLabel *m_reason;
};
