#include "foundation/clsZiduver.h"

#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"

#include <utility>

clsZiduver::clsZiduver(ExamParameters& record, ShowExamWindow showExamWindow)
    : m_record(record), m_showExamWindow(std::move(showExamWindow))
{
}

void clsZiduver::Start()
{
    ExamParameters& r = m_record;
    r.gQuizUserName = UserName;
    r.gQuizConnStr = ConnStr;
    r.gQuizUserCode = UserCode;
    r.gQuizDbPassword = DbPassword;
    r.gQuizFontName = FontName;
    r.gQuizFontSize = FontSize;
    r.gQuizUnusedInt = UnusedInt;
    r.gExamMode = ExamMode;
    r.gQuizQuestionCount = QuestionCount;
    r.gQuizPassScore = PassScore;
    r.gQuizHours = Hours;
    r.gQuizMinutes = Minutes;
    r.gQuizExamDbPath = ExamDbPath;
    r.gQuizExamName = ExamName;
    r.gQuizTimeLimit = TimeLimit;
    r.gQuizSysConnStr = SysConnStr;
    r.gQuizCheatKeyEnabled = CheatKeyEnabled;
    r.gQuizHotKey = HotKey;
    r.gQuizQuestionsCounted = QuestionsCounted;
    r.gQuizAppPath = AppPath;
    r.gQuizRandomStart = RandomStart;
    r.gAppTitle = AppTitle;

    QString setting;
    try {
        setting = ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/debug"));
    } catch (const SettingError& error) {
        throw LaunchSettingError(QStringLiteral("Type mismatch (debug setting: %1)").arg(error.message()));
    }
    short debug = 0;
    if (!convertCInt(setting, debug))
        throw LaunchSettingError(QStringLiteral("Type mismatch (debug setting \"%1\")").arg(setting));
    gStartup.gDebug = debug;

    gGuard.gExamWindowActive = false;
    if (m_showExamWindow)
        m_showExamWindow(r);
}
