#include "foundation/DatabaseProblem.h"

QString databaseProblemText(const QString& what, const QString& path, const std::exception& error, DatabaseUse use)
{
    return what + QStringLiteral("\r\n")
        + db::problemInWords(QStringLiteral("The exam database"), path, error, use);
}
