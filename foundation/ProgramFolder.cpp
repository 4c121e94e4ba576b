#include "foundation/ProgramFolder.h"

#include "platform/pages/ServedFiles.h"

#include <QDir>

namespace {
QString& folder()
{
    static QString value = QDir::currentPath();
    return value;
}
} // namespace

QString programFolder()
{
    return folder();
}

void setProgramFolder(const QString& path)
{
    folder() = QDir::cleanPath(QDir(path).absolutePath());
    // The program's static pages, scripts and pictures are the pages' own
    // files.
    servedPageFiles().setProgramFolder(folder());
}

QString programFile(const QString& name)
{
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    return QDir(folder()).filePath(relative);
}

QString resolveProgramFolder(const QStringList& arguments, const QString& environmentHome,
                             const QString& executableFolder)
{
    for (int i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == QLatin1String("--home"))
            return arguments[i + 1];
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1String("--home=")))
            return argument.mid(7);
    if (!environmentHome.isEmpty())
        return environmentHome;
    return executableFolder;
}
