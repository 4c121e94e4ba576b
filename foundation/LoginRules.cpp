#include "foundation/LoginRules.h"

#include "foundation/DebugLog.h"
#include "foundation/DisplayRoutines.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QDir>

namespace {

void debugLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text + logDate());
}

db::Connection systemDatabase()
{
    return db::Connection::open(gStartup.gSysConnStr);
}

// One form per text: composed accents, then upper case (which also expands
// letters such as "ß" to "SS", the way the login window upper-cases typed text).
QString foldedLoginText(const QString& text)
{
    return text.normalized(QString::NormalizationForm_C).toUpper();
}

} // namespace

bool sameLoginText(const QString& a, const QString& b)
{
    return foldedLoginText(a).compare(foldedLoginText(b), Qt::CaseInsensitive) == 0;
}

QString lastUserLogin()
{
    debugLine(QStringLiteral("Entering Registry Fill Form: ReadRegistaryTOFillForm : frmDBSel "));
    db::Connection connection = systemDatabase();
    const db::ResultSet rows = connection.query(QStringLiteral("SELECT LastUser FROM SysInfo"));
    debugLine(QStringLiteral("Opening db: ReadRegistaryTOFillForm : frmDBSel "));
    const QString login = rows.empty() ? QStringLiteral("ADMIN") : rows.first().text(QStringLiteral("LastUser"));
    debugLine(QStringLiteral("End of Function: ReadRegistaryTOFillForm : frmDBSel "));
    return login;
}

std::vector<ListedExam> listedExams(const QString& dataFolder)
{
    db::Connection connection = systemDatabase();
    // Inside the folder, not merely containing its name: a sibling such as
    // "DataOld" or a path elsewhere that holds the same text is not listed.
    const QString folderPrefix = QDir::cleanPath(dataFolder) + QLatin1Char('/');
    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT * FROM Bq_Exam WHERE upper(substr(be_path, 1, length(?))) = upper(?) ORDER BY be_desc"),
        {folderPrefix, folderPrefix});
    debugLine(QStringLiteral("Opening db: ReadDataDir : frmDBSel "));
    std::vector<ListedExam> exams;
    for (const db::Row& row : rows) {
        const QString path = row.text(QStringLiteral("be_path"));
        if (gStartup.gDebug == 1)
            WriteLog(QStringLiteral("Checking for existance of File: ReadDataDir : frmDBSel ") + logDate()
                     + QStringLiteral(": ") + path);
        if (FileExists(path)) {
            exams.push_back({row.text(QStringLiteral("Be_Exam_Code")), row.text(QStringLiteral("be_desc")), path});
        } else if (gStartup.gDebug == 1) {
            WriteLog(QStringLiteral("File not found: ReadDataDir : frmDBSel ") + logDate() + QStringLiteral(": ") + path);
        }
    }
    return exams;
}

int clearDefaultUser()
{
    debugLine(QStringLiteral("Entered :clearDefaultUser: frmDBSel "));
    if (gStartup.gMultiUser)
        return 0;
    db::Connection connection = systemDatabase();
    const db::ResultSet users =
        connection.query(QStringLiteral("SELECT Qu_UserCode, Qu_LoginId FROM Bq_User ORDER BY Qu_UserCode"));
    debugLine(QStringLiteral("db opened:clearDefaultUser: frmDBSel "));
    int defaultUserCode = 0;
    for (const db::Row& user : users) {
        if (!user.isNull(1) && sameLoginText(user.text(1), gStartup.gDefaultLoginId)) {
            defaultUserCode = user.isNull(0) ? 0 : user.value(0).toInt();
            break;
        }
    }
    connection.exec(QStringLiteral("DELETE FROM Bq_User_vs_Exams WHERE Bue_User = ?"), {defaultUserCode});
    debugLine(QStringLiteral("Executed deletion:clearDefaultUser: frmDBSel "));
    return defaultUserCode;
}

void InsertForDefaultUSer(int defaultUserCode, const QString& examCode)
{
    debugLine(QStringLiteral("Reached : InsertForDefaultUSer : frmDBSel "));
    if (gStartup.gMultiUser)
        return;
    db::Connection connection = systemDatabase();
    connection.exec(QStringLiteral("INSERT INTO Bq_User_vs_Exams (Bue_Exam, Bue_User, Bue_HaveRight) VALUES (?, ?, 1)"),
                    {examCode, defaultUserCode});
    debugLine(QStringLiteral("Data Inserted : InsertForDefaultUSer : frmDBSel "));
}

LoginDecision checkLogin(const QString& loginId, const QString& password, const QString& examCode)
{
    LoginDecision decision;
    decision.userCode = QStringLiteral("0");
    try {
        debugLine(QStringLiteral("Going to open Databases: cmdLogin_Click : frmDBSel "));
        db::Connection connection = systemDatabase();
        debugLine(QStringLiteral("Database opened: cmdLogin_Click : frmDBSel "));
        // Logins and passwords compare without regard to case on both sides,
        // in C++: SQLite folds ASCII letters only. A NULL login or password
        // matches nothing.
        const db::ResultSet users = connection.query(
            QStringLiteral("SELECT Qu_UserCode, Qu_LoginId, Qu_Password FROM Bq_User ORDER BY Qu_UserCode"));
        const db::Row* user = nullptr;
        for (const db::Row& row : users) {
            if (!row.isNull(1) && !row.isNull(2) && sameLoginText(row.text(1), loginId)
                && sameLoginText(row.text(2), password)) {
                user = &row;
                break;
            }
        }

        if (loginId == QLatin1String("ADMIN")) {
            debugLine(QStringLiteral("Admin user table opend: cmdLogin_Click : frmDBSel "));
            if (!user) {
                debugLine(QStringLiteral("Invalid Administrator password specified: cmdLogin_Click : frmDBSel "));
                decision.outcome = LoginOutcome::BadAdminPassword;
                decision.message = QString::fromLatin1(loginText::BadAdminPassword);
                return decision;
            }
            decision.outcome = LoginOutcome::Accepted;
            return decision;
        }

        debugLine(QStringLiteral("User table opend: cmdLogin_Click : frmDBSel "));
        if (!user) {
            debugLine(QStringLiteral("Invalid user name / password: cmdLogin_Click : frmDBSel "));
            decision.outcome = LoginOutcome::BadUserOrPassword;
            decision.message = QString::fromLatin1(loginText::BadUser);
            return decision;
        }
        decision.userCode = user->text(0);
        const db::ResultSet right = connection.query(
            QStringLiteral("SELECT * FROM Bq_User_vs_Exams WHERE Bue_User = ? AND Bue_Exam = ? ORDER BY rowid"),
            {decision.userCode.toInt(), examCode.trimmed()});
        debugLine(QStringLiteral("User Permission checking: cmdLogin_Click : frmDBSel "));
        // A NULL right does not stop the login; only a missing or false one.
        if (right.empty()
            || (!right.first().isNull(QStringLiteral("Bue_HaveRight")) && !right.first().boolean(QStringLiteral("Bue_HaveRight")))) {
            debugLine(QStringLiteral("No Permission to access selected examination. \r\n Contact Administrator : "
                                     "cmdLogin_Click : frmDBSel "));
            decision.outcome = LoginOutcome::NoRight;
            decision.message = QString::fromLatin1(loginText::NoRight);
            return decision;
        }
        decision.outcome = LoginOutcome::Accepted;
    } catch (const std::exception& error) {
        decision.outcome = LoginOutcome::DatabaseError;
        decision.message = QStringLiteral("Database error") + QString::fromUtf8(error.what());
        WriteLog(QStringLiteral("Database error! : cmdLogin_Click : frmDBSel: ") + QString::fromUtf8(error.what())
                 + logDate());
    }
    return decision;
}

void recordLastUser(const QString& loginId)
{
    debugLine(QStringLiteral("Sysinfo Checking started: cmdLogin_Click : frmDBSel "));
    db::Connection connection = systemDatabase();
    db::Transaction transaction(connection);
    debugLine(QStringLiteral("Sysinfo Checking table opened: cmdLogin_Click : frmDBSel "));
    if (connection.scalar(QStringLiteral("SELECT count(*) FROM SysInfo")).toInt() == 0)
        connection.exec(QStringLiteral("INSERT INTO SysInfo (LastUser) VALUES (?)"), {loginId});
    else
        connection.exec(QStringLiteral("UPDATE SysInfo SET LastUser = ?"), {loginId});
    transaction.commit();
    debugLine(QStringLiteral("Sysinfo table updated: cmdLogin_Click : frmDBSel "));
}
