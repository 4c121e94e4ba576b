#pragma once

#include <optional>
#include <vector>

// Where a running exam is, from its load to its end, and the rules that
// follow from it. The exam window shows what the run says and asks it before
// a command starts; the run holds no control.
//
// The phases stack: a command's own phase lies over the phase it started in
// and gives it back when it is done (End Exam's answer check over End Exam,
// over the question; the marked panel over review).
class ExamRun {
public:
    enum class Phase {
        Loading,       // the question set is being built; nothing is on screen yet
        Answering,     // a question is on screen and its answer is checked
        Checking,      // the answer on screen is being read and judged (timers run meanwhile)
        Paused,        // Take a break: the clock stands and the question is covered
        PickingMarked, // the marked-questions panel lies over the question
        Reviewing,     // review mode: nothing is judged any more, right answers may be shown
        ReviewList,    // the review list is open
        Ending,        // End Exam runs: it asks, writes the progress and shows the result
        Ended,         // the exam has ended and its window goes
    };

    // Every way an exam ends.
    enum class EndReason {
        NothingToRun,    // the load found nothing to run
        EndExam,         // End Exam, after its question and its write
        Passed,          // the adaptive exam reached its pass score at a check
        ReviewEnded,     // the review list ended the exam, or an adaptive review closed without a choice
        OtherWindow,     // another window unloaded the exam
        ActivationGuard, // the window came back without leaving it as the exam does
        WindowClosed,    // the window was closed from code, or by the program's or session's end
    };

    // How an answer check ended.
    enum class CheckResult {
        Judged,  // the answer was judged and recorded
        Skipped, // review mode: nothing judged
        Refused, // a check already runs: nothing judged, the caller stops
        Ended,   // the exam was passed and ends: the caller stops
        Failed,  // the answer could not be recorded (the user was told): a move stays
    };

    // What end() asks of the window.
    enum class EndStep {
        Teardown,     // tear down now
        Deferred,     // a modal window of the exam is open: tear down once it returns
        AlreadyEnded, // nothing more to do
    };

    Phase phase() const { return m_stack.back().phase; }
    // The phase is on the stack, under the top one or as it.
    bool in(Phase phase) const;
    static const char* phaseName(Phase phase);

    // The first question is on screen.
    void started();

    // End Exam runs or has run.
    bool ending() const { return in(Phase::Ending) || ended(); }
    // A check or End Exam runs, or the exam has ended: no other command starts.
    bool busy() const { return in(Phase::Checking) || ending(); }
    bool ended() const { return phase() == Phase::Ended; }
    // The exam has ended or will once the open modal window returns.
    bool closing() const { return ended() || m_pendingEnd.has_value(); }

    // The answer check. begin: false when one runs already (the result is
    // Refused). finish: the result as the callers read it; a failed check
    // keeps the page on screen at the next return to the window.
    bool beginCheck();
    void finishCheck(CheckResult result);
    // The command that asked for the check goes on.
    static bool goesOn(CheckResult result) { return result == CheckResult::Judged || result == CheckResult::Skipped; }
    std::optional<CheckResult> lastCheck() const { return m_lastCheck; }
    // Another question came on screen.
    void questionShown() { m_keepPage = false; }
    // Once: the return from a failed check's message keeps the page.
    bool takeKeptPage();

    // The count-down reached zero. True when the exam goes into review now;
    // false when a check runs: timeOverDue() says so once the check is done.
    bool timeRanOut();
    bool takeTimeOverDue();

    // A break or the marked panel lies over the run, with the clock's state
    // when it began; release gives back whether the clock ran.
    void hold(Phase phase, bool clockRan);
    bool release(Phase phase);

    // Review mode begins: nothing is judged from now on.
    void enterReview();
    // Review has begun; it holds to the end of the run, the end included,
    // so that the teardown still knows nothing is to be judged.
    bool reviewing() const { return m_reviewBegan; }
    void enter(Phase phase);
    void leave(Phase phase);

    // End Exam: false when it may not start (it runs already, a check runs,
    // or the exam has ended). declined: the exam goes on where it was.
    bool beginEnd();
    void endDeclined();
    // Every end passes here: the teardown is done once. An end asked for by
    // a command waits for the exam's open modal window to return; the
    // window's own events (closed, activated, nothing to run) end at once.
    EndStep end(EndReason reason, bool modalOpen);
    static bool waitsForModal(EndReason reason);
    // The end asked for under a modal window, until it is done.
    std::optional<EndReason> pendingEnd() const { return m_pendingEnd; }
    std::optional<EndReason> endReason() const { return m_endReason; }
    // The main window comes back after this end (a close from code or by
    // the program's end brings nothing back).
    static bool returnsToMainWindow(EndReason reason) { return reason != EndReason::WindowClosed; }

private:
    struct Layer {
        Phase phase;
        bool clockRan = false;
    };
    std::vector<Layer> m_stack{{Phase::Loading}};
    std::optional<CheckResult> m_lastCheck;
    std::optional<EndReason> m_pendingEnd;
    std::optional<EndReason> m_endReason;
    bool m_keepPage = false;
    bool m_reviewBegan = false;
    bool m_timeOverDue = false;
};
