#include "platform/pages/ExamFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace exam_file {

namespace {

constexpr qint64 kMiB = 1024 * 1024;

QString refused(const QString& path, const QString& why)
{
    return QStringLiteral("The file \"%1\" was not read: %2.").arg(path, why);
}

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Opens and checks; on success the descriptor is open and size holds the
// file's size.
QString openChecked(const QString& path, Kind kind, int& fd, qint64& size, QString& real)
{
    fd = -1;
    real = path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
    if (real.isEmpty())
        return refused(path, QStringLiteral("it cannot be found"));
    // The real path holds no link: one put in its place since is refused,
    // and a FIFO or a device opens without waiting for the other end.
    fd = ::open(QFile::encodeName(real).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0)
        return refused(path, errno == ENOENT ? QStringLiteral("it cannot be found")
                                              : QStringLiteral("it cannot be opened"));
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return refused(path, QStringLiteral("it cannot be opened"));
    if (!S_ISREG(info.st_mode))
        return refused(path, QStringLiteral("it is not a regular file"));
    size = qint64(info.st_size);
    const qint64 bound = sizeBound(kind);
    if (size > bound)
        return refused(path, QStringLiteral("it is larger than %1 MB").arg(bound / kMiB));
    return QString();
}

} // namespace

qint64 sizeBound(Kind kind)
{
    switch (kind) {
    case Kind::Page:
        return 4 * kMiB;
    case Kind::Picture:
        return 32 * kMiB;
    case Kind::Document:
        return 64 * kMiB;
    case Kind::Written:
        return 512 * kMiB;
    }
    return 0;
}

Read read(const QString& path, Kind kind, qint64 headBytes)
{
    Read result;
    int fd = -1;
    qint64 size = 0;
    result.refusal = openChecked(path, kind, fd, size, result.realPath);
    const Descriptor owner(fd);
    if (!result.refusal.isEmpty())
        return result;
    // A file that grows after the check is read no further than its bound.
    const qint64 bound = sizeBound(kind);
    const qint64 wanted = headBytes >= 0 ? qMin(headBytes, bound) : bound;
    result.bytes.resize(qsizetype(qMin(size, wanted)));
    qint64 done = 0;
    for (;;) {
        if (done == result.bytes.size()) {
            if (done >= wanted)
                break;
            result.bytes.resize(qsizetype(qMin(wanted, done + 65536)));
        }
        const ssize_t got = ::read(fd, result.bytes.data() + done, size_t(result.bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result.bytes.clear();
            result.refusal = refused(path, QStringLiteral("it cannot be read"));
            return result;
        }
        if (got == 0)
            break;
        done += got;
    }
    result.bytes.resize(qsizetype(done));
    if (headBytes < 0 && done >= bound) {
        // Grown past the bound since the check: one byte more tells.
        char extra = 0;
        if (::read(fd, &extra, 1) > 0) {
            result.bytes.clear();
            result.refusal = refused(path, QStringLiteral("it is larger than %1 MB").arg(bound / kMiB));
        }
    }
    return result;
}

bool isReadable(const QString& path, Kind kind, QString* refusal)
{
    int fd = -1;
    qint64 size = 0;
    QString real;
    const QString why = openChecked(path, kind, fd, size, real);
    const Descriptor owner(fd);
    if (refusal)
        *refusal = why;
    return why.isEmpty();
}

} // namespace exam_file
