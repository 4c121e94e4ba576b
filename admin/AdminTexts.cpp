#include "admin/AdminTexts.h"

#include "foundation/DatabaseProblem.h"
#include "platform/db/DbError.h"

#include <cstring>

QString describeError(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromUtf8(error.what());
}

QString adminFailureText(const char* procedure, const std::exception& error)
{
    if (!dynamic_cast<const db::DbError*>(&error))
        return QString::fromUtf8(error.what());
    struct Command {
        const char* procedure;
        const char* what;
        DatabaseUse use;
    };
    static const Command commands[] = {
        {"Form_Load", "The administration window could not read its data.", DatabaseUse::Reading},
        {"cmdOK_Click", "The user could not be saved.", DatabaseUse::Writing},
        {"cmdDelete_Click", "The user could not be deleted.", DatabaseUse::Writing},
        {"cmdSavePassWord_Click", "The administrator's password could not be saved.", DatabaseUse::Writing},
        {"chkApplicationType", "The user mode could not be changed.", DatabaseUse::Writing},
        {"cmdUpdateExamUsers_Click", "The exam databases could not be updated with the current users.",
         DatabaseUse::Writing},
        {"grdUserList_ItemCheck", "The user's right could not be changed.", DatabaseUse::Writing},
        {"grdListExams_ItemCheck", "The exam could not be detached.", DatabaseUse::Writing},
        {"cmdSetUserRights_Click", "The exam could not be attached.", DatabaseUse::Writing},
    };
    QString what = QStringLiteral("The command could not be completed.");
    DatabaseUse use = DatabaseUse::Reading;
    for (const Command& command : commands) {
        if (std::strcmp(command.procedure, procedure) == 0) {
            what = QString::fromLatin1(command.what);
            use = command.use;
            break;
        }
    }
    return commandFailureText(what, DatabaseFile::system(), error, use);
}
