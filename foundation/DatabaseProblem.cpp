#include "foundation/DatabaseProblem.h"

#include "foundation/SharedState.h"
#include "platform/db/Connection.h"

QString databaseProblemText(const QString& what, const QString& path, const std::exception& error, DatabaseUse use)
{
    return what + QStringLiteral("\r\n")
        + db::problemInWords(QStringLiteral("The exam database"), path, error, use);
}

DatabaseFile DatabaseFile::exam(const QString& path)
{
    return {QStringLiteral("The exam database"), path};
}

DatabaseFile DatabaseFile::system()
{
    return system(db::Connection::pathFromConnectionString(gStartup.gSysConnStr));
}

DatabaseFile DatabaseFile::system(const QString& path)
{
    return {QStringLiteral("The system database"), path};
}

QString commandFailureText(const QString& what, const DatabaseFile& file, const std::exception& error,
                           DatabaseUse use)
{
    return what + QStringLiteral("\r\n") + db::problemInWords(file.kind, file.path, error, use)
        + QStringLiteral("\r\n") + db::adviceInWords(error, use);
}
