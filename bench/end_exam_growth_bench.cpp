// Growth lines of End Exam: the progress write of 100 answers as the bank
// grows, and the learning-objective update as one objective's rows grow.
// Each line prints its ratio to the smallest size and to its floor (the
// same statements stepped through the C API).
#include "bench/BenchRegistry.h"

#include "exam/ExamProgress.h"
#include "exam/QuestionList.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/ProgressStore.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/SystemAccounts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <sqlite3.h>
#include <stdexcept>

namespace {

constexpr int kUser = 7;

// The system database whose account every write checks.
UserAccount benchAccount()
{
    static const SystemAccounts system{kUser};
    return system.account(kUser);
}

QuestionList hundredAnswers(int questions)
{
    QuestionList msflex;
    for (int i = 0; i < 100; ++i) {
        msflex.addQuestion(1 + i * (questions / 100), 1);
        msflex.setText(i + 1, colCorrect, i % 3 ? QStringLiteral("1") : QStringLiteral("0"));
        msflex.setText(i + 1, colNoAnswer, QStringLiteral("0"));
    }
    return msflex;
}

// Best of the runs, each on a fresh copy of the bank; only the write is timed.
template <typename Write> double onCopies(const QString& bankPath, Write&& write)
{
    const QTemporaryDir dir;
    const QString copy = QDir(dir.path()).filePath(QStringLiteral("copy.qzr"));
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        QFile::remove(copy);
        if (!QFile::copy(bankPath, copy))
            throw std::runtime_error("cannot copy the bank");
        db::Connection exam = db::Connection::openFile(copy);
        best = std::min(best, bench::bestOf(1, [&] { write(exam); }));
    }
    return best;
}

// The floor: the same statements the write runs for the exam, one step each,
// with the close of the pass when the answers complete it.
void bareEnd(sqlite3* db, const QuestionList& msflex, bool closesPass = false)
{
    const auto run = [db](const QString& sql, std::initializer_list<sqlite3_int64> values) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
        int i = 0;
        for (const sqlite3_int64 v : values)
            sqlite3_bind_int64(stmt, ++i, v);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
        }
        sqlite3_finalize(stmt);
    };
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    for (int row = 1; row <= msflex.questionCount(); ++row) {
        const int code = msflex.questionCode(row);
        const bool right = msflex.number(row, colCorrect) == 1;
        run(ProgressStore::currentPassRowSql(), {kUser, code});
        if (right) {
            run(ProgressStore::openObjectiveRowsWithEmptyKeySql(), {code});
            run(ProgressStore::markCompleteObjectivesSql(), {code, kUser});
        }
        run(ProgressStore::addCurrentPassRowSql(), {kUser, code, right, !right});
    }
    run(ProgressStore::correctCountThisPassSql(), {kUser});
    run(ProgressStore::lastPassNumberSql(), {kUser});
    if (closesPass) {
        run(ProgressStore::closeCurrentPassSql(), {1, kUser});
        run(ProgressStore::reopenAllObjectivesSql(), {});
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace

ZIDUVER_BENCH("growth: End Exam, 100 answers, 1,000 / 20,000 / 100,000 / 300,000 questions")
{
    double smallest = 0;
    double at20000 = 0;
    for (const int questions : {1000, 20000, 100000, 300000}) {
        ExamBankFixture bank;
        ExamBankFixture::Shape shape;
        shape.questions = questions;
        shape.progressRows = 10000;
        bank.generate(shape);
        const QuestionList msflex = hundredAnswers(questions);
        const double floor = onCopies(bank.path(), [&](db::Connection& exam) { bareEnd(exam.handle(), msflex); });
        // The run has counted the bank with its question set, at Start.
        const double ours = onCopies(bank.path(), [&](db::Connection& exam) {
            std::optional<int> bankQuestions = questions;
            UpdateProgress(exam, msflex, msflex.questionCount(), benchAccount(), &bankQuestions);
        });
        if (smallest == 0)
            smallest = ours;
        if (questions == 20000)
            at20000 = ours;
        if (at20000 == 0)
            std::printf("%d questions: %.2f ms (each question has a progress row; the larger banks hold 10,000)\n",
                        questions, ours);
        else
            std::printf("%d questions: %.2f ms, %.2fx of 1,000, %.2fx of 20,000 (target <= 1.5x)\n", questions, ours,
                        ours / smallest, ours / at20000);
        bench::report("End Exam, 100 answers (vs the same statements)", ours, floor, 1.5);
    }
}

ZIDUVER_BENCH("growth: objective update, one objective of 2,000 / 8,000 rows")
{
    double smallest = 0;
    for (const int rows : {2000, 8000}) {
        ExamBankFixture bank;
        const int questions = rows / 2;
        bank.questions(1, questions, 1);
        {
            db::Transaction transaction(bank.conn());
            // Every question holds the objective and has two open rows; all
            // but the answered one are right in the pass already.
            for (int code = 1; code <= questions; ++code) {
                bank.writer().addLearningObjective({code, 1, 1, QStringLiteral("a"), QStringLiteral("a"), 0});
                bank.writer().addLearningObjective({code, 2, code, QStringLiteral("a"), QStringLiteral("a"), 0});
                if (code > 1)
                    bank.progress(kUser, code, ExamBankFixture::Verdict::Right);
            }
            transaction.commit();
        }
        QuestionList msflex;
        msflex.addQuestion(1, 1);
        msflex.setText(1, colCorrect, QStringLiteral("1"));
        msflex.setText(1, colNoAnswer, QStringLiteral("0"));
        // The answer makes every question right: the pass closes.
        const double floor =
            onCopies(bank.path(), [&](db::Connection& exam) { bareEnd(exam.handle(), msflex, true); });
        const double ours = onCopies(bank.path(), [&](db::Connection& exam) {
            std::optional<int> bankQuestions = questions;
            UpdateProgress(exam, msflex, 1, benchAccount(), &bankQuestions);
        });
        if (smallest == 0)
            smallest = ours;
        std::printf("%d objective rows: %.2f ms, %.2fx of 2,000 (linear: <= 4x; target under 1500 ms)\n", rows, ours, ours / smallest);
        bench::report("objective update (vs the same statements)", ours, floor, 1.5);
    }
}
