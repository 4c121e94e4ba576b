#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

// The user's progress per question and pass (Qe_Progress) and the status of
// the learning objectives (Qe_LOS) in an exam database: the statements that
// record an exam's answers, close a pass and update the objectives. Works on
// the caller's connection and inside the caller's transaction; every value
// is bound. Statements are prepared on first use and kept while the store
// lives. Database errors reach the caller (db::DbError).
class ProgressStore {
public:
    explicit ProgressStore(db::Connection& exam);

    // ---- progress (Qe_Progress) ----
    // A row of the pass in progress (pass 0), its flags as stored.
    struct CurrentPassRow {
        qint64 rowId = 0;
        QVariant correct, wrong, noAnswer;
        bool isRight() const { return !correct.isNull() && correct.toDouble() == 1.0; }
    };
    // The user's first pass-0 row of a question (in storage order).
    std::optional<CurrentPassRow> currentPassRow(int userCode, int questCode);
    // Sets a row to right (1/0/0) or wrong (0/1/0).
    void setVerdict(qint64 rowId, bool right);
    // Adds a pass-0 row, right (1/0/0) or wrong (0/1/0).
    void addCurrentPassRow(int userCode, int questCode, bool right);

    // The questions of the bank, whatever categories an exam chose.
    int GetTotalQuestionCount();
    // The user's pass-0 rows that count as right.
    int GetCorrectCountThisPass(int userCode);
    // The user's highest pass number as stored, 0 without a row.
    qint64 GetLastPassNumber(int userCode);
    // Renumbers the user's pass-0 rows to `passNumber`; other users' rows and
    // completed passes stay.
    void closeCurrentPass(int userCode, qint64 passNumber);

    // ---- learning objectives (Qe_LOS) ----
    // An objective row; the four keys as stored (any of them may be Null).
    struct ObjectiveRow {
        qint64 rowId = 0;
        std::array<QVariant, 4> keys;
        bool hasNullKey() const;
    };
    // A question's rows whose status is not 1 (a Null status is left out)
    // and one of whose keys is Null, in storage order: they name no whole
    // objective.
    std::vector<ObjectiveRow> openObjectiveRowsWithEmptyKey(int questCode);
    // The question was answered right: every objective it holds open (all
    // four keys given) whose every other question still in the bank has a
    // right row of the user's pass in progress is achieved, on all of its
    // rows whose status is not 1 (a Null status stays). One statement, linear
    // in the rows of those objectives. Returns the rows changed.
    int markCompleteObjectives(int userCode, int questCode);
    // Every row of every question back to 0: the table is shared by all users.
    void reopenAllObjectives();

    // Prepares every statement the store runs: a table or column they need
    // that the database lacks raises here (db::DbError), before any is run.
    void prepareAll();

    // ---- statement texts, for benchmarks that step them through the C API
    // as the floor of a measurement; the bound values in the order listed ----
    static QString currentPassRowSql();             // user, question
    static QString setVerdictSql();                 // correct, wrong, rowid
    static QString addCurrentPassRowSql();          // user, question, correct, wrong
    static QString totalQuestionCountSql();         // -
    static QString correctCountThisPassSql();       // user
    static QString lastPassNumberSql();             // user
    static QString closeCurrentPassSql();           // pass number, user
    static QString openObjectiveRowsWithEmptyKeySql(); // question
    static QString markCompleteObjectivesSql();        // question, user
    static QString reopenAllObjectivesSql();        // -

private:
    enum Kind {
        FindRow,
        SetVerdict,
        AddRow,
        TotalCount,
        RightCount,
        LastPass,
        ClosePass,
        EmptyKeyObjectives,
        MarkComplete,
        ReopenAll,
        KindCount
    };
    db::Statement& statement(Kind kind, const QString& sql);

    db::Connection& m_conn;
    std::array<std::optional<db::Statement>, KindCount> m_statements;
};
