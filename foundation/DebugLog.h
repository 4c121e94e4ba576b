#pragma once

#include <QString>

// Appends one line to debug.log in the program folder. Never fails: a log
// that cannot be written is skipped, so logging never turns a handled error
// into a crash.
void WriteLog(const QString& text);

// The date as debug lines write it ("dd/mm/yyyy").
QString logDate();
// The date and time as debug lines write it.
QString logDateTime();
