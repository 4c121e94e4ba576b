#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Trimming as the answer and page rules mean it: leading and trailing blanks
// (spaces) only; tabs and line breaks stay.
QString trimBlanks(const QString& text);

// The fields between separators: k separators give k + 1 fields, an empty
// text gives none.
QStringList splitFields(const QString& text, QChar separator);
