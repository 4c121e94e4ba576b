#include "platform/db/DbError.h"

#include <sqlite3.h>

namespace db {

DbError::DbError(ErrorClass errorClass, int sqliteCode, const QString& message)
    : std::runtime_error(message.toStdString()), m_class(errorClass), m_code(sqliteCode), m_message(message)
{
}

ErrorClass DbError::classify(int sqliteCode, const QString& message)
{
    switch (sqliteCode & 0xff) {
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return ErrorClass::CannotOpen;
    case SQLITE_NOTADB:
        return ErrorClass::NotADatabase;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ErrorClass::Busy;
    case SQLITE_CONSTRAINT:
        return ErrorClass::Constraint;
    case SQLITE_ERROR:
        // CREATE TABLE of an existing table and ADD COLUMN of an existing
        // column both come back as plain SQLITE_ERROR; only the text tells.
        if (message.contains(QLatin1String("already exists"))
            || message.contains(QLatin1String("duplicate column name")))
            return ErrorClass::AlreadyExists;
        return ErrorClass::Other;
    default:
        return ErrorClass::Other;
    }
}

} // namespace db
