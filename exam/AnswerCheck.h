#pragma once

#include "foundation/ExamBank.h"
#include "foundation/ExamMode.h"

#include <QString>

class QuestionList;

// What the answer check judges: the question on screen and the answer the
// page last reported.
struct CheckInputs {
    int questCode = 0;        // gQuestCode
    int questType = 0;        // gQuestType; outside 1 to 4 nothing is judged
    QString pageAnswer;       // PageAnswer
    ExamMode mode = ExamMode::Other;
    bool marked = false;      // "Mark Current Question" ticked
};

// The verdict and what the window takes from it.
struct CheckOutcome {
    bool right = false;       // the answer was judged right
    QString userAnswer;       // gUserAnswer after the check (set for multiple choice; else unchanged input)
    bool userAnswerSet = false;
    int examScore = 0;        // ExamScore: SumCorrectMarks after the check
    QString error;            // not empty: the check stopped at this error (show it); columns written so far stay
};

// Judges the answer and records it in row `row` of the per-question list
// (columns 2 to 6), then sums the score. Never raises.
CheckOutcome CheckAnswer(ExamBank& bank, QuestionList& msflex, int row, const CheckInputs& inputs);

// The points of the rows judged right (column 4 is 1).
int SumCorrectMarks(ExamBank& bank, const QuestionList& msflex);
// The points of a question's difficulty (difficulty 0 or unreadable counts as
// 1); 0 when there is no points row or on any error.
int GetQuestionPoints(ExamBank& bank, int questCode);
// True when one "|"-separated alternative of the accepted text occurs in the
// answer, both trimmed and upper-cased.
bool MatchFillAnswer(const QString& accepted, const QString& answer);

// Applies one report of the question page to PageAnswer: empty texts and
// "DONE" (any case) are ignored; "~" (trimmed) empties it; an essay (type 2)
// appends, types 1, 3 and 4 replace; other types ignore the report.
void applyPageReport(QString& pageAnswer, int questType, const QString& report);
