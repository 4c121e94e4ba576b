#include "mainwindow/ExamLaunch.h"

#include "exam/QuestionSetBuilder.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"

#include <QRandomGenerator>
#include <cmath>

namespace {
int cint(double value)
{
    return int(std::nearbyint(value));
}
} // namespace

ModeLimits readSimulatedLimits(db::Connection& exam, ModeLimits current)
{
    const db::ResultSet rows = exam.query(QStringLiteral(
        "SELECT Qe_Simulated_Time, Qe_Simulated_PassScore, Qe_Simulated_NoofQuest FROM Qe_Exam ORDER BY rowid"));
    if (rows.empty())
        return current;
    const db::Row& row = rows.first();
    return {int(row.integer(0)), int(row.integer(1)), int(row.integer(2))};
}

int pretestTotal(db::Connection& exam)
{
    const int categories = exam.scalar(QStringLiteral("SELECT count(*) FROM Qe_Category")).toInt();
    return categories * QuestionSetBuilder::pretestShare(categories);
}

int CountSelectedQuestions(db::Connection& exam)
{
    return exam
        .scalar(QStringLiteral(
            "SELECT (SELECT count(*) FROM Qe_QuestionsHead WHERE Qq_ChapterCode IN "
            "(SELECT Qc_ChapterCode FROM Qe_Chapters WHERE Qc_Selected = 1)) + "
            "(SELECT count(*) FROM Qe_QuestionsHead WHERE Qq_ChapterCode = 0 AND Qq_CatCode IN "
            "(SELECT Qc_catcode FROM Qe_Category WHERE Qc_Selected = 1))"))
        .toInt();
}

QString notEnoughQuestions(db::Connection& exam)
{
    const int categories = exam.scalar(QStringLiteral("SELECT count(*) FROM Qe_Category")).toInt();
    if (categories < 1)
        return QStringLiteral("No Category or chapters are available in exam database \r\n Can't Proceed!");
    const int share = QuestionSetBuilder::pretestShare(categories);
    const db::ResultSet groups = exam.query(
        QStringLiteral("SELECT count(*) AS cnt FROM Qe_QuestionsHead GROUP BY Qq_CatCode"));
    bool enough = groups.recordCount() >= categories;
    for (const db::Row& group : groups)
        enough = enough && group.integer(0) >= share;
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
