#include "platform/pages/FileLookup.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The entry of dir named name in any case, exact spelling first; "" if none.
QString entryIgnoringCase(const QDir& dir, const QString& name, bool file)
{
    const QFileInfo exact(dir.filePath(name));
    if (file ? exact.isFile() : exact.isDir())
        return name;
    const QDir::Filters kind = (file ? QDir::Files : QDir::Dirs) | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString& entry : dir.entryList(kind, QDir::Name))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return QString();
}

} // namespace

QString findFileIgnoringCase(const QString& folder, const QString& relativePath)
{
    QString relative = relativePath;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (relative.isEmpty() || relative.startsWith(QLatin1Char('/')) || QDir::isAbsolutePath(relative))
        return QString();
    const QStringList parts = relative.split(QLatin1Char('/'));
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return QString();
        const bool last = i + 1 == parts.size();
        const QString entry = entryIgnoringCase(dir, part, last);
        if (entry.isEmpty())
            return QString();
        if (last)
            return dir.filePath(entry);
        dir.setPath(dir.filePath(entry));
    }
    return QString();
}

bool realPathInside(const QString& path, const QString& folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    const QString real = QFileInfo(path).canonicalFilePath();
    const QString inside = QFileInfo(folder).canonicalFilePath();
    return !real.isEmpty() && !inside.isEmpty()
        && real.startsWith(inside.endsWith(QLatin1Char('/')) ? inside : inside + QLatin1Char('/'));
}
