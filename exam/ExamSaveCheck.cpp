#include "exam/ExamSaveCheck.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/ProgressStore.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <exception>
#include <optional>
#include <sqlite3.h>

namespace {

const QString kRefusal = QStringLiteral("This exam cannot start, because its results could not be saved.");
const QString kDamaged = QStringLiteral("This exam cannot start, because its exam database is damaged.");

} // namespace

QString examSaveRefusal(db::Connection& exam)
{
    // A damaged page anywhere would otherwise be found only by End Exam's
    // write, and the exam's answers lost with it.
    try {
        if (const QString damage = exam.quickCheckProblem(); !damage.isEmpty()) {
            WriteLog(QStringLiteral("quick_check: ") + damage + QStringLiteral(": ") + exam.path()
                     + QStringLiteral(": examSaveRefusal: ") + logDateTime());
            return databaseProblemText(kDamaged, exam.path(),
                                       db::DbError(db::ErrorClass::Other, SQLITE_CORRUPT, damage));
        }
    } catch (const db::DbError& error) {
        const int cause = error.sqliteCode() & 0xff;
        return databaseProblemText(cause == SQLITE_CORRUPT || cause == SQLITE_NOTADB ? kDamaged : kRefusal, exam.path(),
                                   error);
    } catch (const std::exception& error) {
        return databaseProblemText(kRefusal, exam.path(), error);
    }
    // A key the answer check cannot read as stored would credit a wrong
    // choice or none: the question is refused by name instead.
    try {
        if (const std::optional<ExamBank::ChoiceKeyFault> fault = ExamBank(exam).choiceKeyFault()) {
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
