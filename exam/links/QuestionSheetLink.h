#pragma once

#include "foundation/WindowLink.h"

class ExamSession;
class QWidget;

// Shows the printable question sheet of the running exam modally; the
// session's gQuestCode is the question on screen. Returns when it closes.
struct QuestionSheetLink : WindowLink<QuestionSheetLink, void(const ExamSession& session, QWidget* owner)> {
    static constexpr const char* window = "Printing";
};
