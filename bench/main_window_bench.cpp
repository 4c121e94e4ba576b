// The main window's load logic (limits, question counts, the tree and the
// pretest in force) over a large bank, against stepping its bare count
// queries through the C API; and one tick change in practice mode.
#include "bench/BenchBanks.h"
#include "bench/BenchRegistry.h"

#include "foundation/ExamBank.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/Schema.h"
#include "mainwindow/MainWindowLoad.h"
#include "mainwindow/ModeChoice.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QDir>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

constexpr int kQuestions = 20000;
constexpr int kCategories = 40;
constexpr int kChaptersPerCategory = 10;

// The exam row, then the categories, chapters and questions.
void writeBank(const QString& path)
{
    db::Connection exam = db::Connection::create(path);
    schema::createExamDatabase(exam);
    db::Transaction transaction(exam);
    ExamBankWriter writer(exam);
    ExamBankWriter::ExamRow row;
    row.code = QStringLiteral("BENCH");
    row.simulatedMinutes = 90;
    row.simulatedPassScore = 70;
    row.simulatedQuestions = 60;
    writer.addExam(row);
    bench::writeRoundBank(writer, kQuestions, kCategories, kChaptersPerCategory);
    transaction.commit();
}

// The count statements of the load, each prepared, stepped to its end and
// finalised, reading every column as the layer would.
long long bareCounts(sqlite3* handle)
{
    long long sum = 0;
    for (const QString& sql :
         {ExamBank::questionCountSql(), ExamBank::questionCountsByPlaceSql(), ExamBank::categoryCountSql()}) {
        sqlite3_stmt* statement = nullptr;
        bench::check(sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &statement, nullptr), handle);
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                sum += sqlite3_column_int64(statement, c);
        bench::check(rc, handle);
        sqlite3_finalize(statement);
    }
    return sum;
}

} // namespace

ZIDUVER_BENCH("main window: load of a 20,000-question bank, 40 categories, 400 chapters")
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bench.qzr"));
    writeBank(path);

    // Each side opens its own connection per run, as the window does at load.
    ModeChoice choice;
    const double ours = bench::bestOf(15, [&] {
        db::Connection exam = db::Connection::openFile(path);
        choice.load(QStringLiteral("Bench exam"), readMainWindowLoad(exam), false);
    });
    long long sink = 0;
    const double floor = bench::bestOfOnOwnHandle(15, path, [&](sqlite3* handle) { sink += bareCounts(handle); });
    bench::report("load: limits, counts, tree, pretest (vs bare count queries)", ours, floor, 3.0);
    std::printf("%-58s %9s     tree %d nodes, pool %d, pretest %d (checksum %lld)\n", "", "", choice.tree.size(),
                choice.data().questionTotal, choice.gMaxQuestions, sink % 7);
    std::printf("%-58s %9.2f ms  (target < 50 ms) %s\n", "load, absolute", ours, ours < 50 ? "ok" : "OVER");

    // A tick in practice: the tree's rules, the count and the list refilled.
    choice.Image3_Click(1);
    choice.tree.setChecked(CategoryTree::kRoot, true);
    choice.tvwCategory_NodeCheck(CategoryTree::kRoot);
    const int category = choice.tree.find(QStringLiteral("ID1"));
    const double tick = bench::bestOf(50, [&] {
        for (const bool ticked : {false, true}) {
            choice.tree.setChecked(category, ticked);
            choice.tvwCategory_NodeCheck(category);
        }
    });
    std::printf("%-58s %9.3f ms  (list of %zu)\n", "a category ticked and unticked in practice", tick,
                choice.lstQues.items.size());
}
