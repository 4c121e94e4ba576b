#pragma once

#include "foundation/ExamParameters.h"

#include <QString>

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

// The pretest's check: the refusal text, or "" when every category holds
// enough questions.
QString notEnoughQuestions(db::Connection& exam);

// The exam launch record for a mode (practice, simulated or pretest) from
// the shared state and the limits, as the main window's start command fills
// it.
ExamParameters fillExamParameters(ExamMode mode, int practiceQuestionCount, const ModeLimits& limits,
                                  const QString& fontFace, double fontSize);
