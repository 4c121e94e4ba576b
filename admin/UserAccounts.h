#pragma once

#include "foundation/SystemDatabase.h"

#include <QString>
#include <vector>

namespace db {
class Connection;
}

// The user accounts of the system database as the administrator keeps them:
// validation, the login and default-user checks, save and delete.

// What the profile boxes hold, as typed.
struct UserProfile {
    QString login, password, confirmPassword, firstName, middleName, lastName, email, address1, address2, state, zip,
        phone;
};

// The profile rules, tried in order (login, first name, password, its
// confirmation); the first that fails decides: its text followed by CR LF
// goes into message and the result is false. Otherwise true, message as it
// came. Blank fields count as empty; the confirmation must match exactly.
bool ValdateData(const UserProfile& profile, QString& message);

// True when some user, the administrator included, has the login; compared
// trimmed and without regard to case in any script.
bool UserIdExist(SystemDatabase& system, const QString& login);
// True when the login is a default user's (any case, any script).
bool DefaultUser(SystemDatabase& system, const QString& login);
// 1 or 0 for the "Default User" tick.
int chkDefaultUser(SystemDatabase& system, const QString& login);
// True when a default user is set.
bool AnyDefaultUser(SystemDatabase& system);

// One exam of the rights list and the tick it carries.
struct RightChoice {
    QString examCode;
    QString examPath;
    bool granted = false;
};

struct SaveRequest {
    bool editing = false; // update user `userCode`; else add a new user
    int userCode = 0;
    UserProfile profile;
    bool makeDefault = false; // the "Default User" tick
    std::vector<RightChoice> rights;
};

// An exam whose copy of the user could not be written: the message to show
// and the right as stored after the failure.
struct CopyFailure {
    QString examCode;
    QString message;
    bool storedRight = false;
};

struct SaveOutcome {
    enum class Status {
        Saved,
        Invalid,    // the validation text is in message
        LoginTaken, // a new user's login is in use already; nothing written
        Failed,     // nothing written; the error text is in message
    };
    Status status = Status::Failed;
    QString message;
    int userCode = 0;
    QString login; // Saved: the user's login as stored
    std::vector<CopyFailure> copyFailures;
};

// Saves a profile. An edit keeps the stored login, whatever the profile's
// login box holds. The user row, the default-user row (when ticked) and a
// right for every listed exam are one transaction: a failure anywhere in it
// leaves the system database as it was. A new user's login is stored
// trimmed. Once that is committed, each exam database gets its copy of the
// user; an exam that fails is reported in copyFailures and the others are
// still written.
SaveOutcome saveUser(db::Connection& system, const SaveRequest& request);

// Why the user with this login may not be deleted ("" when he may): the
// default user (ticked, or stored as such), then the administrator.
QString deleteRefusal(SystemDatabase& system, const QString& login, bool defaultTicked);
// Deletes the user and his rights in one transaction.
void deleteUser(db::Connection& system, int userCode);
