#pragma once

#include "erroralert.h"
#include "savepanel.h"

#include <QList>
#include <QStringList>

// Remembers each save panel opened; the test completes them as a user would.
class FakeSavePanel : public SavePanel
{
public:
    void begin(const QString &proposedName, Completion completion) override
    {
        proposedNames << proposedName;
        completions << std::move(completion);
    }

    QStringList proposedNames;
    QList<Completion> completions;
};

// Remembers each alert instead of showing it.
class FakeAlert : public ErrorAlert
{
public:
    void showErrorAlert(const QString &detail) override { details << detail; }

    QStringList details;
};
