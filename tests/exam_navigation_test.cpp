#include "exam/ExamNavigation.h"

#include <gtest/gtest.h>

namespace {

struct NextCase {
    const char* name;
    ExamMode mode;
    int current, reached, count;
    bool review;
    int reviewLast;
    // expected
    int toCurrent, toReached;
    bool show, next, prevTouched, prev;
};

TEST(ExamNavigation, NextMovesWithinTheExamsLengthPerModeAndPosition)
{
    using M = ExamMode;
    const NextCase cases[] = {
        {"practice, first", M::Practice, 1, 1, 3, false, 0, 2, 2, true, true, true, true},
        {"practice, to the last", M::Practice, 2, 2, 3, false, 0, 3, 3, true, true, true, true},
        {"practice, at the last: Next stays", M::Practice, 3, 3, 3, false, 0, 3, 3, true, true, true, true},
        {"pretest, first: Previous from question 2", M::Test, 1, 1, 3, false, 0, 2, 2, true, true, true, true},
        {"pretest, to the last", M::Test, 2, 2, 3, false, 0, 3, 3, true, false, true, true},
        {"simulated, at the last", M::Simulated, 3, 3, 3, false, 0, 3, 3, true, false, true, true},
        {"simulated, back from 7 at 3", M::Simulated, 3, 7, 10, false, 0, 4, 7, true, true, true, true},
        {"one question, practice", M::Practice, 1, 1, 1, false, 0, 1, 1, true, true, true, false},
        {"one question, pretest", M::Test, 1, 1, 1, false, 0, 1, 1, true, false, true, false},
        {"other mode only counts", M::Adaptive, 1, 1, 3, false, 0, 2, 2, false, false, false, false},
        {"other mode, reached above", M::Other, 1, 5, 9, false, 0, 2, 5, false, false, false, false},
        {"other mode, at the end", M::Adaptive, 3, 3, 3, false, 0, 3, 3, false, false, true, true},
        {"review stops at its index", M::Practice, 5, 7, 20, true, 5, 5, 7, true, true, true, true},
        {"review in another mode shows", M::Adaptive, 2, 7, 20, true, 5, 3, 7, true, true, true, true},
        {"review at the exam's end", M::Test, 20, 7, 20, true, 20, 20, 20, true, false, true, true},
        // Review entered at question 5 after going back from 7: the count is
        // cut to 5, and questions 6 and 7 stay reached (they were answered).
        {"review cut below the questions reached", M::Simulated, 5, 7, 5, true, 5, 5, 7, true, false, true, true},
    };
    for (const NextCase& c : cases) {
        SCOPED_TRACE(c.name);
        const NavigationMove m = nextMove(c.mode, {c.current, c.reached, c.count, c.review, c.reviewLast});
        EXPECT_EQ(m.current, c.toCurrent);
        EXPECT_EQ(m.reached, c.toReached);
        EXPECT_EQ(m.showQuestion, c.show);
        EXPECT_EQ(m.nextEnabled, c.next);
        EXPECT_EQ(m.prevTouched, c.prevTouched);
        if (c.prevTouched) {
            EXPECT_EQ(m.prevEnabled, c.prev);
        }
    }
}

TEST(ExamNavigation, PreviousGoesBackInTheListModesOnly)
{
    struct Case {
        ExamMode mode;
        int current;
        bool show;
        int toCurrent;
        bool prev, next;
    };
    const Case cases[] = {
        {ExamMode::Practice, 3, true, 2, true, true},
        {ExamMode::Test, 2, true, 1, false, true},
        {ExamMode::Simulated, 1, false, 1, false, false},
        {ExamMode::Adaptive, 3, false, 3, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(examModeWord(c.mode).toStdString() + " at " + std::to_string(c.current));
        const NavigationMove m = previousMove(c.mode, {c.current, 7, 10, false, 0});
        EXPECT_EQ(m.showQuestion, c.show);
        EXPECT_EQ(m.current, c.toCurrent);
        EXPECT_EQ(m.reached, 7) << "going back never lowers the questions reached";
        EXPECT_EQ(m.prevEnabled, c.prev);
        if (c.show) {
            EXPECT_EQ(m.nextEnabled, c.next);
        }
    }
}

TEST(ExamNavigation, AJumpSetsNextAndPreviousByPosition)
{
    struct Case {
        int number, count, toCurrent;
        bool prev, next;
    };
    const Case cases[] = {
        {0, 5, 1, false, true}, {1, 5, 1, false, true},  {3, 5, 3, true, true},
        {5, 5, 5, true, false}, {1, 1, 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.number << " of " << c.count);
        const NavigationMove m = jumpMove(c.number, {2, 2, c.count, false, 0});
        EXPECT_TRUE(m.showQuestion);
        EXPECT_EQ(m.current, c.toCurrent);
        EXPECT_EQ(m.prevEnabled, c.prev);
        EXPECT_EQ(m.nextEnabled, c.next);
    }
    // A question reached beyond a count that review cut is still shown.
    const NavigationMove beyond = jumpMove(7, {5, 7, 5, true, 5});
    EXPECT_EQ(beyond.current, 7);
    EXPECT_FALSE(beyond.nextEnabled);
    EXPECT_TRUE(beyond.prevEnabled);
    EXPECT_EQ(jumpMove(9, {5, 7, 5, true, 5}).current, 7) << "never past the questions reached";
}

TEST(ExamNavigation, TheAlertGateRaisesThePanelOrLetsOneGrantedPass)
{
    struct Case {
        const char* name;
        bool ticked;
        bool granted;
        const char* action;
        bool raise, moveOn;
        bool grantedAfter;
        const char* actionAfter;
    };
    const Case cases[] = {
        {"no feedback: move on", false, false, "", false, true, false, "NEXTQUESTION"},
        {"no feedback keeps a granted pass", false, true, "", false, true, true, "NEXTQUESTION"},
        {"feedback: the panel", true, false, "NEXTQUESTION", true, false, false, ""},
        {"Next Question's pass", true, true, "NEXTQUESTION", false, true, false, "NEXTQUESTION"},
        {"a pass without the action stays", true, true, "", false, false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool granted = c.granted;
        QString action = QString::fromLatin1(c.action);
        const AlertGate gate = wrongPracticeAnswer(c.ticked, granted, action);
        EXPECT_EQ(gate.raisePanel, c.raise);
        EXPECT_EQ(gate.moveOn, c.moveOn);
        EXPECT_EQ(granted, c.grantedAfter);
        EXPECT_EQ(action, QString::fromLatin1(c.actionAfter));
    }
}

TEST(ExamNavigation, TheCounterReadsPositionOfLength)
{
    EXPECT_EQ(questionCounterText(3, 40), QStringLiteral("3 of 40"));
}

} // namespace
