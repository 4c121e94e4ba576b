#include "platform/db/DbError.h"
#include "platform/db/ErrorWords.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>

namespace {

// One translation of SQLite's causes into the program's words, each naming
// the file; SQLite's own text never reaches the user for a cause it knows.
TEST(ErrorWords, EveryCauseInTheProgramsWordsNamingTheFile)
{
    const QString file = QStringLiteral("/data/Exam/exam.qzr");
    const struct {
        int code;
        db::Access access;
        const char* words;
    } cases[] = {
        {SQLITE_BUSY, db::Access::Reading, "is in use by another program"},
        {SQLITE_BUSY_SNAPSHOT, db::Access::Writing, "is in use by another program"},
        {SQLITE_LOCKED, db::Access::Reading, "is in use by another program"},
        {SQLITE_FULL, db::Access::Writing, "cannot be written: the disk is full"},
        {SQLITE_READONLY, db::Access::Writing, "cannot be written"},
        {SQLITE_READONLY_DIRECTORY, db::Access::Writing, "cannot be written"},
        {SQLITE_READONLY_DBMOVED, db::Access::Writing, "was replaced or moved by another program while in use"},
        {SQLITE_PERM, db::Access::Writing, "cannot be written"},
        {SQLITE_CANTOPEN, db::Access::Writing, "cannot be written"},
        {SQLITE_CANTOPEN, db::Access::Reading, "cannot be opened"},
        {SQLITE_CORRUPT, db::Access::Reading, "is damaged"},
        {SQLITE_CORRUPT_INDEX, db::Access::Writing, "is damaged"},
        {SQLITE_NOTADB, db::Access::Reading, "is damaged"},
        {SQLITE_IOERR_WRITE, db::Access::Writing, "cannot be written: the disk reported an error"},
        {SQLITE_IOERR_READ, db::Access::Reading, "cannot be read: the disk reported an error"},
        {SQLITE_INTERRUPT, db::Access::Reading, "took too long to read (stopped after 5 seconds)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const db::DbError error(db::DbError::classify(c.code, {}), c.code, QStringLiteral("sqlite's own words"));
        EXPECT_EQ(db::problemInWords(QStringLiteral("The exam database"), file, error, c.access),
                  QStringLiteral("The exam database ") + file + QLatin1Char(' ') + QLatin1String(c.words)
                      + QLatin1Char('.'));
    }

    // What the program cannot put in other words keeps its own: a missing
    // table names itself, and a plain error its text.
    EXPECT_EQ(db::causeInWords(db::DbError(db::ErrorClass::Other, SQLITE_ERROR, QStringLiteral("no such table: T"))),
              QStringLiteral("lacks a table or column the program needs (no such table: T)"));
    EXPECT_EQ(db::causeInWords(db::DbError(db::ErrorClass::CannotOpen, SQLITE_CANTOPEN,
                                           QStringLiteral("Could not find file '/x'."))),
              QStringLiteral("could not be found"));
    EXPECT_EQ(db::causeInWords(std::runtime_error("out of paper")), QStringLiteral("could not be used: out of paper"));
}

} // namespace
