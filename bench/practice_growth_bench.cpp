// Growth lines of the practice set: the 100-question practice list and the
// size of the ticked pool (the start command's "cannot exceed" count) on
// generated banks of 1,000 to 300,000 questions, every category and chapter
// ticked, with the same 200 current-pass progress rows of the user at
// every size. The list reads the user's progress and, per ticked place, only
// the first questions it takes; the count reads index entries only.
#include "bench/BenchRegistry.h"

#include "exam/CategoryMap.h"
#include "exam/ClockRandomSource.h"
#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tools/mkdata/ExamGenerator.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int kUser = 7;
constexpr int kWanted = 100;
constexpr int kProgressRows = 200;

// The peak resident memory since the last reset, in MB; resets it.
double peakMegabytesSinceReset()
{
    double peak = 0;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    return peak;
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Progress rows spread over the bank: one in three wrong, one in six
// unanswered, the rest right.
void addProgress(db::Connection& exam, int questions)
{
    db::Transaction transaction(exam);
    ExamBankWriter writer(exam);
    for (int i = 0; i < kProgressRows; ++i) {
        const int code = 1 + int((long long)(i) * questions / kProgressRows);
        const int kind = i % 6;
        writer.addProgress({kUser, code, kind >= 3 ? 1 : 0, kind < 2 ? 1 : 0, kind == 2 ? 1 : 0, 0});
    }
    transaction.commit();
}

// The least a practice set reads: the user's progress rows, and the rows of
// the questions taken, each by its key, through the C API.
double setFloor(db::Connection& exam, const QuestionList& taken)
{
    sqlite3* handle = exam.handle();
    sqlite3_stmt* progress = nullptr;
    sqlite3_stmt* row = nullptr;
    const QByteArray progressSql = ExamBank::currentPassProgressSql().toUtf8();
    const QByteArray rowSql = ExamBank::poolQuestionSql().toUtf8();
    sqlite3_prepare_v2(handle, progressSql.constData(), -1, &progress, nullptr);
    sqlite3_prepare_v2(handle, rowSql.constData(), -1, &row, nullptr);
    volatile long long sink = 0;
    const double floor = bench::bestOf(10, [&] {
        sqlite3_bind_int(progress, 1, kUser);
        while (sqlite3_step(progress) == SQLITE_ROW)
            sink = sink + sqlite3_column_int(progress, 0);
        sqlite3_reset(progress);
        for (int r = 1; r < taken.rows(); ++r) {
            sqlite3_bind_int(row, 1, taken.questionCode(r));
            while (sqlite3_step(row) == SQLITE_ROW)
                sink = sink + sqlite3_column_int(row, 1);
            sqlite3_reset(row);
        }
    });
    sqlite3_finalize(progress);
    sqlite3_finalize(row);
    return floor;
}

// The least a count reads: the whole question table's count, which SQLite
// takes from its smallest index.
double countFloor(db::Connection& exam)
{
    sqlite3_stmt* count = nullptr;
    const QByteArray sql = ExamBank::questionCountSql().toUtf8();
    sqlite3_prepare_v2(exam.handle(), sql.constData(), -1, &count, nullptr);
    volatile long long sink = 0;
    const double floor = bench::bestOf(10, [&] {
        while (sqlite3_step(count) == SQLITE_ROW)
            sink = sink + sqlite3_column_int(count, 0);
        sqlite3_reset(count);
    });
    sqlite3_finalize(count);
    return floor;
}

} // namespace

ZIDUVER_BENCH("growth: practice set and its pool count, 1,000 to 300,000 questions")
{
    constexpr double kGrowthTarget = 1.5;
    constexpr double kFloorTarget = 5.0;
    double smallest[2] = {0, 0};
    for (const int questions : {1000, 20000, 100000, 300000}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("exam.qzr"));
        {
            db::Connection exam = db::Connection::create(path);
            schema::createExamDatabase(exam);
            generateExam(exam, questions, 1);
            addProgress(exam, questions);
        }
        db::Connection exam = db::Connection::openFile(path);
        ClockRandomSource random;
        QuestionSetBuilder builder(exam, random);
        QuestionSetResult result;
        QuestionList taken;
        const double before = residentMegabytes();
        peakMegabytesSinceReset();
        const double set = bench::bestOf(15, [&] {
            QuestionList msflex;
            result = builder.FillQuestionsByProgress(kUser, kWanted, msflex);
            taken = msflex;
        });
        const double setPeak = peakMegabytesSinceReset() - before;
        int pool = 0;
        const double count = bench::bestOf(5, [&] { pool = ExamBank(exam).practicePoolCount(); });
        const double floors[2] = {setFloor(exam, taken), countFloor(exam)};
        if (!result.ok)
            std::printf("  the practice set failed: %s\n", qPrintable(result.message));
        // The set follows what it takes: flat against the smallest bank. The
        // count reads one index entry per ticked question, so it is held to
        // its floor, the whole table's count, at every size.
        const double times[2] = {set, count};
        const char* names[2] = {"practice set", "pool count"};
        for (int i = 0; i < 2; ++i) {
            if (smallest[i] == 0)
                smallest[i] = times[i];
            const double growth = times[i] / smallest[i];
            const double ratio = times[i] / floors[i];
            const bool ok = (i == 1 || growth <= kGrowthTarget) && ratio <= kFloorTarget;
            std::printf("%-52s %8.2f ms  ratio to 1,000 %6.2fx%s  floor %6.2f ms ratio %5.2fx (target <= %.0fx) %s\n",
                        qPrintable(QStringLiteral("question set: practice, %1, %2 questions")
                                       .arg(QLatin1String(names[i]))
                                       .arg(questions)),
                        times[i], growth,
                        i == 0 ? qPrintable(QStringLiteral(" (target <= %1x)").arg(kGrowthTarget)) : "",
                        floors[i], ratio, kFloorTarget, ok ? "ok" : "OVER");
        }
        std::printf("  %d of a pool of %d taken; memory peak during the set +%.1f MB\n", result.drawn, pool,
                    setPeak);
    }
}
