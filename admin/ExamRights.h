#pragma once

#include "foundation/SystemDatabase.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace db {
class Connection;
}

// The rights of one user per attached exam, as the rights list shows them.

// True when a stored right lets the user in: a missing flag does, as at
// login; only a stored false keeps him out.
inline bool admits(const std::optional<bool>& haveRight)
{
    return !haveRight || *haveRight;
}

// The exams of the rights list: every attached exam whose file exists, by
// exam code.
std::vector<SystemDatabase::AttachedExam> permissionExams(SystemDatabase& system);

// The codes of the exams the user with this login has the right to, in the
// order written. None for a login without a user and for the user codes
// 99998 and 99999.
QStringList grantedExamCodes(SystemDatabase& system, const QString& login);

// Grants or revokes one user's right to an exam at once (through
// Gen_UpdateRights on the caller's connection, with the user's login and
// first name for the exam's copy of him) and reads back what is stored: a
// failed copy may leave the right written.
struct RightChange {
    bool ok = false;
    QString error;
    bool stored = false; // the right as stored afterwards
};
RightChange changeRight(db::Connection& system, int userCode, bool granted, const QString& examPath,
                        const QString& examCode, const QString& login, const QString& firstName);
