#include "admin/UserAccounts.h"

#include "admin/AdminTexts.h"
#include "admin/ExamRights.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/LoginRules.h"
#include "foundation/UserRights.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <optional>
#include <stdexcept>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kUserNotSaved = QStringLiteral("The user could not be saved.");

bool refuse(const char* text, QString& message)
{
    message = QString::fromLatin1(text) + kLineEnd;
    return false;
}

// A failure inside the save transaction, carried out of it so that it rolls
// back.
struct SaveFailure : std::runtime_error {
    explicit SaveFailure(const QString& text) : std::runtime_error(text.toStdString()), message(text) { }
    QString message;
};

} // namespace

bool ValdateData(const UserProfile& profile, QString& message)
{
    if (profile.login.trimmed().isEmpty())
        return refuse(adminText::InvalidLogin, message);
    if (profile.firstName.trimmed().isEmpty())
        return refuse(adminText::InvalidFirstName, message);
    if (profile.password.trimmed().isEmpty())
        return refuse(adminText::EmptyPassword, message);
    if (profile.password != profile.confirmPassword)
        return refuse(adminText::PasswordsDiffer, message);
    return true;
}

bool UserIdExist(SystemDatabase& system, const QString& login)
{
    const QString wanted = login.trimmed();
    for (const SystemDatabase::User& user : system.users())
        if (user.login && sameLoginText(user.login->trimmed(), wanted))
            return true;
    return false;
}

bool DefaultUser(SystemDatabase& system, const QString& login)
{
    for (const SystemDatabase::DefaultUser& user : system.defaultUsers())
        if (sameLoginText(user.login, login))
            return true;
    return false;
}

int chkDefaultUser(SystemDatabase& system, const QString& login)
{
    return DefaultUser(system, login) ? 1 : 0;
}

bool AnyDefaultUser(SystemDatabase& system)
{
    return system.defaultUser().has_value();
}

SaveOutcome saveUser(db::Connection& connection, const SaveRequest& request)
{
    SaveOutcome outcome;
    const UserProfile& p = request.profile;
    if (!ValdateData(p, outcome.message)) {
        outcome.status = SaveOutcome::Status::Invalid;
        return outcome;
    }
    SystemDatabase system(connection);
    // Stored trimmed: the login window trims what it is given.
    QString login = p.login.trimmed();
    try {
        db::Transaction transaction(connection);
        int code = request.userCode;
        if (request.editing) {
            // The login never changes on an edit: the default user and the
            // exam databases' copies take the stored one, whatever the box
            // holds.
            const std::optional<SystemDatabase::Profile> stored = system.profileOf(code);
            if (!stored
                || system.updateProfile({code, stored->login, p.password, p.firstName, p.middleName, p.lastName,
                                         p.email, p.address1, p.address2, p.state, p.zip, p.phone})
                    == 0)
                throw SaveFailure(QStringLiteral("The user ") + login + QStringLiteral(" no longer exists."));
            login = stored->login;
        } else {
            if (UserIdExist(system, login)) {
                outcome.status = SaveOutcome::Status::LoginTaken;
                outcome.message = QString::fromLatin1(adminText::LoginExists);
                return outcome;
            }
            code = system.addUser({login, p.password, p.firstName, p.middleName, p.lastName, p.email, p.address1,
                                   p.address2, p.state, p.zip, p.phone});
        }
        // After the user row, so that a default user always exists.
        if (request.makeDefault)
            system.setDefaultUser(login, p.password);
        for (const RightChoice& right : request.rights) {
            QString error;
            if (!Gen_UpdateRights(connection, code, right.granted, QString(), right.examCode, error))
                throw SaveFailure(kUserNotSaved + kLineEnd + error);
        }
        transaction.commit();
        outcome.userCode = code;
        outcome.login = login;
    } catch (const SaveFailure& failure) {
        outcome.message = failure.message;
        return outcome;
    } catch (const std::exception& error) {
        outcome.message =
            commandFailureText(kUserNotSaved, DatabaseFile::system(connection.path()), error, DatabaseUse::Writing);
        return outcome;
    }

    // The exam databases' copies, each on its own: a copy written for a user
    // whose save rolled back would be taken over by the next new user.
    for (const RightChoice& right : request.rights) {
        if (right.examPath.isEmpty())
            continue;
        QString error;
        if (Gen_UpdateRights(connection, outcome.userCode, right.granted, right.examPath, right.examCode, error, login,
                             p.firstName, p.middleName, p.lastName, p.email))
            continue;
        CopyFailure failure{right.examCode, QString::fromLatin1(adminText::UserCopyFailed) + kLineEnd + error,
                            right.granted};
        try {
            const auto stored = system.rightOf(outcome.userCode, right.examCode);
            failure.storedRight = stored && admits(stored->haveRight);
        } catch (const std::exception&) {
            // The committed right stands; the tick stays as given.
        }
        outcome.copyFailures.push_back(failure);
    }
    outcome.status = SaveOutcome::Status::Saved;
    return outcome;
}

QString deleteRefusal(SystemDatabase& system, const QString& login, bool defaultTicked)
{
    if (defaultTicked || DefaultUser(system, login))
        return QString::fromLatin1(adminText::DefaultUserUndeletable);
    if (isAdministratorLogin(login))
        return QString::fromLatin1(adminText::AdministratorUndeletable);
    return {};
}

void deleteUser(db::Connection& connection, int userCode)
{
    SystemDatabase system(connection);
    db::Transaction transaction(connection);
    system.removeUser(userCode);
    system.removeRightsOf(userCode);
    transaction.commit();
}
