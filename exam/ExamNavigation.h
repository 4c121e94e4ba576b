#pragma once

#include "foundation/ExamMode.h"

#include <QString>

// Where Next, Previous and a jump leave the exam, and which of Next and
// Previous may be pressed afterwards. The exam's length is the launch
// record's question count, the one source of the counter and of these
// bounds.

// The modes that run an exam over the drawn list (simulated, pretest,
// practice); any other mode word takes the last branch of each rule.
bool isListMode(ExamMode mode);

struct NavigationState {
    int current = 1;         // CurrentQuestion
    int reached = 1;         // QuestionsReached
    int count = 0;           // gQuizQuestionCount
    bool reviewMode = false; // gReviewMode
    int reviewLastIndex = 0; // gReviewLastIndex: Next stops there in review mode
};

struct NavigationMove {
    int current = 1;
    int reached = 1;
    bool showQuestion = false; // show the row `current`
    bool nextEnabled = false;
    bool prevEnabled = false;
    bool prevTouched = false; // false: Previous keeps its state
};

// Next, after the answer check let the move go on.
NavigationMove nextMove(ExamMode mode, const NavigationState& state);
// Previous, after the answer check. Outside the list modes, or at question
// 1, nothing moves and Previous stays disabled.
NavigationMove previousMove(ExamMode mode, const NavigationState& state);
// A jump to question `number` (0 is taken as 1), kept inside the questions
// reached and the count: Previous off at question 1, Next off at the last
// question, in every mode.
NavigationMove jumpMove(int number, const NavigationState& state);

// The practice alert's gate after an answer judged not right. `passGranted`
// (the panel's Next Question lets one wrong answer pass without the panel)
// and `alertAction` (gAlertAction) are both updated.
struct AlertGate {
    bool raisePanel = false; // raise the alert panel over the question
    bool moveOn = false;     // the move goes on; else the user stays on the question
};
AlertGate wrongPracticeAnswer(bool feedbackTicked, bool& passGranted, QString& alertAction);

// The question counter: "3 of 40".
QString questionCounterText(int current, int count);
