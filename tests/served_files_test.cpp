#include "platform/pages/PageAddress.h"
#include "platform/pages/ServedFiles.h"
#include "tests/support/StrangeFiles.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class ServedFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"main.html", "interactive.js", "Ziduver.QZR", "setup.xml", "debug.log",
                                 "DataSkeleton.SKL", "Data/Exam One/images/Net.GIF", "Data/Exam One/exam.qzr",
                                 "Data/Exam One/Scenario/case.htm", "Data/Exam One/notes.txt",
                                 "Data/Exam One/Scenario/own.js", "Data/Exam One/look.css",
                                 "Data/Exam Two/Scenario/theirs.htm", "Data/Exam Two/images/b.png",
                                 "PrintQuestions.html"})
            home.write(QString::fromLatin1(name), "content");
        QFile secret(outside.path() + QStringLiteral("/secret.html"));
        ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
        secret.write("secret");
        secret.close();
        QFile::link(secret.fileName(), home.file(QStringLiteral("Data/Exam One/linked.html")));
        files.setProgramFolder(home.path());
        files.setExamFolder(home.file("Data/Exam One"));
        files.addPrivateFile(home.file("PrintQuestions.html"));
    }
    // What a page may load.
    QString served(const QString& path) const { return files.find(page_address::forFile(path), false).path; }

    TempHome home;
    QTemporaryDir outside;
    ServedFiles files;
};

TEST_F(ServedFilesTest, OnlyThePagesOwnKindsOfFileBelowAServedFolder)
{
    const struct {
        const char* name;
        QString asked;
        QString served; // "" for refused
    } cases[] = {
        {"static page", home.file("main.html"), home.file("main.html")},
        {"script", home.file("interactive.js"), home.file("interactive.js")},
        {"picture in another case", home.file("data/exam one/IMAGES/net.gif"),
         home.file("Data/Exam One/images/Net.GIF")},
        {"scenario page", home.file("Data/Exam One/Scenario/case.htm"), home.file("Data/Exam One/Scenario/case.htm")},
        {"an exam's script", home.file("Data/Exam One/Scenario/own.js"), ""},
        {"an exam's style sheet", home.file("Data/Exam One/look.css"), ""},
        {"another exam's page", home.file("Data/Exam Two/Scenario/theirs.htm"), ""},
        {"another exam's picture", home.file("DATA/exam two/images/b.png"), ""},
        {"a page a window wrote for itself", home.file("PrintQuestions.html"), ""},
        {"system database", home.file("Ziduver.QZR"), ""},
        {"exam database", home.file("Data/Exam One/exam.qzr"), ""},
        {"settings", home.file("setup.xml"), ""},
        {"log", home.file("debug.log"), ""},
        {"reference layout", home.file("DataSkeleton.SKL"), ""},
        {"plain text", home.file("Data/Exam One/notes.txt"), ""},
        {"a page outside", outside.path() + "/secret.html", ""},
        {"climbing out by ..", home.file("Data/../../") + QFileInfo(outside.path()).fileName() + "/secret.html", ""},
        {"a link leading out", home.file("Data/Exam One/linked.html"), ""},
        {"missing", home.file("nothere.html"), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(served(c.asked), c.served) << c.name;

    // The program's own load of a page it wrote, and what origin each has.
    EXPECT_EQ(files.fileFor(page_address::forFile(home.file("PrintQuestions.html"))), home.file("PrintQuestions.html"));
    EXPECT_TRUE(files.find(page_address::forFile(home.file("Data/Exam One/Scenario/case.htm")), false).origin
                == ServedFiles::Origin::Exam);
    EXPECT_TRUE(files.find(page_address::forFile(home.file("main.html")), false).origin == ServedFiles::Origin::Program);
    // Another exam in use: the first one is served no more.
    ServedFiles other = files;
    other.setExamFolder(home.file("Data/Exam Two"));
    EXPECT_EQ(other.find(page_address::forFile(home.file("Data/Exam One/Scenario/case.htm")), false).path, QString());
    EXPECT_FALSE(other.find(page_address::forFile(home.file("Data/Exam Two/Scenario/theirs.htm")), false).path.isEmpty());

    EXPECT_EQ(files.fileFor(QUrl::fromLocalFile(home.file("main.html"))), QString())
        << "a file: URL is no page address";
    EXPECT_EQ(files.fileFor(QUrl(QStringLiteral("ziduver://other") + home.file("main.html"))), QString());
}

// The files found are read only when they are regular files within the
// bound of their kind: a FIFO, a socket or a folder under a page's or a
// picture's name, or a sparse scenario of 3 GB, is refused as a missing one.
TEST_F(ServedFilesTest, OnlyBoundedRegularFilesAreReadAndNothingWaits)
{
    const QString exam = home.file("Data/Exam One");
    ASSERT_TRUE(strange_files::makeFifo(exam + "/images/fifo.png"));
    ASSERT_TRUE(strange_files::makeFifo(exam + "/Scenario/fifo.htm"));
    ASSERT_TRUE(strange_files::makeSocket(exam + "/Scenario/socket.htm"));
    ASSERT_TRUE(strange_files::makeFolder(exam + "/Scenario/folder.htm"));
    ASSERT_TRUE(strange_files::makeSparse(exam + "/Scenario/big.htm", "<p>big</p>"));
    ASSERT_TRUE(strange_files::makeSparse(exam + "/images/big.png", "\x89PNG"));
    home.write("Data/Exam One/images/photo.png", "\x89PNG picture");
    FifoWatchdog watchdog(home.path(), 3);
    for (const char* name : {"images/fifo.png", "Scenario/fifo.htm", "Scenario/socket.htm", "Scenario/folder.htm",
                             "Scenario/big.htm", "images/big.png"}) {
        const QString path = exam + QLatin1Char('/') + QLatin1String(name);
        ServedFiles::Found found = files.find(page_address::forFile(path), false);
        // Found or not by its name, reading it gives nothing.
        if (!found)
            found = ServedFiles::Found{path, ServedFiles::Origin::Exam};
        QString refusal;
        EXPECT_TRUE(ServedFiles::read(found, &refusal).isEmpty()) << name;
        EXPECT_TRUE(refusal.contains(path)) << name << ": " << refusal.toStdString();
    }
    const ServedFiles::Found photo = files.find(page_address::forFile(exam + "/images/photo.png"), false);
    ASSERT_TRUE(photo);
    EXPECT_EQ(ServedFiles::read(photo), "\x89PNG picture");
    const ServedFiles::Found page = files.find(page_address::forFile(exam + "/Scenario/case.htm"), false);
    EXPECT_EQ(ServedFiles::read(page), "content");

    // The file found is the file read: a link put in its place afterwards
    // leads nowhere.
    ASSERT_TRUE(QFile::remove(exam + "/Scenario/case.htm"));
    ASSERT_TRUE(QFile::link(outside.path() + "/secret.html", exam + "/Scenario/case.htm"));
    QString refusal;
    EXPECT_TRUE(ServedFiles::read(page, &refusal).isEmpty());
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_FALSE(watchdog.fired()) << "a FIFO was opened in a way that waits";
}

TEST(PageAddress, AFileAndItsAddressMapBothWays)
{
    const QString path = QStringLiteral("/tmp/a folder/\u00e9t\u00e9 #1/q?.html");
    const QUrl address = page_address::forFile(path);
    EXPECT_EQ(address.scheme(), "ziduver");
    EXPECT_TRUE(page_address::isPageAddress(QUrl(address.toString(QUrl::FullyEncoded))));
    EXPECT_EQ(page_address::localPath(QUrl(address.toString(QUrl::FullyEncoded))), path);
    EXPECT_TRUE(page_address::forFile(QStringLiteral("/tmp/x/")).path().endsWith('/')) << "a folder keeps its slash";

    const QUrl file(QStringLiteral("file:///tmp/x/page.htm#part"));
    EXPECT_EQ(page_address::fromUrl(file).toString(), "ziduver://files/tmp/x/page.htm#part");
    for (const char* other : {"https://example.org/", "about:blank", "zidtest://x"})
        EXPECT_EQ(page_address::fromUrl(QUrl(other)), QUrl(other)) << other;
    EXPECT_EQ(page_address::localPath(QUrl(QStringLiteral("https://files/etc/passwd"))), QString());
}

TEST(PagePolicy, GoesFirstButAfterTheByteOrderMarkAndTheDoctype)
{
    const QByteArray policy = pagePolicyHead().toUtf8();
    EXPECT_TRUE(policy.contains("connect-src 'none'"));
    EXPECT_EQ(withPagePolicy("<html><body>x"), policy + "<html><body>x");
    EXPECT_EQ(withPagePolicy("\xEF\xBB\xBF<p>x"), "\xEF\xBB\xBF" + policy + "<p>x");
    EXPECT_EQ(withPagePolicy("<!DOCTYPE html>\n<html>"), "<!DOCTYPE html>" + policy + "\n<html>");
    EXPECT_EQ(withPagePolicy(" \r\n<!doctype html><p>"), " \r\n<!doctype html>" + policy + "<p>");
    // A byte the HTML parser does not take for white space opens the body:
    // the policy goes before it.
    EXPECT_EQ(withPagePolicy("\x0B<!doctype html><p>"), policy + "\x0B<!doctype html><p>");
    EXPECT_EQ(withPagePolicy("x<!doctype html>"), policy + "x<!doctype html>");
}

} // namespace
