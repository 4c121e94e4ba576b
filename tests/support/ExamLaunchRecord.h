#pragma once

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

// Fills the launch record and the shared state it needs, and clears the
// activation guard as the main window does before a launch.
void fillTestLaunchRecord(const TestLaunch& launch, const QString& appName);
