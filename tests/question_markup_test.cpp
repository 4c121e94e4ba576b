#include "foundation/DebugLog.h"
#include "foundation/QuestionMarkup.h"
#include "platform/pages/FileLookup.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/StrangeFiles.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QByteArray png(int width, int height)
{
    QByteArray b("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    b.resize(33, '\0');
    b[18] = char(width >> 8);
    b[19] = char(width & 0xFF);
    b[22] = char(height >> 8);
    b[23] = char(height & 0xFF);
    b[24] = 8;
    b[25] = 6;
    return b;
}

QByteArray topDownBmp(int width, int height)
{
    QByteArray b("BM");
    b.resize(54, '\0');
    b[14] = 40;
    b[18] = char(width & 0xFF);
    b[19] = char(width >> 8);
    const quint32 negative = quint32(-height);
    for (int i = 0; i < 4; ++i)
        b[22 + i] = char((negative >> (8 * i)) & 0xFF);
    b[28] = 24;
    return b;
}

// An exam folder whose pictures were named on a file system that ignores
// case: the folder is "Images", the names differ in case from the markers.
class QuestionMarkupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.write(QStringLiteral("Data/Ex1/ex1.qzr"), "");
        home.write(QStringLiteral("Data/Ex1/Images/Fig1.GIF"), gif(320, 200));
        home.write(QStringLiteral("Data/Ex1/Images/chart.png"), png(640, 480));
        home.write(QStringLiteral("Data/Ex1/Images/Sub/Pic.bmp"), topDownBmp(50, 40));
        home.write(QStringLiteral("Data/Ex1/Images/notes.txt"), "not a picture");
        home.write(QStringLiteral("Data/Ex1/Images/it's & <x>.gif"), gif(1, 1));
        home.write(QStringLiteral("Data/Ex1/secret.gif"), gif(9, 9));
        examFolder = home.file(QStringLiteral("Data/Ex1"));
        prefix = QStringLiteral("ziduver://files") + examFolder;
        ASSERT_EQ(page_address::forFile(examFolder).toString(QUrl::FullyEncoded), prefix)
            << "the expected sources below assume a folder path that needs no encoding";
    }

    QString expand(const char* pattern) const
    {
        return QString::fromUtf8(pattern).replace(QStringLiteral("{F}"), prefix);
    }

    TempHome home;
    QString examFolder;
    QString prefix;
};

struct Case {
    const char* name;
    const char* text;
    const char* html; // {F} stands for the exam folder's page address
};

TEST_F(QuestionMarkupTest, ImageMarkersBecomeSizedTags)
{
    const Case cases[] = {
        {"marker between words", "Look ///image=fig1.gif/// here",
         "Look <br> <img src ='{F}/Images/Fig1.GIF' height=200 width=320><br> here"},
        {"name after the last slash, text ends with the marker", "See///image=pics/FIG1.gif///",
         "See<br> <img src ='{F}/Images/Fig1.GIF' height=200 width=320><br>"},
        {"backslash separates folders; top-down bmp", "///image=sUB\\pic.BMP///",
         "<br> <img src ='{F}/Images/Sub/Pic.bmp' height=40 width=50><br>"},
        {"segment without = names itself", "///image.png///",
         "<br> <img src ='{F}/images/image.png' height=0 width=0><br>"},
        {"missing file: size 0", "a///image=nothere.gif///b",
         "a<br> <img src ='{F}/images/nothere.gif' height=0 width=0><br>b"},
        {"empty name: missing", "///image=///", "<br> <img src ='{F}/images/' height=0 width=0><br>"},
        {"file there but not a picture: no size", "///image=NOTES.TXT///",
         "<br> <img src ='{F}/Images/notes.txt'><br>"},
        {"a name cannot leave the images folder", "///image=..\\secret.gif///",
         "<br> <img src ='{F}/images/secret.gif' height=0 width=0><br>"},
        {"source escaped for the attribute", "///image=IT'S & <X>.gif///",
         "<br> <img src ='{F}/Images/it&#39;s%20&amp;%20%3Cx%3E.gif' height=1 width=1><br>"},
        {"several markers in one text", "///image=fig1.gif///mid///note///end ///image=chart.png///.",
         "<br> <img src ='{F}/Images/Fig1.GIF' height=200 width=320><br>midnoteend <br> <img src "
         "='{F}/Images/chart.png' "
         "height=480 width=640><br>."},
        {"segment without image loses only its markers", "a///note///b", "anoteb"},
        {"Image with a capital is plain text", "a///Image=fig1.gif///b", "aImage=fig1.gifb"},
        {"unclosed marker disappears", "before ///image=fig1.gif after", "before image=fig1.gif after"},
        {"unclosed after a closed pair", "///x///y///z", "xyz"},
        {"a marker never spans a line: earlier slashes stay text",
         "fetch('file:///etc/x')\n<img alt=\"images\">\nSee ///image=fig1.gif/// here",
         "fetch('file:///etc/x')\n<img alt=\"images\">\nSee <br> <img src ='{F}/Images/Fig1.GIF' height=200 "
         "width=320><br> here"},
        {"slashes on a line of their own before a marker", "a /// b\r\n///image=fig1.gif///",
         "a /// b<br>\n<br> <img src ='{F}/Images/Fig1.GIF' height=200 width=320><br>"},
        {"one character", "x", "x"},
        {"one character after the last marker", "///a///z", "az"},
        {"empty text", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(html_maker(QString::fromUtf8(c.text), examFolder, false), expand(c.html)) << c.name;
}

TEST_F(QuestionMarkupTest, LineBreaksOutsidePreAndBlanks)
{
    const Case cases[] = {
        {"carriage return becomes a tag, line feed stays", "one\r\ntwo\nthree\r", "one<br>\ntwo\nthree<br>"},
        {"pre block keeps its breaks", "Code:\r\n<PRE>a\r\n  b\r\n</PRE>\r\nDone",
         "Code:<br>\n<PRE>a\r\n  b\r\n</PRE><br>\nDone"},
        {"two blocks, any case, attributes", "<pre class=c>x\ry</pre>\r<PRE>\r</pre >\r",
         "<pre class=c>x\ry</pre><br><PRE>\r</pre ><br>"},
        {"a tag that only starts like pre", "<preview>\r</preview>", "<preview><br></preview>"},
        {"unclosed pre runs to the end", "a\r<pre>b\rc", "a<br><pre>b\rc"},
        {"trailing BR of the text stays", "Answer<BR>", "Answer<BR>"},
        {"trailing carriage return gives a trailing br", "Answer\r", "Answer<br>"},
        {"leading and trailing blanks cut, inner kept", "   a  b   ", "a  b"},
        {"blanks around a marker", "  ///image=fig1.gif///  ",
         "<br> <img src ='{F}/Images/Fig1.GIF' height=200 width=320><br>"},
        {"only blanks are cut", "\ta \n", "\ta \n"},
        {"blanks inside a marker stay", "a///  note  ///b", "a  note  b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(html_maker(QString::fromUtf8(c.text), examFolder, false), expand(c.html)) << c.name;
}

TEST_F(QuestionMarkupTest, DebugLineOnlyWhenAsked)
{
    html_maker(QStringLiteral("///image=nothere.gif///"), examFolder, false);
    EXPECT_EQ(readDebugLog(), QString()) << "a missing picture is no error";
    html_maker(QStringLiteral("text"), examFolder, true);
    EXPECT_EQ(readDebugLog(),
              QStringLiteral("Html code generated: html_maker: basZiduver: Date/Time :") + logDate()
                  + QStringLiteral("\r\n"));
}

TEST_F(QuestionMarkupTest, PageBuildersChooseTheirOwnTag)
{
    const QString html = replaceImageMarkers(
        QStringLiteral("\r///image=FIG1.gif/// ///image=gone.png/// ///image=notes.txt/// ///plain///"), examFolder,
        [](const MarkedImage& image) {
            return QStringLiteral("[%1 %2x%3 %4]")
                .arg(image.fileName)
                .arg(image.width)
                .arg(image.height)
                .arg(image.found ? (image.sized() ? "sized" : "unsized") : "missing");
        });
    EXPECT_EQ(html, QStringLiteral("\r[FIG1.gif 320x200 sized] [gone.png 0x0 missing] [notes.txt 0x0 unsized] plain"))
        << "only the markers change; line breaks and blanks are left to the caller";
}

// A FIFO, a socket, a folder or a sparse picture of 3 GB under a marker's
// name shows as a missing picture, and building the text never waits.
TEST_F(QuestionMarkupTest, AnythingButABoundedRegularPictureIsMissing)
{
    const QString images = examFolder + QStringLiteral("/Images/");
    ASSERT_TRUE(strange_files::makeFifo(images + "fifo.png"));
    ASSERT_TRUE(strange_files::makeSocket(images + "socket.png"));
    ASSERT_TRUE(strange_files::makeFolder(images + "folder.png"));
    ASSERT_TRUE(strange_files::makeSparse(images + "huge.png", png(640, 480)));
    FifoWatchdog watchdog(examFolder, 3);
    for (const char* name : {"fifo.png", "socket.png", "folder.png", "huge.png"})
        EXPECT_EQ(html_maker(QStringLiteral("///image=%1///").arg(QLatin1String(name)), examFolder, false).toStdString(),
                  (expand("<br> <img src ='{F}/images/") + QLatin1String(name) + QStringLiteral("' height=0 width=0><br>"))
                      .toStdString());
    EXPECT_FALSE(watchdog.fired()) << "a FIFO was opened in a way that waits";
}

TEST_F(QuestionMarkupTest, SourceIsTheFileFound)
{
    const QString html = html_maker(QStringLiteral("///image=IT'S & <X>.gif///"), examFolder, false);
    const qsizetype start = html.indexOf(QLatin1Char('\'')) + 1;
    QString src = html.mid(start, html.indexOf(QLatin1Char('\''), start) - start);
    src.replace(QStringLiteral("&#39;"), QStringLiteral("'")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    EXPECT_EQ(page_address::localPath(QUrl(src)), QDir(examFolder).filePath(QStringLiteral("Images/it's & <x>.gif")));
}

TEST(DatabaseFileLookup, MatchesEveryPartInAnyCase)
{
    TempHome home;
    home.write(QStringLiteral("Images/Sub/Pic.bmp"), "x");
    home.write(QStringLiteral("Images/a.gif"), "x");
    home.write(QStringLiteral("Images/A.GIF"), "x");
    home.write(QStringLiteral("outside.gif"), "x");
    const QString folder = home.path();
    struct Lookup {
        const char* relative;
        const char* found; // below the folder; "" for none
    };
    const Lookup lookups[] = {
        {"images/sub/pic.bmp", "Images/Sub/Pic.bmp"},
        {"IMAGES\\SUB\\PIC.BMP", "Images/Sub/Pic.bmp"},
        {"Images/A.GIF", "Images/A.GIF"},
        {"Images/a.gif", "Images/a.gif"},
        {"images/sub", ""},
        {"images/sub/missing.bmp", ""},
        {"images/../outside.gif", ""},
        {"images/./a.gif", ""},
        {"images//a.gif", ""},
        {"", ""},
    };
    for (const Lookup& l : lookups) {
        const QString expected = *l.found ? QDir(folder).filePath(QString::fromUtf8(l.found)) : QString();
        EXPECT_EQ(findFileIgnoringCase(folder, QString::fromUtf8(l.relative)), expected) << l.relative;
    }
    EXPECT_EQ(findFileIgnoringCase(folder, home.file(QStringLiteral("outside.gif"))), QString())
        << "an absolute path is no name below the folder";
}

} // namespace
