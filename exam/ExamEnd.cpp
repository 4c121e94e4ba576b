#include "exam/ExamEnd.h"

#include "exam/ExamProgress.h"
#include "exam/ExamSaveCheck.h"
#include "exam/ExamSession.h"
#include "exam/KeptAnswers.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/SharedState.h"
#include "foundation/UserWrite.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <chrono>
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

// As the program ends, a write that another program's lock holds up is
// tried again for this long in all; a desktop gives a session's end about
// 10 to 20 seconds.
constexpr auto kEndingWriteBound = std::chrono::milliseconds(5000);

bool heldByAnotherProgram(const ProgressWriteResult& result)
{
    if (!result.failure)
        return false;
    try {
        std::rethrow_exception(result.failure);
    } catch (const db::DbError& error) {
        return error.errorClass() == db::ErrorClass::Busy;
    } catch (...) {
    }
    return false;
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
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = m_endingDeadline.value_or(Clock::now() + kEndingWriteBound);
    for (;;) {
        if (asking == Asking::Nobody && m_session.ExamConn.isOpen()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            m_session.ExamConn.setBusyTimeout(int(std::max<qint64>(left.count(), 0)));
        }
        const UserAccount account{m_session.launch.gQuizUserCode, m_session.launch.gQuizSysConnStr};
        OwnExamWrite ownWrite(m_session.ExamConn);
        const ProgressWriteResult result = UpdateProgress(
            m_session.ExamConn, m_session.msflex, m_session.QuestionsReached, account, &m_session.bankQuestionCount);
        if (result.saved) {
            ownWrite.done();
            m_settled = true;
            if (result.passKeptOpen && asking == Asking::User)
                ShowMessage(passKeptOpenText(m_session.ExamConn.isOpen() ? m_session.ExamConn.path()
                                                                         : m_session.launch.gQuizExamDbPath),
                            gLogin.gAppName, OneButton, owner);
            return true;
        }
        // UpdateProgress has logged the failure; the database is as it was.
        // An account that is gone stays gone: the exam ends without its
        // answers, none are kept for a login that cannot come, and no try
        // again can help.
        if (isAccountRemoved(result.failure)) {
            m_settled = true;
            if (asking == Asking::User)
                ShowMessage(accountRemovedText(QStringLiteral("The results of this exam could not be saved.")),
                            gLogin.gAppName, OneButton, owner);
            return false;
        }
        if (asking == Asking::Nobody) {
            if (heldByAnotherProgram(result) && Clock::now() < deadline) {
                QThread::msleep(50);
                continue;
            }
            keepAnswers();
            return false;
        }
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

void ExamEnd::keepAnswers()
{
    // Nobody can be asked: the answers go to a keep file beside the system
    // database, written at the user's next login to this exam.
    m_settled = true;
    KeptAnswers kept;
    kept.userCode = m_session.launch.gQuizUserCode;
    kept.examCode = gLogin.gExamCode;
    kept.keptAt = QDateTime::currentDateTime();
    kept.answers = keptanswers::fromQuestionList(m_session.msflex, m_session.QuestionsReached);
    if (kept.answers.empty())
        return;
    const QString folder = QFileInfo(gStartup.gSysDbPath).absolutePath();
    QString path;
    const QString problem = keptanswers::keep(folder, kept, &path);
    if (problem.isEmpty())
        WriteLog(QStringLiteral("The exam's %1 answer(s) could not be written and are kept in %2 : keepAnswers : "
                                "Date/Time :")
                     .arg(kept.answers.size())
                     .arg(QDir::toNativeSeparators(path))
                 + logDateTime());
    else
        WriteLog(QStringLiteral("The exam's %1 answer(s) could not be written nor kept in %2 (%3); they are lost : "
                                "keepAnswers : Date/Time :")
                     .arg(kept.answers.size())
                     .arg(QDir::toNativeSeparators(path), problem)
                 + logDateTime());
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
    // The bound holds for the whole end: the check of the answer on screen
    // reads the exam database before the write.
    end->m_endingDeadline = std::chrono::steady_clock::now() + kEndingWriteBound;
    if (end->m_session.ExamConn.isOpen())
        end->m_session.ExamConn.setBusyTimeout(int(kEndingWriteBound.count()));
    // The window checks the answer on screen and writes as it closes.
    const std::function<void()> close = std::exchange(end->m_quietClose, {});
    if (close)
        close();
}
