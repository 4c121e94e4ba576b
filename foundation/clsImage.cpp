#include "foundation/clsImage.h"

#include "platform/pages/ExamFile.h"

#include <climits>
#include <cstdlib>

namespace {

// The JPEG marker scan gives up at this position: a frame header further in
// is not looked for.
constexpr qsizetype kJpegScanLimit = 0xFFF5;

// Byte access that reads 0 beyond the bytes read; callers check the length
// they need before they trust a value.
quint32 at(const QByteArray& b, qsizetype i)
{
    return i >= 0 && i < b.size() ? quint32(quint8(b[i])) : 0u;
}

quint32 bigEndian16(const QByteArray& b, qsizetype i)
{
    return at(b, i) << 8 | at(b, i + 1);
}

quint32 littleEndian16(const QByteArray& b, qsizetype i)
{
    return at(b, i + 1) << 8 | at(b, i);
}

quint32 bigEndian32(const QByteArray& b, qsizetype i)
{
    return bigEndian16(b, i) << 16 | bigEndian16(b, i + 2);
}

qint32 littleEndianSigned32(const QByteArray& b, qsizetype i)
{
    return qint32(littleEndian16(b, i + 2) << 16 | littleEndian16(b, i));
}

bool startsWith(const QByteArray& b, std::initializer_list<quint8> bytes)
{
    qsizetype i = 0;
    for (const quint8 value : bytes) {
        if (i >= b.size() || quint8(b[i]) != value)
            return false;
        ++i;
    }
    return true;
}

} // namespace

void clsImage::clear()
{
    m_width = 0;
    m_height = 0;
    m_depth = 0;
    m_type = NotRecognised;
}

void clsImage::ReadImageInfo(const QString& path)
{
    clear();
    if (path.isEmpty())
        return;
    // A stranger's file: only a regular picture within the bound is read.
    const exam_file::Read file = exam_file::read(path, exam_file::Kind::Picture, kBufferSize);
    if (!file)
        return;
    const QByteArray& head = file.bytes;

    // The signatures exclude one another; only one reader applies.
    if (startsWith(head, {137, 'P', 'N'}))
        readPng(head);
    else if (startsWith(head, {'G', 'I', 'F'}))
        readGif(head);
    else if (startsWith(head, {'B', 'M'}))
        readBmp(head);
    else if (startsWith(head, {255, 216, 255}))
        readJpeg(head);
}

void clsImage::readPng(const QByteArray& head)
{
    // The first chunk must be the header chunk, and whole; anything else is
    // a damaged file and would give a made-up size.
    if (head.size() < 26 || head.mid(12, 4) != "IHDR")
        return;
    const quint32 bitDepth = at(head, 24);
    quint32 depth = 0;
    switch (at(head, 25)) {
    case 0:
        depth = bitDepth;
        break;
    case 2:
        depth = bitDepth * 3;
        break;
    case 3:
        depth = 8;
        break;
    case 4:
        depth = bitDepth * 2;
        break;
    case 6:
        depth = bitDepth * 4;
        break;
    default:
        return;
    }
    // Full 32-bit sizes: the low 16 bits alone would be wrong from 65,536 up.
    const quint32 width = bigEndian32(head, 16);
    const quint32 height = bigEndian32(head, 20);
    if (width > INT_MAX || height > INT_MAX)
        return;
    m_type = Png;
    m_width = int(width);
    m_height = int(height);
    m_depth = quint8(depth);
}

void clsImage::readGif(const QByteArray& head)
{
    if (head.size() < 11)
        return;
    m_type = Gif;
    m_width = int(littleEndian16(head, 6));
    m_height = int(littleEndian16(head, 8));
    m_depth = quint8((at(head, 10) & 7) + 1);
}

void clsImage::readBmp(const QByteArray& head)
{
    // The size of the info header tells its layout: 12 is the old core
    // header with 16-bit sizes, 16 and more have signed 32-bit sizes.
    if (head.size() < 18)
        return;
    const quint32 headerSize = littleEndian16(head, 14) | littleEndian16(head, 16) << 16;
    qint64 width = 0;
    qint64 height = 0;
    quint32 depth = 0;
    if (headerSize == 12) {
        if (head.size() < 26)
            return;
        width = littleEndian16(head, 18);
        height = littleEndian16(head, 20);
        depth = at(head, 24);
    } else if (headerSize >= 16 && headerSize <= 1024) {
        if (head.size() < 30)
            return;
        width = littleEndianSigned32(head, 18);
        // A negative height marks rows stored top-down; the picture is as
        // tall as its magnitude.
        height = std::llabs(qint64(littleEndianSigned32(head, 22)));
        depth = at(head, 28);
    } else {
        return;
    }
    if (width < 0 || height > INT_MAX)
        return;
    m_type = Bmp;
    m_width = int(width);
    m_height = int(height);
    m_depth = quint8(depth);
}

void clsImage::readJpeg(const QByteArray& head)
{
    // Start of image at 0 (checked by the caller); the next marker follows it.
    const qsizetype limit = qMin(kJpegScanLimit, head.size());
    qsizetype p = 2;
    for (;;) {
        // Skip to the next marker; 255 fill bytes may precede its code.
        while (at(head, p) != 255 || at(head, p + 1) == 255) {
            if (++p >= limit)
                return;
        }
        ++p;
        const quint32 code = at(head, p);
        const bool startOfFrame = code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
        if (startOfFrame) {
            if (p + 8 >= head.size())
                return; // the frame header is cut short
            m_type = Jpeg;
            m_height = int(bigEndian16(head, p + 4));
            m_width = int(bigEndian16(head, p + 6));
            m_depth = quint8(at(head, p + 8) * 8);
            return;
        }
        // A segment length counts its own two bytes; less is a damaged file.
        const quint32 length = bigEndian16(head, p + 1);
        if (length < 2)
            return;
        p += length;
        if (p >= limit)
            return;
    }
}
