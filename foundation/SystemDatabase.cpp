#include "foundation/SystemDatabase.h"

#include "foundation/SharedState.h"

#include <algorithm>
#include <limits>

namespace {

QVariant orNull(const std::optional<QString>& value)
{
    return value ? QVariant(*value) : QVariant();
}

std::optional<QString> textOrNull(const db::Row& row, int column)
{
    return row.isNull(column) ? std::nullopt : std::optional<QString>(row.text(column));
}

std::optional<bool> flagOrNull(const db::Row& row, int column)
{
    return row.isNull(column) ? std::nullopt : std::optional<bool>(row.integer(column) != 0);
}

// An exam code is stored and looked up in one form, without blanks around
// it, so an exam whose code carries a blank is found under the code login
// and every other reader use.
QString examKey(const QString& code)
{
    return code.trimmed();
}

} // namespace

SystemDatabase::SystemDatabase() : m_own(db::Connection::open(gStartup.gSysConnStr)), m_conn(*m_own)
{
}

SystemDatabase::SystemDatabase(db::Connection& connection) : m_conn(connection)
{
}

// ---- users ----

std::vector<SystemDatabase::User> SystemDatabase::users()
{
    std::vector<User> users;
    for (const db::Row& row :
         m_conn.query(QStringLiteral("SELECT Qu_UserCode, Qu_LoginId, Qu_Password FROM Bq_User ORDER BY Qu_UserCode")))
        users.push_back({int(row.integer(0)), textOrNull(row, 1), textOrNull(row, 2)});
    return users;
}

std::vector<SystemDatabase::User> SystemDatabase::usersWithLogin(const QStringList& logins)
{
    std::vector<User> users;
    if (logins.isEmpty())
        return users;
    QStringList marks;
    std::vector<QVariant> values;
    for (const QString& login : logins) {
        marks << QStringLiteral("?");
        values.emplace_back(login);
    }
    for (const db::Row& row : m_conn.query(QStringLiteral("SELECT Qu_UserCode, Qu_LoginId, Qu_Password FROM Bq_User "
                                                          "WHERE Qu_LoginId IN (")
                                               + marks.join(QLatin1Char(','))
                                               + QStringLiteral(") ORDER BY Qu_UserCode"),
                                           values))
        users.push_back({int(row.integer(0)), textOrNull(row, 1), textOrNull(row, 2)});
    return users;
}

int SystemDatabase::addUser(const NewUser& u)
{
    m_conn.exec(QStringLiteral("INSERT INTO Bq_User (Qu_LoginId, Qu_Password, qu_first_name, qu_middle_name, "
                               "qu_last_name, qu_email, qu_add1, qu_add2, qu_state, qu_zip, qu_phone) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {u.login, u.password, orNull(u.firstName), orNull(u.middleName), orNull(u.lastName), orNull(u.email),
                 orNull(u.address1), orNull(u.address2), orNull(u.state), orNull(u.zip), orNull(u.phone)});
    return int(m_conn.lastInsertId());
}

std::optional<QString> SystemDatabase::passwordOf(const QString& login)
{
    const db::ResultSet rows = m_conn.query(
        QStringLiteral("SELECT Qu_Password FROM Bq_User WHERE Qu_LoginId = ? ORDER BY Qu_UserCode LIMIT 1"), {login});
    if (rows.empty())
        return std::nullopt;
    return rows.first().text(0);
}

int SystemDatabase::setPassword(const QString& login, const QString& password)
{
    return m_conn.exec(QStringLiteral("UPDATE Bq_User SET Qu_Password = ? WHERE Qu_LoginId = ?"), {password, login});
}

namespace {

const QString kProfileColumns =
    QStringLiteral("Qu_UserCode, Qu_LoginId, Qu_Password, qu_first_name, qu_middle_name, qu_last_name, qu_email, "
                   "qu_add1, qu_add2, qu_state, qu_zip, qu_phone");

SystemDatabase::Profile profileFrom(const db::Row& row)
{
    return {int(row.integer(0)), row.text(1), row.text(2), row.text(3), row.text(4),  row.text(5),
            row.text(6),         row.text(7), row.text(8), row.text(9), row.text(10), row.text(11)};
}

std::optional<SystemDatabase::Profile> firstProfile(const db::ResultSet& rows)
{
    if (rows.empty())
        return std::nullopt;
    return profileFrom(rows.first());
}

std::vector<SystemDatabase::AttachedExam> examsFrom(const db::ResultSet& rows)
{
    std::vector<SystemDatabase::AttachedExam> exams;
    for (const db::Row& row : rows)
        exams.push_back({row.text(0), row.text(1), row.text(2)});
    return exams;
}

// The administrator's row is never listed, nor a row without a login (a
// NULL login is not unequal to 'Admin' either).
const QString kListedUsers = QStringLiteral("FROM Bq_User WHERE Qu_LoginId <> 'Admin'");

} // namespace

std::vector<SystemDatabase::Profile> SystemDatabase::listedProfiles()
{
    const db::ResultSet rows = m_conn.query(QStringLiteral("SELECT ") + kProfileColumns + QLatin1Char(' ')
                                            + kListedUsers + QStringLiteral(" ORDER BY Qu_UserCode"));
    std::vector<Profile> profiles;
    profiles.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows)
        profiles.push_back(profileFrom(row));
    return profiles;
}

namespace {

// The right is read with the row, through the rights' key index: a page of
// the list costs the same whatever the number of users and exams.
const QString kListedUserColumns = QStringLiteral(
    "SELECT Qu_UserCode, Qu_LoginId, qu_first_name, EXISTS (SELECT 1 FROM Bq_User_vs_Exams WHERE Bue_User = "
    "Qu_UserCode AND Bue_Exam = ? AND (Bue_HaveRight IS NULL OR Bue_HaveRight <> 0)) ");

QVariant examOrNone(const QString& examCode)
{
    return examCode.isEmpty() ? QVariant() : QVariant(examKey(examCode));
}

std::vector<SystemDatabase::ListedUser> listedUsersFrom(const db::ResultSet& rows)
{
    std::vector<SystemDatabase::ListedUser> users;
    users.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows)
        users.push_back({int(row.integer(0)), row.text(1), row.text(2), row.integer(3) != 0});
    return users;
}

} // namespace

int SystemDatabase::listedUserCount()
{
    // Both counts come from the table's and the login index's pages, not
    // from the rows.
    return m_conn
        .scalar(QStringLiteral("SELECT (SELECT count(*) FROM Bq_User) - (SELECT count(*) FROM Bq_User "
                               "WHERE Qu_LoginId = 'Admin' OR Qu_LoginId IS NULL)"))
        .toInt();
}

std::vector<SystemDatabase::ListedUser> SystemDatabase::listedUsersAfter(std::optional<int> afterCode, int skip,
                                                                         int take, const QString& examCode)
{
    return listedUsersFrom(m_conn.query(
        kListedUserColumns + kListedUsers
            + QStringLiteral(" AND Qu_UserCode > ? ORDER BY Qu_UserCode LIMIT ? OFFSET ?"),
        {examOrNone(examCode), afterCode ? qint64(*afterCode) : std::numeric_limits<qint64>::min(), take, skip}));
}

std::vector<SystemDatabase::ListedUser> SystemDatabase::listedUsersBefore(std::optional<int> beforeCode, int skip,
                                                                          int take, const QString& examCode)
{
    std::vector<ListedUser> users = listedUsersFrom(m_conn.query(
        kListedUserColumns + kListedUsers
            + QStringLiteral(" AND Qu_UserCode < ? ORDER BY Qu_UserCode DESC LIMIT ? OFFSET ?"),
        {examOrNone(examCode), beforeCode ? qint64(*beforeCode) : std::numeric_limits<qint64>::max(), take, skip}));
    std::reverse(users.begin(), users.end());
    return users;
}

int SystemDatabase::listedUsersBelow(int userCode)
{
    return m_conn
        .scalar(QStringLiteral("SELECT count(*) ") + kListedUsers + QStringLiteral(" AND Qu_UserCode < ?"), {userCode})
        .toInt();
}

std::optional<SystemDatabase::Profile> SystemDatabase::profileOf(int userCode)
{
    return firstProfile(m_conn.query(QStringLiteral("SELECT ") + kProfileColumns
                                         + QStringLiteral(" FROM Bq_User WHERE Qu_UserCode = ?"),
                                     {userCode}));
}

std::optional<SystemDatabase::Profile> SystemDatabase::profileByLogin(const QString& login)
{
    return firstProfile(m_conn.query(QStringLiteral("SELECT ") + kProfileColumns
                                         + QStringLiteral(" FROM Bq_User WHERE Qu_LoginId = ? "
                                                          "ORDER BY Qu_UserCode LIMIT 1"),
                                     {login}));
}

int SystemDatabase::updateProfile(const Profile& p)
{
    return m_conn.exec(QStringLiteral("UPDATE Bq_User SET Qu_Password = ?, qu_first_name = ?, qu_middle_name = ?, "
                                      "qu_last_name = ?, qu_email = ?, qu_add1 = ?, qu_add2 = ?, qu_state = ?, "
                                      "qu_zip = ?, qu_phone = ? WHERE Qu_UserCode = ?"),
                       {p.password, p.firstName, p.middleName, p.lastName, p.email, p.address1, p.address2, p.state,
                        p.zip, p.phone, p.code});
}

void SystemDatabase::removeUser(int userCode)
{
    m_conn.exec(QStringLiteral("DELETE FROM Bq_User WHERE Qu_UserCode = ?"), {userCode});
}

bool SystemDatabase::hasUser(int userCode)
{
    return !m_conn.scalar(QStringLiteral("SELECT 1 FROM Bq_User WHERE Qu_UserCode = ? LIMIT 1"), {userCode}).isNull();
}

// ---- rights ----

std::optional<SystemDatabase::Right> SystemDatabase::rightOf(int userCode, const QString& examCode)
{
    const db::ResultSet rows = m_conn.query(
        QStringLiteral("SELECT Bue_HaveRight FROM Bq_User_vs_Exams WHERE Bue_User = ? AND Bue_Exam = ? ORDER BY rowid"),
        {userCode, examKey(examCode)});
    if (rows.empty())
        return std::nullopt;
    return Right{flagOrNull(rows.first(), 0)};
}

void SystemDatabase::addRight(int userCode, const QString& examCode, const QVariant& haveRight)
{
    m_conn.exec(QStringLiteral("INSERT INTO Bq_User_vs_Exams (Bue_Exam, Bue_User, Bue_HaveRight) VALUES (?, ?, ?)"),
                {examKey(examCode), userCode, haveRight});
}

int SystemDatabase::updateRight(int userCode, const QString& examCode, bool haveRight)
{
    return m_conn.exec(
        QStringLiteral("UPDATE Bq_User_vs_Exams SET Bue_HaveRight = ? WHERE Bue_User = ? AND Bue_Exam = ?"),
        {haveRight, userCode, examKey(examCode)});
}

void SystemDatabase::removeRightsOf(int userCode)
{
    m_conn.exec(QStringLiteral("DELETE FROM Bq_User_vs_Exams WHERE Bue_User = ?"), {userCode});
}

std::vector<SystemDatabase::ExamRight> SystemDatabase::rightsOf(int userCode)
{
    std::vector<ExamRight> rights;
    for (const db::Row& row : m_conn.query(
             QStringLiteral("SELECT Bue_Exam, Bue_HaveRight FROM Bq_User_vs_Exams WHERE Bue_User = ? ORDER BY rowid"),
             {userCode}))
        rights.push_back({row.text(0), flagOrNull(row, 1)});
    return rights;
}

void SystemDatabase::removeRightsTo(const QString& examCode)
{
    m_conn.exec(QStringLiteral("DELETE FROM Bq_User_vs_Exams WHERE Bue_Exam = ?"), {examKey(examCode)});
}

int SystemDatabase::moveRightsToTrimmedCodes()
{
    int moved = 0;
    QStringList codes;
    for (const db::Row& row :
         m_conn.query(QStringLiteral("SELECT DISTINCT Bue_Exam FROM Bq_User_vs_Exams WHERE Bue_Exam IS NOT NULL")))
        codes << row.text(0);
    for (const QString& code : codes) {
        const QString key = examKey(code);
        if (key == code)
            continue;
        // Login has always looked rights up under the trimmed code: a row
        // there is the one that decided, and stands.
        m_conn.exec(QStringLiteral("DELETE FROM Bq_User_vs_Exams WHERE Bue_Exam = ? AND Bue_User IN "
                                   "(SELECT Bue_User FROM Bq_User_vs_Exams WHERE Bue_Exam = ?)"),
                    {code, key});
        moved += m_conn.exec(QStringLiteral("UPDATE Bq_User_vs_Exams SET Bue_Exam = ? WHERE Bue_Exam = ?"), {key, code});
    }
    return moved;
}

// ---- attached exams ----

bool SystemDatabase::hasExam(const QString& code)
{
    return m_conn.scalar(QStringLiteral("SELECT 1 FROM Bq_Exam WHERE Be_Exam_Code = ?"), {examKey(code)}).isValid();
}

std::vector<SystemDatabase::AttachedExam> SystemDatabase::examsByCode()
{
    return examsFrom(
        m_conn.query(QStringLiteral("SELECT Be_Exam_Code, be_desc, be_path FROM Bq_Exam ORDER BY Be_Exam_Code")));
}

std::vector<SystemDatabase::AttachedExam> SystemDatabase::examsInAttachOrder()
{
    return examsFrom(m_conn.query(QStringLiteral("SELECT Be_Exam_Code, be_desc, be_path FROM Bq_Exam ORDER BY rowid")));
}

std::vector<SystemDatabase::AttachedExam> SystemDatabase::examsByDescription()
{
    return examsFrom(m_conn.query(
        QStringLiteral("SELECT Be_Exam_Code, be_desc, be_path FROM Bq_Exam ORDER BY be_desc, Be_Exam_Code")));
}

void SystemDatabase::removeExam(const QString& code)
{
    m_conn.exec(QStringLiteral("DELETE FROM Bq_Exam WHERE Be_Exam_Code = ?"), {examKey(code)});
}

void SystemDatabase::addExam(const QString& path, const QVariant& code, const QVariant& description)
{
    m_conn.exec(QStringLiteral("INSERT INTO Bq_Exam (be_path, Be_Exam_Code, be_desc) VALUES (?, ?, ?)"),
                {path, code.isNull() ? code : QVariant(examKey(code.toString())), description});
}

void SystemDatabase::removeAllExams()
{
    m_conn.exec(QStringLiteral("DELETE FROM Bq_Exam"));
}

// ---- the last user ----

std::optional<QString> SystemDatabase::lastUser()
{
    const db::ResultSet rows = m_conn.query(QStringLiteral("SELECT LastUser FROM SysInfo ORDER BY rowid"));
    if (rows.empty())
        return std::nullopt;
    return rows.first().text(0);
}

void SystemDatabase::setLastUser(const QString& login)
{
    if (m_conn.scalar(QStringLiteral("SELECT count(*) FROM SysInfo")).toInt() == 0)
        m_conn.exec(QStringLiteral("INSERT INTO SysInfo (LastUser) VALUES (?)"), {login});
    else
        m_conn.exec(QStringLiteral("UPDATE SysInfo SET LastUser = ?"), {login});
}

// ---- registration mode and default user ----

std::optional<bool> SystemDatabase::multiUserFlag()
{
    const db::ResultSet rows =
        m_conn.query(QStringLiteral("SELECT BQ_Multiuser FROM Bq_Ziduver_Reg_Det ORDER BY rowid"));
    if (rows.empty())
        return std::nullopt;
    return rows.first().integer(0) != 0;
}

void SystemDatabase::addRegistration(const QVariant& multiUserFlag)
{
    m_conn.exec(QStringLiteral("INSERT INTO Bq_Ziduver_Reg_Det (BQ_Multiuser) VALUES (?)"), {multiUserFlag});
}

std::optional<SystemDatabase::DefaultUser> SystemDatabase::defaultUser()
{
    const db::ResultSet rows =
        m_conn.query(QStringLiteral("SELECT loginid, Password FROM Bq_DefaultUser ORDER BY rowid"));
    if (rows.empty())
        return std::nullopt;
    return DefaultUser{rows.first().text(0), rows.first().text(1)};
}

std::vector<SystemDatabase::DefaultUser> SystemDatabase::defaultUsers()
{
    std::vector<DefaultUser> users;
    for (const db::Row& row :
         m_conn.query(QStringLiteral("SELECT loginid, Password FROM Bq_DefaultUser ORDER BY rowid")))
        users.push_back({row.text(0), row.text(1)});
    return users;
}

void SystemDatabase::addDefaultUser(const QString& login, const QString& password)
{
    m_conn.exec(QStringLiteral("INSERT INTO Bq_DefaultUser (loginid, Password) VALUES (?, ?)"), {login, password});
}

void SystemDatabase::setDefaultUser(const QString& login, const QString& password)
{
    if (m_conn.exec(QStringLiteral("UPDATE Bq_DefaultUser SET loginid = ?, Password = ? "
                                   "WHERE rowid = (SELECT min(rowid) FROM Bq_DefaultUser)"),
                    {login, password})
        == 0)
        addDefaultUser(login, password);
}

bool SystemDatabase::setMultiUserFlag(bool multiUser)
{
    return m_conn.exec(QStringLiteral("UPDATE Bq_Ziduver_Reg_Det SET BQ_Multiuser = ? "
                                      "WHERE rowid = (SELECT min(rowid) FROM Bq_Ziduver_Reg_Det)"),
                       {multiUser})
        > 0;
}

// ---- the file itself ----

QStringList SystemDatabase::tableNames()
{
    QStringList names;
    for (const db::Row& row : m_conn.query(QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table' "
                                                          "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name")))
        names << row.text(0);
    return names;
}
