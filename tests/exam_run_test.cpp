#include "exam/ExamRun.h"

#include <gtest/gtest.h>

namespace {

using Phase = ExamRun::Phase;
using Reason = ExamRun::EndReason;
using Check = ExamRun::CheckResult;

// A run through its phases: each command's phase lies over the one it began
// in and gives it back; review takes the question's place under whatever
// lies over it; the end clears everything.
TEST(ExamRun, CommandsLieOverThePhaseTheyBeganInAndGiveItBack)
{
    ExamRun run;
    EXPECT_EQ(run.phase(), Phase::Loading);
    run.started();
    EXPECT_EQ(run.phase(), Phase::Answering);
    EXPECT_FALSE(run.busy());

    // End Exam's own check: a second check or End Exam is refused meanwhile.
    ASSERT_TRUE(run.beginEnd());
    EXPECT_FALSE(run.beginEnd());
    ASSERT_TRUE(run.beginCheck());
    EXPECT_EQ(run.phase(), Phase::Checking);
    EXPECT_FALSE(run.beginCheck());
    run.finishCheck(Check::Judged);
    EXPECT_EQ(run.phase(), Phase::Ending);
    EXPECT_TRUE(run.busy());
    run.endDeclined();
    EXPECT_EQ(run.phase(), Phase::Answering);
    EXPECT_FALSE(run.busy());

    // The marked panel keeps the clock's state; the time runs out under it
    // and review takes the question's place, the panel still over it.
    run.hold(Phase::PickingMarked, true);
    run.enterReview();
    EXPECT_EQ(run.phase(), Phase::PickingMarked);
    EXPECT_TRUE(run.reviewing());
    EXPECT_TRUE(run.release(Phase::PickingMarked));
    EXPECT_EQ(run.phase(), Phase::Reviewing);
    EXPECT_FALSE(run.release(Phase::PickingMarked)) << "a panel that is not open gives back no running clock";
    run.hold(Phase::Paused, false);
    EXPECT_FALSE(run.release(Phase::Paused));

    // The end clears every layer; nothing lies over it afterwards.
    ASSERT_TRUE(run.beginEnd());
    EXPECT_EQ(run.end(Reason::EndExam, false), ExamRun::EndStep::Teardown);
    EXPECT_EQ(run.phase(), Phase::Ended);
    EXPECT_TRUE(run.reviewing()) << "the teardown still knows the review began";
    run.hold(Phase::Paused, true);
    run.enterReview();
    EXPECT_EQ(run.phase(), Phase::Ended);
    EXPECT_FALSE(run.beginCheck());
    EXPECT_FALSE(run.beginEnd());
}

// Every way an exam ends tears down once. An end a command asks for under a
// modal window of the exam waits for it to return and the run says it is
// closing meanwhile; the window's own events end it at once.
TEST(ExamRun, EveryEndTearsDownOnceAndOnlyACommandsEndWaitsForTheModalWindow)
{
    const struct {
        Reason reason;
        bool waits;
        bool returns;
    } cases[] = {
        {Reason::EndExam, true, true},          {Reason::Passed, true, true},
        {Reason::ReviewEnded, true, true},      {Reason::OtherWindow, true, true},
        {Reason::NothingToRun, false, true},    {Reason::ActivationGuard, false, true},
        {Reason::WindowClosed, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.reason));
        ExamRun run;
        run.started();
        EXPECT_EQ(ExamRun::returnsToMainWindow(c.reason), c.returns);
        if (c.waits) {
            EXPECT_EQ(run.end(c.reason, true), ExamRun::EndStep::Deferred);
            EXPECT_TRUE(run.closing());
            EXPECT_FALSE(run.ended());
            // A second end under the same window keeps the first reason.
            EXPECT_EQ(run.end(Reason::OtherWindow, true), ExamRun::EndStep::Deferred);
            ASSERT_TRUE(run.pendingEnd());
            EXPECT_EQ(*run.pendingEnd(), c.reason);
        }
        EXPECT_EQ(run.end(c.reason, c.waits ? false : true), ExamRun::EndStep::Teardown);
        EXPECT_EQ(run.endReason(), c.reason);
        EXPECT_FALSE(run.pendingEnd());
        EXPECT_TRUE(run.closing());
        for (const Reason again : {Reason::WindowClosed, Reason::EndExam, Reason::ActivationGuard})
            EXPECT_EQ(run.end(again, false), ExamRun::EndStep::AlreadyEnded);
        EXPECT_EQ(run.endReason(), c.reason);
    }
}

// The check's result as every caller reads it: the command goes on only when
// the answer was judged or review skipped it; a failed check keeps the page
// once, until another question is shown; the time running out inside a
// check is due once the check is done, once.
TEST(ExamRun, TheChecksResultDecidesTheCommandKeepsAFailedPageAndDefersTheTimeOver)
{
    const std::pair<Check, bool> goesOn[] = {{Check::Judged, true},  {Check::Skipped, true}, {Check::Refused, false},
                                             {Check::Ended, false},  {Check::Failed, false}};
    for (const auto& [result, on] : goesOn)
        EXPECT_EQ(ExamRun::goesOn(result), on) << static_cast<int>(result);

    ExamRun run;
    run.started();
    ASSERT_TRUE(run.beginCheck());
    run.finishCheck(Check::Failed);
    EXPECT_EQ(run.lastCheck(), Check::Failed);
    EXPECT_TRUE(run.takeKeptPage());
    EXPECT_FALSE(run.takeKeptPage()) << "kept once";
    ASSERT_TRUE(run.beginCheck());
    run.finishCheck(Check::Failed);
    run.questionShown();
    EXPECT_FALSE(run.takeKeptPage()) << "another question was shown";
    ASSERT_TRUE(run.beginCheck());
    run.finishCheck(Check::Judged);
    EXPECT_FALSE(run.takeKeptPage());

    EXPECT_TRUE(run.timeRanOut()) << "outside a check the review begins at once";
    EXPECT_FALSE(run.takeTimeOverDue());
    ASSERT_TRUE(run.beginCheck());
    EXPECT_FALSE(run.timeRanOut());
    EXPECT_FALSE(run.takeTimeOverDue()) << "not while the check runs";
    run.finishCheck(Check::Judged);
    EXPECT_TRUE(run.takeTimeOverDue());
    EXPECT_FALSE(run.takeTimeOverDue());
}

} // namespace
