#pragma once

#include <QDate>
#include <QString>

namespace db {
class Connection;
}

// The notes of an exam database (Qe_UserNotes): the statements that more
// than one window runs. Values are bound; database errors reach the caller
// (db::DbError).
class UserNotesTable {
public:
    explicit UserNotesTable(db::Connection& exam);

    // The user's notes on a question, oldest first, each followed by CR LF,
    // "------------" and CR LF; "" when there is none.
    QString questionNotesText(int userCode, int questCode);

    // Adds a note; returns its Qn_NoteID.
    long long addNote(int userCode, int questCode, const QString& text, const QDate& examDate);

private:
    db::Connection& m_exam;
};
