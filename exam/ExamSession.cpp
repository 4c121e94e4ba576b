#include "exam/ExamSession.h"

#include "exam/QuestionSetBuilder.h"

ExamSession::ExamSession()
{
    ChoiceLetters = {QString(),           QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                     QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G")};
}

void ExamSession::startValues(ExamMode examMode)
{
    mode = examMode;
    SkipActivateGuard = true;
    gReviewGoto = false;
    TimeOver = false;
    ExamAborted = false;
    ExamPassed = false;
    EndDeclined = false;
    ClockMinutes = 0;
    ClockSeconds = (mode == ExamMode::Test || mode == ExamMode::Practice) ? 0.0 : 60.0;
    QuestionsReached = 1;
    CurrentQuestion = 1;
    ReviewQuestionNo = 0;
    bankQuestionCount.reset();
    ExamScore = 0;
    AdaptiveLevel = 1;
    PageAnswer.clear();
    AnswerShownRow = 0;
    gUserAnswer.clear();
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

int ExamSession::openCategoryRows(ExamMode examMode)
{
    CategoryRs = QuestionSetBuilder::categoryRows(ExamConn, examMode);
    return CategoryRs.recordCount();
}

QuestionSetResult ExamSession::buildQuestionSet(ExamMode examMode, int userCode, int wanted, RandomSource& random)
{
    QuestionSetResult result;
    if (!ExamConn.isOpen()) {
        result = QuestionSetResult::failure(QStringLiteral("The exam database is not open"));
    } else {
        QuestionSetBuilder builder(ExamConn, random);
        result = builder.build(examMode, CategoryRs, userCode, wanted, msflex, cboCategory);
    }
    if (!result.ok) {
        msflex.clear();
        cboCategory.clear();
        ExamAborted = true;
    } else {
        launch.gQuizQuestionCount = result.drawn;
        bankQuestionCount = result.bankQuestions;
    }
    return result;
}
