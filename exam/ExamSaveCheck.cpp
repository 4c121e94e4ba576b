#include "exam/ExamSaveCheck.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/ProgressStore.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <exception>

namespace {

const QString kRefusal = QStringLiteral("This exam cannot start, because its results could not be saved.");

} // namespace

QString examSaveRefusal(db::Connection& exam)
{
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
