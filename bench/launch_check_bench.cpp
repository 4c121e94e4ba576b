// The launch's save check as the bank grows: the whole file is checked once
// per change of it (the tables an exam writes first), and a file unchanged
// since, or changed only by the program's own write, is not read again, so
// a Start on it costs what the check's schema and write probes cost, not
// what the questions do. The floor beside it is what checking the written
// tables alone on every Start would cost.
#include "bench/BenchBanks.h"
#include "bench/BenchRegistry.h"

#include "exam/ExamSaveCheck.h"
#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "tools/mkdata/ExamGenerator.h"

#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

constexpr int kSizes[] = {1000, 20000, 100000, 300000};
// A Start at the largest bank within this ratio of the smallest.
constexpr double kGrowthTarget = 1.3;

} // namespace

ZIDUVER_BENCH("launch: save check growth, 1,000 to 300,000 questions")
{
    double smallest = 0;
    for (const int questions : kSizes) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("exam.qzr"));
        {
            db::Connection exam = db::Connection::create(path);
            schema::createExamDatabase(exam);
            generateExam(exam, questions, 1);
        }
        // The floor: the damage check of the written tables alone, through
        // bare C API calls.
        const double floor = bench::bestOfOnOwnHandle(5, path, [](sqlite3* handle) {
            long long sink = 0;
            for (const char* table : {"Qe_Progress", "Qe_LOS", "Qe_UserHistoryDetail", "Qe_UserHistorySummary",
                                      "Qe_Category", "Qe_Chapters"}) {
                sqlite3_stmt* statement =
                    bench::prepare(handle, QStringLiteral("PRAGMA quick_check(%1)").arg(QLatin1String(table)));
                bench::stepAll(statement, sink);
                sqlite3_finalize(statement);
            }
        });
        const double whole = bench::bestOfOnOwnHandle(1, path, [](sqlite3* handle) {
            long long sink = 0;
            sqlite3_stmt* statement = bench::prepare(handle, QStringLiteral("PRAGMA quick_check(1)"));
            bench::stepAll(statement, sink);
            sqlite3_finalize(statement);
        });
        forgetSoundExamFiles();
        db::Connection exam = db::Connection::openFile(path);
        QString refusal;
        const double first = bench::bestOf(1, [&] { refusal = examSaveRefusal(exam); });
        const double ours = bench::bestOf(5, [&] { refusal = examSaveRefusal(exam); });
        if (!refusal.isEmpty())
            std::printf("  the check refused the bench exam: %s\n", qPrintable(refusal));
        if (smallest == 0)
            smallest = ours;
        char what[96];
        std::snprintf(what, sizeof what, "save check, %d questions (vs written tables' check)", questions);
        bench::report(what, ours, floor, 3.0);
        std::printf("%-58s %9.2f ms  ratio to 1,000 questions %5.2fx  (target <= %.1fx) %s\n", "  same Start again",
                    ours, ours / smallest, kGrowthTarget, ours / smallest <= kGrowthTarget ? "ok" : "OVER");
        std::printf("%-58s %9.2f ms  (whole-file quick_check alone %.2f ms)\n", "  first Start on the file", first,
                    whole);
    }
}
