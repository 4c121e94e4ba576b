#include "platform/pages/PageAddress.h"
#include "platform/pages/ServedFiles.h"
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
                                 "Data/Exam One/Scenario/case.htm", "Data/Exam One/notes.txt"})
            home.write(QString::fromLatin1(name), "content");
        QFile secret(outside.path() + QStringLiteral("/secret.html"));
        ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
        secret.write("secret");
        secret.close();
        QFile::link(secret.fileName(), home.file(QStringLiteral("Data/Exam One/linked.html")));
        files.addFolder(home.path());
    }
    QString served(const QString& path) const { return files.fileFor(page_address::forFile(path)); }

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

    EXPECT_EQ(files.fileFor(QUrl::fromLocalFile(home.file("main.html"))), QString())
        << "a file: URL is no page address";
    EXPECT_EQ(files.fileFor(QUrl(QStringLiteral("ziduver://other") + home.file("main.html"))), QString());
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
}

} // namespace
