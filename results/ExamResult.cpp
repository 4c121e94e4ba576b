#include "results/ExamResult.h"

#include "exam/ExamSession.h"

#include <algorithm>

ResultSnapshot resultSnapshot(const ExamSession& session)
{
    ResultSnapshot snapshot;
    const QuestionList& list = session.msflex;
    snapshot.questions.reserve(size_t(std::max(0, list.questionCount())));
    for (int row = 1; row < list.rows(); ++row) {
        ResultSnapshot::Question q;
        q.questCode = list.questionCode(row);
        q.category = session.cboCategory.categoryOf(q.questCode);
        q.correct = list.number(row, colCorrect) == 1;
        snapshot.questions.push_back(q);
    }
    snapshot.examMode = session.launch.gExamMode;
    snapshot.examName = session.launch.gQuizExamName;
    snapshot.connectionString = session.launch.gQuizConnStr;
    // The exam's length at its start: review cuts the launch record's count
    // to where the user got, but a question left out is still a question of
    // the exam, so the score never rises by ending early.
    snapshot.questionCount = session.questionCount();
    snapshot.passScore = session.launch.gQuizPassScore;
    snapshot.questionOnScreen = session.CurrentQuestion;
    snapshot.questionsReached = session.QuestionsReached;
    return snapshot;
}

int roundedRatio(long long numerator, long long denominator)
{
    const long long whole = numerator / denominator;
    const long long twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && whole % 2 != 0))
        return int(whole + 1);
    return int(whole);
}

CategoryScore categoryScore(const ResultSnapshot& snapshot, int categoryCode)
{
    CategoryScore score;
    const int rows = int(snapshot.questions.size());
    // The walk stops after the row of the furthest question reached, but
    // always takes the first row.
    const int reached = std::max({1, snapshot.questionOnScreen, snapshot.questionsReached});
    const int last = snapshot.isPretest() ? std::min(rows, reached) : rows;
    for (int i = 0; i < last; ++i) {
        const ResultSnapshot::Question& q = snapshot.questions[size_t(i)];
        if (q.category != categoryCode)
            continue;
        ++score.asked;
        if (q.correct)
            ++score.correct;
    }
    score.toolTip =
        QStringLiteral("Total questions asked : %1 : Correct answers : %2").arg(score.asked).arg(score.correct);
    if (score.asked > 0 && score.correct > 0)
        score.barWidth = roundedRatio(1LL * score.correct * kFullBarLength, score.asked);
    return score;
}

ExamResult computeExamResult(const ResultSnapshot& snapshot, const std::vector<ResultCategory>& categories,
                             const QString& appTitle)
{
    ExamResult result;
    result.caption = snapshot.isPretest() ? appTitle + QStringLiteral(" [Pretest]")
                                          : appTitle + QStringLiteral(" [") + snapshot.examMode + QLatin1Char(']');
    for (const ResultCategory& category : categories)
        result.categories.push_back(categoryScore(snapshot, category.code));

    // Only the rows of the exam's count, so the score never passes 100 %.
    const int counted = std::clamp(snapshot.questionCount, 0, int(snapshot.questions.size()));
    for (int i = 0; i < counted; ++i)
        if (snapshot.questions[size_t(i)].correct)
            ++result.correctCount;
    if (snapshot.questionCount > 0)
        result.score = std::min(100, roundedRatio(100LL * result.correctCount, snapshot.questionCount));
    result.passed = snapshot.passScore <= result.score;
    result.scoreText = QString::number(result.score) + QLatin1Char('%');
    result.passScoreText = QString::number(snapshot.passScore) + QLatin1Char('%');
    result.scoreBarWidth = result.score * kScoreBarPerPercent;
    result.passMarkerLeft = snapshot.passScore * kScoreBarPerPercent + kScoreBarLeft;
    return result;
}
