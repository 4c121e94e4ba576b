#pragma once

#include <QString>
#include <exception>

// A message about an exam database that failed: the program's words first,
// then the file and what is wrong with it (db::causeInWords).

enum class DatabaseUse {
    Reading,
    Writing, // a file that cannot be opened for the write is one that cannot be written
};

// "<what>\r\nThe exam database <path> is in use by another program."
QString databaseProblemText(const QString& what, const QString& path, const std::exception& error,
                            DatabaseUse use = DatabaseUse::Reading);
