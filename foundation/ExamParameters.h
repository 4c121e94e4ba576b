#pragma once

#include <QString>

// The exam launch record: filled by the main window just before it shows the
// exam window, read by the exam window and the windows it opens.
inline QString gExamMode;             // "PRACTICE", "SIMULATED", "TEST" or "ADAPTIVE"
inline int gQuizQuestionCount = 0;
inline int gQuizHours = 0;
inline int gQuizMinutes = 0;
inline int gQuizTimeLimit = 0;
inline QString gQuizConnStr;
inline QString gQuizSysConnStr;
inline QString gQuizDbPassword;
inline int gQuizUserCode = 0;
inline QString gQuizUserName;
inline QString gQuizExamName;
inline QString gQuizExamDbPath;       // its folder holds "images" and "Scenario"
inline QString gQuizFontName;
inline int gQuizFontSize = 0;
inline int gQuizPassScore = 0;
inline bool gQuizCheatKeyEnabled = false;
inline int gQuizHotKey = 0;
inline bool gQuizQuestionsCounted = false;
inline QString gQuizAppPath;
inline int gQuizRandomStart = 0;
