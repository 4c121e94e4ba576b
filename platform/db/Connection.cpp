#include "platform/db/Connection.h"

#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <sqlite3.h>

namespace db {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kBusyTimeout = std::chrono::milliseconds(5000);
// The longest text, blob or row any connection reads or makes: 16 MiB, far
// above any real question, explanation or note (a few KB), so that a
// stranger's file cannot hand the program a value as large as it likes (a
// generated column, a huge stored text, printf's width). Larger fails as
// too big.
constexpr int kLongestValue = 16 * 1024 * 1024;
// Virtual-machine steps between two looks at the clock: a look costs far
// less than the steps.
constexpr int kStepsPerLook = 1000;

std::atomic<std::chrono::milliseconds::rep> gStatementTimeLimitMs{5000};

[[noreturn]] void raiseCode(int code, const QString& message)
{
    throw DbError(DbError::classify(code, message), code, message);
}

// One step of a statement: true for a row, false when done; an error resets
// the statement and raises.
bool stepRow(Connection* connection, sqlite3_stmt* stmt)
{
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt);
    connection->raise(rc);
}

QVariant columnValue(sqlite3_stmt* stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, i);
    case SQLITE_NULL:
        return QVariant();
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        return QString::fromUtf8(text, sqlite3_column_bytes(stmt, i));
    }
    }
}

ResultSet readAll(Connection* connection, sqlite3_stmt* stmt)
{
    const int columnCount = sqlite3_column_count(stmt);
    QStringList columns;
    columns.reserve(columnCount);
    for (int i = 0; i < columnCount; ++i)
        columns << QString::fromUtf8(sqlite3_column_name(stmt, i));

    std::vector<std::vector<QVariant>> rows;
    while (stepRow(connection, stmt)) {
        std::vector<QVariant> values;
        values.reserve(size_t(columnCount));
        for (int i = 0; i < columnCount; ++i)
            values.push_back(columnValue(stmt, i));
        rows.push_back(std::move(values));
    }
    sqlite3_reset(stmt);
    return ResultSet(std::move(columns), std::move(rows));
}

struct FinalizeStatement {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using OwnedStatement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

} // namespace

std::chrono::milliseconds statementTimeLimit()
{
    return std::chrono::milliseconds(gStatementTimeLimitMs.load());
}

void setStatementTimeLimit(std::chrono::milliseconds limit)
{
    gStatementTimeLimitMs = limit.count();
}

struct Connection::StatementClock {
    Clock::time_point started = Clock::now();
    Clock::time_point waitingSince;
    Clock::duration busyLimit = kBusyTimeout;

    // Progress handler: non-zero stops the statement with SQLITE_INTERRUPT.
    static int look(void* self)
    {
        const auto* clock = static_cast<const StatementClock*>(self);
        return Clock::now() - clock->started > statementTimeLimit() ? 1 : 0;
    }

    // Busy handler: waits for another program's lock as sqlite3_busy_timeout
    // would, and keeps the wait out of the statement's time.
    static int wait(void* self, int attempt)
    {
        auto* clock = static_cast<StatementClock*>(self);
        const Clock::time_point now = Clock::now();
        if (attempt == 0)
            clock->waitingSince = now;
        if (now - clock->waitingSince >= clock->busyLimit)
            return 0;
        static constexpr int kDelaysMs[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
        constexpr int kDelayCount = int(sizeof kDelaysMs / sizeof kDelaysMs[0]);
        sqlite3_sleep(kDelaysMs[std::min(attempt, kDelayCount - 1)]);
        clock->started += Clock::now() - now;
        return 1;
    }
};

void Connection::DeleteClock::operator()(StatementClock* clock) const
{
    delete clock;
}

void Connection::startStatementClock()
{
    if (m_clock)
        m_clock->started = Clock::now();
}

// ---- RowReader ----

bool RowReader::isInteger(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_INTEGER;
}

qint64 RowReader::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QVariant RowReader::value(int column) const
{
    return columnValue(m_stmt, column);
}

// ---- Statement ----

Statement::Statement(Statement&& other) noexcept : m_connection(other.m_connection), m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_connection = other.m_connection;
        m_stmt = other.m_stmt;
        other.m_stmt = nullptr;
    }
    return *this;
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

static void bindParams(Connection* connection, sqlite3_stmt* stmt, const Params& params)
{
    connection->startStatementClock();
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (int(params.size()) != expected)
        throw DbError(ErrorClass::Other, SQLITE_RANGE,
                      QStringLiteral("Statement expects %1 values, %2 given").arg(expected).arg(params.size()));
    for (int i = 0; i < expected; ++i) {
        const QVariant& value = params[size_t(i)];
        int rc;
        switch (value.typeId()) {
        case QMetaType::UnknownType:
        case QMetaType::Nullptr:
            rc = sqlite3_bind_null(stmt, i + 1);
            break;
        case QMetaType::Bool:
            rc = sqlite3_bind_int(stmt, i + 1, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(stmt, i + 1, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt, i + 1, value.toDouble());
            break;
        default: {
            if (value.isNull()) {
                rc = sqlite3_bind_null(stmt, i + 1);
                break;
            }
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        }
        if (rc != SQLITE_OK)
            connection->raise(rc);
    }
}

static int runStatement(Connection* connection, sqlite3_stmt* stmt, const Params& params)
{
    bindParams(connection, stmt, params);
    while (stepRow(connection, stmt)) { }
    sqlite3_reset(stmt);
    return sqlite3_changes(connection->handle());
}

static ResultSet queryStatement(Connection* connection, sqlite3_stmt* stmt, const Params& params)
{
    bindParams(connection, stmt, params);
    return readAll(connection, stmt);
}

int Statement::exec(const Params& params)
{
    return runStatement(m_connection, m_stmt, params);
}

ResultSet Statement::query(const Params& params)
{
    return queryStatement(m_connection, m_stmt, params);
}

// ---- Connection ----

Connection::Connection(Connection&& other) noexcept
    : m_db(other.m_db), m_clock(std::move(other.m_clock)), m_path(std::move(other.m_path)),
      m_cache(std::move(other.m_cache))
{
    other.m_db = nullptr;
    other.m_cache.clear();
}

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        close();
        m_db = other.m_db;
        m_clock = std::move(other.m_clock);
        m_path = std::move(other.m_path);
        m_cache = std::move(other.m_cache);
        other.m_db = nullptr;
        other.m_cache.clear();
    }
    return *this;
}

Connection::~Connection()
{
    close();
}

void Connection::close()
{
    for (const CachedStatement& cached : m_cache)
        sqlite3_finalize(cached.stmt);
    m_cache.clear();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_clock.reset();
}

QString Connection::pathFromConnectionString(const QString& connectionString)
{
    const int at = connectionString.indexOf(QLatin1String("DBQ="), 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    const int start = at + 4;
    if (start < connectionString.size() && connectionString.at(start) == QLatin1Char('{')) {
        // Taken whole, not trimmed: the braces hold the path exactly.
        QString path;
        for (int i = start + 1; i < connectionString.size(); ++i) {
            const QChar c = connectionString.at(i);
            if (c == QLatin1Char('}')) {
                if (i + 1 < connectionString.size() && connectionString.at(i + 1) == QLatin1Char('}')) {
                    path += c;
                    ++i;
                    continue;
                }
                return path;
            }
            path += c;
        }
        return QString();
    }
    const int end = connectionString.indexOf(QLatin1Char(';'), start);
    return connectionString.mid(start, end < 0 ? -1 : end - start).trimmed();
}

Connection Connection::open(const QString& connectionString)
{
    const QString path = pathFromConnectionString(connectionString);
    if (path.isEmpty())
        throw DbError(ErrorClass::CannotOpen, SQLITE_CANTOPEN,
                      QStringLiteral("The connection string names no database file (DBQ=)"));
    return openFile(path);
}

Connection Connection::openFile(const QString& path)
{
    // SQLite would happily open a directory or create a missing file; both are
    // errors here, with a message that names the file.
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        throw DbError(ErrorClass::CannotOpen, SQLITE_CANTOPEN, QStringLiteral("Could not find file '%1'.").arg(path));
    Connection connection = openWithFlags(path, SQLITE_OPEN_READWRITE);
    // Opening reads nothing; the first statement finds out whether the file is
    // a database at all.
    connection.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    return connection;
}

Connection Connection::create(const QString& path)
{
    return openWithFlags(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

Connection Connection::openWithFlags(const QString& path, int flags)
{
    Connection connection;
    connection.m_path = path;
    // The file opened is the file named: a NUL would cut the name short, and
    // SQLite reads a name starting "file:" as a URI with options of its own.
    if (path.contains(QChar(0)))
        raiseCode(SQLITE_CANTOPEN, QStringLiteral("Could not find file '%1'.").arg(path));
    QByteArray utf8 = path.toUtf8();
    if (path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        utf8.prepend("./");
    const int rc = sqlite3_open_v2(utf8.constData(), &connection.m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = connection.m_db
            ? QStringLiteral("%1: %2").arg(QString::fromUtf8(sqlite3_errmsg(connection.m_db)), path)
            : QStringLiteral("Cannot open %1").arg(path);
        connection.close();
        raiseCode(rc, message);
    }
    sqlite3_extended_result_codes(connection.m_db, 1);
    // Every database is treated as a stranger's file (exam databases are):
    // no writes to the schema's own tables, no functions with side effects
    // run from a view or trigger, every page's cells checked as read, and
    // every statement bounded in time.
    sqlite3_db_config(connection.m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(connection.m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(connection.m_db, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 0, nullptr);
    sqlite3_limit(connection.m_db, SQLITE_LIMIT_LENGTH, kLongestValue);
    connection.m_clock.reset(new StatementClock);
    sqlite3_progress_handler(connection.m_db, kStepsPerLook, &StatementClock::look, connection.m_clock.get());
    sqlite3_busy_handler(connection.m_db, &StatementClock::wait, connection.m_clock.get());
    connection.execScript(
        QStringLiteral("PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF; PRAGMA cell_size_check=ON"));
    return connection;
}

void Connection::setBusyTimeout(int milliseconds)
{
    // The program's own busy handler stays, so the wait stays out of the
    // statement's time bound.
    if (m_clock)
        m_clock->busyLimit = std::chrono::milliseconds(milliseconds);
}

void Connection::raise(int code) const
{
    QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(code));
    if ((code & 0xff) == SQLITE_NOTADB || (code & 0xff) == SQLITE_CANTOPEN || (code & 0xff) == SQLITE_INTERRUPT
        || (code & 0xff) == SQLITE_CORRUPT)
        message += QStringLiteral(": ") + m_path;
    raiseCode(code, message);
}

Statement Connection::prepare(const QString& sql)
{
    if (!m_db)
        throw DbError(ErrorClass::Other, SQLITE_MISUSE, QStringLiteral("The connection is closed"));
    const QByteArray utf8 = sql.toUtf8();
    startStatementClock();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK)
        raise(rc);
    if (!stmt)
        throw DbError(ErrorClass::Other, SQLITE_MISUSE, QStringLiteral("Empty statement"));
    return Statement(this, stmt);
}

int Connection::exec(const QString& sql, const Params& params)
{
    return runStatement(this, cachedStatement(sql), params);
}

ResultSet Connection::query(const QString& sql, const Params& params)
{
    return queryStatement(this, cachedStatement(sql), params);
}

void Connection::forEachRow(const QString& sql, const Params& params,
                            const std::function<void(const RowReader&)>& visit)
{
    sqlite3_stmt* stmt = cachedStatement(sql);
    bindParams(this, stmt, params);
    const RowReader row(stmt);
    try {
        while (stepRow(this, stmt))
            visit(row);
    } catch (...) {
        sqlite3_reset(stmt);
        throw;
    }
    sqlite3_reset(stmt);
}

sqlite3_stmt* Connection::cachedStatement(const QString& sql)
{
    // Most recently used last; a hit moves to the back.
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->sql == sql) {
            std::rotate(it, it + 1, m_cache.end());
            return m_cache.back().stmt;
        }
    }
    Statement fresh = prepare(sql);
    if (m_cache.size() >= kStatementCacheSize) {
        sqlite3_finalize(m_cache.front().stmt);
        m_cache.erase(m_cache.begin());
    }
    m_cache.push_back({sql, fresh.m_stmt});
    fresh.m_stmt = nullptr;
    return m_cache.back().stmt;
}

QVariant Connection::scalar(const QString& sql, const Params& params)
{
    const ResultSet rows = query(sql, params);
    if (rows.empty() || rows.columnCount() == 0)
        return QVariant();
    return rows.first().value(0);
}

void Connection::execScript(const QString& sql)
{
    if (!m_db)
        throw DbError(ErrorClass::Other, SQLITE_MISUSE, QStringLiteral("The connection is closed"));
    // Statement by statement, so that each has its own time bound.
    const QByteArray utf8 = sql.toUtf8();
    const char* next = utf8.constData();
    const char* const end = next + utf8.size();
    while (next < end) {
        startStatementClock();
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        const int prepared = sqlite3_prepare_v2(m_db, next, int(end - next), &stmt, &tail);
        if (prepared != SQLITE_OK)
            raise(sqlite3_extended_errcode(m_db));
        next = tail;
        if (!stmt)
            continue; // blanks or a comment
        const OwnedStatement owned(stmt);
        while (stepRow(this, stmt)) { }
    }
}

qint64 Connection::lastInsertId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

bool Connection::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

QStringList Connection::tableColumns(const QString& table)
{
    // Preparing "SELECT * FROM t" names the columns as the table stores them,
    // without reading a row; it fails for a missing table like a query would.
    Statement stmt = prepare(QStringLiteral("SELECT * FROM ") + quoteIdentifier(table));
    QStringList columns;
    const int count = sqlite3_column_count(stmt.m_stmt);
    for (int i = 0; i < count; ++i)
        columns << QString::fromUtf8(sqlite3_column_name(stmt.m_stmt, i));
    return columns;
}

bool Connection::hasTable(const QString& table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"),
                  {table})
               .toInt()
        > 0;
}

bool Connection::isVirtualTable(const QString& table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE "
                                 "AND sql LIKE 'CREATE VIRTUAL%'"),
                  {table})
               .toInt()
        > 0;
}

QStringList Connection::computedColumns(const QString& table)
{
    QStringList names;
    for (const Row& row : query(QStringLiteral("SELECT name FROM pragma_table_xinfo(?) WHERE hidden <> 0"), {table}))
        names << row.value(0).toString();
    return names;
}

QStringList Connection::computedIndexes(const QString& table)
{
    QStringList names;
    for (const Row& row : query(QStringLiteral("SELECT DISTINCT l.name FROM pragma_index_list(?) l "
                                               "JOIN pragma_index_xinfo(l.name) x "
                                               "WHERE l.partial <> 0 OR x.cid = -2 ORDER BY l.name"),
                                {table}))
        names << row.value(0).toString();
    return names;
}

QStringList Connection::schemaObjects(const QString& type)
{
    QStringList names;
    for (const Row& row : query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = ? ORDER BY name"), {type}))
        names << row.value(0).toString();
    return names;
}

QString Connection::quickCheckProblem()
{
    // One line is enough to refuse the file; the first says where.
    const QString first = scalar(QStringLiteral("PRAGMA quick_check(1)")).toString();
    return first == QLatin1String("ok") ? QString() : first;
}

QString Connection::quickCheckProblem(const QString& table)
{
    const QString first = scalar(QStringLiteral("PRAGMA quick_check(") + quoteIdentifier(table) + QLatin1Char(')')).toString();
    return first == QLatin1String("ok") ? QString() : first;
}

QString quoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace db
