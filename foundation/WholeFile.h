#pragma once

#include <QByteArray>
#include <QString>

// Files the program writes for its own pages (the explanation, the question
// sheet, the tree question's frames): written whole or not at all, so a full
// disk never leaves an empty or cut page behind.

// Writes bytes to path through a temporary file that replaces it only when
// complete. Empty on success, else why in words ("the disk is full").
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// "<what>\r\nThe file <path> could not be written: <why>.\r\n<what to do>"
QString fileWriteProblemText(const QString& what, const QString& path, const QString& why);
