#pragma once

#include <QString>

// A failure seam for writes that take several statements: lets a number of
// rows of one kind of write (insert, update or delete) into a table through,
// then refuses every later one. An abort undoes the refused statement only; a
// rollback ends the whole transaction, as a full disk or an I/O error may.
// The trigger and its row counter are written into the database file, so they
// reach every connection the code under test opens (a temporary trigger would
// reach only the connection that made it); both are removed again when the
// object goes. Only rows written in a transaction that commits stay counted.
class FailingWrites {
public:
    enum class Write { Insert, Update, Delete };
    enum class Raise { Abort, Rollback };

    FailingWrites(const QString& databasePath, const QString& table, int rowsLetThrough, Write write = Write::Insert,
                  Raise raise = Raise::Abort);
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    // The error text of a refused write.
    static QString message();

private:
    QString m_path;
    QString m_trigger;
    QString m_counter;
};
