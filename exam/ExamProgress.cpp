#include "exam/ExamProgress.h"

#include "exam/QuestionList.h"
#include "foundation/DebugLog.h"
#include "foundation/ProgressStore.h"
#include "foundation/UserWrite.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>

namespace {

void logError(const QString& text, const char* procedure)
{
    WriteLog(text + QStringLiteral(" : ") + QLatin1String(procedure) + QStringLiteral(" : frmZiduver : Date/Time :")
             + logDateTime());
}

// The question was answered right: each objective it holds open is
// achieved, on all its rows, once every question tied to it is right in the
// user's pass in progress. A row that names no whole objective cannot be
// judged; the question's other rows and the rest of the exam still are.
void UpdateLosStatus(ProgressStore& store, int userCode, int questCode)
{
    for (const ProgressStore::ObjectiveRow& row : store.openObjectiveRowsWithEmptyKey(questCode))
        logError(QStringLiteral("Learning objective row %1 of question %2 has an empty key and was skipped")
                     .arg(row.rowId)
                     .arg(questCode),
                 "UpdateLosStatus");
    store.markCompleteObjectives(userCode, questCode);
}

// Right answers in percent of the bank, halves to the even neighbour.
int passPercent(int right, int total)
{
    if (right == 0 || total == 0)
        return 0;
    return int(std::nearbyint(double(right) / double(total) * 100.0));
}

// The thresholds rise over the first three passes and stay at the last.
int passThreshold(qint64 lastPass)
{
    return lastPass <= 0 ? 85 : lastPass == 1 ? 90 : 95;
}

void CheckPassCompletion(ProgressStore& store, int userCode, std::optional<int>* bankQuestions,
                         ProgressWriteResult& result)
{
    std::optional<int> read;
    std::optional<int>& known = bankQuestions ? *bankQuestions : read;
    if (!known)
        known = store.GetTotalQuestionCount();
    const int total = *known;
    const int right = store.GetCorrectCountThisPass(userCode);
    const qint64 last = store.GetLastPassNumber(userCode);
    result.percent = passPercent(right, total);
    if (result.percent < passThreshold(last))
        return;
    // Pass numbers are read back as 32-bit numbers: past the highest the
    // pass cannot be closed, and its rows stay as they are.
    if (last >= std::numeric_limits<int>::max()) {
        result.passKeptOpen = true;
        return;
    }
    store.closeCurrentPass(userCode, last + 1);
    store.reopenAllObjectives();
    result.passClosed = true;
}

// The row carries exactly the flags the verdict writes.
bool holdsVerdict(const ProgressStore::CurrentPassRow& row, bool right)
{
    const auto is = [](const QVariant& flag, int value) { return !flag.isNull() && flag.toDouble() == value; };
    return is(row.correct, right ? 1 : 0) && is(row.wrong, right ? 0 : 1) && is(row.noAnswer, 0);
}

void writeProgress(db::Connection& exam, const QuestionList& msflex, int questionsReached, int userCode,
                   std::optional<int>* bankQuestions, ProgressWriteResult& result)
{
    ProgressStore store(exam);
    const int last = std::min(questionsReached, msflex.questionCount());
    for (int i = 1; i <= last; ++i) {
        // A question reached but never checked has an empty column: it is
        // not recorded, nor is one checked without an answer.
        if (msflex.text(i, colNoAnswer).trimmed() != QLatin1String("0"))
            continue;
        const int questCode = msflex.questionCode(i);
        const bool right = msflex.number(i, colCorrect) == 1;
        const std::optional<ProgressStore::CurrentPassRow> row = store.currentPassRow(userCode, questCode);
        if (right)
            UpdateLosStatus(store, userCode, questCode);
        if (!row) {
            store.addCurrentPassRow(userCode, questCode, right);
            ++result.rowsWritten;
            continue;
        }
        // A question once right stays right for the rest of the pass.
        if (!right && row->isRight())
            continue;
        if (!holdsVerdict(*row, right)) {
            store.setVerdict(row->rowId, right);
            ++result.rowsWritten;
        }
    }
    CheckPassCompletion(store, userCode, bankQuestions, result);
}

} // namespace

ProgressWriteResult UpdateProgress(db::Connection& exam, const QuestionList& msflex, int questionsReached,
                                   const UserAccount& account, std::optional<int>* bankQuestions)
{
    ProgressWriteResult result;
    try {
        UserWrite write(exam, account);
        writeProgress(exam, msflex, questionsReached, account.userCode, bankQuestions, result);
        write.commit();
    } catch (const std::exception& error) {
        const auto* dbError = dynamic_cast<const db::DbError*>(&error);
        result = ProgressWriteResult{};
        result.saved = false;
        result.error = dbError ? dbError->message() : QString::fromUtf8(error.what());
        result.failure = std::current_exception();
        logError(result.error, "UpdateProgress");
    } catch (...) {
        result = ProgressWriteResult{};
        result.saved = false;
        result.error = QStringLiteral("Unknown error");
        logError(result.error, "UpdateProgress");
    }
    return result;
}
