#include "foundation/LoginRules.h"

#include "foundation/DebugLog.h"
#include "foundation/DisplayRoutines.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/ErrorWords.h"
#include "platform/db/Transaction.h"

#include <QDir>

namespace {

void debugLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text + logDate());
}

// One form per text: composed accents, then upper case (which also expands
// letters such as "ß" to "SS", the way the login window upper-cases typed text).
QString foldedLoginText(const QString& text)
{
    return text.normalized(QString::NormalizationForm_C).toUpper();
}

// The forms a stored login that matches the typed one is most likely kept
// in: as typed, composed and decomposed, and folded up and down. The index
// ignores ASCII case only, so these find every login stored in one case of
// its other letters.
QStringList storedLoginForms(const QString& typed)
{
    QStringList forms;
    const QString composed = typed.normalized(QString::NormalizationForm_C);
    const QString folded = foldedLoginText(typed);
    for (const QString& form : {typed, composed, typed.normalized(QString::NormalizationForm_D), folded,
                                composed.toLower(), folded.toLower(), folded.toCaseFolded()})
        if (!forms.contains(form))
            forms << form;
    return forms;
}

// The first user (by code) among the rows whose login and password match.
std::optional<SystemDatabase::User> firstMatch(const std::vector<SystemDatabase::User>& users, const QString& loginId,
                                               const QString& password)
{
    for (const SystemDatabase::User& row : users)
        if (row.login && row.password && sameLoginText(*row.login, loginId) && sameLoginText(*row.password, password))
            return row;
    return std::nullopt;
}

} // namespace

bool sameLoginText(const QString& a, const QString& b)
{
    return foldedLoginText(a).compare(foldedLoginText(b), Qt::CaseInsensitive) == 0;
}

bool isAdministratorLogin(const QString& login)
{
    return login.toUpper() == QLatin1String("ADMIN");
}

QString lastUserLogin()
{
    debugLine(QStringLiteral("Entering Registry Fill Form: ReadRegistaryTOFillForm : frmDBSel "));
    const QString login = SystemDatabase().lastUser().value_or(QStringLiteral("ADMIN"));
    debugLine(QStringLiteral("Opening db: ReadRegistaryTOFillForm : frmDBSel "));
    debugLine(QStringLiteral("End of Function: ReadRegistaryTOFillForm : frmDBSel "));
    return login;
}

std::vector<ListedExam> listedExams()
{
    // Wherever the file lies: an exam attached from another folder is
    // attached as much as one in the data folder.
    const std::vector<SystemDatabase::AttachedExam> attached = SystemDatabase().examsByDescription();
    debugLine(QStringLiteral("Opening db: ReadDataDir : frmDBSel "));
    std::vector<ListedExam> exams;
    for (const SystemDatabase::AttachedExam& exam : attached) {
        const QString& path = exam.path;
        if (gStartup.gDebug == 1)
            WriteLog(QStringLiteral("Checking for existance of File: ReadDataDir : frmDBSel ") + logDate()
                     + QStringLiteral(": ") + path);
        if (FileExists(path)) {
            exams.push_back({exam.code, exam.description, path});
        } else if (gStartup.gDebug == 1) {
            WriteLog(QStringLiteral("File not found: ReadDataDir : frmDBSel ") + logDate() + QStringLiteral(": ")
                     + path);
        }
    }
    return exams;
}

int clearDefaultUser()
{
    debugLine(QStringLiteral("Entered :clearDefaultUser: frmDBSel "));
    if (gStartup.gMultiUser)
        return 0;
    SystemDatabase system;
    const std::vector<SystemDatabase::User> users = system.users();
    debugLine(QStringLiteral("db opened:clearDefaultUser: frmDBSel "));
    int defaultUserCode = 0;
    for (const SystemDatabase::User& user : users) {
        if (user.login && sameLoginText(*user.login, gStartup.gDefaultLoginId)) {
            defaultUserCode = user.code;
            break;
        }
    }
    system.removeRightsOf(defaultUserCode);
    debugLine(QStringLiteral("Executed deletion:clearDefaultUser: frmDBSel "));
    return defaultUserCode;
}

void InsertForDefaultUSer(int defaultUserCode, const QString& examCode)
{
    debugLine(QStringLiteral("Reached : InsertForDefaultUSer : frmDBSel "));
    if (gStartup.gMultiUser)
        return;
    SystemDatabase().addRight(defaultUserCode, examCode, true);
    debugLine(QStringLiteral("Data Inserted : InsertForDefaultUSer : frmDBSel "));
}

LoginDecision checkLogin(const QString& loginId, const QString& password, const QString& examCode)
{
    LoginDecision decision;
    decision.userCode = QStringLiteral("0");
    try {
        debugLine(QStringLiteral("Going to open Databases: cmdLogin_Click : frmDBSel "));
        SystemDatabase system;
        debugLine(QStringLiteral("Database opened: cmdLogin_Click : frmDBSel "));
        // Logins and passwords compare without regard to case on both sides,
        // in C++: SQLite folds ASCII letters only. A NULL login or password
        // matches nothing. The user is looked up through the login index;
        // only when none of the logins found there lets the user in are
        // the other users compared too, since a login stored in another
        // form of its letters ("ß" for "SS") matches as well.
        std::optional<SystemDatabase::User> user
            = firstMatch(system.usersWithLogin(storedLoginForms(loginId)), loginId, password);
        if (!user)
            user = firstMatch(system.users(), loginId, password);

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
        decision.userCode = QString::number(user->code);
        const std::optional<SystemDatabase::Right> right = system.rightOf(user->code, examCode.trimmed());
        debugLine(QStringLiteral("User Permission checking: cmdLogin_Click : frmDBSel "));
        // A NULL right does not stop the login; only a missing or false one.
        if (!right || (right->haveRight && !*right->haveRight)) {
            debugLine(QStringLiteral("No Permission to access selected examination. \r\n Contact Administrator : "
                                     "cmdLogin_Click : frmDBSel "));
            decision.outcome = LoginOutcome::NoRight;
            decision.message = QString::fromLatin1(loginText::NoRight);
            return decision;
        }
        decision.outcome = LoginOutcome::Accepted;
    } catch (const std::exception& error) {
        decision.outcome = LoginOutcome::DatabaseError;
        decision.message = QStringLiteral("The login could not be checked.\r\n")
            + db::problemInWords(QStringLiteral("The system database"),
                                 db::Connection::pathFromConnectionString(gStartup.gSysConnStr), error);
        WriteLog(QStringLiteral("Database error! : cmdLogin_Click : frmDBSel: ") + QString::fromUtf8(error.what())
                 + logDate());
    }
    return decision;
}

void recordLastUser(const QString& loginId)
{
    debugLine(QStringLiteral("Sysinfo Checking started: cmdLogin_Click : frmDBSel "));
    SystemDatabase system;
    db::Transaction transaction(system.connection());
    debugLine(QStringLiteral("Sysinfo Checking table opened: cmdLogin_Click : frmDBSel "));
    system.setLastUser(loginId);
    transaction.commit();
    debugLine(QStringLiteral("Sysinfo table updated: cmdLogin_Click : frmDBSel "));
}

MissingFileError::MissingFileError(Kind kind, const QString& path)
    : std::runtime_error(("File not found: " + path).toStdString()), m_kind(kind), m_path(path)
{
}

QString loadProblemText(const std::exception& error)
{
    if (const auto* missing = dynamic_cast<const MissingFileError*>(&error))
        return (missing->kind() == MissingFileError::Skin ? QStringLiteral("The skin file %1 was not found.")
                                                          : QStringLiteral("The picture %1 was not found."))
            .arg(missing->path());
    if (const auto* setting = dynamic_cast<const SettingError*>(&error))
        return setting->inWords();
    if (dynamic_cast<const db::DbError*>(&error))
        return db::problemInWords(QStringLiteral("The system database"),
                                  db::Connection::pathFromConnectionString(gStartup.gSysConnStr), error);
    return QString::fromUtf8(error.what());
}
