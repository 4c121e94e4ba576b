#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

// The system database (Ziduver.QZR): the statements on it that more than one
// part of the program runs, each under a name. Values go in as bound
// parameters; reads come back as row structs. Opens the program's system
// database (gStartup.gSysConnStr) or works on the caller's connection, so it
// joins the caller's transaction. Database errors reach the caller
// (db::DbError). Transactions are the caller's.
class SystemDatabase {
public:
    // Opens the program's system database.
    SystemDatabase();
    explicit SystemDatabase(db::Connection& connection);
    SystemDatabase(const SystemDatabase&) = delete;
    SystemDatabase& operator=(const SystemDatabase&) = delete;

    db::Connection& connection() { return m_conn; }

    // ---- users (Bq_User) ----
    // A NULL login or password reads as nullopt.
    struct User {
        int code = 0;
        std::optional<QString> login{};
        std::optional<QString> password{};
    };
    // Every user, by code.
    std::vector<User> users();
    // The users whose login is one of the texts, ASCII case ignored, by
    // code: looked up through the login index, whatever the number of users.
    std::vector<User> usersWithLogin(const QStringList& logins);

    // A new user; a field left out is stored as NULL.
    struct NewUser {
        QString login;
        QString password;
        std::optional<QString> firstName{}, middleName{}, lastName{}, email{}, address1{}, address2{}, state{}, zip{},
            phone{};
    };
    // Adds a user; returns the code it was given.
    int addUser(const NewUser& user);

    // The password of the first user (by code) with the login (any case), ""
    // for a NULL one; nullopt when no user has it.
    std::optional<QString> passwordOf(const QString& login);
    // Sets the password of every user with the login (any case); returns how
    // many there were.
    int setPassword(const QString& login, const QString& password);

    // A user's whole row, as the administration window shows and edits it
    // (NULL reads "").
    struct Profile {
        int code = 0;
        QString login, password, firstName, middleName, lastName, email, address1, address2, state, zip, phone;
    };
    // Every user but the administrator (login "Admin", any case), by code.
    std::vector<Profile> listedProfiles();
    // One row of the administration window's user lists, which list the
    // same users as listedProfiles. `admitted` tells whether the user may
    // take the exam the row was read for (a right row to it whose flag does
    // not hold false: a NULL flag lets the user in, as at login); false when
    // it was read for none ("").
    struct ListedUser {
        int code = 0;
        QString login, firstName;
        bool admitted = false;
    };
    // How many users listedProfiles lists, counted through the login index
    // rather than by reading the users.
    int listedUserCount();
    // Up to `take` listed users, by code: those with a code above
    // `afterCode` (from the first when nullopt), the first `skip` left out.
    std::vector<ListedUser> listedUsersAfter(std::optional<int> afterCode, int skip, int take, const QString& examCode);
    // The same counted back from the end: those with a code below
    // `beforeCode` (from the last when nullopt), the last `skip` left out;
    // returned by code.
    std::vector<ListedUser> listedUsersBefore(std::optional<int> beforeCode, int skip, int take,
                                              const QString& examCode);
    // How many listed users have a code below the code.
    int listedUsersBelow(int userCode);
    std::optional<Profile> profileOf(int userCode);
    // The first user (by code) whose login is the text (ASCII case ignored).
    std::optional<Profile> profileByLogin(const QString& login);
    // Writes every field of the user's row but the code and the login;
    // returns how many rows there were.
    int updateProfile(const Profile& profile);
    void removeUser(int userCode);
    // True while a user row has the code.
    bool hasUser(int userCode);

    // ---- rights (Bq_User_vs_Exams) ----
    // An exam code goes in and is looked up without blanks around it, here
    // and in Bq_Exam: one form wherever it is stored.
    // A right row's flag, nullopt for a NULL one.
    struct Right {
        std::optional<bool> haveRight{};
    };
    // The user's first right row (in the order written) to the exam.
    std::optional<Right> rightOf(int userCode, const QString& examCode);
    // Adds a right row. The flag is stored as given: a bool as 0/1, or any
    // value (NULL, -1) an older database may hold.
    void addRight(int userCode, const QString& examCode, const QVariant& haveRight);
    // Sets the flag of the user's rows to the exam; returns how many there were.
    int updateRight(int userCode, const QString& examCode, bool haveRight);
    void removeRightsOf(int userCode);
    // Every right row of the user, in the order written.
    struct ExamRight {
        QString examCode;
        std::optional<bool> haveRight{};
    };
    std::vector<ExamRight> rightsOf(int userCode);
    void removeRightsTo(const QString& examCode);
    // Moves rights stored under a code with blanks around it (by an older
    // version) to the trimmed code; where the user holds a row under the
    // trimmed code already, that row stands and the other is deleted.
    // Returns how many rows moved.
    int moveRightsToTrimmedCodes();

    // ---- attached exams (Bq_Exam) ----
    struct AttachedExam {
        QString code;
        QString description;
        QString path;
    };
    bool hasExam(const QString& code);
    // Every attached exam, by code / by description.
    std::vector<AttachedExam> examsByCode();
    std::vector<AttachedExam> examsByDescription();
    // Every attached exam, first attached first.
    std::vector<AttachedExam> examsInAttachOrder();
    void removeExam(const QString& code);
    // The description as the exam database holds it, the code trimmed.
    void addExam(const QString& path, const QVariant& code, const QVariant& description);
    void removeAllExams();

    // ---- the last user (SysInfo) ----
    // nullopt without a row; "" for a NULL login.
    std::optional<QString> lastUser();
    // Inserts the row when there is none, else sets every row.
    void setLastUser(const QString& login);

    // ---- registration mode and default user ----
    // The first row's multi-user flag (NULL reads false); nullopt without a row.
    std::optional<bool> multiUserFlag();
    // Stored as given, as addRight's flag.
    void addRegistration(const QVariant& multiUserFlag);
    struct DefaultUser {
        QString login;
        QString password;
    };
    std::optional<DefaultUser> defaultUser();
    // Every default-user row (the table should hold one at most).
    std::vector<DefaultUser> defaultUsers();
    void addDefaultUser(const QString& login, const QString& password);
    // Overwrites the first default-user row, or adds one when there is none.
    void setDefaultUser(const QString& login, const QString& password);
    // Sets the first registration row's multi-user flag; false without a row.
    bool setMultiUserFlag(bool multiUser);

    // ---- the file itself ----
    // The names of its tables, without SQLite's own (sqlite_*), by name.
    QStringList tableNames();

private:
    std::optional<db::Connection> m_own;
    db::Connection& m_conn;
};
