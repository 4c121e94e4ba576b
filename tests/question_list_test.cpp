#include "exam/CategoryMap.h"
#include "exam/QuestionList.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(QuestionList, FreshListIsTheHeaderRowWithSevenColumns)
{
    QuestionList list;
    EXPECT_EQ(list.rows(), 1);
    EXPECT_EQ(list.cols(), 7);
    EXPECT_EQ(list.questionCount(), 0);
    EXPECT_EQ(list.GetExamQuestionCodes(), QString());

    list.addQuestion(12, 3);
    list.addColumn();
    list.clear();
    EXPECT_EQ(list.rows(), 1);
    EXPECT_EQ(list.cols(), 7);
}

TEST(QuestionList, AddedQuestionsFillCodeTypeBlankAnswerAndLeaveTheRestEmpty)
{
    QuestionList list;
    list.addQuestion(40000, 4);
    list.addQuestion(2000000000, 1);
    ASSERT_EQ(list.rows(), 3);
    EXPECT_EQ(list.text(1, colQuestCode), "40000");
    EXPECT_EQ(list.text(1, colTypeCode), "4");
    EXPECT_EQ(list.text(1, colUserAnswer), " ");
    for (int col = colRightAnswer; col < list.cols(); ++col)
        EXPECT_EQ(list.text(1, col), QString()) << col;
    EXPECT_EQ(list.questionCode(2), 2000000000);
    EXPECT_EQ(list.choiceOrder(1), -1); // no variant column yet

    list.addColumn();
    EXPECT_EQ(list.cols(), 8);
    list.setText(1, colChoiceOrder, QStringLiteral("3"));
    EXPECT_EQ(list.choiceOrder(1), 3);
    EXPECT_EQ(list.GetExamQuestionCodes(), "40000,2000000000");
    EXPECT_TRUE(list.IsQuestionInExam(2000000000));
    EXPECT_FALSE(list.IsQuestionInExam(4000));
}

TEST(QuestionList, AddItemSplitsTabsAndIgnoresExtraFields)
{
    QuestionList list;
    list.addItem(QStringLiteral("7\t2"));
    list.addItem(QStringLiteral("1\t2\t3\t4\t5\t6\t7\t8\t9"));
    EXPECT_EQ(list.text(1, 1), "2");
    EXPECT_EQ(list.text(1, 2), QString());
    EXPECT_EQ(list.text(2, 6), "7");
    EXPECT_EQ(list.cols(), 7);
}

TEST(QuestionList, CellsReadAsNumbersTheWayTheOldReadersDid)
{
    QuestionList list;
    list.addQuestion(1, 1);
    const struct {
        const char* text;
        int number;
    } cases[] = {{"", 0},       {" ", 0},   {"1", 1},  {" 42", 42},
                 {"12abc", 12}, {"-3", -3}, {"x9", 0}, {"2147483647", 2147483647}};
    for (const auto& c : cases) {
        list.setText(1, colCorrect, QString::fromLatin1(c.text));
        EXPECT_EQ(list.number(1, colCorrect), c.number) << c.text;
    }
}

TEST(QuestionList, CellsOutsideTheTableRaiseAnError)
{
    QuestionList list;
    list.addQuestion(1, 1);
    EXPECT_THROW(list.text(2, 0), std::out_of_range);
    EXPECT_THROW(list.text(1, 7), std::out_of_range);
    EXPECT_THROW(list.text(-1, 0), std::out_of_range);
    EXPECT_THROW(list.setText(1, 7, QStringLiteral("0")), std::out_of_range);
    list.addColumn();
    EXPECT_NO_THROW(list.setText(1, 7, QStringLiteral("0")));
}

TEST(CategoryMap, HoldsAnyThirtyTwoBitCodeAndAnswersZeroForUnknownOnes)
{
    CategoryMap map;
    map.set(9999, 1);
    map.set(10000, 2);
    map.set(2147483647, 70000);
    EXPECT_EQ(map.categoryOf(9999), 1);
    EXPECT_EQ(map.categoryOf(10000), 2);
    EXPECT_EQ(map.categoryOf(2147483647), 70000);
    EXPECT_EQ(map.categoryOf(5), 0);
    map.clear();
    EXPECT_EQ(map.categoryOf(10000), 0);
}

} // namespace
