#pragma once

#include "foundation/ExamParameters.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

class ModeChoice;
class RandomSource;
namespace db {
class Connection;
}

// The limits of a mode as the exam database gives them.
struct ModeLimits {
    int maxTime = 0;      // minutes
    int maxPassScore = 0; // percent
    int maxQuestions = 0;
};

// The simulated-exam limits (Qe_Simulated_*); the pretest uses them too.
// Without a Qe_Exam row the given limits stay as they are.
ModeLimits readSimulatedLimits(db::Connection& exam, ModeLimits current = {});

// Questions in a pretest: the number of categories times the share of each,
// CInt(30 / n + 1); 0 without categories.
int pretestTotal(db::Connection& exam);

// The size of the practice pool saved in the exam database (the pool the
// exam window draws from): the questions of the selected chapters plus those
// directly under a selected category.
int CountSelectedQuestions(db::Connection& exam);

// The pretest's check: the refusal text, or "" when every category row
// holds at least its share of questions (a category without questions
// refuses the pretest).
QString notEnoughQuestions(db::Connection& exam);

// Writes the practice pool's ticks (category and chapter codes with their
// ticks) into the exam database in one transaction: all of them or, on an
// error, none (the error reaches the caller).
void saveSelection(db::Connection& exam, const std::vector<std::pair<int, bool>>& categories,
                   const std::vector<std::pair<int, bool>>& chapters);

// What the launch record takes from the choice in the main window.
struct LaunchValues {
    ExamMode mode = ExamMode::Practice; // practice, simulated or pretest
    int questionCount = 0;
    int minutes = 1;
    int passScore = 0;
    bool questionsCounted = false;
};

// The exam launch record from the shared state (login, font, hot key) and
// the choice. `random` draws the start of the choice orders.
ExamParameters fillExamParameters(const LaunchValues& values, RandomSource& random);

// How the start command ended: the record of an exam to launch, or the text
// of the refusal the user is shown.
struct StartOutcome {
    std::optional<ExamParameters> record;
    QString refusal;
    bool started() const { return record.has_value(); }
};

// The start command: checks the choice of the main window, saves the
// practice pool and fills the launch record. Nothing is launched here; the
// window hides itself and opens the exam window only for a started outcome.
// Database errors are turned into refusals (and logged).
StartOutcome startCommand(const ModeChoice& choice, RandomSource& random);
