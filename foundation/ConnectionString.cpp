#include "foundation/ConnectionString.h"

QString connectionString(const QString& databasePath, const QString& password)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;User ID=Admin;") + QStringLiteral("DBQ=")
        + databasePath + QStringLiteral(";Driver={Microsoft Access Driver (*.mdb)};DriverId=25;FIL=MS Access;")
        + QStringLiteral("pwd= ") + password;
}

QString checkConnectionString(const QString& databasePath, const QString& password)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;User ID=Admin;Extended Properties=DBQ=")
        + databasePath
        + QStringLiteral(";Driver={Microsoft Access Driver (*.mdb)};DriverId=25;FIL=MS Access;"
                         "MaxBufferSize=2048;PageTimeout=5;UID=admin;PWD=")
        + password;
}
