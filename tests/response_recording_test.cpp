#include "exam/GridPanes.h"
#include "exam/ResponseRecorder.h"
#include "foundation/ExamRecords.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/TempHome.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Choice = AnswerControls::Choice;
using FillIn = AnswerControls::FillIn;

const QDateTime kNow(QDate(2026, 3, 4), QTime(10, 20, 30));

// The answer controls of a multiple-choice question: the chosen positions
// and the tag of each choice.
AnswerControls choices(bool optionButtons, const std::vector<std::pair<bool, const char*>>& states)
{
    AnswerControls controls;
    controls.optionButtonsVisible = optionButtons;
    for (const auto& [chosen, tag] : states)
        (optionButtons ? controls.OptMultAnswer : controls.chkMultAnswer).push_back({chosen, QString::fromLatin1(tag)});
    return controls;
}

AnswerControls blanks(const std::vector<std::pair<const char*, const char*>>& boxes)
{
    AnswerControls controls;
    for (const auto& [text, tag] : boxes)
        controls.txtFillin.push_back({QString::fromLatin1(text), QString::fromLatin1(tag)});
    return controls;
}

QuestionsHist record(int type, const QString& positions = {})
{
    QuestionsHist hist;
    hist.setQuestionType(type);
    hist.setQuestAttentedPos(positions);
    return hist;
}

// A recorder over its own history, arrays and panes; the exam database
// holds one interactive question of each kind (codes 1 to 3).
struct Recording : ::testing::Test {
    Recording()
    {
        removeDebugLog();
        for (int kind = 1; kind <= 3; ++kind)
            bank.shownQuestion(kind, 4, kind, QStringLiteral("Interactive %1").arg(kind));
    }
    std::optional<QuestionsHist> saved(const QuestionsHist& hist, const AnswerControls& controls)
    {
        history = {hist};
        if (!recorder.SaveQuestionResponse(controls, kNow))
            return std::nullopt;
        return history.back();
    }

    TempHome home;
    ExamBankFixture bank;
    std::vector<QuestionsHist> history;
    PreviousAnswers previous;
    GridPanes panes;
    ResponseRecorder recorder{history, previous, panes, bank.connectionString()};
};

TEST_F(Recording, MultipleChoiceAppendsEachChosenPositionAndTheLastChosenDecides)
{
    struct Case {
        const char* name;
        AnswerControls controls;
        QString positions;
        bool answered;
        bool right;
    };
    const Case cases[] = {
        {"boxes 0 and 2, box 2 right", choices(false, {{true, "N"}, {false, "Y"}, {true, "Y"}}), "1,0,2,", true, true},
        {"boxes 0 and 2, only box 0 right", choices(false, {{true, "Y"}, {false, "N"}, {true, "N"}}), "1,0,2,", true,
         false},
        {"the tag is compared exactly", choices(false, {{true, "y"}}), "1,0,", true, false},
        {"nothing ticked", choices(false, {{false, "Y"}, {false, "N"}}), "1,", false, false},
        {"option buttons when the first shows", choices(true, {{false, "Y"}, {true, "Y"}}), "1,1,", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuestionsHist before = record(1, QStringLiteral("1,"));
        before.setisAttented(!c.answered);
        before.setisAnswerdCorrectly(!c.right);
        const std::optional<QuestionsHist> after = saved(before, c.controls);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->QuestAttentedPos(), c.positions);
        EXPECT_EQ(after->isAttented(), c.answered);
        EXPECT_EQ(after->isAnswerdCorrectly(), c.right);
        EXPECT_EQ(after->QuestLeaveTime().toDateTime(), kNow);
    }
    // With the option buttons shown, ticked check boxes do not count.
    AnswerControls both = choices(true, {{false, "Y"}});
    both.chkMultAnswer.push_back({true, QStringLiteral("Y")});
    const std::optional<QuestionsHist> after = saved(record(1), both);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->QuestAttentedPos(), "");
    EXPECT_FALSE(after->isAttented());
}

TEST_F(Recording, FillInCountsTheFilledBlanksAndTheLastFilledOneDecides)
{
    struct Case {
        const char* name;
        AnswerControls controls;
        QString positions;
        bool answered;
        bool right;
    };
    const Case cases[] = {
        {"no blank filled", blanks({{"", "Paris"}, {"   ", "Rome"}}), "", false, false},
        {"trimmed text found in the tag", blanks({{" Paris ", "Paris"}, {"", "Rome"}}), "0,", true, true},
        {"a part of the tag counts", blanks({{"Par", "Paris"}}), "0,", true, true},
        {"the last filled blank wrong", blanks({{"Paris", "Paris"}, {"Milan", "Rome"}}), "0,1,", true, false},
        {"the last filled blank right", blanks({{"Lyon", "Paris"}, {"", "x"}, {"Rome", "Rome"}}), "0,2,", true, true},
        {"case counts", blanks({{"paris", "Paris"}}), "0,", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QuestionsHist> after = saved(record(3), c.controls);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->QuestAttentedPos(), c.positions);
        EXPECT_EQ(after->isAttented(), c.answered);
        EXPECT_EQ(after->isAnswerdCorrectly(), c.right);
    }
}

TEST_F(Recording, EssayAndInteractiveRecordOnlyTheLeaveTimeAndTheMark)
{
    for (int type : {2, 4}) {
        SCOPED_TRACE(type);
        QuestionsHist before = record(type, QStringLiteral("3,"));
        before.setisAttented(true);
        before.setisAnswerdCorrectly(true);
        AnswerControls controls = choices(false, {{true, "N"}});
        controls.txtFillin.push_back({QStringLiteral("text"), QStringLiteral("other")});
        controls.txtMultilineEssay = QStringLiteral("An essay");
        controls.Check1 = true;
        const std::optional<QuestionsHist> after = saved(before, controls);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->QuestLeaveTime().toDateTime(), kNow);
        EXPECT_TRUE(after->isMarked());
        EXPECT_EQ(after->QuestAttentedPos(), "3,");
        EXPECT_TRUE(after->isAttented());
        EXPECT_TRUE(after->isAnswerdCorrectly());
    }
}

TEST_F(Recording, OnlyTheLastHistoryRecordIsWrittenAndAnEmptyHistoryIsRefused)
{
    history = {record(1), record(1)};
    ASSERT_TRUE(recorder.SaveQuestionResponse(choices(false, {{true, "Y"}}), kNow));
    EXPECT_EQ(history[0].QuestAttentedPos(), "");
    EXPECT_FALSE(history[0].QuestLeaveTime().isValid());
    EXPECT_EQ(history[1].QuestAttentedPos(), "0,");

    history.clear();
    EXPECT_FALSE(recorder.SaveQuestionResponse(choices(false, {{true, "Y"}}), kNow));
    EXPECT_TRUE(history.empty());
    EXPECT_TRUE(readDebugLog().contains(QStringLiteral("SaveQuestionResponse"))) << readDebugLog().toStdString();
}

TEST_F(Recording, PreviousAnswersAreCopiedByType)
{
    previous.dimension(5);
    previous.gPrevQuestType = {"1", "1", "2", "3", "9"};

    EXPECT_TRUE(recorder.CorrectAnsCheckPrevious(0, choices(true, {{false, "Y"}, {false, "N"}, {true, "N"}})));
    EXPECT_EQ(previous.gPrevChoice[0], "2");
    EXPECT_EQ(previous.gPrevChoiceList[0], "");

    previous.gPrevChoiceList[1] = QStringLiteral("4,");
    EXPECT_TRUE(recorder.CorrectAnsCheckPrevious(1, choices(false, {{true, "Y"}, {false, "N"}, {true, "N"}})));
    EXPECT_EQ(previous.gPrevChoiceList[1], "4,0,2,");

    AnswerControls essay;
    essay.txtMultilineEssay = QStringLiteral("  my essay\r\n ");
    EXPECT_TRUE(recorder.CorrectAnsCheckPrevious(2, essay));
    EXPECT_EQ(previous.gPrevEssayText[2], "my essay\r\n");

    EXPECT_TRUE(recorder.CorrectAnsCheckPrevious(3, blanks({{" Paris ", ""}, {"Rome", ""}})));
    EXPECT_EQ(previous.gPrevFillText[3], "Paris\rRome\r");

    // An unknown type copies nothing and still succeeds.
    EXPECT_TRUE(recorder.CorrectAnsCheckPrevious(4, essay));
    EXPECT_EQ(previous.gPrevEssayText[4], "");
}

TEST_F(Recording, AnEmptyBlankStopsTheCopyWithTheBlanksBeforeItKept)
{
    previous.dimension(1);
    previous.gPrevQuestType = {"3"};
    EXPECT_FALSE(recorder.CorrectAnsCheckPrevious(0, blanks({{"Paris", ""}, {" ", ""}, {"Rome", ""}})));
    EXPECT_EQ(previous.gPrevFillText[0], "Paris\r");
}

TEST_F(Recording, InteractiveAnswersAreCopiedFromTheGridOfTheQuestionsKind)
{
    previous.dimension(4);
    previous.gPrevQuestType = {"4", "4", "4", "4"};
    previous.gPrevQuestCode = {1, 2, 3, 999};
    for (const char* text : {" first ", "", "third"})
        panes.grdRight.addItem(QString::fromLatin1(text));
    for (const char* row : {"root", "Mammals\tG\t1", " 1 \tSG\tCat", "Birds\tG\t2"})
        panes.grdLeft.addItem(QString::fromLatin1(row));
    for (const char* place : {" Paris ", ""})
        panes.grdAnswers.addItem(QString::fromLatin1(place));

    ASSERT_TRUE(recorder.CorrectAnsCheckPrevious(0, {}));
    EXPECT_EQ(previous.gPrevOrderList, (QStringList{"first", "", "third"}));
    ASSERT_TRUE(recorder.CorrectAnsCheckPrevious(1, {}));
    EXPECT_EQ(previous.gPrevTreeList, (QStringList{"", "", "1", ""}));
    ASSERT_TRUE(recorder.CorrectAnsCheckPrevious(2, {}));
    EXPECT_EQ(previous.gPrevPlaceList, (QStringList{" Paris ", ""}));

    // A question that is not in the bank has kind 0: nothing is copied.
    previous.gPrevOrderList = QStringList{"kept"};
    EXPECT_TRUE(recorder.CorrectAnsCheckPrevious(3, {}));
    EXPECT_EQ(previous.gPrevOrderList, QStringList{"kept"});
}

TEST_F(Recording, AQuestionNumberOutsideTheArraysIsRefusedAndLogged)
{
    struct Case {
        const char* name;
        int dimensioned; // all per-question arrays
        QString type;
        int index;
        bool optionButtons;
    };
    const Case cases[] = {
        {"below the first", 2, "2", -1, false},
        {"past the last", 2, "2", 2, false},
        {"nothing dimensioned", 0, "1", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removeDebugLog();
        previous = PreviousAnswers();
        previous.dimension(c.dimensioned);
        for (QString& type : previous.gPrevQuestType)
            type = c.type;
        EXPECT_FALSE(recorder.CorrectAnsCheckPrevious(c.index, choices(c.optionButtons, {{true, "Y"}})));
        EXPECT_TRUE(readDebugLog().contains(QStringLiteral("CorrectAnsCheckPrevious")));
    }
    // The type array covers the number, the array the type writes does not.
    for (const char* type : {"1", "2", "3", "4"}) {
        SCOPED_TRACE(type);
        removeDebugLog();
        previous = PreviousAnswers();
        previous.gPrevQuestType = {QString::fromLatin1(type)};
        EXPECT_FALSE(recorder.CorrectAnsCheckPrevious(0, blanks({{"x", "x"}})));
        EXPECT_TRUE(readDebugLog().contains(QStringLiteral("Subscript out of range")));
    }
}

TEST_F(Recording, AnExamDatabaseThatCannotBeOpenedIsRefusedAndLogged)
{
    PreviousAnswers arrays;
    arrays.dimension(1);
    arrays.gPrevQuestType = {"4"};
    arrays.gPrevQuestCode = {1};
    ResponseRecorder lost(history, arrays, panes, QStringLiteral("DBQ=") + home.file(QStringLiteral("missing.qzr")));
    EXPECT_FALSE(lost.CorrectAnsCheckPrevious(0, {}));
    EXPECT_TRUE(readDebugLog().contains(QStringLiteral("CorrectAnsCheckPrevious")));
}

} // namespace
