#pragma once

#include <chrono>
#include <functional>
#include <optional>

class ExamSession;
class QObject;

// The end of one exam, whichever way it comes: End Exam, the activation
// guard's close, another window's unload, or the end of the program or of
// the desktop session. It writes the exam's progress once; a write that
// fails keeps everything the exam holds and, when someone may be asked,
// offers to try again until it succeeds or the user gives the answers up.
class ExamEnd {
public:
    enum class Asking {
        User,   // a failure is shown with "Try again?"
        Nobody, // the program ends: a lock is waited for a bounded time, then
                // the answers are kept for the next login; nothing is asked
    };

    explicit ExamEnd(ExamSession& session);
    ~ExamEnd();
    ExamEnd(const ExamEnd&) = delete;
    ExamEnd& operator=(const ExamEnd&) = delete;

    // Writes the progress unless it is settled. True when it is written, or
    // there was nothing to write; false when it could not be written and the
    // user gave it up (the user was told once that the answers are lost),
    // nobody could be asked (the answers are then kept for the next login),
    // or the user's account was removed (he is told, nothing is written or
    // kept and the progress is settled).
    bool writeProgress(Asking asking, QObject* owner);
    // The window closes by any other way than End Exam (which writes
    // itself): the same write, asking nobody when the program ends.
    void writeProgressBeforeClosing(QObject* owner);
    // The progress was written, or given up by the user: nothing more is
    // written for this exam.
    bool settled() const { return m_settled; }

    // While an exam runs, how its window closes without a question; cleared
    // by passing nothing. The exam is the one endRunningExam() ends.
    void setQuietClose(std::function<void()> close);
    // The program or the desktop session ends: the running exam, if any,
    // writes what End Exam writes and its window closes, asking nothing.
    static void endRunningExam();

private:
    // The write failed as the program ends: the answers are kept for the
    // user's next login to the exam.
    void keepAnswers();

    ExamSession& m_session;
    std::function<void()> m_quietClose;
    // Set as the program ends: the time by which the exam's end is done.
    std::optional<std::chrono::steady_clock::time_point> m_endingDeadline;
    bool m_settled = false;
};
