#pragma once

#include <QString>
#include <exception>
#include <stdexcept>
#include <vector>

// The rules of the login window, without the window: the exams a user may
// pick, the last user, the default user's rights and the login check. Every
// function opens its own connection to the system database (gStartup.gSysConnStr) and
// raises db::DbError on a database failure unless it says otherwise.

struct ListedExam {
    QString code;
    QString description;
    QString path;
};

// True when two logins (or two passwords) are the same text without regard
// to case, in every script: both sides are folded here, not by SQLite, whose
// upper() and NOCASE fold ASCII letters only.
bool sameLoginText(const QString& a, const QString& b);
// The administrator's login is "ADMIN", in any case.
bool isAdministratorLogin(const QString& login);

// The last successful login (SysInfo), "" for a NULL one, "ADMIN" when the
// table has no row.
QString lastUserLogin();

// The attached exams, wherever their files lie, by description, leaving out
// those whose file has vanished (with a debug line each).
std::vector<ListedExam> listedExams();

// Single-user mode: the default user's code (0 when the login has no user
// row), after deleting all of its rights. Multi-user mode: nothing, 0.
int clearDefaultUser();
// Single-user mode: grants the default user a right to the exam.
void InsertForDefaultUSer(int defaultUserCode, const QString& examCode);

enum class LoginOutcome {
    Accepted,
    NoExamSelected,    // "No exams attached. Cannot Procedd"
    BadAdminPassword,  // "Invalid Administrator password specified"
    BadUserOrPassword, // "Invalid user name / password"
    NoRight,           // "No Permission to access selected examination. " ...
    DatabaseError,     // the system database's problem, in the program's words
};

struct LoginDecision {
    LoginOutcome outcome = LoginOutcome::DatabaseError;
    QString userCode; // "0" for the administrator
    QString message;  // the text to show when refused
};

// Checks a login (already trimmed and upper-cased) and password (upper-cased)
// for an exam. The administrator needs no right; any other user needs a
// right row whose flag is not false. Never raises: a database failure
// refuses the login.
LoginDecision checkLogin(const QString& loginId, const QString& password, const QString& examCode);

// Records the login as the last user.
void recordLastUser(const QString& loginId);

// A file the login window shows (the skin, its background picture) that is
// not there. The window goes on plain.
class MissingFileError : public std::runtime_error {
public:
    enum Kind { Skin, Picture };
    MissingFileError(Kind kind, const QString& path);
    Kind kind() const { return m_kind; }
    QString path() const { return m_path; }

private:
    Kind m_kind;
    QString m_path;
};

// The message of a failed step of the login window's load, named for what
// failed: a missing skin file or picture, a missing or unreadable setting,
// the system database (in the program's words), anything else by its text.
QString loadProblemText(const std::exception& error);

// The message texts of the login window.
namespace loginText {
inline const char* const NoExam = "No exams attached. Cannot Procedd";
inline const char* const BadAdminPassword = "Invalid Administrator password specified";
inline const char* const BadUser = "Invalid user name / password";
inline const char* const NoRight = "No Permission to access selected examination. \r\n Contact Administrator";
inline const char* const DataFolderEmpty = "Data folder empty. Can't proceed!";
} // namespace loginText
