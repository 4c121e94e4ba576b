#pragma once

#include "foundation/ExamParameters.h"

#include <QString>

// The exam launch record as the main window fills it before it shows the
// exam window, for tests that launch the exam window directly.
struct TestLaunch {
    QString mode;
    int count = 0;
    QString dbPath;
    int minutes = 1;
    bool multiUser = false;
};

// The launch record, after setting the shared state it needs and clearing
// the activation guard as the main window does before a launch.
ExamParameters testLaunchRecord(const TestLaunch& launch, const QString& appName);
