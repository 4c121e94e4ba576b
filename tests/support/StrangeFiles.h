#pragma once

#include <QString>

#include <atomic>
#include <thread>

// Files a stranger can leave in an exam's folder in place of a regular one:
// a FIFO (whose plain open waits for a writer for ever), a socket, a folder
// and a sparse file of gigabytes that takes no room on the disk. Each is made
// at the path given; false when it could not be.
namespace strange_files {

bool makeFifo(const QString& path);
bool makeSocket(const QString& path); // left bound for the life of the process
bool makeFolder(const QString& path);
// A file of `bytes` (3 GB by default) holding `head` at its start.
bool makeSparse(const QString& path, const QByteArray& head = {}, qint64 bytes = qint64(3) << 30);

} // namespace strange_files

// Keeps a test from hanging on a FIFO: once `seconds` have passed it opens
// every FIFO of the folder for writing and closes it again, which lets a
// reader blocked in open() go on. fired() tells that it had to.
class FifoWatchdog {
public:
    explicit FifoWatchdog(const QString& folder, int seconds = 5);
    ~FifoWatchdog();
    bool fired() const { return m_fired; }

private:
    QString m_folder;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};
