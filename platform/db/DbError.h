#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// What a caller can test an error for, whatever SQLite's exact code was.
enum class ErrorClass {
    CannotOpen,    // missing file, no permission, bad path
    NotADatabase,  // the file is not an SQLite database (or is encrypted)
    Busy,          // locked by another connection past the busy timeout
    Constraint,    // a key or NOT NULL rule was broken
    AlreadyExists, // table, index or column exists already
    Other,
};

class DbError : public std::runtime_error {
public:
    DbError(ErrorClass errorClass, int sqliteCode, const QString& message);

    ErrorClass errorClass() const { return m_class; }
    int sqliteCode() const { return m_code; }
    QString message() const { return m_message; }

    // Classifies an SQLite result code (extended codes are accepted) and message.
    static ErrorClass classify(int sqliteCode, const QString& message);

private:
    ErrorClass m_class;
    int m_code;
    QString m_message;
};

} // namespace db
