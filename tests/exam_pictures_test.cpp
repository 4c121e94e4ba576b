#include "platform/pages/ExamFile.h"
#include "platform/pages/ExamPictures.h"
#include "tests/support/StrangeFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A picture is shown only from a file the page can load: a regular file of
// the exam's folder within the bound of a picture. Anything else is left out
// at once, so the page shows the picture's text instead of a broken picture.
TEST(ExamPicturesTest, OnlyAPictureThePageCanLoadIsFound)
{
    QTemporaryDir exam;
    ASSERT_TRUE(exam.isValid());
    const QString images = exam.filePath(QStringLiteral("images"));
    ASSERT_TRUE(QDir().mkpath(images));
    QFile picture(images + QStringLiteral("/pic.png"));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write("GIF89a");
    picture.close();
    const qint64 bound = exam_file::sizeBound(exam_file::Kind::Picture);
    ASSERT_TRUE(strange_files::makeSparse(images + QStringLiteral("/at.png"), "GIF89a", bound));
    ASSERT_TRUE(strange_files::makeSparse(images + QStringLiteral("/over.png"), "GIF89a", bound + 1));
    ASSERT_TRUE(strange_files::makeFifo(images + QStringLiteral("/fifo.png")));
    ASSERT_TRUE(strange_files::makeFolder(images + QStringLiteral("/folder.png")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), images + QStringLiteral("/zero.png")));
    const QString real = QDir(images).canonicalPath();

    const PictureResolver pictures = examFolderPictures(exam.path());
    const struct {
        const char* name;
        bool shown;
    } cases[] = {
        {"images/pic.png", true},   {"IMAGES/Pic.PNG", true},   {"images/at.png", true},
        {"images/over.png", false}, {"images/fifo.png", false}, {"images/folder.png", false},
        {"images/zero.png", false}, {"images/none.png", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString found = pictures({QString::fromLatin1(c.name), true});
        if (c.shown)
            EXPECT_TRUE(found.startsWith(real + QLatin1Char('/'))) << found.toStdString();
        else
            EXPECT_EQ(found.toStdString(), "");
    }
    // From another folder of the exam, and by the file's own path.
    const std::string file = (real + QStringLiteral("/pic.png")).toStdString();
    EXPECT_EQ(examFolderPictures(exam.path(), images)({QStringLiteral("pic.png"), true}).toStdString(), file);
    EXPECT_EQ(pictures({real + QStringLiteral("/pic.png"), false}).toStdString(), file);
    EXPECT_EQ(examFolderPictures(QStringLiteral("/"))({real + QStringLiteral("/pic.png"), false}).toStdString(), "");
}
