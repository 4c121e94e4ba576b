#include "exam/ExamSession.h"
#include "results/CategoryTable.h"
#include "results/ExamResult.h"
#include "results/ReviewList.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/StartupFixture.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

// Questions by (category, correct), codes 1, 2, 3 ... in order.
ResultSnapshot snapshotOf(const std::vector<std::pair<int, bool>>& questions, int count, int passScore,
                          const char* mode = "SIMULATED", int onScreen = 1)
{
    ResultSnapshot s;
    int code = 0;
    for (const auto& [category, correct] : questions)
        s.questions.push_back({++code, category, correct});
    s.questionCount = count;
    s.passScore = passScore;
    s.examMode = QString::fromLatin1(mode);
    s.questionOnScreen = onScreen;
    return s;
}

// n questions of a category, the first `right` of them answered right.
std::vector<std::pair<int, bool>> block(int category, int n, int right)
{
    std::vector<std::pair<int, bool>> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back({category, i < right});
    return rows;
}

std::vector<std::pair<int, bool>> operator+(std::vector<std::pair<int, bool>> a,
                                            const std::vector<std::pair<int, bool>>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ExamResult, ScoreAgainstThePassScore)
{
    const struct Case {
        const char* name;
        std::vector<std::pair<int, bool>> questions;
        int count, pass;
        int correct, score;
        bool passed;
    } cases[] = {
        {"all right", block(1, 5, 5), 5, 70, 5, 100, true},
        {"none right", block(1, 5, 0), 5, 70, 0, 0, false},
        {"exactly the pass score passes", block(1, 10, 7), 10, 70, 7, 70, true},
        {"one point under it fails", block(1, 10, 7), 10, 71, 7, 70, false},
        {"7 of 9 is 77.7 and shows 78", block(1, 9, 7), 9, 80, 7, 78, false},
        {"1 of 8 is 12.5 and goes to 12", block(1, 8, 1), 8, 10, 1, 12, true},
        {"3 of 8 is 37.5 and goes to 38", block(1, 8, 3), 8, 38, 3, 38, true},
        {"count 0: 0 % without a division", {}, 0, 50, 0, 0, false},
        {"count 0 with a pass score of 0", {}, 0, 0, 0, 0, true},
        // Review lowered the count to question 4: answers beyond it do not count.
        {"answers beyond the lowered count", block(1, 4, 2) + block(2, 6, 6), 4, 50, 2, 50, true},
        {"every row right beyond the count stays at 100 %", block(1, 10, 10), 4, 90, 4, 100, true},
        // A list shorter than the count (an exam cut short): the count still divides.
        {"fewer rows than the count", block(1, 3, 3), 6, 50, 3, 50, true},
    };
    for (const Case& c : cases) {
        const ExamResult r = computeExamResult(snapshotOf(c.questions, c.count, c.pass), {}, QStringLiteral("Z"));
        EXPECT_EQ(r.correctCount, c.correct) << c.name;
        EXPECT_EQ(r.score, c.score) << c.name;
        EXPECT_EQ(r.passed, c.passed) << c.name;
        EXPECT_EQ(r.scoreText, QString::number(c.score) + QLatin1Char('%')) << c.name;
        EXPECT_EQ(r.passScoreText, QString::number(c.pass) + QLatin1Char('%')) << c.name;
        EXPECT_EQ(r.scoreBarWidth, c.score * 80) << c.name;
        EXPECT_LE(r.scoreBarWidth, kFullBarLength) << c.name;
        EXPECT_EQ(r.passMarkerLeft, c.pass * 80 + 300) << c.name;
    }
}

TEST(ExamResult, CategoryBarsCountsAndToolTips)
{
    // Category 1: 3 asked, 2 right; 2: 3 asked, none right; 3: no question;
    // 4: 128 asked, 1 right (62.5 goes to 62); 5: 128 asked, 3 right (187.5
    // goes to 188).
    const ResultSnapshot s = snapshotOf(block(1, 3, 2) + block(2, 3, 0) + block(4, 128, 1) + block(5, 128, 3), 262, 50);
    const struct Case {
        int category, asked, correct, bar;
    } cases[] = {{1, 3, 2, 5333}, {2, 3, 0, 0}, {3, 0, 0, 0}, {4, 128, 1, 62}, {5, 128, 3, 188}};
    for (const Case& c : cases) {
        const CategoryScore score = categoryScore(s, c.category);
        EXPECT_EQ(score.asked, c.asked) << c.category;
        EXPECT_EQ(score.correct, c.correct) << c.category;
        EXPECT_EQ(score.barWidth, c.bar) << c.category;
        EXPECT_EQ(score.toolTip,
                  QStringLiteral("Total questions asked : %1 : Correct answers : %2").arg(c.asked).arg(c.correct));
    }
    const CategoryScore all = categoryScore(snapshotOf(block(7, 4, 4), 4, 50), 7);
    EXPECT_EQ(all.barWidth, kFullBarLength);
}

TEST(ExamResult, PretestCountsCategoriesOnlyUpToTheQuestionOnScreen)
{
    // 40 questions alternating between categories 1 and 2, every one right;
    // the pretest ended on question 12.
    std::vector<std::pair<int, bool>> rows;
    for (int i = 1; i <= 40; ++i)
        rows.push_back({i % 2 == 1 ? 1 : 2, true});
    const ResultSnapshot pretest = snapshotOf(rows, 40, 50, "TEST", 12);
    EXPECT_EQ(categoryScore(pretest, 1).asked, 6);
    EXPECT_EQ(categoryScore(pretest, 2).asked, 6);
    EXPECT_EQ(categoryScore(pretest, 2).correct, 6);
    // The hidden overall score still divides by the whole count.
    const ExamResult r = computeExamResult(pretest, {{1, "A"}, {2, "B"}}, QStringLiteral("Z"));
    EXPECT_EQ(r.score, 100);
    EXPECT_EQ(r.caption, "Z [Pretest]");
    ASSERT_EQ(r.categories.size(), 2u);
    EXPECT_EQ(r.categories[0].asked, 6);

    // The same list in a simulated exam counts every row.
    EXPECT_EQ(categoryScore(snapshotOf(rows, 40, 50, "SIMULATED", 12), 1).asked, 20);
    // The mode word is compared upper-cased; the first row always counts.
    EXPECT_EQ(categoryScore(snapshotOf(rows, 40, 50, "test", 0), 1).asked, 1);
    EXPECT_EQ(categoryScore(snapshotOf(rows, 40, 50, "TEST", 400), 1).asked, 20);
}

// Gone back from question 3 to 1 and ended there: the tips count what was
// reached, as the score does.
TEST(ExamResult, PretestTipsCountUpToTheFurthestQuestionReached)
{
    ExamSession session;
    for (int code = 1; code <= 3; ++code) {
        session.msflex.addQuestion(code, 1);
        session.msflex.setText(code, colCorrect, QStringLiteral("1"));
        session.cboCategory.set(code, 1);
    }
    session.launch.gExamMode = QStringLiteral("TEST");
    session.launch.gQuizQuestionCount = 3;
    session.CurrentQuestion = 1;
    session.QuestionsReached = 3;
    const ResultSnapshot s = resultSnapshot(session);
    const CategoryScore score = categoryScore(s, 1);
    EXPECT_EQ(score.asked, 3);
    EXPECT_EQ(score.correct, 3);
    EXPECT_EQ(score.toolTip, "Total questions asked : 3 : Correct answers : 3");
    EXPECT_EQ(computeExamResult(s, {{1, "A"}}, QStringLiteral("Z")).correctCount, 3);
}

TEST(ExamResult, CaptionNamesTheModeWord)
{
    const struct Case {
        const char* mode;
        const char* caption;
    } cases[] = {{"SIMULATED", "App [SIMULATED]"},
                 {"TEST", "App [Pretest]"},
                 {"Test", "App [Pretest]"},
                 {"PRACTICE", "App [PRACTICE]"}};
    for (const Case& c : cases)
        EXPECT_EQ(computeExamResult(snapshotOf({}, 1, 1, c.mode), {}, QStringLiteral("App")).caption,
                  QString::fromLatin1(c.caption));
}

TEST(ExamResult, SnapshotTakesTheListMapAndLaunchRecord)
{
    ExamSession session;
    session.msflex.addQuestion(11, 1);
    session.msflex.addQuestion(12, 2);
    session.msflex.addQuestion(13, 3);
    session.msflex.setText(1, colCorrect, QStringLiteral("1"));
    session.msflex.setText(2, colCorrect, QStringLiteral("0"));
    // Row 3 never checked: its column is empty.
    session.cboCategory.set(11, 4);
    session.cboCategory.set(12, 5);
    session.launch.gExamMode = QStringLiteral("TEST");
    session.launch.gQuizQuestionCount = 3;
    session.launch.gQuizPassScore = 60;
    session.launch.gQuizExamName = QStringLiteral("Networks & Systems");
    session.CurrentQuestion = 2;

    const ResultSnapshot s = resultSnapshot(session);
    ASSERT_EQ(s.questions.size(), 3u);
    EXPECT_EQ(s.questions[0].questCode, 11);
    EXPECT_EQ(s.questions[0].category, 4);
    EXPECT_TRUE(s.questions[0].correct);
    EXPECT_FALSE(s.questions[1].correct);
    EXPECT_FALSE(s.questions[2].correct);
    EXPECT_EQ(s.questions[2].category, 0); // not in the map
    EXPECT_TRUE(s.isPretest());
    EXPECT_EQ(s.questionCount, 3);
    EXPECT_EQ(s.passScore, 60);
    EXPECT_EQ(s.examName, "Networks & Systems");
    EXPECT_EQ(s.questionOnScreen, 2);
}

// Review cuts the launch record's count to where the user got; the score
// still divides by the questions the exam drew, so three right answers of
// forty never pass.
TEST(ExamResult, AReviewCutSimulatedExamScoresAgainstEveryQuestionDrawn)
{
    ExamSession session;
    for (int code = 1; code <= 40; ++code)
        session.msflex.addQuestion(code, 1);
    for (int row = 1; row <= 3; ++row)
        session.msflex.setText(row, colCorrect, row == 3 ? QStringLiteral("0") : QStringLiteral("1"));
    session.launch.gExamMode = QStringLiteral("SIMULATED");
    session.launch.gQuizQuestionCount = 3; // cut by the review entry at question 3
    session.launch.gQuizPassScore = 70;
    session.CurrentQuestion = 3;

    const ResultSnapshot s = resultSnapshot(session);
    EXPECT_EQ(s.questionCount, 40);
    const ExamResult r = computeExamResult(s, {}, QStringLiteral("Z"));
    EXPECT_EQ(r.correctCount, 2);
    EXPECT_EQ(r.score, 5);
    EXPECT_EQ(r.scoreText, "5%");
    EXPECT_FALSE(r.passed);

    for (int row = 1; row <= 3; ++row)
        session.msflex.setText(row, colCorrect, QStringLiteral("1"));
    EXPECT_EQ(computeExamResult(resultSnapshot(session), {}, QStringLiteral("Z")).score, 8);
}

TEST(ExamResult, RoundedRatioGoesHalfToEven)
{
    const struct Case {
        long long n, d;
        int result;
    } cases[] = {{125, 10, 12}, {135, 10, 14}, {5, 10, 0}, {15, 10, 2}, {7, 3, 2}, {8, 3, 3}, {0, 7, 0}, {9, 9, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(roundedRatio(c.n, c.d), c.result) << c.n << "/" << c.d;
}

// ---- the review list ----

// code, type, correct, unanswered, marked per row.
struct ListRow {
    int code, type;
    const char *correct, *noAnswer, *marked;
};

QuestionList listOf(const std::vector<ListRow>& rows)
{
    QuestionList list;
    int r = 0;
    for (const ListRow& row : rows) {
        list.addQuestion(row.code, row.type);
        ++r;
        list.setText(r, colCorrect, QString::fromLatin1(row.correct));
        list.setText(r, colNoAnswer, QString::fromLatin1(row.noAnswer));
        list.setText(r, colMarked, QString::fromLatin1(row.marked));
    }
    return list;
}

const std::vector<ListRow> kReviewFixture = {
    {11, 1, "1", "0", "0"}, // 1 right
    {12, 2, "0", "0", "1"}, // 2 wrong, marked
    {13, 3, "0", "1", "1"}, // 3 unanswered, marked
    {14, 4, "1", "0", "1"}, // 4 right, marked
    {15, 1, "0", "0", "0"}, // 5 wrong
    {16, 5, "", "", ""},    // 6 never checked, unknown type
    {17, 1, "0", "0", "1"}, // 7 wrong, marked: beyond the questions reached below
};

QString numbers(const std::vector<ReviewRow>& rows)
{
    QStringList n;
    for (const ReviewRow& row : rows)
        n << QString::number(row.number);
    return n.join(QLatin1Char(','));
}

TEST(ReviewList, RowsOfTheQuestionsReachedWithStatusTypeAndMark)
{
    const QuestionList list = listOf(kReviewFixture);
    QList<int> asked;
    const std::vector<ReviewRow> rows = reviewRows(list, 6, {}, [&asked](int code) {
        asked << code;
        return QStringLiteral("cat of %1").arg(code);
    });
    ASSERT_EQ(numbers(rows), "1,2,3,4,5,6");
    const struct Expected {
        const char *letter, *type;
        bool marked;
    } expected[] = {{"A", "Multiple", false},   {"W", "Essay", true},     {"N", "Fill-in-the Blank(s)", true},
                    {"A", "Interactive", true}, {"W", "Multiple", false}, {"N", "", false}};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(reviewStatusLetter(rows[i].status), QString::fromLatin1(expected[i].letter)) << i;
        EXPECT_EQ(rows[i].typeName, QString::fromLatin1(expected[i].type)) << i;
        EXPECT_EQ(rows[i].marked, expected[i].marked) << i;
        EXPECT_EQ(rows[i].category, QStringLiteral("cat of %1").arg(11 + int(i)));
    }
    EXPECT_EQ(asked, (QList<int>{11, 12, 13, 14, 15, 16}));

    const ReviewCounts counts = reviewCounts(list, 6);
    EXPECT_EQ(counts.correct, 2);
    EXPECT_EQ(counts.wrong, 2);
    EXPECT_EQ(counts.notAnswered, 2);
}

TEST(ReviewList, FiltersApplyTogetherOverTheQuestionsReached)
{
    const QuestionList list = listOf(kReviewFixture);
    const auto none = [](int) { return QString(); };
    const struct Case {
        bool marked, wrong;
        int reached;
        const char* rows;
    } cases[] = {
        {false, false, 6, "1,2,3,4,5,6"},
        {true, false, 6, "2,3,4"},
        {false, true, 6, "2,5"}, // the unanswered and the never checked are no wrong answers
        {true, true, 6, "2"},
        {true, true, 7, "2,7"},
        {false, false, 3, "1,2,3"},
        {false, false, 40, "1,2,3,4,5,6,7"}, // never beyond the list
        {false, false, 0, ""},
    };
    for (const Case& c : cases) {
        ReviewFilters filters;
        filters.markedOnly = c.marked;
        filters.wrongOnly = c.wrong;
        EXPECT_EQ(numbers(reviewRows(list, c.reached, filters, none)), QString::fromLatin1(c.rows))
            << c.marked << c.wrong << c.reached;
    }
    EXPECT_TRUE(reviewRows(QuestionList(), 5, {}, none).empty());
}

TEST(ReviewList, CategoryOfAQuestionFromTheExamDatabase)
{
    ExamBankFixture bank;
    bank.writer().addCategory({1, QStringLiteral("Routing & Switching")});
    bank.writer().addCategory({2, QStringLiteral("Security")});
    bank.question(100, 1).question(101, 2).question(102, 2).question(103, 9);
    bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_CatCode = NULL WHERE Qq_QuestCode = 102"));

    CategoryTable table(bank.conn());
    const struct Case {
        int code, category;
        const char* text;
    } cases[] = {{100, 1, "Routing & Switching"}, {101, 2, "Security"}, {102, 0, ""}, {103, 9, ""}, {999, 0, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(table.questionCategory(c.code), c.category) << c.code;
        EXPECT_EQ(table.description(table.questionCategory(c.code)), QString::fromUtf8(c.text)) << c.code;
    }
}

} // namespace
