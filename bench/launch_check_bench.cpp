// The launch's save check on a large exam: the damage check (quick_check)
// reads every page, so its cost grows with the bank.
#include "bench/BenchBanks.h"
#include "bench/BenchRegistry.h"

#include "exam/ExamSaveCheck.h"
#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "tools/mkdata/ExamGenerator.h"

#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

constexpr int kQuestions = 20000;
constexpr double kTargetMs = 100.0;

} // namespace

ZIDUVER_BENCH("launch: save check of a 20,000-question exam")
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("exam.qzr"));
    {
        db::Connection exam = db::Connection::create(path);
        schema::createExamDatabase(exam);
        generateExam(exam, kQuestions, 1);
    }

    // The floor: the damage check alone, through bare C API calls.
    const double floor = bench::bestOfOnOwnHandle(5, path, [](sqlite3* handle) {
        long long sink = 0;
        sqlite3_stmt* statement = bench::prepare(handle, QStringLiteral("PRAGMA quick_check(1)"));
        bench::stepAll(statement, sink);
        sqlite3_finalize(statement);
    });
    db::Connection exam = db::Connection::openFile(path);
    QString refusal;
    const double ours = bench::bestOf(5, [&] { refusal = examSaveRefusal(exam); });
    if (!refusal.isEmpty())
        std::printf("  the check refused the bench exam: %s\n", qPrintable(refusal));
    bench::report("save check incl. quick_check (vs bare quick_check)", ours, floor, 1.5);
    std::printf("%-58s %9.2f ms  (target < %.0f ms) %s\n", "save check incl. quick_check, 20,000 questions", ours,
                kTargetMs, ours < kTargetMs ? "ok" : "OVER");
}
