#pragma once

#include <QString>
#include <vector>

namespace db {
class Connection;
}

// What the analysis windows read of a user's progress (Qe_Progress): sums
// per pass and counts per category. Rows of questions no longer in the bank
// are left out, so no count ever exceeds the questions it is measured
// against. Works on the caller's connection; every value is bound; database
// errors reach the caller (db::DbError).
class ProgressHistory {
public:
    explicit ProgressHistory(db::Connection& exam);

    // The sums of one pass; a Null flag adds nothing.
    struct PassTotals {
        int pass = 0;
        int correct = 0;
        int wrong = 0;
    };
    // One entry per pass the user has rows in, by pass number (rows without
    // a pass number are left out).
    std::vector<PassTotals> passTotals(int userCode);

    // The questions of one category the user met in a pass: a question
    // counts once, as correct when any of its rows is, else as wrong when
    // any of its rows is.
    struct CategoryAnswers {
        int category = 0;
        int correct = 0;
        int wrong = 0;
    };
    // One entry per category code with met questions, in no particular order.
    std::vector<CategoryAnswers> categoryAnswers(int userCode, int pass);

    // Statement texts, for benchmarks that step them through the C API as
    // the floor of a measurement.
    static QString passTotalsSql();      // bound: user
    static QString categoryAnswersSql(); // bound: user, pass

private:
    db::Connection& m_conn;
};
