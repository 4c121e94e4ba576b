#include "foundation/DisplayRoutines.h"

#include "foundation/DebugLog.h"
#include "foundation/SharedState.h"

#include <QFileInfo>
#include <cmath>

bool FileExists(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        WriteLog(QStringLiteral("File not found: ") + path + QStringLiteral(": FileExists:basZiduver:Date/Time :")
                 + logDate());
        return false;
    }
    if (gStartup.gDebug == 1)
        WriteLog(path + QStringLiteral(" exist: FileExists: basZiduver: Date/Time :") + logDate());
    return !info.isDir();
}

int charsPerLine(double widthPixels, int averageCharWidthPixels)
{
    if (averageCharWidthPixels <= 0)
        return -1;
    return int(std::nearbyint(float(widthPixels) / float(averageCharWidthPixels) - 5.0f));
}

void ChangeDisplayMode(short, short, short)
{
}
