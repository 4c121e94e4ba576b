#pragma once

#include <QString>
#include <QStringList>

// The program folder's debug.log, read back by the tests.
QString debugLogPath();
// Its whole text; "" when there is no log.
QString readDebugLog();
// Its lines (split at CR LF) without the empty ones; none when there is no log.
QStringList debugLogLines();
// Removes it, so that a case reads only its own lines.
void removeDebugLog();
