#include "bench/BenchRegistry.h"
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
enum Kind { Choice, Essay, Fill, List, Tree, Place, KindCount };

const QString kText = QStringLiteral("Which of the following apply?\r\n<UL>\r\n<LI>the first case</LI>\r\n"
                                     "<LI>the second case</LI>\r\n</UL>\r\nChoose <b>all</b> that apply.");

void addQuestion(ExamBankWriter& w, int code)
{
    const Kind kind = Kind((code - 1) % KindCount);
    static const int types[] = {1, 2, 3, 4, 4, 4};
    static const int interactive[] = {0, 0, 0, 1, 2, 3};
    ExamBankWriter::QuestionRow row;
    row.code = code;
    row.category = (code - 1) % 10 + 1;
    row.chapter = 0;
    row.type = types[kind];
    row.interactive = interactive[kind];
    row.text = kText;
    row.explanation = QStringLiteral("Because the second case\r\nfollows from the first.");
    row.difficulty = 1;
    w.addQuestion(row);
    switch (kind) {
    case Choice:
        for (int seq = 1; seq <= 5; ++seq)
            w.addChoice({code, seq, QStringLiteral("Choice %1 of question %2").arg(seq).arg(code), seq % 2 == 1});
        break;
    case Essay:
    case Fill:
        w.addFillAnswer(code, QStringLiteral("Paris|Lutetia"));
        w.addFillAnswer(code, QStringLiteral("Rome|Roma"));
        break;
    case List:
        for (int i = 1; i <= 6; ++i)
            w.addInteractiveRow({code, QStringLiteral("Step %1").arg(7 - i), i, QStringLiteral("Step %1").arg(i), i});
        break;
    case Tree:
        for (int i = 1; i <= 6; ++i)
            w.addInteractiveRow({code, i <= 3 ? QStringLiteral("Node %1").arg(i) : QString(), i,
                                 QStringLiteral("Leaf %1").arg(i), i, QStringLiteral("Root")});
        for (int i = 1; i <= 6; ++i)
            w.addInteractiveAnswer(
                {code, QStringLiteral("Leaf %1").arg(i), i, QStringLiteral("Node %1").arg((i + 1) / 2), (i + 1) / 2});
        break;
    case Place:
        for (int i = 1; i <= 4; ++i) {
            w.addInteractiveRow({code, QStringLiteral("Value %1").arg(5 - i), i, QStringLiteral("Place %1").arg(i), i});
            w.addInteractiveAnswer({code, QStringLiteral("Place %1").arg(i), i, QStringLiteral("Value %1").arg(i), i});
        }
        break;
    default:
        break;
    }
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

// Steps a prepared statement with one bound value and reads every column.
void stepAll(sqlite3_stmt* stmt, int code, long long& sink)
{
    sqlite3_reset(stmt);
    sqlite3_bind_int(stmt, 1, code);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            sink += sqlite3_column_bytes16(stmt, c);
}

double floorReads(const QuestionList& list)
{
    sqlite3* db = bank().conn().handle();
    const auto prepare = [db](const QString& sql) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
        return stmt;
    };
    sqlite3_stmt* rows = prepare(SheetQuestions::rowsSql());
    sqlite3_stmt* kind = prepare(AnswerTables::answerKindSql());
    sqlite3_stmt* choices =
        prepare(QStringLiteral("SELECT Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns FROM "
                               "Qe_AnswerChoice WHERE Qc_QuestCode = ? ORDER BY Qc_Choice_Seq, rowid"));
    sqlite3_stmt* fills =
        prepare(QStringLiteral("SELECT Qd_Desc_Answer FROM Qe_AnswerFill_Essay WHERE Qd_QuestCode = ? ORDER BY rowid"));
    sqlite3_stmt* listRows = prepare(AnswerTables::orderedListRowsSql());
    sqlite3_stmt* treeRows = prepare(AnswerTables::treeRowsSql());
    sqlite3_stmt* leaves = prepare(AnswerTables::treeLeavesSql());
    sqlite3_stmt* pairs = prepare(AnswerTables::placePairsSql());
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
        for (const int code : found) {
            stepAll(kind, code, sink);
            switch (Kind((code - 1) % KindCount)) {
            case Choice:
                stepAll(choices, code, sink);
                break;
            case Essay:
            case Fill:
                stepAll(fills, code, sink);
                break;
            case List:
                stepAll(listRows, code, sink);
                break;
            case Tree:
                stepAll(treeRows, code, sink);
                stepAll(leaves, code, sink);
                break;
            default:
                stepAll(pairs, code, sink);
            }
        }
    });
    for (sqlite3_stmt* stmt : {rows, kind, choices, fills, listRows, treeRows, leaves, pairs})
        sqlite3_finalize(stmt);
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
    const double ours = bench::bestOf(20, [&] { size = CreateQuestReport(bank().conn(), list, options).html.size(); });
    std::printf("question sheet, answers and explanations shown: %lld characters, %.2f ms (target under 50 ms: %s)\n",
                static_cast<long long>(size), ours, ours < 50.0 ? "ok" : "OVER");
    bench::report("question sheet of 200 questions (vs its bare reads)", ours, floor, 3.0);
}
