#include "foundation/FileStamp.h"

#include "platform/db/Connection.h"

#include <QFile>
#include <ctime>

namespace {

// Longer than a tick of the kernel's coarse clock at the lowest usual rate.
constexpr long long kTickNanoseconds = 25'000'000;

long long nanoseconds(const timespec& time)
{
    return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

} // namespace

bool FileStamp::operator==(const FileStamp& other) const
{
    return sameFile(other) && size == other.size && modified.tv_sec == other.modified.tv_sec
        && modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec
        && changed.tv_nsec == other.changed.tv_nsec;
}

bool FileStamp::settled() const
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(changed) + kTickNanoseconds <= nanoseconds(now);
}

std::optional<FileStamp> fileStampOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool SoundFileStamps::knows(const FileStamp& stamp) const
{
    for (const FileStamp& sound : m_files)
        if (sound == stamp)
            return true;
    return false;
}

void SoundFileStamps::remember(const FileStamp& stamp)
{
    if (knows(stamp))
        return;
    if (m_files.size() >= m_capacity)
        m_files.pop_front();
    m_files.push_back(stamp);
}

std::optional<FileStamp> databaseFileStampOf(db::Connection& database)
{
    if (database.scalar(QStringLiteral("PRAGMA journal_mode")).toString().compare(QLatin1String("wal"),
                                                                                  Qt::CaseInsensitive)
        == 0)
        return std::nullopt;
    return fileStampOf(database.path());
}
