#pragma once

#include "foundation/UserWrite.h"
#include "platform/db/Connection.h"

#include <QString>
#include <QTemporaryDir>
#include <initializer_list>

// A system database in a temporary folder that holds a user row for each
// code: the accounts that every write for a user is checked against.
class SystemAccounts {
public:
    explicit SystemAccounts(std::initializer_list<int> userCodes);

    QString path() const;
    QString connectionString() const;
    // The account of a user of this database, for a write.
    UserAccount account(int userCode) const;
    // Deletes the user's row on a connection of its own, as the
    // administrator does in another copy of the program.
    void remove(int userCode) const;
    void add(int userCode) const;

private:
    QTemporaryDir m_dir;
};
