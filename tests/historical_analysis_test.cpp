#include "results/HistoricalAnalysis.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/StartupFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using Verdict = ExamBankFixture::Verdict;
constexpr int kUser = 7;
constexpr int kOther = 8;

// n progress rows of the user in a pass, from question `first` on.
void rows(ExamBankFixture& bank, int first, int n, Verdict verdict, int pass, int user = kUser)
{
    for (int code = first; code < first + n; ++code)
        bank.progress(user, code, verdict, pass);
}

// "correct/wrong/unanswered" of each pass row, "-" for a row no pass was drawn on.
std::vector<std::string> shown(const PassSummary& summary)
{
    std::vector<std::string> texts;
    for (const PassRow& row : summary.rows)
        texts.push_back(
            row.filled ? QStringLiteral("%1/%2/%3").arg(row.correct).arg(row.wrong).arg(row.unanswered).toStdString()
                       : std::string("-"));
    return texts;
}

TEST(PassSummary, PassesAreDrawnOnTheirRowsAndThePassInProgressAfterThem)
{
    // Every pass p in `passes` gets p + 1 right and 1 wrong answers, so the
    // rows tell which pass they show.
    struct Case {
        const char* name;
        std::vector<int> passes;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {"no progress", {}, {"-", "-", "-"}},
        {"pass 0 only is Pass 1", {0}, {"1/1/98", "-", "-"}},
        {"pass 1, in progress on row 2", {0, 1}, {"2/1/97", "1/1/98", "-"}},
        {"passes 1 and 2, in progress on row 3", {0, 1, 2}, {"2/1/97", "3/1/96", "1/1/98"}},
        {"passes 1 to 3: no row for the pass in progress", {0, 1, 2, 3}, {"2/1/97", "3/1/96", "4/1/95"}},
        {"pass 4 and up are not shown", {0, 1, 2, 3, 4, 5}, {"2/1/97", "3/1/96", "4/1/95"}},
        {"all rolled over: completed passes only", {1, 2}, {"2/1/97", "3/1/96", "-"}},
        {"a gap: the highest pass decides the row", {0, 2}, {"-", "3/1/96", "1/1/98"}},
    };
    for (const Case& c : cases) {
        ExamBankFixture bank;
        bank.questions(1, 100, 1);
        for (const int pass : c.passes) {
            rows(bank, 1, pass + 1, Verdict::Right, pass);
            rows(bank, 50, 1, Verdict::Wrong, pass);
            rows(bank, 60, 3, Verdict::NoAnswer, pass); // stored no-answers are not what counts
        }
        const PassSummary summary = readPassSummary(bank.conn(), kUser);
        EXPECT_EQ(summary.totalQuestions, 100) << c.name;
        EXPECT_EQ(shown(summary), c.rows) << c.name;
    }
}

TEST(PassSummary, OnlyTheUsersRowsOfQuestionsStillInTheBankCount)
{
    ExamBankFixture bank;
    bank.questions(1, 10, 1);
    rows(bank, 1, 4, Verdict::Right, 0);
    rows(bank, 5, 2, Verdict::Wrong, 0);
    rows(bank, 1, 10, Verdict::Right, 0, kOther);
    // Rows of questions deleted from the bank would push the row past its
    // full length.
    rows(bank, 100, 30, Verdict::Right, 0);
    rows(bank, 200, 30, Verdict::Wrong, 0);
    const PassSummary summary = readPassSummary(bank.conn(), kUser);
    const PassRow& row = summary.rows[0];
    EXPECT_EQ(row.correctTag, "4");
    EXPECT_EQ(row.wrongTag, "2");
    EXPECT_EQ(row.fullTag, "4");
    EXPECT_DOUBLE_EQ(row.correctLength, 2800);
    EXPECT_DOUBLE_EQ(row.wrongLength, 1400);
}

TEST(PassSummary, CountsStayWithinTheBank)
{
    // Sums beyond the bank (repeated rows of one question) are cut back, so
    // the bars end at their full length and nothing is unanswered below 0.
    const PassSummary summary = computePassSummary(10, {{0, 8, 7}, {1, 15, 0}});
    EXPECT_EQ(shown(summary), (std::vector<std::string>{"10/0/0", "8/2/0", "-"}));
    EXPECT_DOUBLE_EQ(summary.rows[0].correctLength, 7000);
    EXPECT_DOUBLE_EQ(summary.rows[1].correctLength + summary.rows[1].wrongLength, 7000);
    const PassDetails details = *passDetails(summary, 2);
    EXPECT_EQ(details.values[2], "0");
    EXPECT_EQ(details.values[6], "0%");
}

TEST(PassSummary, DetailsOfTheWorkedExample)
{
    // 200 questions, 25 right: 875 long, and 12.5 % goes to 12.
    const PassSummary summary = computePassSummary(200, {{0, 25, 27}});
    EXPECT_DOUBLE_EQ(summary.rows[0].correctLength, 875);
    EXPECT_DOUBLE_EQ(summary.rows[0].wrongLength, 945);
    const std::optional<PassDetails> details = passDetails(summary, 1);
    ASSERT_TRUE(details);
    EXPECT_EQ(details->heading, " Pass 1 Summary");
    // 27 wrong: 13.5 % goes to 14; 148 unanswered: 74 %.
    EXPECT_EQ(details->values, (std::array<QString, 7>{"25", "27", "148", "200", "12%", "14%", "74%"}));
}

TEST(PassSummary, DetailsOfARowNoPassWasDrawnOn)
{
    const PassSummary summary = computePassSummary(40, {{0, 10, 5}});
    const std::optional<PassDetails> details = passDetails(summary, 3);
    ASSERT_TRUE(details);
    EXPECT_EQ(details->heading, " Pass 3 Summary");
    EXPECT_EQ(details->values, (std::array<QString, 7>{"", "", "40", "40", "0%", "0%", "100%"}));
    EXPECT_FALSE(passDetails(summary, 0));
    EXPECT_FALSE(passDetails(summary, 4));
}

TEST(PassSummary, AnEmptyBankOrAUserWithoutProgressShowsZeros)
{
    {
        // Progress rows left over from a bank that has no questions now.
        ExamBankFixture bank;
        rows(bank, 1, 5, Verdict::Right, 0);
        const PassSummary summary = readPassSummary(bank.conn(), kUser);
        EXPECT_EQ(summary.totalQuestions, 0);
        EXPECT_EQ(shown(summary), (std::vector<std::string>{"-", "-", "-"}));
        EXPECT_EQ(passDetails(summary, 1)->values, (std::array<QString, 7>{"", "", "0", "0", "0%", "0%", "0%"}));
    }
    // A bank without questions whose sums still say something.
    const PassSummary summary = computePassSummary(0, {{0, 3, 2}});
    EXPECT_EQ(shown(summary), (std::vector<std::string>{"0/0/0", "-", "-"}));
    EXPECT_DOUBLE_EQ(summary.rows[0].correctLength, 0);
    EXPECT_EQ(passDetails(summary, 1)->values, (std::array<QString, 7>{"0", "0", "0", "0", "0%", "0%", "0%"}));
}

TEST(PassSummary, TheDetailsBoxSitsUnderTheRowBesideTheClickedBar)
{
    // The pass frame at (300, 900) in its container, the row's bar 240 high
    // at 1200; the correct part is 875 long, so the wrong part starts at
    // 300 + 875 in the frame.
    struct Case {
        const char* handler;
        int pass;
        PassSegment segment;
        double clickedLeft;
        int x;
    };
    const Case cases[] = {
        {"lblPass1CA_Click", 1, PassSegment::Correct, 300, 700},
        {"lblPass1WA_Click", 1, PassSegment::Wrong, 1175, 1575},
        {"lblPass1NA_Click", 1, PassSegment::Full, 300, 5300},
        {"lblPass2CA_Click", 2, PassSegment::Correct, 300, 700},
        {"lblPass2WA_Click", 2, PassSegment::Wrong, 1175.5, 1576},
        {"lblPass2NA_Click", 2, PassSegment::Full, 300, 700},
        {"lblPass3CA_Click", 3, PassSegment::Correct, 300, 700},
        {"lblPass3WA_Click", 3, PassSegment::Wrong, 1176.5, 1576}, // rounded half to even
        {"lblPass3NA_Click", 3, PassSegment::Full, 300, 700},
    };
    for (const Case& c : cases) {
        PassBarPlace place;
        place.frameLeft = 300;
        place.frameTop = 900;
        place.barTop = 1200;
        place.barHeight = 240;
        place.clickedLeft = c.clickedLeft;
        EXPECT_EQ(passDetailsPosition(c.pass, c.segment, place), QPoint(c.x, 900 + 1200 + 240 + 50)) << c.handler;
    }
}

// ---- categories ----

class CategoryRows : public ::testing::Test {
protected:
    void SetUp() override { resetStartupState(); }

    std::vector<CategoryProgress> read(int pass = 0) { return readCategoryProgress(bank.conn(), kUser, pass); }

    ExamBankFixture bank;
};

TEST_F(CategoryRows, WorkedNumbersOfTheBars)
{
    // 40 questions, 10 right and 5 wrong: 1500 and 750, the box 15, 10, 5.
    const CategoryProgress forty = computeCategoryProgress(1, QStringLiteral("A"), 40, 10, 5);
    EXPECT_EQ(forty.correctLength, 1500);
    EXPECT_EQ(forty.wrongLength, 750);
    EXPECT_EQ(forty.tag, " 10, 5");
    EXPECT_EQ(forty.asked(), 15);
    struct Case {
        int questions, correct, correctLength;
    };
    for (const Case& c : {Case{3, 1, 2000}, Case{7, 1, 857}, Case{8, 1, 750}, Case{16, 1, 375}, Case{48, 1, 125},
                          Case{32, 1, 188}, Case{96, 1, 62}}) // 187.5 and 62.5 go to the even neighbour
        EXPECT_EQ(computeCategoryProgress(1, QString(), c.questions, c.correct, 0).correctLength, c.correctLength)
            << c.correct << " of " << c.questions;
}

TEST_F(CategoryRows, EachCategoryCountsItsQuestionsOfThePassOnce)
{
    bank.writer().addCategory({3, QStringLiteral("Routing & Switching")});
    bank.writer().addCategory({1, QStringLiteral("Security")});
    bank.writer().addCategory({2, QStringLiteral("Empty")});
    bank.chapter(10, 3).chapter(11, 3);
    // Category 3: 20 questions, 8 directly under it (chapter 0), 12 in chapters.
    bank.questions(1, 8, 3).questions(9, 6, 3, 1, 10).questions(15, 6, 3, 1, 11);
    // Category 1: 7 questions.
    bank.questions(21, 7, 1);
    // Category 3: right in chapter 0 and in a chapter, wrong, right once and
    // wrong once (right), only left unanswered (neither).
    rows(bank, 1, 2, Verdict::Right, 0);
    rows(bank, 9, 2, Verdict::Right, 0);
    rows(bank, 15, 3, Verdict::Wrong, 0);
    bank.progress(kUser, 20, Verdict::Wrong).progress(kUser, 20, Verdict::Right);
    bank.progress(kUser, 5, Verdict::NoAnswer);
    // Rows that are not this user's pass in progress, or of deleted questions.
    rows(bank, 1, 20, Verdict::Right, 1);
    rows(bank, 1, 20, Verdict::Right, 0, kOther);
    rows(bank, 500, 40, Verdict::Right, 0);
    // Category 1: one right.
    bank.progress(kUser, 21, Verdict::Right);

    const std::vector<CategoryProgress> categories = read();
    ASSERT_EQ(categories.size(), 3u);
    // The table's order: by code.
    EXPECT_EQ(categories[0].name, "Security");
    EXPECT_EQ(categories[0].questions, 7);
    EXPECT_EQ(categories[0].tag, " 1, 0");
    EXPECT_EQ(categories[0].correctLength, 857);
    EXPECT_EQ(categories[1].name, "Empty");
    EXPECT_EQ(categories[1].questions, 0);
    EXPECT_EQ(categories[1].tag, " 0, 0");
    EXPECT_EQ(categories[1].correctLength, 0);
    EXPECT_EQ(categories[1].wrongLength, 0);
    EXPECT_EQ(categories[2].name, "Routing & Switching");
    EXPECT_EQ(categories[2].questions, 20);
    EXPECT_EQ(categories[2].correct, 5);
    EXPECT_EQ(categories[2].wrong, 3);
    EXPECT_EQ(categories[2].tag, " 5, 3");
    EXPECT_EQ(categories[2].correctLength, 1500);
    EXPECT_EQ(categories[2].wrongLength, 900);
}

TEST_F(CategoryRows, CompletedPassesNeverShow)
{
    bank.category(1);
    bank.questions(1, 10, 1);
    rows(bank, 1, 10, Verdict::Right, 1);
    rows(bank, 1, 4, Verdict::Wrong, 2);
    const std::vector<CategoryProgress> categories = read();
    ASSERT_EQ(categories.size(), 1u);
    EXPECT_EQ(categories[0].tag, " 0, 0");
    EXPECT_EQ(categories[0].correctLength, 0);
    // The same rows read for a completed pass.
    EXPECT_EQ(read(1)[0].tag, " 10, 0");
}

TEST_F(CategoryRows, NoCategoriesGiveNoRows)
{
    bank.questions(1, 5, 1);
    rows(bank, 1, 5, Verdict::Right, 0);
    EXPECT_TRUE(read().empty());
}

TEST_F(CategoryRows, CountsStayWithinTheCategory)
{
    const CategoryProgress row = computeCategoryProgress(1, QString(), 4, 3, 5);
    EXPECT_EQ(row.correct, 3);
    EXPECT_EQ(row.wrong, 1);
    EXPECT_EQ(row.correctLength + row.wrongLength, 6000);
    const CategoryProgress empty = computeCategoryProgress(1, QString(), 0, 2, 2);
    EXPECT_EQ(empty.correctLength, 0);
    EXPECT_EQ(empty.tag, " 0, 0");
}

TEST(CategoryDetails, TheBoxSitsLevelWithTheBarClickedInsideTheRows)
{
    struct Case {
        int barTop, barHeight, boxHeight, areaHeight, top;
    };
    const Case cases[] = {
        {100, 20, 60, 400, 80},                        // centred on the bar
        {300, 20, 60, 400, 280}, {10, 20, 60, 400, 0}, // the first row: not above the area
        {380, 20, 60, 400, 340},                       // the last row: not below it
        {10, 20, 60, 40, 0},                           // an area lower than the box: at its top
    };
    for (const Case& c : cases)
        EXPECT_EQ(categoryDetailsTop(c.barTop, c.barHeight, c.boxHeight, c.areaHeight), c.top)
            << "bar at " << c.barTop << " in " << c.areaHeight;
}

} // namespace
