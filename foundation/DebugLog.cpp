#include "foundation/DebugLog.h"

#include "foundation/ProgramFolder.h"

#include <QDateTime>
#include <QFile>

void WriteLog(const QString& text)
{
    QFile log(programFile(QStringLiteral("debug.log")));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    log.write((text + QStringLiteral("\r\n")).toUtf8());
}

QString logDate()
{
    return QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
}

QString logDateTime()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}
