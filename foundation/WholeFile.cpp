#include "foundation/WholeFile.h"

#include <QSaveFile>

#include <cerrno>

namespace {

// errno after a failed write or commit; the device's own text otherwise.
QString whyInWords(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("the disk is full");
    case EFBIG:
        return QStringLiteral("the file is larger than this system allows");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("the folder cannot be written");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("the folder does not exist");
    default:
        return QStringLiteral("the disk reported an error");
    }
}

} // namespace

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return whyInWords(errno);
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int error = errno;
        file.cancelWriting();
        return whyInWords(error);
    }
    errno = 0;
    if (!file.commit())
        return whyInWords(errno);
    return {};
}

QString fileWriteProblemText(const QString& what, const QString& path, const QString& why)
{
    QString advice = QStringLiteral("Try again; if it fails again, ask your administrator.");
    if (why == QLatin1String("the disk is full"))
        advice = QStringLiteral("Free some space on the disk, then try again.");
    else if (why == QLatin1String("the folder cannot be written"))
        advice = QStringLiteral("Ask your administrator to make the folder writable, then try again.");
    return what + QStringLiteral("\r\nThe file ") + path + QStringLiteral(" could not be written: ") + why
        + QStringLiteral(".\r\n") + advice;
}
