#pragma once

#include <QString>
#include <exception>

// What stood in the way of a database file, for messages that must say more
// than the database's own text: the program's words first, then the file,
// what is wrong with it, and the database's text after ": ".

enum class DatabaseUse {
    Reading,
    Writing, // a file that cannot be opened for the write is one that cannot be written
};

// "<what>\r\nThe exam database <path> is in use by another program: database is locked"
QString databaseProblemText(const QString& what, const QString& path, const std::exception& error,
                            DatabaseUse use = DatabaseUse::Reading);
