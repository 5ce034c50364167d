#pragma once

#include <QString>

// The application's one alert: a modal, critical message about the last action.
class ErrorAlert
{
public:
    static inline const QString message = QStringLiteral("An error occurred in your last action:");

    virtual ~ErrorAlert() = default;

    // Shows `message` with `detail` below it and returns once dismissed.
    virtual void showErrorAlert(const QString &detail) = 0;
};
