#pragma once

#include <QString>

namespace db {
class Connection;
}

// Writes one user's right to one exam into Bq_User_vs_Exams (added, or its
// Bue_HaveRight changed), then, when examDbPath is not empty, adds the user's
// Qe_User row to that exam database or overwrites its fields whose arguments
// are not empty (Qu_HaveRight always). The copy never carries a password: it
// is stored empty, and emptied on a copy that holds one. Each database in its
// own transaction; a right written before the exam database failed stays.
// False on failure, with what could not be written, on which file, why and
// what to do in the program's words in errorText (cleared on success).
bool Gen_UpdateRights(int userCode, bool haveRight, const QString& examDbPath, const QString& examCode,
                      QString& errorText, const QString& loginId = {}, const QString& firstName = {},
                      const QString& middleName = {}, const QString& lastName = {}, const QString& email = {});

// The same on the caller's open system-database connection: the right goes
// into a savepoint, so it joins a transaction the caller holds (and commits).
bool Gen_UpdateRights(db::Connection& systemConnection, int userCode, bool haveRight, const QString& examDbPath,
                      const QString& examCode, QString& errorText, const QString& loginId = {},
                      const QString& firstName = {}, const QString& middleName = {}, const QString& lastName = {},
                      const QString& email = {});

// A user's copy in an exam database, as Gen_UpdateRights writes it.
struct UserCopyFields {
    QString loginId, firstName, middleName, lastName, email;
};
// The two writes of Gen_UpdateRights, each on the caller's connection and in
// the caller's transaction (an attach holds one on each file). Database
// errors reach the caller (db::DbError).
void writeUserRight(db::Connection& systemConnection, int userCode, bool haveRight, const QString& examCode);
void writeUserCopy(db::Connection& exam, int userCode, bool haveRight, const UserCopyFields& copy);

// The administrator's (login "Admin", any case) password, or "Admin" when
// there is no administrator. Database errors reach the caller (db::DbError).
QString GetAdminPassword();
QString GetAdminPassword(db::Connection& systemConnection);

// Sets the administrator's password; no other user's row changes. False when
// there is no administrator row. Database errors reach the caller.
bool SetAdminPassword(const QString& newPassword);
bool SetAdminPassword(db::Connection& systemConnection, const QString& newPassword);
