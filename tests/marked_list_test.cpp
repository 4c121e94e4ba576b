#include "exam/MarkedList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The rows as "number/shown/code" texts, the header left out.
std::vector<std::string> rowsOf(const MarkedList& list)
{
    std::vector<std::string> rows;
    for (int r = 1; r < list.rows(); ++r)
        rows.push_back(
            (list.text(r, 0) + QLatin1Char('/') + list.text(r, 1) + QLatin1Char('/') + list.text(r, 2)).toStdString());
    return rows;
}

TEST(MarkedList, MarkingAndUnmarkingKeepOneRowPerQuestionInTheOrderOfMarking)
{
    enum Op { Mark, Unmark };
    struct Step {
        Op op;
        const char* counter; // lblQno
        int code;
        std::vector<std::string> rows; // afterwards
    };
    const Step steps[] = {
        {Mark, "3 of 10", 301, {"3/3/301"}},
        {Mark, "3 of 10", 301, {"3/3/301"}}, // twice: one row
        {Mark, "7 of 10", 707, {"3/3/301", "7/7/707"}},
        {Mark, "1 of 10", 101, {"3/3/301", "7/7/707", "1/1/101"}},
        {Mark, "3 of 10", 333, {"7/7/707", "1/1/101", "3/3/333"}}, // again: moves to the end with its new code
        {Unmark, "7 of 10", 0, {"1/1/101", "3/3/333"}},
        {Unmark, "9 of 10", 0, {"1/1/101", "3/3/333"}}, // not marked: nothing changes
        {Unmark, "1 of 10", 0, {"3/3/333"}},
        {Unmark, "3 of 10", 0, {}}, // the last one: only the header stays
        {Unmark, "3 of 10", 0, {}},
        {Mark, " 12 of 40", 9001, {"12/12/9001"}}, // the counter's number, blanks before it skipped
    };
    MarkedList list;
    EXPECT_FALSE(list.hasMarks());
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << (s.op == Mark ? "mark " : "unmark ") << s.counter);
        if (s.op == Mark)
            list.MarkQuestion(QString::fromLatin1(s.counter), s.code);
        else
            list.UnmarkQuestion(QString::fromLatin1(s.counter));
        EXPECT_EQ(rowsOf(list), s.rows);
        EXPECT_EQ(list.hasMarks(), !s.rows.empty());
        EXPECT_EQ(list.rows(), int(s.rows.size()) + 1) << "the header row stays";
    }
    list.InitMarkedGrid();
    EXPECT_FALSE(list.hasMarks());
    EXPECT_EQ(list.text(0, 1), QStringLiteral("Question No"));
    EXPECT_EQ(list.text(0, 2), QStringLiteral("QID "));
}

TEST(MarkedList, TheNumberOfARowIsZeroForTheHeaderAnyRowOutsideAndACellWithoutANumber)
{
    MarkedList list;
    list.MarkQuestion(QStringLiteral("4 of 9"), 44);
    list.MarkQuestion(QStringLiteral("of 9"), 55); // a counter without a number
    EXPECT_EQ(list.questionNumber(1), 4);
    EXPECT_EQ(list.questionNumber(2), 0);
    EXPECT_EQ(list.questionNumber(0), 0) << "the header";
    EXPECT_EQ(list.questionNumber(-1), 0) << "no row chosen";
    EXPECT_EQ(list.questionNumber(3), 0);
    EXPECT_EQ(list.text(9, 1), QString());
}

} // namespace
