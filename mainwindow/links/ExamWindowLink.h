#pragma once

#include "foundation/ExamParameters.h"
#include "foundation/WindowLink.h"

// Creates the exam window from the exam launch record and shows it (not
// modally). The main window opens it from its start command.
struct ExamWindowLink : WindowLink<ExamWindowLink, void(const ExamParameters& record)> {
    static constexpr const char* window = "The exam window";
};
