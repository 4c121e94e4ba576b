#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace db {
class Connection;
}

// The per-user rows of an exam database that the purge of deleted users
// removes: history detail, history summary, user copies and notes, each by
// its user-code column. Works on the caller's connection (and transaction);
// database errors reach the caller (db::DbError).
class ExamUserTables {
public:
    explicit ExamUserTables(db::Connection& exam);

    // The purged tables and their user-code columns, in the order purged.
    // Qe_UserLinks is not among them: its user-code column holds the parent
    // link of a link, 0 for links shown to everybody.
    static const std::vector<std::pair<QString, QString>>& purgedColumns();

    // Deletes from every purged table the rows whose user code is none of
    // the kept codes. Code 0, the administrator's rows, is always kept, and
    // so are rows without a code. A code is compared as the integer it
    // holds, whether stored as a number or as text. Returns the number of
    // rows deleted.
    int removeUsersOtherThan(const std::vector<int>& keptCodes);

    // The statement for one table; its one parameter is the kept codes as a
    // JSON array (keptCodesParameter).
    static QString removeSql(const QString& table, const QString& column);
    static QString keptCodesParameter(const std::vector<int>& keptCodes);

private:
    db::Connection& m_exam;
};
