#pragma once

#include "platform/db/Connection.h"

namespace db {

// BEGIN IMMEDIATE on construction; rolls back on destruction unless
// committed, so an exception never leaves half of a change behind.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();

private:
    Connection& m_connection;
    bool m_open = true;
};

// A savepoint: works inside a caller's transaction (where a second
// transaction or a second writing connection cannot) and alone.
class Savepoint {
public:
    explicit Savepoint(Connection& connection);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    void release();
    void rollback();

private:
    Connection& m_connection;
    QString m_name;
    bool m_open = true;
};

// Proves that the connection's file can be written, and changes nothing:
// takes the write lock (refused for a file that cannot be written, Busy
// while another connection holds it), then rewrites the header's user
// version to its own value, which makes SQLite create its journal beside the
// file (refused when the folder cannot be written), and rolls back. Raises
// DbError.
void proveWritable(Connection& connection);

} // namespace db
