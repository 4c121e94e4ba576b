#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <vector>

namespace db {
class Connection;
}

// What the score card reads of the learning objectives (Qe_LOS) with the
// place of each row's question (Qe_QuestionsHead). Works on the caller's
// connection; database errors reach the caller (db::DbError).
class ObjectiveTable {
public:
    explicit ObjectiveTable(db::Connection& exam);

    // One objective row as stored, with its question's place.
    struct ScoreCardRow {
        QVariant questCode;            // of the objective row
        std::array<QVariant, 4> parts; // the four parts of the objective
        QVariant status;               // 1 when complete in the running pass
        bool hasQuestion = false;      // its question row exists
        QVariant category, chapter;    // of the question row; Null without one
    };
    // Every row, by the four parts (rows of one objective in storage order).
    std::vector<ScoreCardRow> scoreCardRows();

    // The statement text, for benchmarks that step it through the C API as
    // the floor of a measurement.
    static QString scoreCardRowsSql();

private:
    db::Connection& m_conn;
};
