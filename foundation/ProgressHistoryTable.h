#pragma once

namespace db {
class Connection;
}

// The user's answer history in an exam database (Qe_Progress) as the main
// window's Clear History removes it. Values are bound; database errors reach
// the caller (db::DbError).
class ProgressHistoryTable {
public:
    explicit ProgressHistoryTable(db::Connection& exam);

    // Removes every progress row of the user, of every pass (one statement:
    // all or none); returns how many there were.
    int clearUserHistory(int userCode);

private:
    db::Connection& m_exam;
};
