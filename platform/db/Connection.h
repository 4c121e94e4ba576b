#pragma once

#include "platform/db/DbError.h"
#include "platform/db/ResultSet.h"

#include <QString>
#include <QVariant>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// Values bound to the ? placeholders of a statement, in order. A null
// QVariant binds NULL; bool binds 0/1; integral types bind INTEGER; double
// binds REAL; everything else binds its text.
using Params = std::vector<QVariant>;

class Connection;

// The row a query has just stepped to, read in place: for long reads of a
// few numbers, where a fully read result would cost a value object per
// field.
class RowReader {
public:
    explicit RowReader(sqlite3_stmt* stmt) : m_stmt(stmt) { }
    // True when the field holds an integer, which integer() then gives.
    bool isInteger(int column) const;
    qint64 integer(int column) const;
    // The field as a fully read result holds it.
    QVariant value(int column) const;

private:
    sqlite3_stmt* m_stmt;
};

// Every statement is stopped (SQLITE_INTERRUPT) once it has run this long;
// time spent waiting for another program's lock does not count. Exam
// databases are strangers' files, and one can hold a view whose query never
// ends.
std::chrono::milliseconds statementTimeLimit();
// Sets the bound for connections opened afterwards and open ones alike
// (tests make it short).
void setStatementTimeLimit(std::chrono::milliseconds limit);

// A prepared statement that can be run many times with new values, for bulk
// work such as writing a whole question bank in one transaction.
class Statement {
public:
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    ~Statement();

    // Binds and runs the statement; returns the number of rows changed.
    int exec(const Params& params = {});
    ResultSet query(const Params& params = {});

private:
    friend class Connection;
    Statement(Connection* connection, sqlite3_stmt* stmt) : m_connection(connection), m_stmt(stmt) { }

    Connection* m_connection;
    sqlite3_stmt* m_stmt;
};

class Connection {
public:
    Connection() = default;
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Opens the database named by "DBQ=" in an ODBC-style connection string.
    // User and password are accepted and unused.
    static Connection open(const QString& connectionString);
    // Opens an existing database file; never creates one. The file is probed,
    // so a file that is not a database fails here with NotADatabase.
    static Connection openFile(const QString& path);
    // Creates a new database file (or opens an existing one) for writing.
    static Connection create(const QString& path);
    // The file a connection string names: "DBQ={path}" with "}}" read as "}"
    // (what connectionString builds), else "DBQ=" up to the next ";". ""
    // when there is none or the braces are not closed.
    static QString pathFromConnectionString(const QString& connectionString);

    bool isOpen() const { return m_db != nullptr; }
    // How long a statement waits for another connection's lock before it
    // fails as busy (every connection starts with the same few seconds).
    void setBusyTimeout(int milliseconds);
    QString path() const { return m_path; }
    void close();

    // Runs one statement; returns the number of rows it changed.
    int exec(const QString& sql, const Params& params = {});
    // Runs several statements separated by ";" with no parameters.
    void execScript(const QString& sql);
    // Runs a query and reads every row at once.
    ResultSet query(const QString& sql, const Params& params = {});
    // Runs a query and hands every row to `visit` as it is read; nothing is
    // kept. An exception from `visit` ends the query and goes on.
    void forEachRow(const QString& sql, const Params& params, const std::function<void(const RowReader&)>& visit);
    // First column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const Params& params = {});
    Statement prepare(const QString& sql);

    qint64 lastInsertId() const;
    bool inTransaction() const;
    // Column names of a table, as stored in the database, in order.
    QStringList tableColumns(const QString& table);
    bool hasTable(const QString& table);
    // A virtual table: its rows come from a module's code, not from the file.
    bool isVirtualTable(const QString& table);
    // Columns that hold no plain stored value: generated columns (virtual or
    // stored, made by an expression on every read or write) and a virtual
    // table's hidden ones. SELECT * shows generated columns like any other.
    QStringList computedColumns(const QString& table);
    // Indexes of a table that run an expression on every write: built on an
    // expression, or limited by a WHERE clause.
    QStringList computedIndexes(const QString& table);
    // Names of the schema objects of one type ("view", "trigger").
    QStringList schemaObjects(const QString& type);
    // What PRAGMA quick_check finds wrong with the file (its first line); ""
    // when it finds nothing. A page too damaged to read raises instead.
    QString quickCheckProblem();
    // The same for one table and its indexes only.
    QString quickCheckProblem(const QString& table);

    sqlite3* handle() const { return m_db; }
    // Starts the time bound of the statement about to run.
    void startStatementClock();
    [[noreturn]] void raise(int code) const;

private:
    static Connection openWithFlags(const QString& path, int flags);
    // exec, query and scalar reuse prepared statements: the program runs the
    // same few statements many times (a question by key, its choices).
    sqlite3_stmt* cachedStatement(const QString& sql);

    struct CachedStatement {
        QString sql;
        sqlite3_stmt* stmt;
    };
    static constexpr size_t kStatementCacheSize = 16;

    struct StatementClock;
    struct DeleteClock {
        void operator()(StatementClock* clock) const;
    };

    sqlite3* m_db = nullptr;
    std::unique_ptr<StatementClock, DeleteClock> m_clock;
    QString m_path;
    std::vector<CachedStatement> m_cache;
};

// Quotes an identifier for SQL ("name" with inner quotes doubled). Table and
// column names never come from users, but a quoted name is never misread.
QString quoteIdentifier(const QString& name);

} // namespace db
