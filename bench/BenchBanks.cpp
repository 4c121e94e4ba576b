#include "bench/BenchBanks.h"

#include "foundation/AnswerTables.h"

#include <stdexcept>

namespace bench {

void addEveryKindQuestion(ExamBankWriter& w, ExamBankWriter::QuestionRow row)
{
    static const int types[] = {1, 2, 3, 4, 4, 4};
    static const int interactive[] = {0, 0, 0, 1, 2, 3};
    const int code = row.code;
    const AnswerKind kind = kindOf(code);
    row.type = types[kind];
    row.interactive = interactive[kind];
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

void writeRoundBank(ExamBankWriter& writer, int questions, int categories, int chaptersPerCategory)
{
    for (int cat = 1; cat <= categories; ++cat) {
        writer.addCategory({cat, QStringLiteral("Category %1").arg(cat), true});
        for (int ch = 1; ch <= chaptersPerCategory; ++ch)
            writer.addChapter({cat * 100 + ch, cat, QStringLiteral("Chapter %1.%2").arg(cat).arg(ch), true});
    }
    ExamBankWriter::QuestionRow question = ExamBankWriter::QuestionRow::multipleChoice(0);
    for (int code = 1; code <= questions; ++code) {
        const int cat = (code - 1) % categories + 1;
        const int round = (code - 1) / categories;
        question.code = code;
        question.category = cat;
        question.chapter = round % 4 == 0 ? 0 : cat * 100 + round % chaptersPerCategory + 1;
        question.text = QStringLiteral("Question %1").arg(code);
        writer.addQuestion(question);
    }
}

void check(int rc, sqlite3* handle)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(handle));
}

sqlite3_stmt* prepare(sqlite3* handle, const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt, nullptr);
    return stmt;
}

void stepAll(sqlite3_stmt* stmt, long long& sink)
{
    while (sqlite3_step(stmt) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            sink += sqlite3_column_bytes16(stmt, c);
}

void stepCode(sqlite3_stmt* stmt, int code, long long& sink)
{
    sqlite3_reset(stmt);
    sqlite3_bind_int(stmt, 1, code);
    stepAll(stmt, sink);
}

AnswerReads::AnswerReads(sqlite3* handle, const QString& choicesSql)
    : m_kind(prepare(handle, AnswerTables::answerKindSql())), m_choices(prepare(handle, choicesSql)),
      m_fills(prepare(
          handle,
          QStringLiteral("SELECT Qd_Desc_Answer FROM Qe_AnswerFill_Essay WHERE Qd_QuestCode = ? ORDER BY rowid"))),
      m_listRows(prepare(handle, AnswerTables::orderedListRowsSql())),
      m_treeRows(prepare(handle, AnswerTables::treeRowsSql())),
      m_leaves(prepare(handle, AnswerTables::treeLeavesSql())), m_pairs(prepare(handle, AnswerTables::placePairsSql()))
{
}

AnswerReads::~AnswerReads()
{
    for (sqlite3_stmt* stmt : {m_kind, m_choices, m_fills, m_listRows, m_treeRows, m_leaves, m_pairs})
        sqlite3_finalize(stmt);
}

void AnswerReads::read(int code, long long& sink)
{
    stepCode(m_kind, code, sink);
    switch (kindOf(code)) {
    case Choice:
        stepCode(m_choices, code, sink);
        break;
    case Essay:
    case Fill:
        stepCode(m_fills, code, sink);
        break;
    case List:
        stepCode(m_listRows, code, sink);
        break;
    case Tree:
        stepCode(m_treeRows, code, sink);
        stepCode(m_leaves, code, sink);
        break;
    default:
        stepCode(m_pairs, code, sink);
    }
}

} // namespace bench
