#include "foundation/UserRights.h"

#include "foundation/DebugLog.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <exception>
#include <utility>

namespace {

const QString kAdminLogin = QStringLiteral("Admin");

struct UserCopy {
    const QString& loginId;
    const QString& firstName;
    const QString& password;
    const QString& middleName;
    const QString& lastName;
    const QString& email;
};

void writeRight(db::Connection& system, int userCode, bool haveRight, const QString& examCode)
{
    const int changed = system.exec(
        QStringLiteral("UPDATE Bq_User_vs_Exams SET Bue_HaveRight = ? WHERE Bue_User = ? AND Bue_Exam = ?"),
        {haveRight, userCode, examCode});
    if (changed == 0)
        system.exec(QStringLiteral("INSERT INTO Bq_User_vs_Exams (Bue_Exam, Bue_User, Bue_HaveRight) VALUES (?, ?, ?)"),
                    {examCode, userCode, haveRight});
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("Updating User rights in bq_user_vs_Exams table : Gen_UpdateRights :QmodPublic: Date/Time :")
                 + logDate());
}

void writeUserCopy(const QString& examDbPath, int userCode, bool haveRight, const UserCopy& user)
{
    db::Connection exam = db::Connection::openFile(examDbPath);
    db::Transaction transaction(exam);
    const bool exists = exam.scalar(QStringLiteral("SELECT 1 FROM Qe_User WHERE Qu_UserCode = ?"), {userCode}).isValid();
    if (!exists) {
        exam.exec(QStringLiteral("INSERT INTO Qe_User (Qu_UserCode, qu_first_name, Qu_LoginId, Qu_Password, "
                                 "qu_middle_name, qu_last_name, qu_email, Qu_HaveRight) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                  {userCode, user.firstName, user.loginId, user.password, user.middleName, user.lastName, user.email,
                   haveRight});
    } else {
        // An empty argument keeps what the copy holds.
        const std::pair<const char*, const QString*> fields[] = {
            {"qu_first_name", &user.firstName}, {"Qu_LoginId", &user.loginId},   {"Qu_Password", &user.password},
            {"qu_middle_name", &user.middleName}, {"qu_last_name", &user.lastName}, {"qu_email", &user.email}};
        QString sql = QStringLiteral("UPDATE Qe_User SET Qu_HaveRight = ?");
        db::Params params{haveRight};
        for (const auto& [column, value] : fields) {
            if (value->isEmpty())
                continue;
            sql += QStringLiteral(", ") + QLatin1String(column) + QStringLiteral(" = ?");
            params.push_back(*value);
        }
        sql += QStringLiteral(" WHERE Qu_UserCode = ?");
        params.push_back(userCode);
        exam.exec(sql, params);
    }
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("Updated Users user table : Gen_UpdateRights :QmodPublic: Date/Time :") + logDate());
    transaction.commit();
}

QString describe(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromStdString(error.what());
}

bool failed(const std::exception& error, QString& errorText)
{
    errorText = describe(error);
    WriteLog(errorText + QStringLiteral(": Gen_UpdateRights: QmodPublic: Date/Time :") + logDate());
    return false;
}

} // namespace

bool Gen_UpdateRights(int userCode, bool haveRight, const QString& examDbPath, const QString& examCode,
                      QString& errorText, const QString& loginId, const QString& firstName, const QString& password,
                      const QString& middleName, const QString& lastName, const QString& email)
{
    try {
        db::Connection system = db::Connection::open(gStartup.gSysConnStr);
        return Gen_UpdateRights(system, userCode, haveRight, examDbPath, examCode, errorText, loginId, firstName,
                                password, middleName, lastName, email);
    } catch (const std::exception& error) {
        return failed(error, errorText);
    }
}

bool Gen_UpdateRights(db::Connection& systemConnection, int userCode, bool haveRight, const QString& examDbPath,
                      const QString& examCode, QString& errorText, const QString& loginId,
                      const QString& firstName, const QString& password, const QString& middleName,
                      const QString& lastName, const QString& email)
{
    errorText.clear();
    try {
        {
            db::Savepoint savepoint(systemConnection);
            writeRight(systemConnection, userCode, haveRight, examCode);
            savepoint.release();
        }
        if (!examDbPath.isEmpty())
            writeUserCopy(examDbPath, userCode, haveRight,
                          {loginId, firstName, password, middleName, lastName, email});
        return true;
    } catch (const std::exception& error) {
        return failed(error, errorText);
    }
}

QString GetAdminPassword()
{
    db::Connection system = db::Connection::open(gStartup.gSysConnStr);
    return GetAdminPassword(system);
}

QString GetAdminPassword(db::Connection& systemConnection)
{
    const db::ResultSet rows = systemConnection.query(
        QStringLiteral("SELECT Qu_Password FROM Bq_User WHERE Qu_LoginId = ? ORDER BY Qu_UserCode LIMIT 1"),
        {kAdminLogin});
    return rows.empty() ? kAdminLogin : rows.first().text(0);
}

bool SetAdminPassword(const QString& newPassword)
{
    db::Connection system = db::Connection::open(gStartup.gSysConnStr);
    return SetAdminPassword(system, newPassword);
}

bool SetAdminPassword(db::Connection& systemConnection, const QString& newPassword)
{
    // By login, never by the old password: a user who happens to share the
    // administrator's password keeps his own.
    return systemConnection.exec(QStringLiteral("UPDATE Bq_User SET Qu_Password = ? WHERE Qu_LoginId = ?"),
                                 {newPassword, kAdminLogin}) > 0;
}
