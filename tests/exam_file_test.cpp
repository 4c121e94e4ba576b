#include "platform/pages/ExamFile.h"
#include "tests/support/StrangeFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A scratch exam folder: regular files beside every kind of file a stranger
// can put in their place.
class ExamFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        write("page.htm", "<p>page</p>");
        write("empty.htm", "");
        ASSERT_TRUE(strange_files::makeFifo(at("fifo.png")));
        ASSERT_TRUE(strange_files::makeSocket(at("socket.htm")));
        ASSERT_TRUE(strange_files::makeFolder(at("folder.htm")));
        ASSERT_TRUE(strange_files::makeSparse(at("big.htm"), "<p>big</p>"));
        // Just over each bound; sparse, so they cost no disk.
        ASSERT_TRUE(strange_files::makeSparse(at("page-over.htm"), "<p>", exam_file::sizeBound(exam_file::Kind::Page) + 1));
        ASSERT_TRUE(strange_files::makeSparse(at("page-at.htm"), "<p>", exam_file::sizeBound(exam_file::Kind::Page)));
        QFile::link(at("fifo.png"), at("to-fifo.png"));
        QFile::link(at("page.htm"), at("to-page.htm"));
        QFile::link(QStringLiteral("/dev/zero"), at("zero.png"));
    }
    QString at(const char* name) const { return folder.path() + QLatin1Char('/') + QLatin1String(name); }
    void write(const char* name, const QByteArray& content) const
    {
        QFile file(at(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(ExamFileTest, OnlyARegularFileWithinTheBoundIsReadAndNothingWaits)
{
    using exam_file::Kind;
    const struct {
        const char* name;
        Kind kind;
        QByteArray bytes; // read; null: refused
        const char* why;  // part of the refusal
    } cases[] = {
        {"page.htm", Kind::Page, "<p>page</p>", ""},
        {"empty.htm", Kind::Page, "", ""},
        {"to-page.htm", Kind::Page, "<p>page</p>", ""},
        {"fifo.png", Kind::Picture, {}, "not a regular file"},
        {"to-fifo.png", Kind::Picture, {}, "not a regular file"},
        {"socket.htm", Kind::Page, {}, "cannot be"},
        {"folder.htm", Kind::Page, {}, "not a regular file"},
        {"zero.png", Kind::Picture, {}, "not a regular file"},
        {"big.htm", Kind::Page, {}, "larger than 4 MB"},
        {"big.htm", Kind::Picture, {}, "larger than 32 MB"},
        {"big.htm", Kind::Document, {}, "larger than 64 MB"},
        {"page-over.htm", Kind::Page, {}, "larger than"},
        {"missing.htm", Kind::Page, {}, "cannot be found"},
    };
    FifoWatchdog watchdog(folder.path(), 3);
    QElapsedTimer clock;
    clock.start();
    for (const auto& c : cases) {
        const exam_file::Read file = exam_file::read(at(c.name), c.kind);
        EXPECT_EQ(bool(file), !c.bytes.isNull()) << c.name << ": " << file.refusal.toStdString();
        if (c.bytes.isNull()) {
            EXPECT_TRUE(file.bytes.isEmpty()) << c.name;
            EXPECT_TRUE(file.refusal.contains(QLatin1String(c.why))) << c.name << ": " << file.refusal.toStdString();
            EXPECT_TRUE(file.refusal.contains(at(c.name))) << "the refusal names the file: " << c.name;
            QString why;
            EXPECT_FALSE(exam_file::isReadable(at(c.name), c.kind, &why)) << c.name;
            EXPECT_EQ(why, file.refusal) << c.name;
        } else {
            EXPECT_EQ(file.bytes, c.bytes) << c.name;
            EXPECT_TRUE(exam_file::isReadable(at(c.name), c.kind)) << c.name;
        }
    }
    EXPECT_EQ(exam_file::read(at("page-at.htm"), Kind::Page).bytes.size(), exam_file::sizeBound(Kind::Page))
        << "a file of the bound itself is read";
    EXPECT_FALSE(watchdog.fired()) << "a FIFO was opened in a way that waits";
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(ExamFileTest, AHeadIsReadFromAFileWithinTheBoundOnly)
{
    using exam_file::Kind;
    EXPECT_EQ(exam_file::read(at("page.htm"), Kind::Picture, 3).bytes, "<p>");
    EXPECT_EQ(exam_file::read(at("page.htm"), Kind::Picture, 100).bytes, "<p>page</p>");
    const exam_file::Read big = exam_file::read(at("big.htm"), Kind::Picture, 65536);
    EXPECT_FALSE(big) << "the head of a file past the bound is not read either";
    EXPECT_TRUE(big.bytes.isEmpty());
}
