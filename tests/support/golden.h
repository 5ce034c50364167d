#pragma once

#include <QByteArray>
#include <QString>

// The test data folder, tests/data: listings and the outputs expected of them.
[[nodiscard]] QString testDataPath(const QString &name);
[[nodiscard]] QByteArray readTestData(const QString &name);

// Empty when `actual` equals the file `golden` in the test data folder;
// otherwise the first line that differs, both ways, to show in the failure.
[[nodiscard]] QString goldenDifference(const QByteArray &actual, const QString &golden);

#define COMPARE_GOLDEN(actual, golden)                                                             \
    do {                                                                                           \
        const QString difference = goldenDifference(actual, golden);                               \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                                    \
    } while (false)
