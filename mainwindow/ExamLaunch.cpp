#include "mainwindow/ExamLaunch.h"

#include "exam/QuestionSetBuilder.h"
#include "foundation/ExamBank.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"

#include <QRandomGenerator>
#include <cmath>
#include <optional>
#include <vector>

namespace {
int cint(double value)
{
    return int(std::nearbyint(value));
}
} // namespace

ModeLimits readSimulatedLimits(db::Connection& exam, ModeLimits current)
{
    const std::optional<ExamBank::SimulatedLimits> limits = ExamBank(exam).simulatedLimits();
    if (!limits)
        return current;
    return {limits->minutes, limits->passScore, limits->questions};
}

int pretestTotal(db::Connection& exam)
{
    const int categories = ExamBank(exam).categoryCount();
    return categories * QuestionSetBuilder::pretestShare(categories);
}

int CountSelectedQuestions(db::Connection& exam)
{
    return ExamBank(exam).practicePoolCount();
}

QString notEnoughQuestions(db::Connection& exam)
{
    ExamBank bank(exam);
    const int categories = bank.categoryCount();
    if (categories < 1)
        return QStringLiteral("No Category or chapters are available in exam database \r\n Can't Proceed!");
    const int share = QuestionSetBuilder::pretestShare(categories);
    const std::vector<int> groups = bank.questionCountsPerCategory();
    bool enough = int(groups.size()) >= categories;
    for (const int count : groups)
        enough = enough && count >= share;
    return enough ? QString() : QStringLiteral("Can't take this test. Not enough questions in all categories!");
}

ExamParameters fillExamParameters(ExamMode mode, int practiceQuestionCount, const ModeLimits& limits,
                                  const QString& fontFace, double fontSize)
{
    ExamParameters record;
    record.gQuizUserName = gLogin.gLoginId;
    record.gQuizConnStr = gLogin.gExamConnStr;
    record.gQuizUserCode = gLogin.gUserCode.toInt();
    record.gQuizDbPassword = gStartup.gDbPassword;
    record.gQuizFontName = fontFace;
    record.gQuizFontSize = cint(fontSize + 2);
    record.gExamMode = examModeWord(mode);
    switch (mode) {
    case ExamMode::Practice:
        record.gQuizQuestionCount = practiceQuestionCount;
        record.gQuizMinutes = 1;
        break;
    case ExamMode::Simulated:
        record.gQuizQuestionCount = limits.maxQuestions;
        record.gQuizMinutes = limits.maxTime;
        break;
    case ExamMode::Test:
        record.gQuizQuestionCount = limits.maxQuestions;
        record.gQuizMinutes = 1;
        break;
    case ExamMode::Adaptive:
    case ExamMode::Other:
        break;
    }
    record.gQuizPassScore = limits.maxPassScore;
    record.gQuizHours = 0;
    record.gQuizExamDbPath = gLogin.gExamDbPath;
    record.gQuizExamName = gLogin.gExamDesc;
    record.gQuizSysConnStr = gStartup.gSysConnStr;
    record.gQuizCheatKeyEnabled = gAdmin.gCheatKeyEnabled;
    if (gAdmin.gCheatKeyEnabled)
        record.gQuizHotKey = gAdmin.gHotKey.toInt();
    record.gQuizAppPath = programFolder();
    record.gQuizRandomStart = int(QRandomGenerator::global()->bounded(4));
    gLogin.gAppTitle = gLogin.gAppName;
    record.gAppTitle = gLogin.gAppTitle;
    return record;
}
