#pragma once

#include "foundation/WindowLink.h"

class ExamSession;
class QWidget;

// Shows the result of a simulated exam or pretest modally over the exam
// window, from the running exam's per-question list, category map, counter
// and launch record; returns when the user closes it. End Exam opens it after
// the progress is written and before the exam window unloads.
struct ResultWindowLink : WindowLink<ResultWindowLink, void(const ExamSession& session, QWidget* owner)> {
    static constexpr const char* window = "The result window";
};
