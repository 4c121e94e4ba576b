#include "exam/AnswerCheck.h"
#include "exam/QuestionList.h"
#include "foundation/ExamBank.h"
#include "tests/support/ExamBankFixture.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <vector>

// Readable QString values in failed expectations.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

// Texts a row holds before a check, so that a column left alone shows.
const QString kOld = QStringLiteral("old");

class AnswerCheckTest : public ::testing::Test {
protected:
    void addQuestion(int code, std::optional<int> type, std::optional<int> interactive = 0,
                     std::optional<int> difficulty = 1)
    {
        ExamBankWriter::QuestionRow row;
        row.code = code;
        row.category = 1;
        row.chapter = 0;
        row.type = type;
        row.interactive = interactive;
        row.text = QStringLiteral("Question %1").arg(code);
        row.difficulty = difficulty;
        fixture.writer().addQuestion(row);
    }
    void item(int question, const QString& left, int leftSeq, const QString& right)
    {
        fixture.writer().addInteractiveRow({question, left, leftSeq, right, 0});
    }
    void key(int question, const QString& leftText, const QString& rightText, int nodeSeq = 0)
    {
        fixture.writer().addInteractiveAnswer({question, leftText, 0, rightText, nodeSeq});
    }

    // A list with the question in row 1, its columns 2 to 6 holding kOld.
    static QuestionList listWith(int code, int type)
    {
        QuestionList list;
        list.addQuestion(code, type);
        for (int col = colUserAnswer; col <= colMarked; ++col)
            list.setText(1, col, kOld);
        list.addColumn();
        return list;
    }

    CheckOutcome check(QuestionList& list, int row, int type, const QString& answer, ExamMode mode = ExamMode::Practice,
                       bool marked = false)
    {
        return CheckAnswer(bank, list, row, {list.questionCode(row), type, answer, mode, marked});
    }

    ExamBankFixture fixture;
    ExamBank bank{fixture.conn()};
};

std::string show(const QString& text)
{
    return "'" + text.toStdString() + "'";
}

// What a judged row holds in columns 2 to 5.
struct Recorded {
    QString userAnswer, comparison;
    bool right;
    bool noAnswer;
};

void expectRow(const QuestionList& list, const Recorded& want)
{
    EXPECT_EQ(list.text(1, colUserAnswer), want.userAnswer);
    EXPECT_EQ(list.text(1, colRightAnswer), want.comparison);
    EXPECT_EQ(list.text(1, colCorrect), want.right ? "1" : "0");
    EXPECT_EQ(list.text(1, colNoAnswer), want.noAnswer ? "1" : "0");
    EXPECT_EQ(list.text(1, colMarked), kOld) << "column 6 is for simulated exams and pretests";
}

TEST_F(AnswerCheckTest, MultipleChoiceNeedsEveryRightChoiceInAnyOrder)
{
    addQuestion(1, 1); // right 1 and 3
    for (int seq = 1; seq <= 4; ++seq)
        fixture.choice(1, seq, QStringLiteral("choice %1").arg(seq), seq == 1 || seq == 3);
    addQuestion(2, 1); // right 3 and 11: "1" is no right choice though "11" holds it
    for (int seq : {1, 3, 11})
        fixture.choice(2, seq, QStringLiteral("choice %1").arg(seq), seq != 1);
    addQuestion(3, 1); // right 2, stored as -1
    fixture.choice(3, 1, QStringLiteral("no"), false).choice(3, 2, QStringLiteral("yes"), false);
    fixture.conn().exec(QStringLiteral("UPDATE Qe_AnswerChoice SET Qc_RightAns = -1 WHERE Qc_QuestCode = ? AND "
                                       "Qc_Choice_Seq = ?"),
                        {3, 2});
    addQuestion(4, 1); // no right choice: no answer is still no answer
    fixture.choice(4, 1, QStringLiteral("no"), false);

    const struct {
        int question;
        QString answer;
        bool right;
    } cases[] = {
        {1, "1,3,", true}, {1, "3,1,", true},  {1, "3, 1, ", true}, {1, "1,1,", true},   {1, ",1,3", true},
        {1, "1,", false},  {1, "1,3", false},  {1, "1,3,,", false}, {1, "", false},      {1, "1,4,", false},
        {1, "13,", false}, {2, "3,11,", true}, {2, "1,3,", false},  {2, "1,11,", false}, {3, "2,", true},
        {3, "1,", false},  {4, "", false},     {4, "1,", false},
    };
    const QString comparisons[] = {{}, "1, 3, ", "3, 11, ", "2, ", ""};
    for (const auto& c : cases) {
        SCOPED_TRACE(show(c.answer) + " on question " + std::to_string(c.question));
        QuestionList list = listWith(c.question, 1);
        const CheckOutcome outcome = check(list, 1, 1, c.answer);
        EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_EQ(outcome.right, c.right);
        EXPECT_TRUE(outcome.userAnswerSet);
        EXPECT_EQ(outcome.userAnswer, c.answer);
        expectRow(list, {c.answer, comparisons[c.question], c.right, c.answer.trimmed().isEmpty()});
    }
}

TEST_F(AnswerCheckTest, EssayNeedsAKeyWordOfEveryRowAnywhere)
{
    addQuestion(10, 2);
    fixture.writer().addFillAnswer(10, QStringLiteral("cash|money"));
    fixture.writer().addFillAnswer(10, QStringLiteral(" bank "));
    addQuestion(11, 2); // no key rows
    addQuestion(12, 2);
    fixture.writer().addFillAnswer(12, QStringLiteral("run"));
    fixture.writer().addFillAnswer(12, QStringLiteral("|  |fast"));

    const struct {
        int question;
        QString answer;
        bool right;
    } cases[] = {
        {10, "I keep my Money in the BANK.", true},
        {10, "bankcash", true},
        {10, "cash only", false},   // the first row matches, the second does not
        {10, "at the bank", false}, // the second row matches, the first does not
        {10, "", false},
        {11, "anything at all", false},
        {12, "He was running FASTER", true},
        {12, "running", false}, // blank alternatives match nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(show(c.answer) + " on question " + std::to_string(c.question));
        QuestionList list = listWith(c.question, 2);
        const CheckOutcome outcome = check(list, 1, 2, c.answer);
        EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_EQ(outcome.right, c.right);
        EXPECT_FALSE(outcome.userAnswerSet);
        expectRow(list, {c.answer, QString(), c.right, c.answer.trimmed().isEmpty()});
    }
}

TEST_F(AnswerCheckTest, FillInJudgesBlankByBlankAgainstTrimmedAlternatives)
{
    addQuestion(20, 3);
    fixture.writer().addFillAnswer(20, QStringLiteral("Paris|Lutetia"));
    addQuestion(21, 3);
    fixture.writer().addFillAnswer(21, QStringLiteral("Paris | Lutetia"));
    addQuestion(22, 3); // two blanks, in the order stored
    fixture.writer().addFillAnswer(22, QStringLiteral(" a "));
    fixture.writer().addFillAnswer(22, QStringLiteral("b|Bee"));
    addQuestion(23, 3); // no blanks

    const struct {
        int question;
        QString answer;
        bool right;
        QString comparison; // the last row compared
    } cases[] = {
        {20, "paris", true, "|PARIS|LUTETIA|"},
        {20, "paris|", true, "|PARIS|LUTETIA|"},
        {20, " paris |", true, "|PARIS|LUTETIA|"},
        {20, "LUTETIA|", true, "|PARIS|LUTETIA|"},
        {20, "Par", false, "|PARIS|LUTETIA|"},
        {20, "paris|x|", false, ""}, // two separators for one blank
        {20, "", false, ""},
        {20, "   ", false, ""},
        {21, "paris", false, "|PARIS | LUTETIA|"},
        {21, "lutetia|", false, "|PARIS | LUTETIA|"},
        {22, "a|b|", true, "|B|BEE|"},
        {22, " A | bee |", true, "|B|BEE|"},
        {22, "x|b|", false, "|A|"}, // stops at the first wrong blank
        {22, "a|x|", false, "|B|BEE|"},
        {22, "a||", false, "|B|BEE|"},
        {22, "a|b", false, ""}, // one separator for two blanks: wrong at once
        {22, "a", false, ""},   // no separator for two blanks
        {22, "a|b|c|", false, ""},
        {22, "", false, ""},
        {23, "Paris|", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(show(c.answer) + " on question " + std::to_string(c.question));
        QuestionList list = listWith(c.question, 3);
        const CheckOutcome outcome = check(list, 1, 3, c.answer);
        EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_EQ(outcome.right, c.right);
        EXPECT_FALSE(outcome.userAnswerSet);
        const QString trimmed = c.answer.trimmed();
        expectRow(list, {trimmed, c.comparison, c.right, trimmed.isEmpty()});
    }
}

TEST_F(AnswerCheckTest, OrderedListMustMatchExactly)
{
    addQuestion(30, 4, 1);
    item(30, "First", 1, "A");
    item(30, "Second", 2, "B");
    item(30, "Third", 3, " ");
    item(30, "Fourth", 4, "C");

    const struct {
        QString answer;
        bool right;
    } cases[] = {
        {"A,B,C", true},  {" A,B,C ", true}, {"A, B, C", false}, {"a,b,c", false},
        {"A,C,B", false}, {"A,B", false},    {"A,B,,C", false},  {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(show(c.answer));
        QuestionList list = listWith(30, 4);
        const CheckOutcome outcome = check(list, 1, 4, c.answer);
        EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_EQ(outcome.right, c.right);
        expectRow(list, {c.answer, "A,B,C", c.right, c.answer.trimmed().isEmpty()});
    }
}

TEST_F(AnswerCheckTest, SelectAndPlaceCountsEveryPlace)
{
    // Places "", "alpha", "", "beta": no separator goes before the first
    // text, so the leading empty place leaves no trace.
    addQuestion(40, 4, 3);
    for (const char* place : {"", "alpha", "", "beta"})
        key(40, QString(), place);
    addQuestion(41, 4, 3); // the last place stays empty
    key(41, QString(), "x");
    key(41, QString(), "");

    const struct {
        int question;
        QString answer;
        bool right;
    } cases[] = {
        {40, "alpha,,beta", true},  {40, " alpha,,beta ", true},
        {40, "alpha,beta", false},  {40, ",alpha,,beta", false},
        {40, "Alpha,,beta", false}, {41, "x,", true},
        {41, "x", false},           {41, "", false},
    };
    const QString comparisons[] = {"alpha,,beta", "x,"};
    for (const auto& c : cases) {
        SCOPED_TRACE(show(c.answer) + " on question " + std::to_string(c.question));
        QuestionList list = listWith(c.question, 4);
        const CheckOutcome outcome = check(list, 1, 4, c.answer);
        EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_EQ(outcome.right, c.right);
        expectRow(list, {c.answer, comparisons[c.question - 40], c.right, c.answer.trimmed().isEmpty()});
    }
}

TEST_F(AnswerCheckTest, TreeNeedsEveryRightLeafUnderEachNode)
{
    addQuestion(50, 4, 2);
    item(50, "Fruit", 1, "Apple");
    item(50, "", 0, "Pear"); // a leaf to place, no node
    item(50, "Tools", 2, "Saw");
    key(50, "Apple", "", 1);
    key(50, "Pear", "", 1);
    key(50, "Saw", "", 2);
    addQuestion(51, 4, 2); // node "Empty" has no right leaves
    item(51, "Fruit", 1, "Apple");
    item(51, "Empty", 2, "");
    key(51, "Apple", "", 1);
    addQuestion(52, 4, 2); // no items at all

    const struct {
        int question;
        QString answer;
        bool right;
    } cases[] = {
        {50, "Fruit#Apple#Pear,Tools#Saw", true},
        {50, "Tools#Saw,Fruit#Pear#Apple", true},
        {50, "Fruit#Apple#Pear#Saw,Tools#Saw#Apple", true}, // extra leaves
        {50, "Fruit#Apple#Pear,,Tools#Saw", true},          // empty entries are passed over
        {50, ",Tools#Saw,Fruit#Apple#Pear,", true},
        {50, "Fruit#Apple,Tools#Saw", false}, // Pear missing
        {50, "Fruit#Apple#Pear", false},      // node Tools missing
        {50, "fruit#Apple#Pear,Tools#Saw", false},
        {50, "Fruit#apple#Pear,Tools#Saw", false},
        {50, "Fruit#Apple #Pear,Tools#Saw", false},
        {50, "Fruit#Apple,Tools#Saw#Pear", false}, // Pear under the wrong node
        {50, "", false},
        {51, "Fruit#Apple,Empty", false},
        {51, "Fruit#Apple,Empty#Apple", false},
        {52, "Fruit#Apple", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(show(c.answer) + " on question " + std::to_string(c.question));
        QuestionList list = listWith(c.question, 4);
        const CheckOutcome outcome = check(list, 1, 4, c.answer);
        EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_EQ(outcome.right, c.right);
        expectRow(list, {c.answer, c.answer, c.right, c.answer.trimmed().isEmpty()});
    }
}

TEST_F(AnswerCheckTest, UnknownInteractiveKindOrTypeLeavesTheAnswerColumnsAlone)
{
    addQuestion(70, 4, 0);
    addQuestion(71, 4, std::nullopt);
    addQuestion(72, 4, 4);
    addQuestion(73, 4, -1);
    addQuestion(74, 1); // judged as type 9 or 0 by the caller
    fixture.choice(74, 1, QStringLiteral("yes"), true);
    for (int code : {70, 71, 72, 73})
        key(code, "Apple", "alpha", 1);
    fixture.writer().addPoint(1, 4);

    const struct {
        int question;
        int type;
    } cases[] = {{70, 4}, {71, 4}, {72, 4}, {73, 4}, {75, 4} /* no question row */, {74, 9}, {74, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE("question " + std::to_string(c.question) + " type " + std::to_string(c.type));
        QuestionList list = listWith(c.question, c.type);
        list.addQuestion(74, 1);
        list.setText(2, colCorrect, "1"); // the score is still summed
        const CheckOutcome outcome = check(list, 1, c.type, "alpha", ExamMode::Test, true);
        EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_FALSE(outcome.right);
        EXPECT_EQ(outcome.examScore, 4);
        for (int col = colUserAnswer; col <= colNoAnswer; ++col)
            EXPECT_EQ(list.text(1, col), kOld) << "column " << col;
        EXPECT_EQ(list.text(1, colMarked), "1");
    }
}

TEST_F(AnswerCheckTest, MarkIsRecordedInSimulatedExamsAndPretestsOnly)
{
    addQuestion(1, 1);
    fixture.choice(1, 1, QStringLiteral("yes"), true);
    const struct {
        ExamMode mode;
        bool marked;
        QString column6;
    } cases[] = {
        {ExamMode::Simulated, true, "1"}, {ExamMode::Simulated, false, "0"}, {ExamMode::Test, true, "1"},
        {ExamMode::Test, false, "0"},     {ExamMode::Practice, true, kOld},  {ExamMode::Adaptive, true, kOld},
        {ExamMode::Other, true, kOld},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(examModeWord(c.mode).toStdString() + (c.marked ? " marked" : " not marked"));
        for (int type : {1, 9}) {
            QuestionList list = listWith(1, type);
            const CheckOutcome outcome = check(list, 1, type, "1,", c.mode, c.marked);
            EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
            EXPECT_EQ(list.text(1, colMarked), c.column6) << "type " << type;
        }
    }
}

TEST_F(AnswerCheckTest, ScoreSumsThePointsOfTheRightRowsOnce)
{
    fixture.writer().addPoint(1, 5);
    fixture.writer().addPoint(2, 10);
    fixture.writer().addPoint(4, 2.5); // read as a whole number, half to even
    const struct {
        int code;
        std::optional<int> difficulty;
    } questions[] = {{60, 2}, {61, 0}, {62, 3} /* no points row */, {63, std::nullopt}, {64, 4}};
    QuestionList list;
    for (const auto& q : questions) {
        addQuestion(q.code, 1, 0, q.difficulty);
        fixture.choice(q.code, 1, QStringLiteral("yes"), true).choice(q.code, 2, QStringLiteral("no"), false);
        list.addQuestion(q.code, 1);
    }
    list.addColumn();

    EXPECT_EQ(GetQuestionPoints(bank, 60), 10);
    EXPECT_EQ(GetQuestionPoints(bank, 61), 5);
    EXPECT_EQ(GetQuestionPoints(bank, 62), 0);
    EXPECT_EQ(GetQuestionPoints(bank, 63), 5);
    EXPECT_EQ(GetQuestionPoints(bank, 64), 2);
    EXPECT_EQ(GetQuestionPoints(bank, 99), 5); // no question row: difficulty 1
    EXPECT_EQ(SumCorrectMarks(bank, list), 0) << "unchecked rows count nothing";

    // Each step judges one row and gives the score over the whole list; a
    // row judged again is counted once.
    const struct {
        int row;
        QString answer;
        int score;
    } steps[] = {
        {1, "1,", 10}, {2, "1,", 15}, {3, "1,", 15}, {4, "1,", 20}, {5, "1,", 22},
        {1, "1,", 22}, {1, "2,", 12}, {2, "", 7},    {1, "1,", 17},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE("row " + std::to_string(s.row) + " " + show(s.answer));
        const CheckOutcome outcome = check(list, s.row, 1, s.answer);
        EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
        EXPECT_EQ(outcome.examScore, s.score);
        EXPECT_EQ(SumCorrectMarks(bank, list), s.score);
    }
}

// A question with no answer is never right, even when its key is empty too
// (interactive rows whose items are NULL, a choice question without a right
// choice): passing through a pretest with Next scores nothing.
TEST_F(AnswerCheckTest, NoAnswerIsNeverRightWhateverTheKey)
{
    addQuestion(1, 1); // multiple choice without a right choice
    fixture.choice(1, 1, QStringLiteral("no"), false);
    addQuestion(2, 4, 1); // ordered list, items NULL
    addQuestion(3, 4, 3); // select and place, places NULL
    addQuestion(4, 4, 2); // tree, nodes and leaves NULL
    fixture.conn().execScript(QStringLiteral(
        "INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item) "
        "VALUES (2, NULL, 1, NULL), (2, NULL, 2, NULL), (4, NULL, 1, NULL);"
        "INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_RightTEXT, Qa_ans_node_Seq) "
        "VALUES (3, NULL, NULL, 0), (3, NULL, NULL, 0), (4, NULL, NULL, 1);"));
    fixture.writer().addPoint(1, 3);

    QuestionList list;
    const struct {
        int code, type;
    } questions[] = {{1, 1}, {2, 4}, {3, 4}, {4, 4}};
    for (const auto& q : questions)
        list.addQuestion(q.code, q.type);
    list.addColumn();
    for (int row = 1; row <= 4; ++row) {
        for (const QString& answer : {QString(), QStringLiteral("  ")}) {
            SCOPED_TRACE("question " + std::to_string(row) + ", answer " + show(answer));
            const CheckOutcome outcome = check(list, row, questions[row - 1].type, answer, ExamMode::Test);
            EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
            EXPECT_FALSE(outcome.right);
            EXPECT_EQ(list.text(row, colCorrect), "0");
            EXPECT_EQ(list.text(row, colNoAnswer), "1");
            EXPECT_EQ(outcome.examScore, 0);
        }
    }
}

TEST_F(AnswerCheckTest, DatabaseErrorIsReturnedWithTheColumnsWrittenSoFar)
{
    addQuestion(1, 1);
    fixture.choice(1, 1, QStringLiteral("yes"), true);
    addQuestion(2, 4, 2);
    item(2, "Fruit", 1, "Apple");
    key(2, "Apple", "", 1);
    fixture.writer().addPoint(1, 3);

    QuestionList list;
    list.addQuestion(1, 1);
    list.addQuestion(2, 4);
    list.addColumn();
    CheckOutcome outcome;
    ASSERT_NO_THROW(outcome = check(list, 2, 4, "Fruit#Apple", ExamMode::Test, true));
    ASSERT_TRUE(outcome.right);
    ASSERT_EQ(outcome.examScore, 3);

    // The tree's leaves are gone: the new answer and a reset verdict are
    // written before the error, nothing after it.
    fixture.conn().exec(QStringLiteral("DROP TABLE Qe_InteractiveRightAnswer"));
    ASSERT_NO_THROW(outcome = check(list, 2, 4, "Fruit#Pear", ExamMode::Test, false));
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_TRUE(outcome.error.contains("Qe_InteractiveRightAnswer")) << outcome.error.toStdString();
    EXPECT_FALSE(outcome.right);
    EXPECT_EQ(list.text(2, colUserAnswer), "Fruit#Pear");
    EXPECT_EQ(list.text(2, colCorrect), "0");
    EXPECT_EQ(list.text(2, colNoAnswer), "0");
    EXPECT_EQ(list.text(2, colRightAnswer), "Fruit#Apple");
    EXPECT_EQ(list.text(2, colMarked), "1") << "the mark is not written after an error";

    // No choices table: nothing of the row is written.
    fixture.conn().exec(QStringLiteral("DROP TABLE Qe_AnswerChoice"));
    ASSERT_NO_THROW(outcome = check(list, 1, 1, "1,", ExamMode::Test, true));
    EXPECT_TRUE(outcome.error.contains("Qe_AnswerChoice")) << outcome.error.toStdString();
    EXPECT_FALSE(outcome.userAnswerSet);
    EXPECT_EQ(list.text(1, colUserAnswer), " ");
    for (int col = colRightAnswer; col <= colMarked; ++col)
        EXPECT_EQ(list.text(1, col), "") << "column " << col;

    // A row outside the list is an error too, not an exception.
    ASSERT_NO_THROW(outcome = CheckAnswer(bank, list, 7, {1, 1, "1,", ExamMode::Test, false}));
    EXPECT_FALSE(outcome.error.isEmpty());

    // Scoring reads what it can: no points table gives 0 points.
    fixture.conn().exec(QStringLiteral("DROP TABLE Qe_Points"));
    list.setText(1, colCorrect, "1");
    EXPECT_EQ(GetQuestionPoints(bank, 1), 0);
    EXPECT_EQ(SumCorrectMarks(bank, list), 0);
    ASSERT_NO_THROW(outcome = check(list, 2, 2, "essay"));
    EXPECT_TRUE(outcome.error.isEmpty()) << outcome.error.toStdString();
    EXPECT_EQ(outcome.examScore, 0);
}

TEST(MatchFillAnswer, OneAlternativeOccursIgnoringCaseAndOuterBlanks)
{
    const struct {
        QString accepted, answer;
        bool match;
    } cases[] = {
        {"cash|money", "MONEY talks", true},
        {"cash|money", "moneyless", true},
        {" Cash ", "  cash  ", true},
        {"big cat", "a BIG CAT here", true},
        {"big cat", "big  cat", false},
        {"", "anything", false},
        {"|", "anything", false},
        {"cash", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchFillAnswer(c.accepted, c.answer), c.match) << show(c.accepted) << " in " << show(c.answer);
}

TEST(AnswerCapture, ReportsReplaceOrExtendTheAnswer)
{
    const struct {
        int type;
        QString start;
        std::vector<QString> reports;
        QString answer;
    } cases[] = {
        {1, "1,", {"done"}, "1,"},
        {1, "1,", {"DONE"}, "1,"},
        {2, "essay", {"Done"}, "essay"},
        {3, "a|", {""}, "a|"},
        {1, "1,", {" ~ "}, ""},
        {3, "a|", {"~"}, ""},
        {4, "A,B", {"~"}, ""},
        {1, "", {"1,", "1,3,"}, "1,3,"},
        {3, "", {" a | b |"}, " a | b |"}, // stored untrimmed
        {4, "", {"A,B", "B,A"}, "B,A"},
        {2, "", {"~", "Hello ", "world"}, "Hello world"},
        {2, "", {"~", "Hello ", "world", "~"}, ""},
        {2, "old text", {"~", "new"}, "new"},
        {2, "", {"~", "D", "one"}, "Done"},
        {0, "x", {"1,"}, "x"},
        {5, "x", {"1,"}, "x"},
    };
    for (const auto& c : cases) {
        QString pageAnswer = c.start;
        for (const QString& report : c.reports)
            applyPageReport(pageAnswer, c.type, report);
        EXPECT_EQ(pageAnswer, c.answer) << "type " << c.type << " from " << show(c.start);
    }
}

} // namespace
