#pragma once

#include "bench/BenchRegistry.h"
#include "foundation/ExamBankWriter.h"

#include <QString>
#include <sqlite3.h>

// Bank writing and bare C API reads shared by several bench files.
namespace bench {

// Answer kinds in turn by question code: code 1 a multiple choice, 2 an
// essay, and so on round the six.
enum AnswerKind { Choice, Essay, Fill, List, Tree, Place, KindCount };
inline AnswerKind kindOf(int code)
{
    return AnswerKind((code - 1) % KindCount);
}

// Writes the question (its type set by the kind of its code) and the answer
// rows of its kind: five choices, two fill answers, six list steps, a tree
// of six leaves or four placed values.
void addEveryKindQuestion(ExamBankWriter& writer, ExamBankWriter::QuestionRow row);

// `categories` categories of `chaptersPerCategory` chapters each, and
// `questions` multiple-choice questions round the categories; every fourth question of a
// category stands directly under it, the others go round its chapters.
void writeRoundBank(ExamBankWriter& writer, int questions, int categories, int chaptersPerCategory);

// Throws with the handle's message unless rc is OK, DONE or ROW.
void check(int rc, sqlite3* handle);

sqlite3_stmt* prepare(sqlite3* handle, const QString& sql);

// Steps a statement to its end, adding every column's size to sink.
void stepAll(sqlite3_stmt* stmt, long long& sink);

// The same after binding one code.
void stepCode(sqlite3_stmt* stmt, int code, long long& sink);

// The answer reads of one question as a page or sheet lists it: the kind
// probe, then the rows of its kind (codes laid out by kindOf).
class AnswerReads {
public:
    AnswerReads(sqlite3* handle, const QString& choicesSql);
    ~AnswerReads();
    AnswerReads(const AnswerReads&) = delete;
    AnswerReads& operator=(const AnswerReads&) = delete;

    void read(int code, long long& sink);

private:
    sqlite3_stmt* m_kind;
    sqlite3_stmt* m_choices;
    sqlite3_stmt* m_fills;
    sqlite3_stmt* m_listRows;
    sqlite3_stmt* m_treeRows;
    sqlite3_stmt* m_leaves;
    sqlite3_stmt* m_pairs;
};

// Best time of `runs` runs of work(handle) on a handle of its own per run,
// opened on path as the windows open theirs.
template <typename Work> double bestOfOnOwnHandle(int runs, const QString& path, Work&& work)
{
    return bestOf(runs, [&] {
        sqlite3* handle = nullptr;
        check(sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr), handle);
        sqlite3_busy_timeout(handle, 5000);
        work(handle);
        sqlite3_close(handle);
    });
}

} // namespace bench
