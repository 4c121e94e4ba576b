#pragma once

#include <QString>
#include <functional>

struct ExamParameters;

// How windows of different subsystems reach each other without the
// libraries depending on each other in a circle: the program wires each link
// to the window that serves it when it starts.
struct WindowLinks {
    // Loads the main window if needed, shows the chosen exam's name in it
    // and shows it (not modally).
    std::function<void(const QString& examDescription)> showMainWindow;
    // Shows the main window again after an exam (it keeps its state).
    std::function<void()> returnToMainWindow;
    // Creates the exam window from the exam launch record and shows it.
    std::function<void(const ExamParameters& record)> showExamWindow;
    // Shows the login window again as it was left ("Change Exam").
    std::function<void()> showLoginWindow;
};

WindowLinks& windowLinks();
