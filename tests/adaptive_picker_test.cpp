#include "exam/AdaptivePicker.h"
#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/ScriptedRandomSource.h"

#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Shown = std::vector<std::pair<int, int>>; // {question code, list row}

// A bank of categories and questions at chosen difficulty levels.
struct LevelBank {
    ExamBankFixture bank;

    LevelBank& category(int code)
    {
        bank.category(code);
        return *this;
    }
    LevelBank& question(int code, std::optional<int> catCode, int difficulty, int type = 1)
    {
        ExamBankWriter::QuestionRow row = ExamBankWriter::QuestionRow::multipleChoice(code);
        row.category = catCode;
        row.chapter = 0;
        row.type = type;
        row.difficulty = difficulty;
        bank.writer().addQuestion(row);
        return *this;
    }
};

// The picker over a bank's category rows, with scripted draws, recording
// the questions it shows.
struct Rig {
    explicit Rig(LevelBank& levels, int startLevel = 1, std::initializer_list<double> draws = {})
        : rows(QuestionSetBuilder::categoryRows(levels.bank.conn(), ExamMode::Adaptive)), cursor(rows), random(draws),
          level(startLevel), picker(
                                 levels.bank.conn(), msflex, cursor, random,
                                 [this](int code, int row) { shown.emplace_back(code, row); }, level)
    {
    }

    // A question already in the list, with its verdict ("1" right).
    void asked(int code, int catCode, const QString& correct, const QString& userAnswer = QStringLiteral(" "))
    {
        msflex.addItem(QStringLiteral("%1\t1\t%2\t%3\t%4").arg(code).arg(userAnswer).arg(catCode).arg(correct));
    }
    int lastCode() const { return msflex.questionCode(msflex.rows() - 1); }

    RecordingUiHooks ui;
    db::ResultSet rows;
    CategoryCursor cursor;
    QuestionList msflex;
    ScriptedRandomSource random;
    int level;
    Shown shown;
    AdaptivePicker picker;
};

TEST(AdaptivePicker, AddsTheDrawnQuestionWithItsCategoryAndShowsIt)
{
    LevelBank levels;
    levels.category(1).question(11, 1, 1, 3).question(12, 1, 1, 2).question(13, 1, 2).question(14, 1, 1, 4);
    // Pool at level 1 in code order: 11, 12, 14; a draw of 0.5 picks the second.
    Rig rig(levels, 1, {0.5});
    ASSERT_TRUE(rig.picker.PickAdaptiveQuestion());
    ASSERT_EQ(rig.msflex.rows(), 2);
    EXPECT_EQ(rig.msflex.text(1, colQuestCode), "12");
    EXPECT_EQ(rig.msflex.text(1, colTypeCode), "2");
    EXPECT_EQ(rig.msflex.text(1, colUserAnswer), " ");
    EXPECT_EQ(rig.msflex.text(1, 3), "1"); // the category code
    EXPECT_EQ(rig.shown, (Shown{{12, 1}}));
    EXPECT_EQ(rig.level, 1); // no question in the list yet: the level stays
    EXPECT_EQ(rig.random.randomizeCalls(), 1);
    EXPECT_EQ(rig.random.draws(), 1);
    EXPECT_FALSE(rig.picker.AllPoolQuestionsUsed());
    EXPECT_TRUE(rig.ui.messages().empty());
}

TEST(AdaptivePicker, LevelZeroStartsAtOneAndEmptyLevelsAreSkippedWithoutMovingTheLevel)
{
    LevelBank levels;
    levels.category(1).question(11, 1, 1).question(14, 1, 4).question(15, 1, 5);
    {
        Rig rig(levels, 0);
        ASSERT_TRUE(rig.picker.PickAdaptiveQuestion());
        EXPECT_EQ(rig.level, 1);
        EXPECT_EQ(rig.lastCode(), 11);
    }
    {
        // Nothing at level 3: the next level that has a question serves.
        Rig rig(levels, 3);
        ASSERT_TRUE(rig.picker.PickAdaptiveQuestion());
        EXPECT_EQ(rig.lastCode(), 14);
        EXPECT_EQ(rig.level, 3);
    }
}

TEST(AdaptivePicker, LevelRisesOnlyAfterTheCategorysLastQuestionWasRecordedRight)
{
    struct Case {
        const char* name;
        int startLevel;
        std::vector<std::pair<int, const char*>> asked; // {code, correct}; code / 100 is the category
        int level;                                      // AdaptiveLevel after the pick
    };
    const Case cases[] = {
        {"right answer: one level up", 4, {{101, "1"}}, 5},
        {"wrong answer: stays", 4, {{101, "0"}}, 4},
        {"not yet checked: stays", 4, {{101, ""}}, 4},
        {"10 is followed by 1", 10, {{101, "1"}}, 1},
        {"the most recent of the category decides", 4, {{101, "1"}, {102, "0"}}, 4},
        {"another category's rows do not count", 4, {{101, "1"}, {201, "0"}}, 5},
        {"only another category asked: stays", 4, {{201, "1"}}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LevelBank levels;
        levels.category(1).category(2);
        // The questions asked stand outside the levels 1 to 10, so that each
        // level has exactly one question left.
        levels.question(101, 1, 0).question(102, 1, 0).question(201, 2, 0);
        for (int level = 1; level <= 10; ++level)
            levels.question(110 + level, 1, level);
        Rig rig(levels, c.startLevel);
        for (const auto& [code, correct] : c.asked)
            rig.asked(code, code / 100, QString::fromLatin1(correct));
        ASSERT_TRUE(rig.picker.PickAdaptiveQuestion());
        EXPECT_EQ(rig.level, c.level);
        EXPECT_EQ(rig.lastCode(), 110 + c.level);
    }
}

TEST(AdaptivePicker, TheVerdictComesFromTheCorrectColumnNotFromTheAnswerText)
{
    LevelBank levels;
    levels.category(1).category(2);
    levels.question(101, 1, 1).question(102, 1, 2).question(201, 2, 1);
    // The answer text of the row is the code of a category-1 question, the
    // row itself is recorded wrong: the level must stay.
    {
        Rig rig(levels, 1);
        rig.asked(201, 2, QStringLiteral("0"), QStringLiteral("101"));
        rig.asked(101, 1, QStringLiteral("0"), QStringLiteral("101"));
        ASSERT_TRUE(rig.picker.PickAdaptiveQuestion());
        EXPECT_EQ(rig.level, 1);
    }
    {
        Rig rig(levels, 1);
        rig.asked(101, 1, QStringLiteral("1"), QStringLiteral(" "));
        ASSERT_TRUE(rig.picker.PickAdaptiveQuestion());
        EXPECT_EQ(rig.level, 2);
        EXPECT_EQ(rig.lastCode(), 102);
    }
}

TEST(AdaptivePicker, ACategoryWithNothingLeftMovesTheCursorOnAndAddsNothing)
{
    LevelBank levels;
    levels.category(1).category(2).category(3);
    levels.question(101, 1, 1).question(102, 1, 2).question(201, 2, 5).question(301, 3, 9);

    Rig rig(levels, 3);
    // Category 1 has nothing at level 3 or above.
    EXPECT_FALSE(rig.picker.PickAdaptiveQuestion());
    EXPECT_EQ(rig.cursor.position(), 1);
    EXPECT_EQ(rig.msflex.rows(), 1);
    EXPECT_TRUE(rig.shown.empty());
    // Category 2 serves at level 5.
    ASSERT_TRUE(rig.picker.PickAdaptiveQuestion());
    EXPECT_EQ(rig.lastCode(), 201);
    EXPECT_EQ(rig.cursor.position(), 1);
    // Its only question is now taken; then category 3 moves on past the end to the first.
    EXPECT_FALSE(rig.picker.PickAdaptiveQuestion());
    EXPECT_EQ(rig.cursor.position(), 2);
    rig.msflex.addItem(QStringLiteral("301\t1\t \t3"));
    EXPECT_FALSE(rig.picker.PickAdaptiveQuestion());
    EXPECT_EQ(rig.cursor.position(), 0);
    EXPECT_TRUE(rig.ui.messages().empty());
}

TEST(AdaptivePicker, TheLoopTriesEachCategoryOnceAndEndsWhenNoneHasAQuestion)
{
    LevelBank levels;
    levels.category(1).category(2).category(3);
    levels.question(101, 1, 1).question(201, 2, 1).question(301, 3, 4);
    {
        // From category 1 at level 2: only category 3 has a question left.
        Rig rig(levels, 2);
        ASSERT_TRUE(rig.picker.PickAdaptiveQuestionLoop());
        EXPECT_EQ(rig.lastCode(), 301);
        EXPECT_EQ(rig.cursor.position(), 2);
        // Now nothing is left anywhere at level 2 or above: one cycle, then the end.
        EXPECT_FALSE(rig.picker.PickAdaptiveQuestionLoop());
        EXPECT_EQ(rig.cursor.position(), 2);
        EXPECT_EQ(rig.msflex.rows(), 2);
        EXPECT_EQ(rig.shown.size(), 1u);
        EXPECT_TRUE(rig.ui.messages().empty());
    }
    {
        LevelBank none;
        Rig rig(none, 1);
        EXPECT_FALSE(rig.picker.PickAdaptiveQuestionLoop());
        EXPECT_TRUE(rig.ui.messages().empty());
        // A single pick without any category is an error, shown in the message box.
        gLogin.gAppName = QStringLiteral("Ziduver Test");
        EXPECT_FALSE(rig.picker.PickAdaptiveQuestion());
        ASSERT_EQ(rig.ui.messages().size(), 1u);
        EXPECT_EQ(rig.ui.messages()[0].title, "Ziduver Test");
        EXPECT_EQ(rig.ui.messages()[0].style, 1);
        gLogin.gAppName.clear();
    }
}

TEST(AdaptivePicker, ADatabaseErrorIsShownAndEndsTheLoop)
{
    LevelBank levels;
    levels.category(1).category(2).question(101, 1, 1);
    Rig rig(levels, 1);
    levels.bank.conn().execScript(QStringLiteral("DROP TABLE Qe_QuestionsHead"));
    EXPECT_FALSE(rig.picker.PickAdaptiveQuestionLoop());
    ASSERT_EQ(rig.ui.messages().size(), 1u);
    EXPECT_TRUE(rig.ui.messages()[0].text.contains(QStringLiteral("Qe_QuestionsHead")))
        << rig.ui.messages()[0].text.toStdString();
    EXPECT_EQ(rig.msflex.rows(), 1);
}

// Another program holding the exam: the picker's failure goes to its owner
// (the exam window, which holds the clock while it tells it) in the program's
// words, and no message box of its own opens.
TEST(AdaptivePicker, AFileInUseIsToldToTheOwnerInTheProgramsWords)
{
    LevelBank levels;
    levels.category(1).question(101, 1, 1);
    RecordingUiHooks ui;
    db::ResultSet rows = QuestionSetBuilder::categoryRows(levels.bank.conn(), ExamMode::Adaptive);
    CategoryCursor cursor(rows);
    QuestionList msflex;
    ScriptedRandomSource random;
    int level = 1;
    QStringList told;
    db::Connection exam = db::Connection::openFile(levels.bank.path());
    exam.setBusyTimeout(50);
    AdaptivePicker picker(
        exam, msflex, cursor, random, [](int, int) {}, level, [&told](const QString& text) { told << text; });
    db::Connection other = db::Connection::openFile(levels.bank.path());
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    EXPECT_FALSE(picker.PickAdaptiveQuestion());
    other.exec(QStringLiteral("ROLLBACK"));
    EXPECT_EQ(told,
              QStringList{QStringLiteral("The next question could not be chosen.\r\nThe exam database ")
                          + levels.bank.path()
                          + QStringLiteral(" is in use by another program.\r\nClose the other program that "
                                           "uses it, then try again.")});
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(msflex.rows(), 1);
}

TEST(AdaptivePicker, QuestionCategoryIsZeroForANullCategoryOrAnUnknownQuestion)
{
    LevelBank levels;
    levels.category(1).question(101, 1, 1).question(102, std::nullopt, 1).question(103, 7, 1);
    Rig rig(levels);
    EXPECT_EQ(rig.picker.GetQuestionCategory(101), 1);
    EXPECT_EQ(rig.picker.GetQuestionCategory(102), 0);
    EXPECT_EQ(rig.picker.GetQuestionCategory(103), 7);
    EXPECT_EQ(rig.picker.GetQuestionCategory(999), 0);
}

// ---- the prepared pool ----

struct Served {
    bool ok;
    int first;
    int second;
    QString message;
};

Served next(AdaptivePool& pool)
{
    Served s{false, -1, -1, QStringLiteral("untouched")};
    s.ok = pool.GetNextPoolQuestion(s.first, s.second, s.message);
    return s;
}

TEST(AdaptivePool, AnEmptyPoolIsRefused)
{
    AdaptivePool pool(QStringLiteral("Ziduver"));
    const Served s = next(pool);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, "Could not executeZiduver\r\nChapter not available. ");
    EXPECT_EQ(s.first, -1);
}

TEST(AdaptivePool, EveryEntryFromTheFirstToTheLastIsServedThenTheEndAndAFreshStart)
{
    const QString end = QStringLiteral("Could not continue this exam. No more Questions available. ");
    for (int size : {1, 3}) {
        SCOPED_TRACE(size);
        AdaptivePool pool(QStringLiteral("Ziduver"));
        for (int i = 0; i < size; ++i)
            pool.gAdaptivePool.push_back({10 + i, 20 + i});
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < size; ++i) {
                const Served s = next(pool);
                ASSERT_TRUE(s.ok) << "entry " << i;
                // The second value comes first.
                EXPECT_EQ(s.first, 20 + i);
                EXPECT_EQ(s.second, 10 + i);
                EXPECT_EQ(s.message, "untouched");
            }
            const Served past = next(pool);
            EXPECT_FALSE(past.ok);
            EXPECT_EQ(past.message, end);
            EXPECT_EQ(pool.gAdaptivePos, 0);
        }
    }
}

} // namespace
