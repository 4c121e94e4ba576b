#pragma once

#include "foundation/ExamParameters.h"

#include <QString>
#include <functional>
#include <stdexcept>

// The debug setting that the launcher reads is missing or not a 16-bit
// number. Raised after the launch record has been written.
class LaunchSettingError : public std::runtime_error {
public:
    explicit LaunchSettingError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Starts the exam window from outside: carries the fields of the exam launch
// record as public fields and, on Start, writes them into the launch record
// and shows the exam window modally.
class clsZiduver {
public:
    // Shows the exam window modally for the record; returns when it closes.
    using ShowExamWindow = std::function<void(const ExamParameters& record)>;

    // `record` is the launch record that Start writes; it must outlive the
    // launcher.
    clsZiduver(ExamParameters& record, ShowExamWindow showExamWindow);

    // In the order the launcher's interface lists them; each has the type of
    // the record field Start copies it to.
    QString UserName;              // gQuizUserName
    QString ConnStr;               // gQuizConnStr
    int UserCode = 0;              // gQuizUserCode
    QString DbPassword;            // gQuizDbPassword
    QString FontName;              // gQuizFontName
    int FontSize = 0;              // gQuizFontSize
    int UnusedInt = 0;             // gQuizUnusedInt
    QString ExamMode;              // gExamMode
    int QuestionCount = 0;         // gQuizQuestionCount
    int PassScore = 0;             // gQuizPassScore
    int Hours = 0;                 // gQuizHours
    int Minutes = 0;               // gQuizMinutes
    QString ExamDbPath;            // gQuizExamDbPath
    QString ExamName;              // gQuizExamName
    int TimeLimit = 0;             // gQuizTimeLimit
    qint32 Reserved = 0;           // not copied: nothing reads it
    QString SysConnStr;            // gQuizSysConnStr
    bool CheatKeyEnabled = false;  // gQuizCheatKeyEnabled
    int HotKey = 0;                // gQuizHotKey
    bool QuestionsCounted = false; // gQuizQuestionsCounted
    QString AppPath;               // gQuizAppPath
    int RandomStart = 0;           // gQuizRandomStart
    QString AppTitle;              // gAppTitle

    // Writes the fields into the launch record, sets the debug flag from
    // setup.xml ("SetupInfo/GeneralSettings/debug"), clears the exam window's
    // activation guard and shows the exam window; returns when it closes. A
    // missing or non-numeric debug setting raises LaunchSettingError after
    // the record has been written, and the window is not shown.
    void Start();

private:
    ExamParameters& m_record;
    ShowExamWindow m_showExamWindow;
};
