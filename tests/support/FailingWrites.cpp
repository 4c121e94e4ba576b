#include "tests/support/FailingWrites.h"

#include "platform/db/Connection.h"

namespace {

const char* eventOf(FailingWrites::Write write)
{
    switch (write) {
    case FailingWrites::Write::Insert:
        return "INSERT";
    case FailingWrites::Write::Update:
        return "UPDATE";
    case FailingWrites::Write::Delete:
        return "DELETE";
    }
    return "INSERT";
}

} // namespace

// One trigger per table and kind of write, so seams on one table for
// different writes can stand together.
FailingWrites::FailingWrites(const QString& databasePath, const QString& table, int rowsLetThrough, Write write,
                             Raise raise)
    : m_path(databasePath),
      m_trigger(QStringLiteral("zd_failing_%1_%2").arg(QString::fromLatin1(eventOf(write)).toLower(), table)),
      m_counter(m_trigger + QStringLiteral("_rows"))
{
    const char* const event = eventOf(write);
    const char* const action = raise == Raise::Abort ? "ABORT" : "ROLLBACK";
    db::Connection connection = db::Connection::openFile(m_path);
    // The check comes before the count, so a refused row is never counted.
    connection.execScript(QStringLiteral("CREATE TABLE %1 (n INTEGER);"
                                         "CREATE TRIGGER %2 BEFORE %3 ON %4 FOR EACH ROW BEGIN "
                                         "SELECT RAISE(%5, '%6') WHERE (SELECT count(*) FROM %1) >= %7; "
                                         "INSERT INTO %1 (n) VALUES (1); "
                                         "END")
                              .arg(db::quoteIdentifier(m_counter), db::quoteIdentifier(m_trigger), QLatin1String(event),
                                   db::quoteIdentifier(table), QLatin1String(action), message())
                              .arg(rowsLetThrough));
}

FailingWrites::~FailingWrites()
{
    try {
        db::Connection connection = db::Connection::openFile(m_path);
        connection.execScript(QStringLiteral("DROP TRIGGER IF EXISTS %1; DROP TABLE IF EXISTS %2")
                                  .arg(db::quoteIdentifier(m_trigger), db::quoteIdentifier(m_counter)));
    } catch (...) {
        // The test may have removed or replaced the file.
    }
}

QString FailingWrites::message()
{
    return QStringLiteral("write refused by the failure seam");
}
