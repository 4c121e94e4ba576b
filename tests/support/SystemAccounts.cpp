#include "tests/support/SystemAccounts.h"

#include "foundation/ConnectionString.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"

#include <stdexcept>

SystemAccounts::SystemAccounts(std::initializer_list<int> userCodes)
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder for the system database");
    db::Connection system = db::Connection::create(path());
    schema::createSystemDatabase(system);
    system.close();
    for (int code : userCodes)
        add(code);
}

QString SystemAccounts::path() const
{
    return m_dir.filePath(QStringLiteral("Ziduver.QZR"));
}

QString SystemAccounts::connectionString() const
{
    return ::connectionString(path(), QString::fromLatin1(kDatabasePassword));
}

UserAccount SystemAccounts::account(int userCode) const
{
    return {userCode, connectionString()};
}

void SystemAccounts::remove(int userCode) const
{
    db::Connection admin = db::Connection::openFile(path());
    admin.exec(QStringLiteral("DELETE FROM Bq_User WHERE Qu_UserCode = ?"), {userCode});
}

void SystemAccounts::add(int userCode) const
{
    db::Connection admin = db::Connection::openFile(path());
    admin.exec(QStringLiteral("INSERT INTO Bq_User (Qu_UserCode, Qu_LoginId, Qu_Password) VALUES (?, ?, ?)"),
               {userCode, QStringLiteral("user%1").arg(userCode), QStringLiteral("pw")});
}
