#pragma once

#include <QString>
#include <exception>

// SQLite's causes in the program's words: one translation for every message
// that tells the user why a database failed. The words end a sentence that
// names the file ("The exam database /x/a.qzr is in use by another
// program."); SQLite's own text goes to the log, not to the user.

namespace db {

enum class Access {
    Reading,
    Writing, // a file that cannot be opened for the write is one that cannot be written
};

// "is in use by another program", "cannot be written: the disk is full",
// "cannot be written", "is damaged", "took too long to read (...)", ...
// For an error that is not a database's (a plain std::exception), "could not
// be used: " and its text.
QString causeInWords(const std::exception& error, Access access = Access::Reading);

// "<kind> <path> <cause>." such as "The exam database /x/a.qzr is damaged."
QString problemInWords(const QString& kind, const QString& path, const std::exception& error,
                       Access access = Access::Reading);

// What the user can do about it, a whole sentence: "Close the other program
// that uses it, then try again.", "Free some space on the disk, then try
// again.", ...
QString adviceInWords(const std::exception& error, Access access = Access::Reading);

} // namespace db
