#include "exam/ExamSaveCheck.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/FileStamp.h"
#include "foundation/ProgressStore.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <exception>
#include <optional>
#include <sqlite3.h>

namespace {

const QString kRefusal = QStringLiteral("This exam cannot start, because its results could not be saved.");
const QString kDamaged = QStringLiteral("This exam cannot start, because its exam database is damaged.");

// What an exam run writes to: progress, objectives, history and the
// practice selection.
const char* const kWrittenTables[] = {"Qe_Progress",           "Qe_LOS",   "Qe_UserHistoryDetail",
                                      "Qe_UserHistorySummary", "Qe_Category", "Qe_Chapters"};

// Files whose whole check found nothing; a few are enough for the exams of
// one session.
SoundFileStamps& soundFiles()
{
    static SoundFileStamps files(32);
    return files;
}

// The file the last call let through, as it was then.
std::optional<FileStamp>& lastPassed()
{
    static std::optional<FileStamp> stamp;
    return stamp;
}

// The damage check: the written tables always, the whole file unless this
// very file was found sound before. `wholeChecked` says the whole file was
// read; `sound` holds its stamp when it did not change while it was read,
// to be remembered once every check of the whole file has passed.
struct DamageCheck {
    QString damage;
    bool wholeChecked = false;
    std::optional<FileStamp> sound;
};

DamageCheck damageOf(db::Connection& exam)
{
    DamageCheck check;
    // A file as it was when it was found sound, or as the program's own
    // write left it since, is not read again: nothing else has changed it.
    // A write-ahead-log file has no stamp that says so: it is read each time.
    const std::optional<FileStamp> before = databaseFileStampOf(exam);
    if (before && soundFiles().knows(*before)) {
        lastPassed() = before;
        return check;
    }
    for (const char* table : kWrittenTables) {
        if (!exam.hasTable(QLatin1String(table)))
            continue;
        if (QString damage = exam.quickCheckProblem(QLatin1String(table)); !damage.isEmpty()) {
            check.damage = damage;
            return check;
        }
    }
    check.wholeChecked = true;
    check.damage = exam.quickCheckProblem();
    if (check.damage.isEmpty() && before && fileStampOf(exam.path()) == before)
        check.sound = before;
    return check;
}

} // namespace

QString examSaveRefusal(db::Connection& exam)
{
    // A damaged page anywhere would otherwise be found only by End Exam's
    // write, and the exam's answers lost with it.
    lastPassed().reset();
    DamageCheck check;
    try {
        check = damageOf(exam);
        if (!check.damage.isEmpty()) {
            WriteLog(QStringLiteral("quick_check: ") + check.damage + QStringLiteral(": ") + exam.path()
                     + QStringLiteral(": examSaveRefusal: ") + logDateTime());
            return databaseProblemText(kDamaged, exam.path(),
                                       db::DbError(db::ErrorClass::Other, SQLITE_CORRUPT, check.damage));
        }
    } catch (const db::DbError& error) {
        const int cause = error.sqliteCode() & 0xff;
        return databaseProblemText(cause == SQLITE_CORRUPT || cause == SQLITE_NOTADB ? kDamaged : kRefusal, exam.path(),
                                   error);
    } catch (const std::exception& error) {
        return databaseProblemText(kRefusal, exam.path(), error);
    }
    // A key the answer check cannot read as stored would credit a wrong
    // choice or none: the question is refused by name instead. It reads every
    // choice, so it runs with the whole-file check, once per change of the file.
    try {
        const std::optional<ExamBank::ChoiceKeyFault> fault
            = check.wholeChecked ? ExamBank(exam).choiceKeyFault() : std::nullopt;
        if (fault) {
            const QString question = QString::number(fault->questCode);
            const QString why = fault->markNotNumber
                ? QStringLiteral("a choice of question %1 is marked right or wrong by a text, not by a number")
                      .arg(question)
                : QStringLiteral("question %1 has two choices numbered %2, one right and one wrong, which cannot "
                                 "be told apart")
                      .arg(question)
                      .arg(fault->seq);
            return QStringLiteral("This exam cannot start, because %1.\r\nThe exam database %2 must be corrected "
                                  "by its author.")
                .arg(why, exam.path());
        }
    } catch (const std::exception& error) {
        return databaseProblemText(kRefusal, exam.path(), error);
    }
    if (check.sound) {
        soundFiles().remember(*check.sound);
        lastPassed() = check.sound;
    }
    try {
        ProgressStore(exam).prepareAll();
    } catch (const std::exception& error) {
        return databaseProblemText(kRefusal, exam.path(), error);
    }
    try {
        db::proveWritable(exam);
    } catch (const std::exception& error) {
        return databaseProblemText(kRefusal, exam.path(), error, DatabaseUse::Writing);
    }
    return {};
}

OwnExamWrite::OwnExamWrite(const db::Connection& exam) : m_path(exam.path())
{
    const std::optional<FileStamp> now = fileStampOf(m_path);
    if (now && lastPassed() && *now == *lastPassed())
        m_before = now;
}

void OwnExamWrite::done()
{
    // Only a write that started from the very file the check let through:
    // a file changed by anyone else since is checked whole at the next call.
    const std::optional<FileStamp> now = m_before ? fileStampOf(m_path) : std::nullopt;
    if (now && m_before->sameFile(*now)) {
        soundFiles().remember(*now);
        lastPassed() = now;
        // The program's writes to an exam file never change its questions.
        ExamBank::questionsUnchangedAcross(*m_before, *now);
    } else {
        lastPassed().reset();
    }
    m_before.reset();
}

void forgetSoundExamFiles()
{
    soundFiles().clear();
    lastPassed().reset();
}
