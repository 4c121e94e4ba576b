#include "mainwindow/ExamLaunch.h"

#include "exam/ExamSaveCheck.h"
#include "exam/QuestionSetBuilder.h"
#include "exam/RandomSource.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "mainwindow/MainWindowLoad.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/ModeChoice.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>

namespace {

int cint(double value)
{
    return int(std::nearbyint(value));
}

void debugLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text + QStringLiteral(":Command1_Click:frmMain") + logDate());
}

StartOutcome refuse(const QString& text)
{
    return {std::nullopt, text};
}

// The text of a database error, written to the log (always, as error
// handlers do).
QString loggedError(const std::exception& error)
{
    const QString text = QString::fromUtf8(error.what());
    WriteLog(text + QStringLiteral(":Command1_Click:frmMain") + logDate());
    return text;
}

// The limit of a simulated exam that the exam database leaves out (NULL or
// below 1), named for the user; "" when all three are set.
QString missingSimulatedLimit(const ModeChoice& choice)
{
    const auto refusal = [](const char* limit) {
        return QStringLiteral("The simulated exam cannot start: the exam database sets no %1.")
            .arg(QLatin1String(limit));
    };
    if (choice.gMaxTime < 1)
        return refusal("time limit");
    // A stored limit too wide for the clock's minutes reads as the largest.
    if (choice.gMaxTime >= std::numeric_limits<int>::max())
        return QStringLiteral("The simulated exam cannot start: the exam database's time limit is longer than the "
                              "program can count (%1 minutes at most).")
            .arg(std::numeric_limits<int>::max() - 1);
    if (choice.gMaxPassScore < 1)
        return refusal("pass score");
    if (choice.gMaxQuestions < 1)
        return refusal("number of questions");
    return {};
}

// A limit of the exam database that no exam can keep (a pass score outside 0
// to 100 in any mode; a negative time limit or number of questions where the
// simulated exam uses them), named for the user; "" when none.
QString impossibleLimit(const ModeChoice& choice, ExamMode mode)
{
    if (choice.gMaxPassScore < 0 || choice.gMaxPassScore > 100)
        return QStringLiteral("The exam cannot start: the exam database's pass score (%1%) is outside 0 to 100.")
            .arg(choice.gMaxPassScore);
    if (mode != ExamMode::Simulated)
        return {};
    if (choice.gMaxTime < 0)
        return QStringLiteral("The simulated exam cannot start: the exam database's time limit (%1 minutes) is "
                              "negative.")
            .arg(choice.gMaxTime);
    if (choice.gMaxQuestions < 0)
        return QStringLiteral("The simulated exam cannot start: the exam database's number of questions (%1) is "
                              "negative.")
            .arg(choice.gMaxQuestions);
    return {};
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
    return pretestTotalFor(ExamBank(exam).categoryCount());
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
    if (bank.categoriesHoldingFewer(QuestionSetBuilder::pretestShare(categories)) > 0)
        return QStringLiteral("Can't take this test. Not enough questions in all categories!");
    return {};
}

void saveSelection(db::Connection& exam, const std::vector<std::pair<int, bool>>& categories,
                   const std::vector<std::pair<int, bool>>& chapters)
{
    db::Transaction transaction(exam);
    ExamBank bank(exam);
    for (const auto& [code, ticked] : categories)
        bank.setCategorySelected(code, ticked);
    for (const auto& [code, ticked] : chapters)
        bank.setChapterSelected(code, ticked);
    transaction.commit();
}

ExamParameters fillExamParameters(const LaunchValues& values, RandomSource& random)
{
    ExamParameters record;
    record.gQuizUserName = gLogin.gLoginId;
    record.gQuizConnStr = gLogin.gExamConnStr;
    record.gQuizUserCode = gLogin.gUserCode.toInt();
    record.gQuizDbPassword = gStartup.gDbPassword;
    record.gQuizFontName = gMain.gFontFace;
    record.gQuizFontSize = cint(gMain.gFontSize + 2);
    record.gExamMode = examModeWord(values.mode);
    record.gQuizQuestionCount = values.questionCount;
    record.gQuizPassScore = values.passScore;
    record.gQuizHours = 0;
    record.gQuizMinutes = values.minutes;
    record.gQuizExamDbPath = gLogin.gExamDbPath;
    record.gQuizExamName = gLogin.gExamDesc;
    record.gQuizSysConnStr = gStartup.gSysConnStr;
    // A hot key that is not a number switches the cheat key off rather than
    // launching with a key nobody can press.
    bool numeric = false;
    const double hotKey = gAdmin.gHotKey.trimmed().toDouble(&numeric);
    record.gQuizCheatKeyEnabled = gAdmin.gCheatKeyEnabled && numeric;
    if (record.gQuizCheatKeyEnabled)
        record.gQuizHotKey = cint(hotKey);
    record.gQuizQuestionsCounted = values.questionsCounted;
    record.gQuizAppPath = programFolder();
    random.randomize();
    random.rnd();
    record.gQuizRandomStart = std::clamp(int(random.rnd() * 4), 0, 3);
    gLogin.gAppTitle = gLogin.gAppName;
    record.gAppTitle = gLogin.gAppTitle;
    return record;
}

StartOutcome startCommand(const ModeChoice& choice, RandomSource& random)
{
    const ExamMode mode = examModeFromLetter(choice.gExamModeCode);
    // Named before anything else: a missing count also leaves the list empty.
    if (const QString impossible = impossibleLimit(choice, mode); !impossible.isEmpty())
        return refuse(impossible);
    if (mode == ExamMode::Simulated) {
        const QString missing = missingSimulatedLimit(choice);
        if (!missing.isEmpty())
            return refuse(missing);
    }
    const std::optional<int> chosenCount = choice.lstQues.selectedNumber();
    if (!chosenCount)
        return refuse(QStringLiteral("No questions selected. Can't Proceed"));
    if (!choice.anyModePicture())
        return refuse(QStringLiteral("Select any of the exam type and click to confirm selection"));
    if (gLogin.gLoginId == QLatin1String("ADMIN")) {
        debugLine(QStringLiteral("Admin user can't write exam"));
        return refuse(QStringLiteral("ADMIN user cannot write exam"));
    }
    if (!choice.tree.isChecked(CategoryTree::kRoot))
        return refuse(QStringLiteral("Not enough data to proceed.\r\nCategories not Selected for Exam."));

    if (mode != ExamMode::Practice && mode != ExamMode::Simulated && mode != ExamMode::Test)
        return refuse(
            QStringLiteral("Adaptive Testing cannot be started. Choose Pretest, Practice Drills or Simulated Exam."));
    if (choice.gMaxQuestions == 0)
        return refuse(QStringLiteral("Select atleast one question"));

    LaunchValues values;
    values.mode = mode;
    values.passScore = choice.gMaxPassScore;
    values.questionsCounted = choice.gQuestionsCounted;
    values.questionCount = choice.gMaxQuestions;
    values.minutes = mode == ExamMode::Simulated ? choice.gMaxTime : 1;

    try {
        db::Connection exam = db::Connection::open(gLogin.gExamConnStr);
        // Before anything is written or the exam window opens: an exam whose
        // results cannot be saved is never started.
        const QString unsaved = examSaveRefusal(exam);
        if (!unsaved.isEmpty()) {
            WriteLog(QString(unsaved).replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                     + QStringLiteral(":Command1_Click:frmMain") + logDate());
            return refuse(unsaved);
        }
        if (mode == ExamMode::Test) {
            const QString refusal = notEnoughQuestions(exam);
            if (!refusal.isEmpty())
                return refuse(refusal);
        } else if (mode == ExamMode::Practice) {
            OwnExamWrite ownWrite(exam);
            try {
                saveSelection(exam, choice.tree.categoryTicks(), choice.tree.chapterTicks());
            } catch (const std::exception& error) {
                loggedError(error);
                return refuse(databaseProblemText(QStringLiteral("The chosen categories and chapters could not be "
                                                                 "saved, so the exam was not started."),
                                                  exam.path(), error, DatabaseUse::Writing));
            }
            ownWrite.done();
            // The pool is counted whole only to say how far it goes.
            if (!ExamBank(exam).practicePoolHolds(*chosenCount))
                return refuse(QStringLiteral("Number of questions cannot exceed ")
                              + QString::number(CountSelectedQuestions(exam)));
            values.questionCount = *chosenCount;
        }
    } catch (const std::exception& error) {
        loggedError(error);
        return refuse(databaseProblemText(QStringLiteral("The exam could not be started."),
                                          db::Connection::pathFromConnectionString(gLogin.gExamConnStr), error));
    }

    StartOutcome outcome{fillExamParameters(values, random), {}};
    debugLine(QStringLiteral("End of Function "));
    return outcome;
}
