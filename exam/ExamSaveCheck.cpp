#include "exam/ExamSaveCheck.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/ProgressStore.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QFile>
#include <deque>
#include <exception>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

const QString kRefusal = QStringLiteral("This exam cannot start, because its results could not be saved.");
const QString kDamaged = QStringLiteral("This exam cannot start, because its exam database is damaged.");

// What an exam run writes to: progress, objectives, history and the
// practice selection.
const char* const kWrittenTables[] = {"Qe_Progress",           "Qe_LOS",   "Qe_UserHistoryDetail",
                                      "Qe_UserHistorySummary", "Qe_Category", "Qe_Chapters"};

// A file as the kernel keeps it. The change time follows every write and
// every change of the other times, so a stamp cannot be forged by setting
// the modification time back.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const
    {
        return device == other.device && inode == other.inode && size == other.size
            && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
            && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

std::optional<FileStamp> stampOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// Files whose whole check found nothing, most recent last; a few are enough
// for the exams of one session.
std::deque<FileStamp>& soundFiles()
{
    static std::deque<FileStamp> files;
    return files;
}

// The file the last call let through, as it was then.
std::optional<FileStamp>& lastPassed()
{
    static std::optional<FileStamp> stamp;
    return stamp;
}

bool knownSound(const FileStamp& stamp)
{
    for (const FileStamp& sound : soundFiles())
        if (sound == stamp)
            return true;
    return false;
}

void rememberSound(const FileStamp& stamp)
{
    if (knownSound(stamp))
        return;
    constexpr size_t kRemembered = 32;
    if (soundFiles().size() >= kRemembered)
        soundFiles().pop_front();
    soundFiles().push_back(stamp);
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
    for (const char* table : kWrittenTables) {
        if (!exam.hasTable(QLatin1String(table)))
            continue;
        if (QString damage = exam.quickCheckProblem(QLatin1String(table)); !damage.isEmpty()) {
            check.damage = damage;
            return check;
        }
    }
    const std::optional<FileStamp> before = stampOf(exam.path());
    if (before && knownSound(*before)) {
        lastPassed() = before;
        return check;
    }
    check.wholeChecked = true;
    check.damage = exam.quickCheckProblem();
    if (check.damage.isEmpty() && before && stampOf(exam.path()) == before)
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
        rememberSound(*check.sound);
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

void examFileWrittenByProgram(db::Connection& exam)
{
    // Only the file the last call let through as sound: anything else is
    // checked whole at the next call as before.
    const std::optional<FileStamp> passed = lastPassed();
    const std::optional<FileStamp> now = stampOf(exam.path());
    if (passed && now && passed->device == now->device && passed->inode == now->inode) {
        rememberSound(*now);
        lastPassed() = now;
    } else {
        lastPassed().reset();
    }
}

void forgetSoundExamFiles()
{
    soundFiles().clear();
    lastPassed().reset();
}
