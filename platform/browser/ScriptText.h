#pragma once

#include <QString>

// The text as a JavaScript string literal (quoted and escaped), to be put in
// a script the program runs or injects.
QString jsStringLiteral(const QString& text);
