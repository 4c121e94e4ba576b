#pragma once

#include "foundation/ExamBank.h"
#include "mainwindow/CategoryTree.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace db {
class Connection;
}

// What the main window reads of the exam database when it loads: the limits
// of every mode, the question counts, the tree, and the facts its menu shows
// rows for. Read once per load; the mode choice and the tree work on it.
struct MainWindowLoad {
    std::optional<ExamBank::SimulatedLimits> simulated; // nullopt: no exam row
    std::optional<ExamBank::SimulatedLimits> adaptive;
    std::optional<ExamBank::ProductInfo> product;
    int questionTotal = 0;
    int categoryCount = 0;
    std::vector<ExamBank::TreeCategory> categories;
    QuestionCounts counts;
    int learningObjectives = 0; // rows of Qe_LOS
};

// Reads it all. Database errors reach the caller (db::DbError).
MainWindowLoad readMainWindowLoad(db::Connection& exam);

// Reads it from the exam database the connection string names. A failure
// (a lock held by another program, a damaged file) is logged and put to
// askAgain as a message that names the file and the reason; while askAgain
// answers true the read is tried again. nullopt once it answers false: a
// main window that could not read its exam must not open.
std::optional<MainWindowLoad> readMainWindowLoad(const QString& examConnStr,
                                                 const std::function<bool(const QString& message)>& askAgain);

// The questions of a pretest: an equal share CInt(30 / n + 1) of each of the
// n categories; 0 without categories.
int pretestTotalFor(int categoryCount);

// A mode description as the box shows it: a leading line break (CR LF, CR
// or LF) is dropped.
QString modeDescriptionText(const QString& setting);

// The debug-log lines of filling a category tree (written only when the
// debug flag is 1); `window` names the window that fills it ("frmMain").
void logTreeFill(const std::vector<ExamBank::TreeCategory>& categories, const QString& window);
