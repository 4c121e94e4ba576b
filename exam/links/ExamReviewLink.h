#pragma once

#include "foundation/WindowLink.h"

class ExamSession;
class QWidget;

// What the user chose in the review list.
struct ReviewChoice {
    bool goTo = false;  // a question row was chosen: show questionNo
    int questionNo = 0; // the chosen question number (0 is taken as 1)
    bool endExam = false; // closed with ExamPassed set: the exam window closes itself
};

// Shows the review list of the questions reached modally over the exam
// window and returns the user's choice once it has closed. The list never
// closes the exam window itself.
struct ExamReviewLink : WindowLink<ExamReviewLink, ReviewChoice(const ExamSession& session, QWidget* owner)> {
    static constexpr const char* window = "The review list";
};
