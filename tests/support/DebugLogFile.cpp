#include "tests/support/DebugLogFile.h"

#include "foundation/ProgramFolder.h"

#include <QFile>

QString debugLogPath()
{
    return programFile(QStringLiteral("debug.log"));
}

QString readDebugLog()
{
    QFile log(debugLogPath());
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

QStringList debugLogLines()
{
    return readDebugLog().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

void removeDebugLog()
{
    QFile::remove(debugLogPath());
}
