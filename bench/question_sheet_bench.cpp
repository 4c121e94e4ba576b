#include "bench/BenchBanks.h"
#include "bench/BenchRegistry.h"
#include "bench/SanitizerShare.h"
#include "exam/QuestionList.h"
#include "foundation/AnswerTables.h"
#include "platform/db/Transaction.h"
#include "results/QuestionSheet.h"
#include "results/SheetQuestions.h"
#include "tests/support/ExamBankFixture.h"

#include <QFileInfo>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <vector>

// The printable question sheet of a 200-question exam that holds every type
// (multiple choice with five choices, essay, fill in, ordered list, tree,
// select and place in turn) drawn from a 2,000-question bank, with right
// answers and explanations shown: the most a sheet builds. Its floor is the
// same reads stepped through the C API: the question rows, then per
// question the answer-kind probe and the rows of its listing.
namespace {

constexpr int kBank = 2000;
constexpr int kExam = 200;

const QString kText = QStringLiteral("Which of the following apply?\r\n<UL>\r\n<LI>the first case</LI>\r\n"
                                     "<LI>the second case</LI>\r\n</UL>\r\nChoose <b>all</b> that apply.");

void addQuestion(ExamBankWriter& w, int code)
{
    ExamBankWriter::QuestionRow row;
    row.code = code;
    row.category = (code - 1) % 10 + 1;
    row.chapter = 0;
    row.text = kText;
    row.explanation = QStringLiteral("Because the second case\r\nfollows from the first.");
    row.difficulty = 1;
    bench::addEveryKindQuestion(w, row);
}

ExamBankFixture& bank()
{
    static std::unique_ptr<ExamBankFixture> fixture = [] {
        auto f = std::make_unique<ExamBankFixture>();
        db::Transaction transaction(f->conn());
        for (int cat = 1; cat <= 10; ++cat)
            f->category(cat);
        for (int code = 1; code <= kBank; ++code)
            addQuestion(f->writer(), code);
        transaction.commit();
        f->conn().execScript(QStringLiteral("ANALYZE"));
        return f;
    }();
    return *fixture;
}

// The exam: every tenth question of the bank (so every type), in a drawn
// order, with choice-order variants 0 to 3.
QuestionList examList()
{
    QuestionList list;
    for (int i = 0; i < kExam; ++i)
        list.addQuestion((i * 37 % kExam) * 10 + 1 + i % 10, 1);
    list.addColumn();
    for (int row = 1; row < list.rows(); ++row)
        list.setText(row, colChoiceOrder, QString::number(row % 4));
    return list;
}

double floorReads(const QuestionList& list)
{
    sqlite3* db = bank().conn().handle();
    sqlite3_stmt* rows = bench::prepare(db, SheetQuestions::rowsSql());
    bench::AnswerReads answers(db,
                               QStringLiteral("SELECT Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns FROM "
                                              "Qe_AnswerChoice WHERE Qc_QuestCode = ? ORDER BY Qc_Choice_Seq, rowid"));
    std::vector<int> codes;
    for (int row = 1; row < list.rows(); ++row)
        codes.push_back(list.questionCode(row));
    const QByteArray codesJson = SheetQuestions::codesParameter(codes).toUtf8();

    long long sink = 0;
    const double best = bench::bestOf(20, [&] {
        sqlite3_reset(rows);
        sqlite3_bind_text(rows, 1, codesJson.constData(), int(codesJson.size()), SQLITE_STATIC);
        std::vector<int> found;
        while (sqlite3_step(rows) == SQLITE_ROW) {
            found.push_back(sqlite3_column_int(rows, 0));
            for (int c = 0; c < sqlite3_column_count(rows); ++c)
                sink += sqlite3_column_bytes16(rows, c);
        }
        for (const int code : found)
            answers.read(code, sink);
    });
    sqlite3_finalize(rows);
    if (sink == 42)
        std::printf(" ");
    return best;
}

} // namespace

ZIDUVER_BENCH("question sheet: 200 questions of every type")
{
    const QuestionList list = examList();
    SheetOptions options;
    options.showAnswers = true;
    options.showExplanation = true;
    options.fontName = QStringLiteral("Verdana");
    options.fontSize = 12;
    options.examFolder = QFileInfo(bank().path()).absolutePath();

    const double floor = floorReads(list);
    qsizetype size = 0;
    const auto [ours, withoutSanitizer] = bench::bestWithAndWithoutSanitizer(
        20, [&] { size = CreateQuestReport(bank().conn(), list, options).html.size(); });
    std::printf("question sheet, answers and explanations shown: %lld characters, %.2f ms with the sanitizer, "
                "%.2f ms without (target under 50 ms: %s)\n",
                static_cast<long long>(size), ours, withoutSanitizer, ours < 50.0 ? "ok" : "OVER");
    bench::report("question sheet of 200 questions (vs its bare reads)", ours, floor, 3.0);
    bench::report("  the same sheet with the sanitizer (vs without it)", ours, withoutSanitizer, 3.0);
}
