#include "foundation/UserRights.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <exception>
#include <optional>

namespace {

const QString kAdminLogin = QStringLiteral("Admin");

void writeRight(db::Connection& system, int userCode, bool haveRight, const QString& examCode)
{
    SystemDatabase rights(system);
    if (rights.updateRight(userCode, examCode, haveRight) == 0)
        rights.addRight(userCode, examCode, haveRight);
    if (gStartup.gDebug == 1)
        WriteLog(
            QStringLiteral("Updating User rights in bq_user_vs_Exams table : Gen_UpdateRights :QmodPublic: Date/Time :")
            + logDate());
}

void writeUserCopy(const QString& examDbPath, int userCode, bool haveRight, const UserCopyFields& user)
{
    db::Connection exam = db::Connection::openFile(examDbPath);
    db::Transaction transaction(exam);
    writeUserCopy(exam, userCode, haveRight, user);
    transaction.commit();
}

QString describe(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromStdString(error.what());
}

// The failure in the program's words for the caller; the log keeps the
// error's own text too.
bool failed(const std::exception& error, const QString& text, QString& errorText)
{
    errorText = text;
    WriteLog(describe(error) + QStringLiteral(" : ") + errorText
             + QStringLiteral(": Gen_UpdateRights: QmodPublic: Date/Time :") + logDate());
    return false;
}

const QString kRightNotSaved = QStringLiteral("The right could not be saved.");

} // namespace

void writeUserCopy(db::Connection& exam, int userCode, bool haveRight, const UserCopyFields& user)
{
    ExamBank bank(exam);
    if (!bank.hasUserCopy(userCode)) {
        ExamBankWriter(exam).addUserCopy(
            {userCode, user.loginId, user.firstName, user.middleName, user.lastName, user.email, haveRight});
    } else {
        // An empty argument keeps what the copy holds.
        const auto given = [](const QString& value) {
            return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
        };
        bank.updateUserCopy(userCode, {haveRight, given(user.firstName), given(user.loginId), given(user.middleName),
                                       given(user.lastName), given(user.email)});
    }
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("Updated Users user table : Gen_UpdateRights :QmodPublic: Date/Time :") + logDate());
}

bool Gen_UpdateRights(int userCode, bool haveRight, const QString& examDbPath, const QString& examCode,
                      QString& errorText, const QString& loginId, const QString& firstName, const QString& middleName,
                      const QString& lastName, const QString& email)
{
    try {
        SystemDatabase system;
        return Gen_UpdateRights(system.connection(), userCode, haveRight, examDbPath, examCode, errorText, loginId,
                                firstName, middleName, lastName, email);
    } catch (const std::exception& error) {
        return failed(error, commandFailureText(kRightNotSaved, DatabaseFile::system(), error, DatabaseUse::Writing),
                      errorText);
    }
}

bool Gen_UpdateRights(db::Connection& systemConnection, int userCode, bool haveRight, const QString& examDbPath,
                      const QString& examCode, QString& errorText, const QString& loginId, const QString& firstName,
                      const QString& middleName, const QString& lastName, const QString& email)
{
    errorText.clear();
    try {
        db::Savepoint savepoint(systemConnection);
        writeRight(systemConnection, userCode, haveRight, examCode);
        savepoint.release();
    } catch (const std::exception& error) {
        return failed(error,
                      commandFailureText(kRightNotSaved, DatabaseFile::system(systemConnection.path()), error,
                                         DatabaseUse::Writing),
                      errorText);
    }
    if (examDbPath.isEmpty())
        return true;
    try {
        writeUserCopy(examDbPath, userCode, haveRight, {loginId, firstName, middleName, lastName, email});
        return true;
    } catch (const std::exception& error) {
        return failed(error,
                      commandFailureText(QStringLiteral("The exam database's copy of the user could not be written."),
                                         DatabaseFile::exam(examDbPath), error, DatabaseUse::Writing),
                      errorText);
    }
}

void writeUserRight(db::Connection& systemConnection, int userCode, bool haveRight, const QString& examCode)
{
    writeRight(systemConnection, userCode, haveRight, examCode);
}

QString GetAdminPassword()
{
    SystemDatabase system;
    return GetAdminPassword(system.connection());
}

QString GetAdminPassword(db::Connection& systemConnection)
{
    return SystemDatabase(systemConnection).passwordOf(kAdminLogin).value_or(kAdminLogin);
}

bool SetAdminPassword(const QString& newPassword)
{
    SystemDatabase system;
    return SetAdminPassword(system.connection(), newPassword);
}

bool SetAdminPassword(db::Connection& systemConnection, const QString& newPassword)
{
    // By login, never by the old password: a user who happens to share the
    // administrator's password keeps his own.
    return SystemDatabase(systemConnection).setPassword(kAdminLogin, newPassword) > 0;
}
