#include "admin/AdminSettingsRules.h"

#include "admin/AdminTexts.h"
#include "admin/UserAccounts.h"
#include "platform/db/Connection.h"

#include <QFileInfo>
#include <QStringList>

QString adminPasswordRefusal(const QString& newPassword, const QString& confirmation)
{
    if (newPassword.toUpper() != confirmation.toUpper())
        return QString::fromLatin1(adminText::PasswordMismatch);
    if (storedAdminPassword(newPassword).isEmpty())
        return QString::fromLatin1(adminText::PasswordEmpty);
    return {};
}

QString storedAdminPassword(const QString& newPassword)
{
    return newPassword.trimmed().toUpper();
}

ModeChange userModeChange(const std::optional<bool>& storedMultiUser, ModeChoice chosen)
{
    ModeChange change;
    if (!storedMultiUser) {
        change.noRow = true;
        return change;
    }
    if (*storedMultiUser && chosen == ModeChoice::Single) {
        change.question = QString::fromLatin1(adminText::ToSingleUser);
        change.toMulti = false;
    } else if (!*storedMultiUser && chosen == ModeChoice::Multi) {
        change.question = QString::fromLatin1(adminText::ToMultiUser);
        change.toMulti = true;
    }
    return change;
}

QString applyUserMode(SystemDatabase& system, bool toMulti)
{
    if (!toMulti && !AnyDefaultUser(system))
        return QString::fromLatin1(adminText::SingleUserFailed);
    system.setMultiUserFlag(toMulti);
    return {};
}

QString rootDatabaseRefusal(const QString& path)
{
    if (QFileInfo(path).fileName().compare(QLatin1String("Ziduver.QZR"), Qt::CaseInsensitive) != 0)
        return QString::fromLatin1(adminText::SelectRootDatabase);
    static const QStringList accepted = {QStringLiteral("SysInfo"),           QStringLiteral("Bq_Exam"),
                                         QStringLiteral("Bq_Exam_Print"),     QStringLiteral("Bq_Ziduver_Reg_Det"),
                                         QStringLiteral("Bq_User"),           QStringLiteral("Bq_User_vs_Exams"),
                                         QStringLiteral("Bq_BasicTemplates"), QStringLiteral("Bq_Temp_Result"),
                                         QStringLiteral("Bq_DefaultUser")};
    try {
        db::Connection root = db::Connection::openFile(path);
        for (const QString& table : SystemDatabase(root).tableNames())
            if (!accepted.contains(table, Qt::CaseInsensitive))
                return QString::fromLatin1(adminText::InvalidRootDatabase);
    } catch (const db::DbError&) {
        return QString::fromLatin1(adminText::InvalidRootDatabase);
    }
    return {};
}
