#include "mainwindow/ExamLaunch.h"

#include "exam/QuestionSetBuilder.h"
#include "foundation/ExamParameters.h"
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

void fillExamParameters(const QString& modeLetter, int practiceQuestionCount, const ModeLimits& limits,
                        const QString& fontFace, double fontSize)
{
    gQuizUserName = gLoginId;
    gQuizConnStr = gExamConnStr;
    gQuizUserCode = gUserCode.toInt();
    gQuizDbPassword = gDbPassword;
    gQuizFontName = fontFace;
    gQuizFontSize = cint(fontSize + 2);
    if (modeLetter == QLatin1String("P")) {
        gExamMode = QStringLiteral("PRACTICE");
        gQuizQuestionCount = practiceQuestionCount;
        gQuizMinutes = 1;
    } else if (modeLetter == QLatin1String("S")) {
        gExamMode = QStringLiteral("SIMULATED");
        gQuizQuestionCount = limits.maxQuestions;
        gQuizMinutes = limits.maxTime;
    } else if (modeLetter == QLatin1String("T")) {
        gExamMode = QStringLiteral("TEST");
        gQuizQuestionCount = limits.maxQuestions;
        gQuizMinutes = 1;
    }
    gQuizPassScore = limits.maxPassScore;
    gQuizHours = 0;
    gQuizExamDbPath = gExamDbPath;
    gQuizExamName = gExamDesc;
    gQuizSysConnStr = gSysConnStr;
    gQuizCheatKeyEnabled = gCheatKeyEnabled;
    if (gCheatKeyEnabled)
        gQuizHotKey = gHotKey.toInt();
    gQuizAppPath = programFolder();
    gQuizRandomStart = int(QRandomGenerator::global()->bounded(4));
    gAppTitle = gAppName;
}
