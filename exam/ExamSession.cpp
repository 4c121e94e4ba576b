#include "exam/ExamSession.h"

#include "exam/ExamMode.h"
#include "exam/ExamModuleState.h"
#include "exam/QuestionSetBuilder.h"
#include "foundation/ExamParameters.h"

ExamSession::ExamSession()
{
    ChoiceLetters = {QString(),          QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                     QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G")};
}

void ExamSession::startValues(const QString& modeWord)
{
    SkipActivateGuard = true;
    gReviewGoto = false;
    TimeOver = false;
    ExamAborted = false;
    ExamPassed = false;
    EndDeclined = false;
    ClockMinutes = 0;
    ClockSeconds = (modeWord == kModeTest || modeWord == kModePractice) ? 0.0 : 60.0;
    QuestionsReached = 1;
    CurrentQuestion = 1;
    ReviewQuestionNo = 0;
    ExamScore = 0;
    AdaptiveLevel = 1;
    PageAnswer.clear();
    gUserAnswer.clear();
    gReviewMode = false;
    msflex.clear();
    cboCategory.clear();
    CategoryRs = db::ResultSet();
}

void ExamSession::openExamConnection(const QString& connectionString)
{
    if (!ExamConn.isOpen())
        ExamConn = db::Connection::open(connectionString);
}

void ExamSession::closeExamConnection()
{
    ExamConn.close();
}

int ExamSession::openCategoryRows(const QString& modeWord)
{
    CategoryRs = QuestionSetBuilder::categoryRows(ExamConn, modeWord);
    return CategoryRs.recordCount();
}

QuestionSetResult ExamSession::buildQuestionSet(const QString& modeWord, int userCode, int wanted,
                                                 RandomSource& random)
{
    QuestionSetResult result;
    if (!ExamConn.isOpen()) {
        result = QuestionSetResult::failure(QStringLiteral("The exam database is not open"));
    } else {
        QuestionSetBuilder builder(ExamConn, random);
        result = builder.build(modeWord, CategoryRs, userCode, wanted, msflex, cboCategory);
    }
    if (!result.ok) {
        msflex.clear();
        cboCategory.clear();
        ExamAborted = true;
    } else {
        gQuizQuestionCount = result.drawn;
    }
    return result;
}
