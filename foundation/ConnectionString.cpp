#include "foundation/ConnectionString.h"

namespace {

// The path in braces, a closing brace doubled: ";", "=", quotes, spaces and
// braces in a folder's name stay part of the path when the string is read back.
QString quotedPath(const QString& databasePath)
{
    QString escaped = databasePath;
    escaped.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}

} // namespace

QString connectionString(const QString& databasePath, const QString& password)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;User ID=Admin;") + QStringLiteral("DBQ=")
        + quotedPath(databasePath) + QStringLiteral(";Driver={Microsoft Access Driver (*.mdb)};DriverId=25;FIL=MS Access;")
        + QStringLiteral("pwd= ") + password;
}

QString checkConnectionString(const QString& databasePath, const QString& password)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;User ID=Admin;Extended Properties=DBQ=")
        + quotedPath(databasePath)
        + QStringLiteral(";Driver={Microsoft Access Driver (*.mdb)};DriverId=25;FIL=MS Access;"
                         "MaxBufferSize=2048;PageTimeout=5;UID=admin;PWD=")
        + password;
}
