#include "foundation/DatabaseProblem.h"

#include "platform/db/DbError.h"

#include <sqlite3.h>

namespace {

QString whatIsWrong(const std::exception& error, DatabaseUse use)
{
    const auto* dbError = dynamic_cast<const db::DbError*>(&error);
    if (!dbError)
        return QStringLiteral("could not be used");
    const QString& text = dbError->message();
    if (text.startsWith(QLatin1String("no such table")) || text.startsWith(QLatin1String("no such column")))
        return QStringLiteral("lacks a table or column the program needs");
    if ((dbError->sqliteCode() & 0xff) == SQLITE_READONLY)
        return QStringLiteral("cannot be written (the file or its folder is read-only)");
    switch (dbError->errorClass()) {
    case db::ErrorClass::Busy:
        return QStringLiteral("is in use by another program");
    case db::ErrorClass::CannotOpen:
        return use == DatabaseUse::Writing ? QStringLiteral("cannot be written (the file or its folder is read-only)")
                                           : QStringLiteral("cannot be opened");
    case db::ErrorClass::NotADatabase:
        return QStringLiteral("is not a database");
    default:
        return QStringLiteral("could not be used");
    }
}

} // namespace

QString databaseProblemText(const QString& what, const QString& path, const std::exception& error, DatabaseUse use)
{
    const auto* dbError = dynamic_cast<const db::DbError*>(&error);
    const QString detail = dbError ? dbError->message() : QString::fromUtf8(error.what());
    return what + QStringLiteral("\r\nThe exam database ") + path + QLatin1Char(' ') + whatIsWrong(error, use)
        + QStringLiteral(": ") + detail;
}
