#include "bench/BenchRegistry.h"
#include "exam/CategoryMap.h"
#include "exam/ClockRandomSource.h"
#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamMode.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"

#include <sqlite3.h>

#include <cstdio>
#include <memory>

// The three question-set builders over a 20,000-question bank of 100
// categories with 10,000 progress rows of the user (and as many of another
// user and of an earlier pass), each for a 100-question exam, beside the
// bare SQL they need stepped through the C API.
namespace {

constexpr int kUser = 7;

ExamBankFixture& bank()
{
    static std::unique_ptr<ExamBankFixture> fixture = [] {
        auto f = std::make_unique<ExamBankFixture>();
        ExamBankFixture::Shape shape;
        shape.questions = 20000;
        shape.categories = 100;
        shape.perCategoryCount = 1;
        shape.progressRows = 10000;
        shape.userCode = kUser;
        f->generate(shape);
        f->conn().execScript(QStringLiteral("ANALYZE"));
        return f;
    }();
    return *fixture;
}

// Steps a statement to its end reading every column, as the floor of a query.
long long stepAll(sqlite3_stmt* stmt)
{
    long long sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            sum += sqlite3_column_int(stmt, i);
    sqlite3_reset(stmt);
    return sum;
}

sqlite3_stmt* prepare(const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_prepare_v2(bank().conn().handle(), utf8.constData(), int(utf8.size()), &stmt, nullptr);
    return stmt;
}

// The category rows and one pool query per category: what both random
// builders read.
double perCategoryFloor(bool withCount)
{
    sqlite3_stmt* categories = prepare(ExamBank::categoryRowsSql(false));
    sqlite3_stmt* pool = prepare(ExamBank::categoryPoolSql());
    sqlite3_stmt* count = prepare(ExamBank::categoryCountSql());
    volatile long long sink = 0;
    const double floor = bench::bestOf(20, [&] {
        if (withCount)
            sink = sink + stepAll(count);
        while (sqlite3_step(categories) == SQLITE_ROW) {
            sqlite3_bind_int(pool, 1, sqlite3_column_int(categories, 0));
            sink = sink + stepAll(pool);
        }
        sqlite3_reset(categories);
    });
    sqlite3_finalize(categories);
    sqlite3_finalize(pool);
    sqlite3_finalize(count);
    return floor;
}

double timeBuild(ExamMode mode, int wanted, int& drawn)
{
    ClockRandomSource random;
    return bench::bestOf(20, [&] {
        QuestionList msflex;
        CategoryMap cboCategory;
        QuestionSetBuilder builder(bank().conn(), random);
        const db::ResultSet categories = QuestionSetBuilder::categoryRows(bank().conn(), mode);
        const QuestionSetResult result = builder.build(mode, categories, kUser, wanted, msflex, cboCategory);
        drawn = result.ok ? result.drawn : -1;
    });
}

// Times a random builder against the per-category floor and reports both.
void reportPerCategory(ExamMode mode, bool withCount, const char* what)
{
    const double floor = perCategoryFloor(withCount);
    int drawn = 0;
    const double ours = timeBuild(mode, 0, drawn);
    std::printf("drawn %d\n", drawn);
    bench::report(what, ours, floor, 3.0);
}

} // namespace

ZIDUVER_BENCH("question set: simulated exam, 100 of 20,000")
{
    reportPerCategory(ExamMode::Simulated, false, "BuildExamFromDirectives (vs category + pool queries)");
}

ZIDUVER_BENCH("question set: pretest, 100 of 20,000")
{
    reportPerCategory(ExamMode::Test, true, "FillQuestionsByCategory (vs count + category + pool queries)");
}

ZIDUVER_BENCH("question set: practice, 100 of 20,000")
{
    int drawn = 0;
    QuestionList taken;
    {
        ClockRandomSource random;
        QuestionSetBuilder builder(bank().conn(), random);
        builder.FillQuestionsByProgress(kUser, 100, taken);
    }
    // The least it reads: the user's progress rows, the pool's rows of the
    // questions they name, and the taken rows, each by its key.
    sqlite3_stmt* progress = prepare(ExamBank::currentPassProgressSql());
    sqlite3_stmt* seen = prepare(ExamBank::practicePoolSeenBySql());
    sqlite3_stmt* row = prepare(ExamBank::poolQuestionSql());
    volatile long long sink = 0;
    const double floor = bench::bestOf(20, [&] {
        sqlite3_bind_int(progress, 1, kUser);
        sink = sink + stepAll(progress);
        sqlite3_bind_int(seen, 1, kUser);
        sink = sink + stepAll(seen);
        for (int r = 1; r < taken.rows(); ++r) {
            sqlite3_bind_int(row, 1, taken.questionCode(r));
            sink = sink + stepAll(row);
        }
    });
    sqlite3_finalize(progress);
    sqlite3_finalize(seen);
    sqlite3_finalize(row);
    const double viaLayer = bench::bestOf(20, [&] { ExamBank(bank().conn()).currentPassProgress(kUser); });
    std::printf("the progress rows read through ExamBank: %.2f ms\n", viaLayer);
    const double ours = timeBuild(ExamMode::Practice, 100, drawn);
    std::printf("drawn %d\n", drawn);
    bench::report("FillQuestionsByProgress (vs progress + seen + taken rows)", ours, floor, 3.0);
}
