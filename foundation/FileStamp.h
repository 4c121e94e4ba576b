#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <sys/stat.h>

// A file as the kernel keeps it: device, inode, size, modification and
// change time together. The change time follows every write and every change
// of the other times, so a stamp cannot be forged by setting the
// modification time back; a remembered check is keyed on it, never on the
// name alone.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const;
    bool sameFile(const FileStamp& other) const { return device == other.device && inode == other.inode; }
    // The change time lies far enough back that a write now would show in a
    // later stamp: the kernel's clock for file times moves in ticks, so a
    // write within the tick of the stamp may leave every field as it was.
    bool settled() const;
};

namespace db {
class Connection;
}

// The stamp of a regular file; nullopt for anything else or a missing file.
std::optional<FileStamp> fileStampOf(const QString& path);

// The stamp of a database's file when the file alone holds what the database
// holds: nullopt as well for a write-ahead-log database, whose changes go to
// a file beside it and leave this one as it was.
std::optional<FileStamp> databaseFileStampOf(db::Connection& database);

// Files a check found sound, by stamp, most recent last; a few are enough
// for the exams of one session.
class SoundFileStamps {
public:
    explicit SoundFileStamps(size_t capacity) : m_capacity(capacity) {}
    bool knows(const FileStamp& stamp) const;
    void remember(const FileStamp& stamp);
    void clear() { m_files.clear(); }

private:
    size_t m_capacity;
    std::deque<FileStamp> m_files;
};
