// The historical analysis and the learning-objective score card over a large
// bank: each window's reading and reckoning, against stepping the same
// statements through the C API; and the score card's tick change.
#include "bench/BenchBanks.h"
#include "bench/BenchRegistry.h"

#include "foundation/ExamBank.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "results/HistoricalAnalysis.h"
#include "results/LosScoreCard.h"
#include "results/ObjectiveTable.h"
#include "results/ProgressHistory.h"

#include <QDir>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kUser = 7;
constexpr int kQuestions = 20000;
constexpr int kCategories = 40;
constexpr int kChaptersPerCategory = 10;
constexpr int kObjectives = 1500; // the first 500 of them have two rows: 2,000 rows
constexpr int kRuns = 15;

// 20,000 questions round the categories, every fourth directly under its
// category; the user's 50,000 progress rows: two completed passes over the
// whole bank (four in five right) and 10,000 rows of the pass in progress
// (two in three right); 2,000 objective rows, one in three complete.
void writeBank(const QString& path)
{
    db::Connection exam = db::Connection::create(path);
    schema::createExamDatabase(exam);
    db::Transaction transaction(exam);
    ExamBankWriter writer(exam);
    bench::writeRoundBank(writer, kQuestions, kCategories, kChaptersPerCategory);
    for (int pass = 1; pass <= 2; ++pass)
        for (int code = 1; code <= kQuestions; ++code) {
            const bool right = code % 5 != 0;
            writer.addProgress({kUser, code, right, !right, 0, pass});
        }
    for (int code = 1; code <= 10000; ++code) {
        const int question = code * 2;
        const int verdict = code % 3; // 0 wrong, 1 and 2 right
        writer.addProgress({kUser, question, verdict != 0, verdict == 0, 0, 0});
    }
    for (int n = 0; n < kObjectives; ++n) {
        const int first = n * 13 % kQuestions + 1;
        ExamBankWriter::LearningObjectiveRow row{first,
                                                 n / 100,
                                                 n % 100,
                                                 QStringLiteral("p%1").arg(n % 7),
                                                 QStringLiteral("s%1").arg(n % 3),
                                                 n % 3 == 0 ? 1 : 0};
        writer.addLearningObjective(row);
        if (n < 500) {
            row.question = (first + 7919) % kQuestions + 1;
            row.status = 0;
            writer.addLearningObjective(row);
        }
    }
    transaction.commit();
    exam.execScript(QStringLiteral("ANALYZE"));
}

// Each statement prepared, its values bound, stepped to its end reading
// every column, and finalised.
long long bareStatements(sqlite3* handle, const std::vector<std::pair<QString, std::vector<int>>>& statements)
{
    long long sum = 0;
    for (const auto& [sql, values] : statements) {
        sqlite3_stmt* statement = nullptr;
        bench::check(sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &statement, nullptr), handle);
        for (size_t i = 0; i < values.size(); ++i)
            sqlite3_bind_int(statement, int(i) + 1, values[i]);
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                if (sqlite3_column_type(statement, c) == SQLITE_TEXT)
                    sum += sqlite3_column_bytes(statement, c) + (sqlite3_column_text(statement, c) ? 1 : 0);
                else
                    sum += sqlite3_column_int64(statement, c);
        bench::check(rc, handle);
        sqlite3_finalize(statement);
    }
    return sum;
}

void absolute(const char* what, double ms)
{
    std::printf("%-58s %9.2f ms  (target < 50 ms) %s\n", what, ms, ms < 50 ? "ok" : "OVER");
}

} // namespace

ZIDUVER_BENCH("analysis: historical analysis and score card, 20,000 questions, 50,000 progress rows")
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bench.qzr"));
    writeBank(path);
    long long sink = 0;

    // The historical analysis: the pass summary and the category rows, each
    // on its own connection as the window reads them.
    PassSummary summary;
    std::vector<CategoryProgress> categories;
    const double analysis = bench::bestOf(kRuns, [&] {
        {
            db::Connection exam = db::Connection::openFile(path);
            summary = readPassSummary(exam, kUser);
        }
        db::Connection exam = db::Connection::openFile(path);
        categories = readCategoryProgress(exam, kUser, kAnalysisPass);
    });
    // The same statements; the per-category count and the tree reads are the
    // ones ExamBank runs.
    const QString countsOfEveryCategory = QStringLiteral("SELECT count(q.Qq_QuestCode) FROM Qe_Category c "
                                                         "LEFT JOIN Qe_QuestionsHead q ON q.Qq_CatCode = c.Qc_catcode "
                                                         "GROUP BY c.Qc_catcode ORDER BY c.Qc_catcode");
    const double analysisFloor = bench::bestOf(kRuns, [&] {
        sqlite3* handle = nullptr;
        for (int phase = 0; phase < 2; ++phase) {
            bench::check(sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr), handle);
            sqlite3_busy_timeout(handle, 5000);
            if (phase == 0)
                sink += bareStatements(
                    handle, {{ExamBank::questionCountSql(), {}}, {ProgressHistory::passTotalsSql(), {kUser}}});
            else
                sink += bareStatements(handle,
                                       {{ExamBank::categoryRowsSql(false), {}},
                                        {countsOfEveryCategory, {}},
                                        {ProgressHistory::categoryAnswersSql(), {kUser, kAnalysisPass}}});
            sqlite3_close(handle);
        }
    });
    bench::report("historical analysis: passes and categories (vs bare SQL)", analysis, analysisFloor, 3.0);
    absolute("historical analysis, absolute", analysis);
    std::printf("%-58s %9s     rows %d/%d/%d correct, %zu categories, first %s\n", "", "", summary.rows[0].correct,
                summary.rows[1].correct, summary.rows[2].correct, categories.size(),
                qPrintable(categories.empty() ? QString() : categories.front().tag));

    // The score card: the tree filled and the objectives loaded.
    LosScoreCard card;
    std::vector<LosItem> items;
    const double scoreCard = bench::bestOf(kRuns, [&] {
        db::Connection exam = db::Connection::openFile(path);
        card.fillTree(QStringLiteral("Bench exam"), ExamBank(exam).categoryTree());
        items = card.load(ObjectiveTable(exam).scoreCardRows(), [&sink](int value) { sink += value; });
    });
    const double scoreCardFloor = bench::bestOfOnOwnHandle(kRuns, path, [&](sqlite3* handle) {
        sink += bareStatements(
            handle,
            {{QStringLiteral("SELECT Qc_catcode, Qc_cat_desc FROM Qe_Category ORDER BY rowid"), {}},
             {QStringLiteral("SELECT Qc_ChapterCode, Qc_catcode, Qc_Chapter_Desc FROM Qe_Chapters ORDER BY rowid"), {}},
             {ObjectiveTable::scoreCardRowsSql(), {}}});
    });
    bench::report("score card: tree and objectives (vs bare SQL)", scoreCard, scoreCardFloor, 3.0);
    absolute("score card, absolute", scoreCard);

    // A category unticked and ticked again: ticks, selection and the list.
    const int category = card.tree.find(QStringLiteral("ID1"));
    const double tick = bench::bestOf(50, [&] {
        items = card.nodeClicked(category);
        items = card.nodeClicked(category);
    });
    std::printf("%-58s %9.3f ms  (%zu objectives listed, checksum %lld)\n",
                "score card: a category unticked and ticked", tick, items.size(), sink % 7);
}
