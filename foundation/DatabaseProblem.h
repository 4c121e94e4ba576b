#pragma once

#include "platform/db/ErrorWords.h"

#include <QString>
#include <exception>

// A message about an exam database that failed: the program's words first,
// then the file and what is wrong with it (db::causeInWords).

using DatabaseUse = db::Access;

// "<what>\r\nThe exam database <path> is in use by another program."
QString databaseProblemText(const QString& what, const QString& path, const std::exception& error,
                            DatabaseUse use = DatabaseUse::Reading);
