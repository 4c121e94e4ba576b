#pragma once

#include <QString>

// The connection string of a database file, in the form every part of the
// program builds and passes around. The database layer takes the file from
// "DBQ=" and ignores the rest. The path goes in braces with "}" doubled, so
// db::Connection::pathFromConnectionString gives back exactly the path given,
// whatever characters it holds.
QString connectionString(const QString& databasePath, const QString& password);
// The variant the schema check opens exam and reference databases with.
QString checkConnectionString(const QString& databasePath, const QString& password);
