#include "bench/BenchBanks.h"
#include "bench/BenchRegistry.h"
#include "foundation/AnswerTables.h"
#include "foundation/SharedState.h"
#include "foundation/UserNotesTable.h"
#include "notes/NotesBrowser.h"
#include "notes/NotesGridModel.h"
#include "notes/NotesReport.h"
#include "platform/db/Transaction.h"
#include "tests/support/ExamBankFixture.h"

#include <QFileInfo>
#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

// The notes browser's tree and grid over two exams that hold 10,000 notes
// between them (every user's, "<All>" on each exam node), and the notes
// printer's page for 500 notes of every question type with right answers
// and explanations. Each is measured against its bare reads stepped through
// the C API.
namespace {

constexpr int kNotesPerExam = 5000;
constexpr int kQuestionsPerExam = 2000;
constexpr int kCategories = 20;
constexpr int kChaptersPerCategory = 5;
constexpr int kPrintedNotes = 500;

const QString kNoteText = QStringLiteral("Remember the second case, it comes up often.\r\n"
                                         "It follows from the first & needs <care>.\r\nSee the book, page 12.");

// A bank of kQuestionsPerExam questions of every kind, in categories and
// chapters, with kNotesPerExam notes of three users.
std::unique_ptr<ExamBankFixture> makeBank()
{
    auto f = std::make_unique<ExamBankFixture>();
    ExamBankWriter& w = f->writer();
    db::Transaction transaction(f->conn());
    for (int cat = 1; cat <= kCategories; ++cat) {
        w.addCategory({cat, QStringLiteral("Category %1").arg(cat), false});
        for (int ch = 1; ch <= kChaptersPerCategory; ++ch)
            w.addChapter({cat * 100 + ch, cat, QStringLiteral("Chapter %1 of %2").arg(ch).arg(cat), false});
    }
    for (int code = 1; code <= kQuestionsPerExam; ++code) {
        const int cat = (code - 1) % kCategories + 1;
        const int chapter = code % (kChaptersPerCategory + 1); // 0: the category's own
        ExamBankWriter::QuestionRow row;
        row.code = code;
        row.category = cat;
        row.chapter = chapter == 0 ? 0 : cat * 100 + chapter;
        row.text = QStringLiteral("Which of the following apply to case %1?\r\n<UL>\r\n<LI>the first case</LI>\r\n"
                                  "<LI>the second case</LI>\r\n</UL>\r\nChoose <b>all</b> that apply.")
                       .arg(code);
        row.explanation = QStringLiteral("Because the second case\r\nfollows from the first.");
        row.difficulty = 1;
        bench::addEveryKindQuestion(w, row);
    }
    UserNotesTable notes(f->conn());
    for (int i = 0; i < kNotesPerExam; ++i)
        notes.addNote(2 + i % 3, (i * 7) % kQuestionsPerExam + 1, kNoteText, QDate(2024, 1, 1).addDays(i % 300));
    transaction.commit();
    f->conn().execScript(QStringLiteral("ANALYZE"));
    return f;
}

std::array<std::unique_ptr<ExamBankFixture>, 2>& banks()
{
    static std::array<std::unique_ptr<ExamBankFixture>, 2> made{makeBank(), makeBank()};
    return made;
}

// The tree's and grid's reads of both exams: open each, its categories,
// chapters and every note.
double browserFloor()
{
    long long sink = 0;
    const double best = bench::bestOf(10, [&] {
        for (const auto& bank : banks()) {
            sqlite3* db = nullptr;
            sqlite3_open_v2(bank->path().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
            for (const QString& sql :
                 {QStringLiteral("SELECT Qc_catcode, Qc_cat_desc FROM Qe_Category ORDER BY rowid"),
                  QStringLiteral("SELECT Qc_ChapterCode, Qc_catcode, Qc_Chapter_Desc FROM Qe_Chapters ORDER BY rowid"),
                  UserNotesTable::listedNotesSql({})}) {
                sqlite3_stmt* stmt = bench::prepare(db, sql);
                bench::stepAll(stmt, sink);
                sqlite3_finalize(stmt);
            }
            sqlite3_close(db);
        }
    });
    if (sink == 42)
        std::printf(" ");
    return best;
}

// The printed notes: the first kPrintedNotes notes of one exam, listed for
// every user.
notesreport::NotesReportRequest printRequest()
{
    ExamBankFixture& bank = *banks()[0];
    notesreport::NotesReportRequest request;
    request.examPath = bank.path();
    request.answers = true;
    request.explanation = true;
    request.fontFace = QStringLiteral("Verdana");
    for (const UserNotesTable::Note& note : UserNotesTable(bank.conn()).listedNotes({})) {
        if (request.noteIds.size() == size_t(kPrintedNotes))
            break;
        request.noteIds.push_back(note.id);
        request.questCodes.push_back(note.questCode);
    }
    return request;
}

double printerFloor(const notesreport::NotesReportRequest& request)
{
    sqlite3* db = banks()[0]->conn().handle();
    sqlite3_stmt* rows = bench::prepare(db, UserNotesTable::reportRowsOfNotesSql());
    bench::AnswerReads answers(db, AnswerTables::choicesAsStoredSql());
    const QByteArray ids = UserNotesTable::numbersParameter(request.noteIds).toUtf8();

    long long sink = 0;
    const double best = bench::bestOf(10, [&] {
        sqlite3_reset(rows);
        sqlite3_bind_text(rows, 1, ids.constData(), int(ids.size()), SQLITE_STATIC);
        std::vector<int> found;
        while (sqlite3_step(rows) == SQLITE_ROW) {
            found.push_back(sqlite3_column_int(rows, 1));
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

ZIDUVER_BENCH("notes browser: tree and grid of 10,000 notes over two exams")
{
    banks();
    const double floor = browserFloor();
    notesbrowser::Viewer admin;
    admin.admin = true;
    size_t nodes = 0, rows = 0;
    const double ours = bench::bestOf(10, [&] {
        std::vector<notesbrowser::TreeNode> tree;
        NotesGridModel grid;
        rows = 0;
        for (size_t i = 0; i < banks().size(); ++i) {
            const QString path = banks()[i]->path();
            const size_t exam = tree.size();
            notesbrowser::FillExamsChaptersCategoriesInTree(tree, path, QStringLiteral("Exam %1").arg(i + 1),
                                                            QString());
            const notesbrowser::TreeNode& node = tree[exam];
            grid.setRows(notesbrowser::ShowNotes(
                notesbrowser::notesQuery(admin, node.key, node.tag, QStringLiteral("<All>"), std::nullopt), QString()));
            rows += size_t(grid.rowCount());
        }
        nodes = tree.size();
    });
    std::printf("notes browser: %zu nodes, %zu notes listed, %.2f ms (target under 50 ms: %s)\n", nodes, rows, ours,
                ours < 50.0 ? "ok" : "OVER");
    bench::report("notes browser tree and grid (vs its bare reads)", ours, floor, 3.0);
}

ZIDUVER_BENCH("notes printer: page of 500 notes of every type")
{
    const notesreport::NotesReportRequest request = printRequest();
    const double floor = printerFloor(request);
    qsizetype size = 0;
    const double ours = bench::bestOf(
        10, [&] { size = notesreport::CreateQuestReport(banks()[0]->conn(), request, false).html.size(); });
    std::printf("notes printer, answers and explanations: %lld characters, %.2f ms (target under 200 ms: %s)\n",
                static_cast<long long>(size), ours, ours < 200.0 ? "ok" : "OVER");
    bench::report("notes printer page of 500 notes (vs its bare reads)", ours, floor, 3.0);
}

namespace {

constexpr int kManyNotes = 100000;

// One exam of kQuestionsPerExam questions with kManyNotes notes of one user.
ExamBankFixture& manyNotesBank()
{
    static std::unique_ptr<ExamBankFixture> made = [] {
        auto f = std::make_unique<ExamBankFixture>();
        ExamBankWriter& w = f->writer();
        db::Transaction transaction(f->conn());
        w.addCategory({1, QStringLiteral("Category 1"), false});
        for (int code = 1; code <= kQuestionsPerExam; ++code) {
            ExamBankWriter::QuestionRow row;
            row.code = code;
            row.category = 1;
            row.chapter = 0;
            row.text = QStringLiteral("Which of the following apply to case %1?\r\n<UL>\r\n<LI>the first case</LI>"
                                      "\r\n</UL>\r\nChoose <b>all</b> that apply.")
                           .arg(code);
            row.explanation = QStringLiteral("Because the second case\r\nfollows from the first.");
            row.difficulty = 1;
            bench::addEveryKindQuestion(w, row);
        }
        UserNotesTable notes(f->conn());
        for (int i = 0; i < kManyNotes; ++i)
            notes.addNote(2, (i * 7) % kQuestionsPerExam + 1, QStringLiteral("Short note %1").arg(i),
                          QDate(2024, 1, 1));
        transaction.commit();
        f->conn().execScript(QStringLiteral("ANALYZE"));
        return f;
    }();
    return *made;
}

} // namespace

ZIDUVER_BENCH("notes printer: page of 100,000 notes of one user")
{
    ExamBankFixture& bank = manyNotesBank();
    notesreport::NotesReportRequest request;
    request.examPath = bank.path();
    request.answers = true;
    request.explanation = true;
    request.fontFace = QStringLiteral("Verdana");
    for (const UserNotesTable::Note& note : UserNotesTable(bank.conn()).listedNotes({})) {
        request.noteIds.push_back(note.id);
        request.questCodes.push_back(note.questCode);
    }
    // The floor: the notes' rows read bare and each note's text escaped, as
    // the page must at least hold them.
    sqlite3* db = bank.conn().handle();
    sqlite3_stmt* rows = bench::prepare(db, UserNotesTable::reportRowsOfNotesSql());
    const QByteArray ids = UserNotesTable::numbersParameter(request.noteIds).toUtf8();
    long long sink = 0;
    const double floor = bench::bestOf(3, [&] {
        sqlite3_reset(rows);
        sqlite3_bind_text(rows, 1, ids.constData(), int(ids.size()), SQLITE_STATIC);
        QString page;
        while (sqlite3_step(rows) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(rows); ++c)
                page += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows, c))).toHtmlEscaped();
        sink += page.size();
    });
    sqlite3_finalize(rows);
    if (sink == 42)
        std::printf(" ");
    qsizetype notes = 0;
    const double ours = bench::bestOf(3, [&] {
        notes = notesreport::CreateQuestReport(bank.conn(), request, false).html.count(QStringLiteral("<b>Note:</b>"));
    });
    std::printf("notes printer, %d notes listed: %lld printed, %.0f ms (%s)\n", kManyNotes,
                static_cast<long long>(notes), ours, notes == kManyNotes ? "all shown" : "NOT ALL SHOWN");
    bench::report("notes printer page of 100,000 notes (vs their bare reads)", ours, floor, 10.0);
}
