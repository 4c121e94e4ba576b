#include "tests/support/StrangeFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace strange_files {

bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

bool makeSocket(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (name.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return false;
    }
    return true;
}

bool makeFolder(const QString& path)
{
    return QDir().mkpath(path);
}

bool makeSparse(const QString& path, const QByteArray& head, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (!head.isEmpty() && file.write(head) != head.size())
        return false;
    return file.resize(bytes);
}

} // namespace strange_files

FifoWatchdog::FifoWatchdog(const QString& folder, int seconds) : m_folder(folder)
{
    m_thread = std::thread([this, seconds] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!m_done && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        // Until the test is over: a reader may block on the next FIFO too.
        while (!m_done) {
            QDirIterator it(m_folder, QDir::System | QDir::AllDirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                struct stat info {};
                if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISFIFO(info.st_mode))
                    continue;
                const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    m_fired = true;
                    ::close(fd);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
}

FifoWatchdog::~FifoWatchdog()
{
    m_done = true;
    m_thread.join();
}
