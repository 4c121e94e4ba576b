#include "exam/ExamEnd.h"

#include "exam/ExamProgress.h"
#include "exam/ExamSession.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/SharedState.h"
#include "foundation/UserWrite.h"

#include <exception>
#include <limits>
#include <utility>

namespace {

ExamEnd*& runningEnd()
{
    static ExamEnd* running = nullptr;
    return running;
}

QString failureText(const ProgressWriteResult& result, const QString& path)
{
    const QString what = QStringLiteral("The results of this exam could not be saved.");
    if (result.failure) {
        try {
            std::rethrow_exception(result.failure);
        } catch (const std::exception& error) {
            return databaseProblemText(what, path, error, DatabaseUse::Writing);
        } catch (...) {
        }
    }
    return what + QStringLiteral("\r\nThe exam database ") + path + QStringLiteral(" could not be written.");
}

QString passKeptOpenText(const QString& path)
{
    return QStringLiteral("The answers of this exam are saved, but the pass in progress could not be closed.\r\n"
                          "The exam database ")
        + path
        + QStringLiteral(" already holds a pass of yours numbered %1 or more, the highest number the program can "
                         "keep. The pass stays open; clear this exam's history to start counting passes again.")
              .arg(std::numeric_limits<int>::max());
}

} // namespace

ExamEnd::ExamEnd(ExamSession& session) : m_session(session)
{
}

ExamEnd::~ExamEnd()
{
    if (runningEnd() == this)
        runningEnd() = nullptr;
}

bool ExamEnd::writeProgress(Asking asking, QObject* owner)
{
    if (m_settled || m_session.questionCount() == 0)
        return true;
    for (;;) {
        const UserAccount account{m_session.launch.gQuizUserCode, m_session.launch.gQuizSysConnStr};
        const ProgressWriteResult result = UpdateProgress(
            m_session.ExamConn, m_session.msflex, m_session.QuestionsReached, account, &m_session.bankQuestionCount);
        if (result.saved) {
            m_settled = true;
            if (result.passKeptOpen && asking == Asking::User)
                ShowMessage(passKeptOpenText(m_session.ExamConn.isOpen() ? m_session.ExamConn.path()
                                                                         : m_session.launch.gQuizExamDbPath),
                            gLogin.gAppName, OneButton, owner);
            return true;
        }
        // UpdateProgress has logged the failure; the database is as it was.
        // An account that is gone stays gone: the exam ends without its
        // answers, and no try again can help.
        if (isAccountRemoved(result.failure)) {
            m_settled = true;
            if (asking == Asking::User)
                ShowMessage(accountRemovedText(QStringLiteral("The results of this exam could not be saved.")),
                            gLogin.gAppName, OneButton, owner);
            return false;
        }
        if (asking == Asking::Nobody)
            return false;
        const QString path = m_session.ExamConn.isOpen() ? m_session.ExamConn.path() : m_session.launch.gQuizExamDbPath;
        const short answer = ShowMessage(failureText(result, path) + QStringLiteral("\r\n\r\nTry again?"),
                                         gLogin.gAppName, YesNo, owner);
        // The program's end came while the question was up: it has written
        // (or tried) without asking, and nobody is left to answer.
        if (m_settled || programEnding())
            return m_settled;
        if (answer == ResultYes)
            continue;
        m_settled = true;
        ShowMessage(QStringLiteral("The answers of this exam were not saved and are lost."), gLogin.gAppName, OneButton,
                    owner);
        return false;
    }
}

void ExamEnd::writeProgressBeforeClosing(QObject* owner)
{
    // Every way out of an exam that ran writes what End Exam writes: the
    // activation guard, another window's unload, the program's end, a pass
    // reached early.
    if (m_settled || m_session.questionCount() == 0)
        return;
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("The exam closes without End Exam; its progress is written : unload : frmZiduver : "
                                "Date/Time :")
                 + logDateTime());
    writeProgress(programEnding() ? Asking::Nobody : Asking::User, owner);
}

void ExamEnd::setQuietClose(std::function<void()> close)
{
    m_quietClose = std::move(close);
    if (m_quietClose)
        runningEnd() = this;
    else if (runningEnd() == this)
        runningEnd() = nullptr;
}

void ExamEnd::endRunningExam()
{
    ExamEnd* end = runningEnd();
    if (!end)
        return;
    // Once: the close may run an event loop in which the end is asked again.
    runningEnd() = nullptr;
    // The window checks the answer on screen and writes as it closes.
    const std::function<void()> close = std::exchange(end->m_quietClose, {});
    if (close)
        close();
}
