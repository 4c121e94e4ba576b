#include "foundation/UserWrite.h"

#include "foundation/SystemDatabase.h"

#include <string>

AccountRemoved::AccountRemoved(int userCode)
    : std::runtime_error("the user account " + std::to_string(userCode) + " no longer exists"), m_userCode(userCode)
{
}

bool isAccountRemoved(const std::exception& failure)
{
    return dynamic_cast<const AccountRemoved*>(&failure) != nullptr;
}

bool isAccountRemoved(const std::exception_ptr& failure)
{
    if (!failure)
        return false;
    try {
        std::rethrow_exception(failure);
    } catch (const AccountRemoved&) {
        return true;
    } catch (...) {
    }
    return false;
}

QString accountRemovedText(const QString& what)
{
    return what
        + QStringLiteral("\r\nYour user account was removed by the administrator: nothing more is saved for it.\r\n"
                         "Ask your administrator for a new account.");
}

UserWrite::UserWrite(db::Connection& exam, const UserAccount& account)
{
    if (exam.inTransaction())
        m_savepoint.emplace(exam);
    else
        m_transaction.emplace(exam);
    if (account.userCode == 0)
        return;
    // A deferred read: its shared lock holds off the delete's commit, and
    // other copies that read or write for other users go on.
    m_system.emplace(db::Connection::open(account.systemConnStr));
    m_system->execScript(QStringLiteral("BEGIN"));
    if (!SystemDatabase(*m_system).hasUser(account.userCode))
        throw AccountRemoved(account.userCode);
}

UserWrite::~UserWrite()
{
    // Unless committed, the exam's write rolls back through its own guard.
    endAccountRead();
}

void UserWrite::endAccountRead()
{
    if (!m_system)
        return;
    try {
        if (m_system->inTransaction())
            m_system->execScript(QStringLiteral("COMMIT"));
    } catch (...) {
        // A read changes nothing: closing the connection ends it as well.
    }
    m_system.reset();
}

void UserWrite::commit()
{
    if (m_transaction)
        m_transaction->commit();
    else
        m_savepoint->release();
    m_savepoint.reset();
    endAccountRead();
}
