#pragma once

#include "foundation/ExamMode.h"

#include <QString>

// The exam launch record: filled by the main window just before it shows the
// exam window, handed to the exam window, and read by the windows it opens
// through the running exam window.
struct ExamParameters {
    QString gExamMode;          // "PRACTICE", "SIMULATED", "TEST" or "ADAPTIVE"
    int gQuizQuestionCount = 0; // the exam's length; the exam window sets it to the questions drawn
    int gQuizHours = 0;
    int gQuizMinutes = 0;
    int gQuizTimeLimit = 0;
    QString gQuizConnStr;
    QString gQuizSysConnStr;
    QString gQuizDbPassword;
    int gQuizUserCode = 0;
    QString gQuizUserName;
    QString gQuizExamName;
    QString gQuizExamDbPath; // its folder holds "images" and "Scenario"
    QString gQuizFontName;
    int gQuizFontSize = 0;
    int gQuizUnusedInt = 0; // written by the launcher class; nothing reads it
    int gQuizPassScore = 0;
    bool gQuizCheatKeyEnabled = false;
    int gQuizHotKey = 0;
    bool gQuizQuestionsCounted = false;
    QString gQuizAppPath;
    int gQuizRandomStart = 0;
    QString gAppTitle; // the application title for the captions

    ExamMode mode() const { return examModeFromWord(gExamMode); }
};
