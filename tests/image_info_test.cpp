#include "foundation/clsImage.h"
#include "tests/support/StrangeFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// Header bytes built here, so each case sets exactly the fields it tests.
void putLe16(QByteArray& b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void putLe32(QByteArray& b, int at, qint32 v)
{
    putLe16(b, at, int(quint32(v) & 0xFFFF));
    putLe16(b, at + 2, int(quint32(v) >> 16));
}

void putBe16(QByteArray& b, int at, int v)
{
    b[at] = char((v >> 8) & 0xFF);
    b[at + 1] = char(v & 0xFF);
}

void putBe32(QByteArray& b, int at, quint32 v)
{
    putBe16(b, at, int(v >> 16));
    putBe16(b, at + 2, int(v & 0xFFFF));
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b += char(v);
    return b;
}

QByteArray gif(int width, int height, int flags)
{
    QByteArray b("GIF89a");
    b.resize(13 + 3 * 2, '\0');
    putLe16(b, 6, width);
    putLe16(b, 8, height);
    b[10] = char(flags);
    return b + ";";
}

QByteArray png(quint32 width, quint32 height, int bitDepth, int colourType)
{
    QByteArray b = bytes({137, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'});
    b.resize(33, '\0');
    putBe32(b, 16, width);
    putBe32(b, 20, height);
    b[24] = char(bitDepth);
    b[25] = char(colourType);
    return b + QByteArray("\0\0\0\0IEND", 8);
}

QByteArray bmp(qint32 width, qint32 height, int bitsPerPixel)
{
    QByteArray b("BM");
    b.resize(54 + 16, '\0');
    putLe32(b, 2, b.size());
    putLe32(b, 10, 54);
    putLe32(b, 14, 40);
    putLe32(b, 18, width);
    putLe32(b, 22, height);
    putLe16(b, 26, 1);
    putLe16(b, 28, bitsPerPixel);
    return b;
}

QByteArray coreBmp(int width, int height, int bitsPerPixel)
{
    QByteArray b("BM");
    b.resize(26 + 8, '\0');
    putLe32(b, 14, 12);
    putLe16(b, 18, width);
    putLe16(b, 20, height);
    putLe16(b, 22, 1);
    putLe16(b, 24, bitsPerPixel);
    return b;
}

// A JPEG segment: marker, code, length (counting itself) and a body.
QByteArray segment(int code, const QByteArray& body)
{
    QByteArray b = bytes({0xFF, code, 0, 0});
    putBe16(b, 2, int(body.size()) + 2);
    return b + body;
}

QByteArray frame(int code, int width, int height, int components)
{
    QByteArray body(6 + 3 * components, '\0');
    body[0] = 8;
    putBe16(body, 1, height);
    putBe16(body, 3, width);
    body[5] = char(components);
    return segment(code, body);
}

QByteArray jpeg(const QByteArray& beforeFrame, const QByteArray& frameSegment)
{
    return bytes({0xFF, 0xD8}) + segment(0xE0, QByteArray("JFIF\0\1\1\0\0\1\0\1\0\0", 14)) + beforeFrame + frameSegment
        + bytes({0xFF, 0xDA, 0, 2, 0x12, 0x34, 0xFF, 0xD9});
}

QByteArray table(int code)
{
    return segment(code, QByteArray(65, '\x05'));
}

struct Expected {
    int width;
    int height;
    int depth;
    int type;
};

struct Case {
    const char* name;
    QByteArray content;
    Expected expected;
};

class ImageInfoTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& content)
    {
        const QString path = QDir(dir.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    static void expectInfo(const clsImage& image, const Expected& e, const char* name)
    {
        EXPECT_EQ(image.Width(), e.width) << name;
        EXPECT_EQ(image.Height(), e.height) << name;
        EXPECT_EQ(int(image.Depth()), e.depth) << name;
        EXPECT_EQ(image.ImageType(), e.type) << name;
    }

    QTemporaryDir dir;
};

constexpr Expected kNothing{0, 0, 0, clsImage::NotRecognised};

TEST_F(ImageInfoTest, ReadsEachFormatsHeader)
{
    // A table segment of code 0xC4, 0xC8 or 0xCC lies in the start-of-frame
    // range but is no frame.
    const QByteArray tables = table(0xDB) + table(0xC4) + table(0xCC);
    const Case cases[] = {
        {"gif 320x200, 3 colour bits 7", gif(320, 200, 0xF7), {320, 200, 8, clsImage::Gif}},
        {"gif 2 colours", gif(1, 65535, 0x80), {1, 65535, 1, clsImage::Gif}},
        {"png grey 1 bit", png(17, 9, 1, 0), {17, 9, 1, clsImage::Png}},
        {"png rgb 16 bit", png(640, 480, 16, 2), {640, 480, 48, clsImage::Png}},
        {"png palette, any bit depth", png(33, 44, 4, 3), {33, 44, 8, clsImage::Png}},
        {"png grey+alpha", png(5, 6, 8, 4), {5, 6, 16, clsImage::Png}},
        {"png rgba 8 bit", png(800, 600, 8, 6), {800, 600, 32, clsImage::Png}},
        {"png wider than 16 bits", png(70000, 65536, 8, 6), {70000, 65536, 32, clsImage::Png}},
        {"png colour type 5", png(800, 600, 8, 5), kNothing},
        {"bmp 24 bit 640x480", bmp(640, 480, 24), {640, 480, 24, clsImage::Bmp}},
        {"bmp top-down", bmp(640, -480, 32), {640, 480, 32, clsImage::Bmp}},
        {"bmp taller than 16 bits", bmp(2, 70000, 8), {2, 70000, 8, clsImage::Bmp}},
        {"bmp core header", coreBmp(300, 150, 4), {300, 150, 4, clsImage::Bmp}},
        {"jpeg baseline after tables", jpeg(tables, frame(0xC0, 1024, 768, 3)), {1024, 768, 24, clsImage::Jpeg}},
        {"jpeg progressive grey", jpeg(tables, frame(0xC2, 99, 77, 1)), {99, 77, 8, clsImage::Jpeg}},
        {"jpeg cmyk, fill bytes before the frame",
         jpeg(table(0xDB) + bytes({0xFF, 0xFF, 0xFF}), frame(0xC1, 5, 4, 4)),
         {5, 4, 32, clsImage::Jpeg}},
        {"jpeg lossless frame 0xCF", jpeg({}, frame(0xCF, 12, 34, 3)), {12, 34, 24, clsImage::Jpeg}},
    };
    for (const Case& c : cases) {
        clsImage image;
        image.ReadImageInfo(write(QStringLiteral("picture"), c.content));
        expectInfo(image, c.expected, c.name);
    }
}

TEST_F(ImageInfoTest, DamagedAndUnknownFilesGiveZeros)
{
    const QByteArray goodJpeg = jpeg(table(0xDB), frame(0xC0, 1024, 768, 3));
    const QByteArray goodPng = png(800, 600, 8, 6);
    QByteArray notPngChunk = goodPng;
    notPngChunk.replace(12, 4, "tEXt");
    QByteArray zeroLength = jpeg(table(0xDB), frame(0xC0, 1024, 768, 3));
    zeroLength[2 + 4 + 14 + 2] = 0; // length of the DQT segment
    zeroLength[2 + 4 + 14 + 3] = 0;
    const Case cases[] = {
        {"empty file", QByteArray(), kNothing},
        {"png signature only", goodPng.left(8), kNothing},
        {"png cut inside its header", goodPng.left(25), kNothing},
        {"png whose first chunk is not the header", notPngChunk, kNothing},
        {"gif signature only", QByteArray("GIF89a"), kNothing},
        {"bmp cut inside its header", bmp(640, 480, 24).left(26), kNothing},
        {"text that starts with BM", QByteArray("BMW and other cars, a list of them all"), kNothing},
        {"jpeg cut inside its frame header", goodJpeg.left(goodJpeg.indexOf(QByteArray("\xFF\xC0", 2)) + 6), kNothing},
        {"jpeg cut before any frame", goodJpeg.left(30), kNothing},
        {"jpeg with a zero segment length", zeroLength, kNothing},
        {"start-of-image alone", bytes({0xFF, 0xD8, 0xFF}), kNothing},
        {"tiff", bytes({'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0}), kNothing},
        {"text holding jpeg bytes inside", QByteArray("plain text ") + goodJpeg, kNothing},
        {"html", QByteArray("<html><body>not a picture</body></html>"), kNothing},
    };
    for (const Case& c : cases) {
        clsImage image;
        image.ReadImageInfo(write(QStringLiteral("damaged"), c.content));
        expectInfo(image, c.expected, c.name);
    }
}

TEST_F(ImageInfoTest, JpegFrameIsLookedForInTheFirstBytesOnly)
{
    // The application segment is sized so that the frame marker starts just
    // before, or at, the scan's end at 65,525; both lie within the bytes read.
    struct Limit {
        int bodySize;
        Expected expected;
    };
    for (const Limit& l : {Limit{65518, {640, 480, 24, clsImage::Jpeg}}, Limit{65519, kNothing}}) {
        const QByteArray thumbnail = segment(0xE1, QByteArray(l.bodySize, '\x11'));
        const QByteArray content = bytes({0xFF, 0xD8}) + thumbnail + frame(0xC0, 640, 480, 3) + QByteArray(4096, 0);
        clsImage image;
        image.ReadImageInfo(write(QStringLiteral("large.jpg"), content));
        expectInfo(image, l.expected, "application segment before the frame");
        const qsizetype frameMarker = content.indexOf(QByteArray("\xFF\xC0", 2));
        EXPECT_EQ(frameMarker < 65525, l.expected.type == clsImage::Jpeg) << frameMarker;
        EXPECT_LT(frameMarker + 9, clsImage::kBufferSize);
    }
}

TEST_F(ImageInfoTest, EveryCallStartsAfresh)
{
    struct Step {
        const char* name;
        QString path;
        Expected expected;
    };
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("no-such-file.jpg"));
    const Step steps[] = {
        {"jpeg", write(QStringLiteral("a.jpg"), jpeg({}, frame(0xC0, 320, 240, 3))), {320, 240, 24, clsImage::Jpeg}},
        {"missing file after a jpeg", missing, kNothing},
        {"gif", write(QStringLiteral("b.gif"), gif(10, 20, 0x81)), {10, 20, 2, clsImage::Gif}},
        {"png colour type 5 after a gif", write(QStringLiteral("c.png"), png(800, 600, 8, 5)), kNothing},
        {"bmp", write(QStringLiteral("d.bmp"), bmp(3, 4, 8)), {3, 4, 8, clsImage::Bmp}},
        {"empty path after a bmp", QString(), kNothing},
        {"bmp again", write(QStringLiteral("d.bmp"), bmp(3, 4, 8)), {3, 4, 8, clsImage::Bmp}},
        {"a folder after a bmp", dir.path(), kNothing},
    };
    clsImage image;
    for (const Step& step : steps) {
        image.ReadImageInfo(step.path);
        expectInfo(image, step.expected, step.name);
    }
}

// A stranger's picture: a FIFO (plain or behind a link), a socket, a device
// and a sparse file past the picture bound all read as nothing, at once.
TEST_F(ImageInfoTest, OnlyABoundedRegularFileIsRead)
{
    const QString at = dir.path() + QLatin1Char('/');
    ASSERT_TRUE(strange_files::makeFifo(at + "fifo.png"));
    ASSERT_TRUE(QFile::link(at + "fifo.png", at + "linked.png"));
    ASSERT_TRUE(strange_files::makeSocket(at + "socket.png"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), at + "zero.png"));
    ASSERT_TRUE(strange_files::makeSparse(at + "huge.png", png(640, 480, 8, 6)));
    FifoWatchdog watchdog(dir.path(), 3);
    clsImage image;
    for (const char* name : {"fifo.png", "linked.png", "socket.png", "zero.png", "huge.png"}) {
        image.ReadImageInfo(at + QLatin1String(name));
        expectInfo(image, kNothing, name);
    }
    EXPECT_FALSE(watchdog.fired()) << "a FIFO was opened in a way that waits";
    image.ReadImageInfo(write(QStringLiteral("small.png"), png(640, 480, 8, 6)));
    expectInfo(image, {640, 480, 32, clsImage::Png}, "regular");
}

} // namespace
