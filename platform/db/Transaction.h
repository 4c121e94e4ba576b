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

} // namespace db
