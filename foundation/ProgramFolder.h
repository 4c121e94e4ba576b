#pragma once

#include <QString>
#include <QStringList>

// The folder that holds setup.xml, the databases, the skin, the pictures and
// debug.log.
QString programFolder();
void setProgramFolder(const QString& folder);
// A path below the program folder. Windows-style separators in the name are
// turned into "/".
QString programFile(const QString& name);

// The program folder chosen from the command line ("--home DIR"), else the
// environment variable ZIDUVER_HOME, else the folder of the executable.
QString resolveProgramFolder(const QStringList& arguments, const QString& environmentHome,
                             const QString& executableFolder);
