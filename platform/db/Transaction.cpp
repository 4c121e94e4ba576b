#include "platform/db/Transaction.h"

#include <atomic>

namespace db {

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_connection.execScript(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (m_open) {
        try {
            rollback();
        } catch (...) {
            // The connection may be gone or SQLite may have rolled back itself.
        }
    }
}

void Transaction::commit()
{
    m_connection.execScript(QStringLiteral("COMMIT"));
    m_open = false;
}

void Transaction::rollback()
{
    m_open = false;
    if (m_connection.inTransaction())
        m_connection.execScript(QStringLiteral("ROLLBACK"));
}

Savepoint::Savepoint(Connection& connection) : m_connection(connection)
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("zd_sp%1").arg(++counter);
    m_connection.execScript(QStringLiteral("SAVEPOINT ") + m_name);
}

Savepoint::~Savepoint()
{
    if (m_open) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Savepoint::release()
{
    m_connection.execScript(QStringLiteral("RELEASE ") + m_name);
    m_open = false;
}

void Savepoint::rollback()
{
    m_open = false;
    // ROLLBACK TO keeps the savepoint on the stack; RELEASE removes it.
    m_connection.execScript(QStringLiteral("ROLLBACK TO ") + m_name + QStringLiteral("; RELEASE ") + m_name);
}

void proveWritable(Connection& connection)
{
    Transaction probe(connection);
    const qint64 version = connection.scalar(QStringLiteral("PRAGMA user_version")).toLongLong();
    connection.execScript(QStringLiteral("PRAGMA user_version = %1").arg(version));
    probe.rollback();
}

} // namespace db
