#include "platform/db/ErrorWords.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <sqlite3.h>

namespace db {

QString causeInWords(const std::exception& error, Access access)
{
    const auto* dbError = dynamic_cast<const DbError*>(&error);
    if (!dbError)
        return QStringLiteral("could not be used: ") + QString::fromUtf8(error.what());
    const QString& text = dbError->message();
    // A missing table or column names itself: the detail is the useful part.
    if (text.startsWith(QLatin1String("no such table")) || text.startsWith(QLatin1String("no such column")))
        return QStringLiteral("lacks a table or column the program needs (") + text + QLatin1Char(')');

    const int code = dbError->sqliteCode();
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("is in use by another program");
    case SQLITE_FULL:
        return QStringLiteral("cannot be written: the disk is full");
    case SQLITE_READONLY:
        // The file was replaced or moved away while the program had it open.
        if (code == SQLITE_READONLY_DBMOVED)
            return QStringLiteral("was replaced or moved by another program while in use");
        return QStringLiteral("cannot be written");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("cannot be written");
    case SQLITE_CANTOPEN:
        if (text.startsWith(QLatin1String("Could not find file")))
            return QStringLiteral("could not be found");
        return access == Access::Writing ? QStringLiteral("cannot be written") : QStringLiteral("cannot be opened");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return QStringLiteral("is damaged");
    case SQLITE_INTERRUPT:
        return QStringLiteral("took too long to read (stopped after %1 seconds)")
            .arg(double(statementTimeLimit().count()) / 1000.0);
    case SQLITE_IOERR:
        return access == Access::Writing ? QStringLiteral("cannot be written: the disk reported an error")
                                         : QStringLiteral("cannot be read: the disk reported an error");
    case SQLITE_NOMEM:
    case SQLITE_TOOBIG:
        return QStringLiteral("is too large to read");
    case SQLITE_SCHEMA:
        return QStringLiteral("was changed by another program while in use");
    default:
        return QStringLiteral("could not be used: ") + text;
    }
}

QString adviceInWords(const std::exception& error, Access access)
{
    const auto* dbError = dynamic_cast<const DbError*>(&error);
    const int code = dbError ? dbError->sqliteCode() & 0xff : SQLITE_ERROR;
    switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Close the other program that uses it, then try again.");
    case SQLITE_FULL:
        return QStringLiteral("Free some space on the disk, then try again.");
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Ask your administrator to make the file writable, then try again.");
    case SQLITE_CANTOPEN:
        if (access == Access::Writing)
            return QStringLiteral("Ask your administrator to make the file writable, then try again.");
        return QStringLiteral("Ask your administrator to restore the file, then try again.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return QStringLiteral("Ask your administrator to restore the file from a sound copy.");
    default:
        return QStringLiteral("Try again; if it fails again, ask your administrator.");
    }
}

QString problemInWords(const QString& kind, const QString& path, const std::exception& error, Access access)
{
    return kind + QLatin1Char(' ') + path + QLatin1Char(' ') + causeInWords(error, access) + QLatin1Char('.');
}

} // namespace db
