#pragma once

#include "platform/db/ErrorWords.h"

#include <QString>
#include <exception>

// A message about a database that failed: the program's words first, then
// the file and what is wrong with it (db::causeInWords).

using DatabaseUse = db::Access;

// "<what>\r\nThe exam database <path> is in use by another program."
QString databaseProblemText(const QString& what, const QString& path, const std::exception& error,
                            DatabaseUse use = DatabaseUse::Reading);

// The file a failed command used: "The exam database" or "The system
// database", and its path.
struct DatabaseFile {
    QString kind;
    QString path;

    static DatabaseFile exam(const QString& path);
    // The system database of this run (from its connection string).
    static DatabaseFile system();
    static DatabaseFile system(const QString& path);
};

// A command that failed on a database and can be tried again: what could not
// be done, the file and why, then what the user can do about it.
// "<what>\r\nThe system database <path> is in use by another program.\r\n
// Close the other program that uses it, then try again."
QString commandFailureText(const QString& what, const DatabaseFile& file, const std::exception& error,
                           DatabaseUse use = DatabaseUse::Reading);
