#include "platform/ui/InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

InstanceGuard::InstanceGuard(const QString& programFolder) : m_path(lockPath(programFolder))
{
}

InstanceGuard::~InstanceGuard()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString InstanceGuard::lockPath(const QString& programFolder)
{
    // The same folder reached by another path (a link, "..") is the same folder.
    const QFileInfo folder(programFolder);
    const QString canonical = folder.canonicalFilePath();
    const QString key = canonical.isEmpty() ? folder.absoluteFilePath() : canonical;
    const QString name = QStringLiteral("ziduver-")
        + QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16))
        + QStringLiteral(".lock");
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return QDir(runtime).filePath(name);
}

namespace {

// An open-file-description lock on the whole file: held until the copy that
// placed it closes the file or ends, and seen by every other opening of it,
// in this process too.
struct flock wholeFile(short type)
{
    struct flock lock { };
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

int openLockFile(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

} // namespace

bool InstanceGuard::anotherInstanceRunning()
{
    if (m_checked)
        return m_other;
    m_checked = true;
    m_fd = openLockFile(m_path);
    if (m_fd < 0)
        return false;
    struct flock lock = wholeFile(F_WRLCK);
    if (::fcntl(m_fd, F_OFD_SETLK, &lock) == 0)
        return false;
    m_other = errno == EAGAIN || errno == EACCES;
    ::close(m_fd);
    m_fd = -1;
    return m_other;
}

bool InstanceGuard::heldByARunningCopy(const QString& programFolder)
{
    const int fd = openLockFile(lockPath(programFolder));
    if (fd < 0)
        return false;
    struct flock lock = wholeFile(F_WRLCK);
    const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return held;
}
