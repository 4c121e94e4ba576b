#include "foundation/ConnectionString.h"
#include "platform/db/Connection.h"
#include "platform/db/ErrorWords.h"
#include "platform/db/Transaction.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFileInfo>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>
#include <thread>

using db::Connection;
using db::DbError;
using db::ErrorClass;
using db::RowReader;

namespace {

class DbLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = home.file(QStringLiteral("test.qzr"));
        auto c = Connection::create(path);
        c.execScript(
            QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT COLLATE NOCASE, v REAL, n INTEGER)"));
    }
    ErrorClass classOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const DbError& e) {
            return e.errorClass();
        }
        ADD_FAILURE() << "no error raised";
        return ErrorClass::Other;
    }

    TempHome home;
    QString path;
};

TEST_F(DbLayer, BoundValuesRoundTripVerbatim)
{
    auto c = Connection::openFile(path);
    const QString tricky = QStringLiteral("O'Brien \"quoted\" -- ; DROP TABLE t; Zürich 東京");
    c.exec(QStringLiteral("INSERT INTO t (id, name, v, n) VALUES (?, ?, ?, ?)"), {1, tricky, 2.5, QVariant()});
    c.exec(QStringLiteral("INSERT INTO t (id, name) VALUES (?, ?)"), {2, QStringLiteral("0042")});

    const auto rows = c.query(QStringLiteral("SELECT * FROM t ORDER BY id"));
    ASSERT_EQ(rows.recordCount(), 2);
    EXPECT_EQ(rows[0].text(QStringLiteral("NAME")), tricky); // field names ignore case
    EXPECT_DOUBLE_EQ(rows[0].real(QStringLiteral("v")), 2.5);
    EXPECT_TRUE(rows[0].isNull(QStringLiteral("n")));
    EXPECT_EQ(rows[0].integer(QStringLiteral("n")), 0);
    EXPECT_EQ(rows[1].text(1), QStringLiteral("0042"));
    EXPECT_EQ(rows[1].value(1).typeId(), QMetaType::QString);
    // Text compares without regard to ASCII case.
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT id FROM t WHERE name = ?"), {QStringLiteral("0042")}).toInt(), 2);
    c.exec(QStringLiteral("INSERT INTO t (id, name) VALUES (3, 'Admin')"));
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT id FROM t WHERE name = ?"), {QStringLiteral("ADMIN")}).toInt(), 3);
    EXPECT_THROW(rows[0].value(QStringLiteral("missing")), DbError);
}

// A row read in place gives each field as a fully read result holds it;
// a visitor that throws ends the read, and the same statement runs again.
TEST_F(DbLayer, RowsReadInPlaceMatchTheFullReadAndAThrowEndsTheRead)
{
    auto c = Connection::openFile(path);
    c.exec(QStringLiteral("INSERT INTO t (id, name, v, n) VALUES (1, 'a', 2.5, NULL), (2, '0042', NULL, 7), "
                          "(3, NULL, 1e300, -9223372036854775807)"));
    const QString sql = QStringLiteral("SELECT id, name, v, n FROM t WHERE id >= ? ORDER BY id");
    const auto rows = c.query(sql, {1});
    int seen = 0;
    c.forEachRow(sql, {1}, [&](const RowReader& row) {
        for (int column = 0; column < 4; ++column) {
            const QVariant full = rows[seen].value(column);
            EXPECT_EQ(row.value(column), full) << seen << ":" << column;
            EXPECT_EQ(row.value(column).typeId(), full.typeId());
            EXPECT_EQ(row.isInteger(column), full.typeId() == QMetaType::LongLong);
            if (row.isInteger(column)) {
                EXPECT_EQ(row.integer(column), full.toLongLong());
            }
        }
        ++seen;
    });
    EXPECT_EQ(seen, 3);

    seen = 0;
    EXPECT_THROW(c.forEachRow(sql, {1},
                              [&](const RowReader&) {
                                  if (++seen == 2)
                                      throw std::runtime_error("enough");
                              }),
                 std::runtime_error);
    EXPECT_EQ(seen, 2);
    EXPECT_FALSE(c.inTransaction());
    seen = 0;
    c.forEachRow(sql, {2}, [&](const RowReader&) { ++seen; });
    EXPECT_EQ(seen, 2);
}

TEST_F(DbLayer, GetStringJoinsFieldsAndRows)
{
    auto c = Connection::openFile(path);
    c.exec(QStringLiteral("INSERT INTO t (id, name) VALUES (1, 'a'), (2, NULL)"));
    EXPECT_EQ(c.query(QStringLiteral("SELECT id, name FROM t ORDER BY id"))
                  .getString(QStringLiteral(","), QStringLiteral(";"), QStringLiteral("-")),
              QStringLiteral("1,a;2,-;"));
}

TEST_F(DbLayer, OpeningErrorsAreDistinctAndCreateNothing)
{
    const QString missing = home.file(QStringLiteral("nowhere/missing.qzr"));
    EXPECT_EQ(classOf([&] { Connection::openFile(missing); }), ErrorClass::CannotOpen);
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(classOf([&] { Connection::openFile(home.path()); }), ErrorClass::CannotOpen);

    home.write(QStringLiteral("text.qzr"),
               QByteArray("This is a plain text file, not a question bank.\n").repeated(40));
    EXPECT_EQ(classOf([&] { Connection::openFile(home.file(QStringLiteral("text.qzr"))); }), ErrorClass::NotADatabase);

    EXPECT_EQ(classOf([&] { Connection::open(QStringLiteral("Provider=X;User ID=Admin;")); }), ErrorClass::CannotOpen);
}

TEST_F(DbLayer, ConnectionStringNamesTheFile)
{
    const QString cs = QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;User ID=Admin;DBQ=") + path
        + QStringLiteral(";Driver={Microsoft Access Driver (*.mdb)};DriverId=25;FIL=MS Access;pwd= TORVILKE");
    EXPECT_EQ(Connection::pathFromConnectionString(cs), path);
    EXPECT_TRUE(Connection::open(cs).isOpen());
}

// Whatever a folder's name holds, the path comes back out of both kinds of
// connection string whole, and an unclosed brace names no file at all.
TEST(ConnectionStrings, PathsComeBackWhole)
{
    const QString paths[] = {
        QStringLiteral("/home/u/Data/evil;x/LinuxAdmin.qzr"),
        QStringLiteral("/p/a=b;DBQ=/etc/other;pwd=x/e.qzr"),
        QStringLiteral("/p/{braced}/e.qzr"),
        QStringLiteral("/p/close}/e.qzr}"),
        QStringLiteral("/p/}}/{{}/e.qzr"),
        QStringLiteral("/p/\"quoted\" and 'single'/e.qzr"),
        QStringLiteral(" /p/ spaced folder /e.qzr "),
        QStringLiteral("/p/new\nline\t/e.qzr"),
        QStringLiteral("/p/Prüfung ÄÖÜ 試験 🎓/e.qzr"),
        QStringLiteral("relative;dir/e.qzr"),
        QStringLiteral("{"),
        QStringLiteral("}"),
        QStringLiteral(";"),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(Connection::pathFromConnectionString(connectionString(path, QStringLiteral("pw;}"))), path);
        EXPECT_EQ(Connection::pathFromConnectionString(checkConnectionString(path, QStringLiteral("pw"))), path);
    }
    EXPECT_EQ(Connection::pathFromConnectionString(QStringLiteral("DBQ=/legacy/form.qzr;UID=admin")),
              QStringLiteral("/legacy/form.qzr"));
    EXPECT_EQ(Connection::pathFromConnectionString(QStringLiteral("DBQ={/never/closed;UID=admin")), QString());
    EXPECT_EQ(Connection::pathFromConnectionString(QStringLiteral("DBQ={/p/a}};b};x")), QStringLiteral("/p/a};b"));
}

// The file opened through a connection string is the file named, even when a
// decoy sits where the name would be cut at ";", and a name SQLite would read
// as a URI or one holding a NUL opens nothing else.
TEST_F(DbLayer, ConnectionStringOpensExactlyTheFileNamed)
{
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Data/evil;x")));
    const QString decoy = home.file(QStringLiteral("Data/evil"));
    Connection::create(decoy).execScript(QStringLiteral("CREATE TABLE t (id INTEGER)"));
    const QString exam = home.file(QStringLiteral("Data/evil;x/e {1} 'x'.qzr"));
    Connection::create(exam).execScript(QStringLiteral("CREATE TABLE t (id INTEGER)"));

    Connection opened = Connection::open(connectionString(exam, QStringLiteral("pw")));
    EXPECT_EQ(opened.path(), exam);
    opened.exec(QStringLiteral("INSERT INTO t VALUES (7)"));
    EXPECT_EQ(Connection::openFile(exam).scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 1);
    EXPECT_EQ(Connection::openFile(decoy).scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 0);

    // "file:" names a URI to SQLite; here it is a folder of that name.
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("file:x?mode=memory")));
    const QString uriLike = QStringLiteral("file:x?mode=memory/e.qzr");
    Connection::create(uriLike).execScript(QStringLiteral("CREATE TABLE u (id INTEGER)"));
    EXPECT_TRUE(QFileInfo(home.file(uriLike)).isFile());
    EXPECT_TRUE(Connection::open(connectionString(uriLike, {})).hasTable(QStringLiteral("u")));
    QDir::setCurrent(cwd);

    EXPECT_EQ(classOf([&] { Connection::create(exam + QChar(0) + QStringLiteral("x")); }), ErrorClass::CannotOpen);
}

// No value read or made is longer than the connection's bound: a stored text
// past it fails as too large, in the program's words, and printf's width
// makes no 200 MB text; a real text of a few hundred KB is far below it.
TEST_F(DbLayer, NoValueGrowsPastTheBound)
{
    {
        // Written as another program would, with SQLite's own limits.
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
        sqlite3_stmt* insert = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(raw, "INSERT INTO t (id, name) VALUES (1, printf('%.*c', 20000000, 'x'))", -1,
                                     &insert, nullptr),
                  SQLITE_OK);
        EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_finalize(insert);
        sqlite3_close(raw);
    }
    auto c = Connection::openFile(path);
    try {
        c.scalar(QStringLiteral("SELECT name FROM t WHERE id = 1"));
        ADD_FAILURE() << "a 20 MB text was read";
    } catch (const DbError& error) {
        EXPECT_EQ(error.sqliteCode() & 0xff, SQLITE_TOOBIG);
        EXPECT_EQ(db::causeInWords(error), QStringLiteral("is too large to read"));
    }
    EXPECT_LE(c.scalar(QStringLiteral("SELECT length(printf('%.*c', 200000000, 'x'))")).toLongLong(), 16 * 1024 * 1024);

    const QString page = QString(300000, QLatin1Char('q'));
    c.exec(QStringLiteral("INSERT INTO t (id, name) VALUES (9, ?)"), {page});
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT name FROM t WHERE id = 9")).toString(), page);
}

TEST_F(DbLayer, ConstraintAndAlreadyExistsClasses)
{
    auto c = Connection::openFile(path);
    c.exec(QStringLiteral("INSERT INTO t (id) VALUES (1)"));
    EXPECT_EQ(classOf([&] { c.exec(QStringLiteral("INSERT INTO t (id) VALUES (1)")); }), ErrorClass::Constraint);
    EXPECT_EQ(classOf([&] { c.exec(QStringLiteral("CREATE TABLE t (x)")); }), ErrorClass::AlreadyExists);
    EXPECT_EQ(classOf([&] { c.exec(QStringLiteral("ALTER TABLE t ADD name TEXT")); }), ErrorClass::AlreadyExists);
    EXPECT_EQ(classOf([&] { c.query(QStringLiteral("SELECT * FROM nosuch")); }), ErrorClass::Other);
}

TEST_F(DbLayer, BusyWhenAnotherConnectionHoldsTheWriteLock)
{
    auto writer = Connection::openFile(path);
    auto other = Connection::openFile(path);
    sqlite3_busy_timeout(other.handle(), 50);
    db::Transaction hold(writer);
    writer.exec(QStringLiteral("INSERT INTO t (id) VALUES (7)"));
    EXPECT_EQ(classOf([&] { other.exec(QStringLiteral("INSERT INTO t (id) VALUES (8)")); }), ErrorClass::Busy);
}

TEST_F(DbLayer, TransactionRollsBackOnException)
{
    auto c = Connection::openFile(path);
    try {
        db::Transaction transaction(c);
        c.exec(QStringLiteral("INSERT INTO t (id) VALUES (1)"));
        throw std::runtime_error("fails half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(c.inTransaction());
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 0);

    {
        db::Transaction transaction(c);
        c.exec(QStringLiteral("INSERT INTO t (id) VALUES (2)"));
        transaction.commit();
    }
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 1);
}

TEST_F(DbLayer, SavepointInsideATransaction)
{
    auto c = Connection::openFile(path);
    db::Transaction outer(c);
    c.exec(QStringLiteral("INSERT INTO t (id) VALUES (1)"));
    {
        db::Savepoint inner(c);
        c.exec(QStringLiteral("INSERT INTO t (id) VALUES (2)"));
        // destroyed without release: only the inner change goes
    }
    {
        db::Savepoint inner(c);
        c.exec(QStringLiteral("INSERT INTO t (id) VALUES (3)"));
        inner.release();
    }
    EXPECT_TRUE(c.inTransaction());
    outer.commit();
    EXPECT_EQ(c.query(QStringLiteral("SELECT id FROM t ORDER BY id")).getString(QString(), QStringLiteral(",")),
              QStringLiteral("1,3,"));
}

TEST_F(DbLayer, PreparedStatementRunsRepeatedlyAndChecksArity)
{
    auto c = Connection::openFile(path);
    auto insert = c.prepare(QStringLiteral("INSERT INTO t (id, name) VALUES (?, ?)"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(insert.exec({i, QStringLiteral("n%1").arg(i)}), 1);
    EXPECT_EQ(c.lastInsertId(), 3);
    EXPECT_THROW(insert.exec({4}), DbError);
    EXPECT_EQ(c.tableColumns(QStringLiteral("T")), (QStringList{"id", "name", "v", "n"}));
    EXPECT_TRUE(c.hasTable(QStringLiteral("T")));
}

} // namespace

namespace {

TEST_F(DbLayer, ReusedStatementsSeeNewValuesSchemaChangesAndEviction)
{
    auto c = Connection::openFile(path);
    const QString insert = QStringLiteral("INSERT INTO t (id, name) VALUES (?, ?)");
    const QString byId = QStringLiteral("SELECT name FROM t WHERE id = ?");
    c.exec(insert, {1, QStringLiteral("one")});
    c.exec(insert, {2, QStringLiteral("two")});
    EXPECT_EQ(c.scalar(byId, {1}).toString(), QStringLiteral("one"));
    EXPECT_EQ(c.scalar(byId, {2}).toString(), QStringLiteral("two"));
    // More distinct statements than are kept, then the first ones again.
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(c.scalar(QStringLiteral("SELECT %1 + ?").arg(i), {1}).toInt(), i + 1);
    c.exec(QStringLiteral("ALTER TABLE t ADD extra TEXT"));
    EXPECT_EQ(c.query(QStringLiteral("SELECT * FROM t WHERE id = ?"), {1}).columnCount(), 5);
    EXPECT_EQ(c.scalar(byId, {2}).toString(), QStringLiteral("two"));
    // A failed run leaves the statement usable.
    EXPECT_THROW(c.exec(insert, {1, QStringLiteral("again")}), DbError);
    c.exec(insert, {3, QStringLiteral("three")});
    Connection moved = std::move(c);
    EXPECT_EQ(moved.scalar(byId, {3}).toString(), QStringLiteral("three"));
}

} // namespace

namespace {

// The statement bound, short for one test.
class ShortStatementBound {
public:
    explicit ShortStatementBound(std::chrono::milliseconds limit) : m_old(db::statementTimeLimit())
    {
        db::setStatementTimeLimit(limit);
    }
    ~ShortStatementBound() { db::setStatementTimeLimit(m_old); }

private:
    std::chrono::milliseconds m_old;
};

const QString kEndless =
    QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT max(x) FROM c");

// Every connection treats its file as a stranger's: no writes to the
// schema's own tables, no trust in functions its views and triggers call,
// and a statement that never ends is stopped, naming the file.
TEST_F(DbLayer, StatementsAreBoundedAndTheSchemaIsNotTrusted)
{
    Connection c = Connection::openFile(path);
    for (const int option : {SQLITE_DBCONFIG_DEFENSIVE, SQLITE_DBCONFIG_TRUSTED_SCHEMA}) {
        int value = -1;
        sqlite3_db_config(c.handle(), option, -1, &value);
        EXPECT_EQ(value, option == SQLITE_DBCONFIG_DEFENSIVE ? 1 : 0) << "option " << option;
    }
    EXPECT_THROW(c.execScript(QStringLiteral("PRAGMA writable_schema=ON; "
                                             "UPDATE sqlite_master SET sql = 'x' WHERE name = 't'")),
                 DbError);

    const ShortStatementBound bound(std::chrono::milliseconds(200));
    const auto started = std::chrono::steady_clock::now();
    try {
        c.scalar(kEndless);
        ADD_FAILURE() << "the endless query returned";
    } catch (const DbError& error) {
        EXPECT_EQ(error.sqliteCode() & 0xff, SQLITE_INTERRUPT);
        EXPECT_TRUE(error.message().contains(path)) << error.message().toStdString();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    // The connection goes on serving statements.
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 0);
}

// Waiting for another program's lock is not the statement's own time: a
// statement that gets the lock late still runs to its end.
TEST_F(DbLayer, WaitingForALockDoesNotCountAgainstTheBound)
{
    const ShortStatementBound bound(std::chrono::milliseconds(200));
    Connection c = Connection::openFile(path);
    Connection holder = Connection::openFile(path);
    holder.execScript(QStringLiteral("BEGIN EXCLUSIVE"));
    std::thread release([&holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        holder.execScript(QStringLiteral("ROLLBACK"));
    });
    QVariant count;
    // The table's lock is taken first; the many steps after it would each
    // be past the bound if the wait counted.
    EXPECT_NO_THROW(
        count = c.scalar(QStringLiteral("SELECT (SELECT count(*) FROM t) + (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                                        "SELECT x + 1 FROM c LIMIT 20000) SELECT count(*) FROM c)")));
    release.join();
    EXPECT_EQ(count.toInt(), 20000);
}

} // namespace
