#include "admin/ExamRights.h"

#include "admin/AdminTexts.h"
#include "admin/ExamAttach.h"
#include "foundation/DebugLog.h"
#include "foundation/UserRights.h"
#include "platform/db/Connection.h"

std::vector<SystemDatabase::AttachedExam> permissionExams(SystemDatabase& system)
{
    return withExistingFiles(system.examsByCode());
}

QStringList grantedExamCodes(SystemDatabase& system, const QString& login)
{
    const std::optional<SystemDatabase::Profile> user = system.profileByLogin(login);
    const int code = user ? user->code : 0;
    // Codes kept for the program's own use never show rights.
    if (code == 0 || code == 99998 || code == 99999)
        return {};
    QStringList codes;
    for (const SystemDatabase::ExamRight& right : system.rightsOf(code))
        if (admits(right.haveRight))
            codes << right.examCode;
    return codes;
}

RightChange changeRight(db::Connection& connection, int userCode, bool granted, const QString& examPath,
                        const QString& examCode, const QString& login, const QString& firstName)
{
    RightChange change;
    change.ok = Gen_UpdateRights(connection, userCode, granted, examPath, examCode, change.error, login, firstName);
    change.stored = granted;
    if (!change.ok) {
        // Unless the store says otherwise, the right is as it was.
        change.stored = !granted;
        try {
            const auto right = SystemDatabase(connection).rightOf(userCode, examCode);
            change.stored = right && admits(right->haveRight);
        } catch (const std::exception& error) {
            // The file that refused the write refuses the read too: the
            // message says so once.
            WriteLog(describeError(error) + QStringLiteral(" : changeRight : frmAdminPref ") + logDate());
        }
    }
    return change;
}
