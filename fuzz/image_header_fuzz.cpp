// A picture file's first bytes, as an exam's images folder holds it, through
// the image-header reader: a size or a refusal, never a size below zero, past
// what the format can hold, or read from bytes the file does not have.
#include "foundation/clsImage.h"
#include "fuzz/support/FailWith.h"

#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <cstddef>
#include <cstdint>

namespace {

struct Read {
    int width, height, depth, type;
    bool operator==(const Read&) const = default;
};

Read readWith(clsImage& reader, const QString& path)
{
    reader.ReadImageInfo(path);
    return {reader.Width(), reader.Height(), reader.Depth(), reader.ImageType()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("picture.img"));
    static const QString known = [] {
        const QString gif = dir.filePath(QStringLiteral("known.gif"));
        QFile file(gif);
        if (file.open(QIODevice::WriteOnly))
            file.write("GIF89a\x40\x01\xF0\x00\xF7\x00\x00", 13);
        return gif;
    }();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const char* bytes = reinterpret_cast<const char*>(data);

    clsImage fresh;
    const Read read = readWith(fresh, path);
    // Every read overwrites all of the last one.
    clsImage reused;
    readWith(reused, known);
    if (!(readWith(reused, path) == read))
        failWith("a reader that read another picture first gives another answer", bytes, size);

    if (read.width < 0 || read.height < 0)
        failWith("negative size " + std::to_string(read.width) + "x" + std::to_string(read.height), bytes, size);
    if (read.type == clsImage::NotRecognised) {
        if (read.width || read.height || read.depth)
            failWith("a size for a file not recognised", bytes, size);
        return 0;
    }
    // The format's widest field, and the bytes up to the end of the size
    // fields: a shorter file has no size to give.
    long long largest = 0;
    size_t needed = 0;
    switch (read.type) {
    case clsImage::Png:
        largest = INT_MAX;
        needed = 24;
        break;
    case clsImage::Gif:
        largest = 0xFFFF;
        needed = 10;
        break;
    case clsImage::Bmp:
        largest = INT_MAX;
        needed = 22;
        break;
    case clsImage::Jpeg:
        largest = 0xFFFF;
        needed = 2 + 9;
        break;
    default:
        failWith("unknown kind " + std::to_string(read.type), bytes, size);
    }
    if (read.width > largest || read.height > largest)
        failWith("size past the format's fields", bytes, size);
    if (size < needed)
        failWith("a size from a file too short to hold one", bytes, size);
    return 0;
}
