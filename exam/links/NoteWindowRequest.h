#pragma once

#include "foundation/ExamParameters.h"

#include <QString>

// What the exam window hands to the note windows it opens.
struct NoteWindowRequest {
    ExamParameters launch;  // the running exam's launch record (user, exam database)
    int questCode = 0;      // the question on screen
    QString examName;       // appended as " - " + examName to lblExamID
    QString categorySuffix; // appended to lblCategory when not empty (" - " + code)
    QString chapterSuffix;  // appended to lblChapter when not empty (" - " + code)
    QString notesText;      // frmPreviousNotes: the text shown, read-only
    QString tag;            // the dialog's Tag ("L": closed without saving at time-over)
};
