#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QString>
#include <exception>
#include <optional>
#include <stdexcept>

// Whose a write in an exam database is: the user's code and the system
// database that holds his account.
struct UserAccount {
    int userCode = 0;
    QString systemConnStr;
};

// The account a write was for is gone from the system database: the
// administrator removed it, in this or another copy of the program. Nothing
// was written.
class AccountRemoved : public std::runtime_error {
public:
    explicit AccountRemoved(int userCode);
    int userCode() const { return m_userCode; }

private:
    int m_userCode;
};

// True when the failure is an AccountRemoved.
bool isAccountRemoved(const std::exception_ptr& failure);
bool isAccountRemoved(const std::exception& failure);

// What the user is told after `what` ("The note could not be saved."): the
// account was removed, and what he can do.
QString accountRemovedText(const QString& what);

// One write for a user in an exam database (progress rows, objectives,
// notes, history): every such write runs inside one of these, never in a
// bare transaction. It begins the write on the exam connection (a
// transaction, or a savepoint inside the caller's), then reads the account
// in the system database and keeps that read open until the write ends: an
// administrator's delete commits wholly before (the write is refused with
// AccountRemoved, nothing written) or wholly after it (the purge that
// follows the delete removes the rows with the rest). The administrator
// (code 0) has no account row and always writes. Database errors of either
// file reach the caller (db::DbError); the destructor rolls back unless
// committed.
class UserWrite {
public:
    UserWrite(db::Connection& exam, const UserAccount& account);
    ~UserWrite();
    UserWrite(const UserWrite&) = delete;
    UserWrite& operator=(const UserWrite&) = delete;

    void commit();

private:
    void endAccountRead();

    std::optional<db::Transaction> m_transaction;
    std::optional<db::Savepoint> m_savepoint;
    std::optional<db::Connection> m_system;
};
