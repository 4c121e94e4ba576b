#pragma once

#include <QString>

class QObject;

// A window's Tag: a short text other windows read. The exam window tags the
// dialogs it opens with "L" so that time-over closes them.
void setWindowTag(QObject* window, const QString& tag);
QString windowTag(const QObject* window);
