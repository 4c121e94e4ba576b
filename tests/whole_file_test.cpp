#include "exam/HelpTexts.h"
#include "exam/QuestionPage.h"
#include "foundation/WholeFile.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Files may grow to `limit` bytes while it lives (a full disk, as the write
// sees it); the signal the limit raises is ignored so the write fails instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lowered{limit, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

// The old page, a file too large for the limit, a folder that is a file:
// the page is left whole as it was, and the message names the file and why.
TEST(WholeFile, AFailedWriteLeavesThePageAsItWasAndSaysWhereAndWhy)
{
    TempHome home;
    const QString path = home.file(QStringLiteral("page.html"));
    home.write(QStringLiteral("page.html"), QByteArray("old page"));
    const QByteArray large(64 * 1024, 'x');
    {
        const FileSizeLimit limit(4096);
        const QString why = writeWholeFile(path, large);
        EXPECT_EQ(why, QStringLiteral("the file is larger than this system allows"));
    }
    EXPECT_EQ(contentOf(path), QByteArray("old page"));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{QStringLiteral("page.html")})
        << "no half-written file is left behind";

    home.write(QStringLiteral("notafolder"), QByteArray("x"));
    EXPECT_EQ(writeWholeFile(home.file(QStringLiteral("notafolder/page.html")), large),
              QStringLiteral("the folder does not exist"));

    EXPECT_EQ(writeWholeFile(path, QByteArray("new page")), QString());
    EXPECT_EQ(contentOf(path), QByteArray("new page"));

    EXPECT_EQ(fileWriteProblemText(QStringLiteral("The question sheet's page file could not be saved."), path,
                                   QStringLiteral("the disk is full")),
              QStringLiteral("The question sheet's page file could not be saved.\r\nThe file ") + path
                  + QStringLiteral(" could not be written: the disk is full.\r\n"
                                   "Free some space on the disk, then try again."));
}

// The explanation and the tree question's frames keep their last whole page
// when the new one cannot be written, and the message names the file.
TEST(WholeFile, TheExplanationAndTheTreePagesAreWrittenWholeOrNotAtAll)
{
    TempHome home;
    home.write(QStringLiteral("explanation.html"), QByteArray("old explanation"));
    home.write(QStringLiteral("left.htm"), QByteArray("old left"));
    BuiltPage tree;
    tree.leftHtm = QString(64 * 1024, QLatin1Char('l'));
    tree.questionHtm = QStringLiteral("question");
    const QString longPage(64 * 1024, QLatin1Char('e'));

    const std::pair<const char*, std::function<bool(QString*)>> writes[] = {
        {"explanation.html", [&](QString* problem) { return writeExplanationFile(home.path(), longPage, problem); }},
        {"left.htm", [&](QString* problem) { return writeTreePages(home.path(), tree, problem); }},
    };
    for (const auto& [file, write] : writes) {
        SCOPED_TRACE(file);
        const QString path = home.file(QString::fromLatin1(file));
        const QByteArray before = contentOf(path);
        QString problem;
        {
            const FileSizeLimit limit(4096);
            EXPECT_FALSE(write(&problem));
        }
        EXPECT_EQ(contentOf(path), before) << "never an empty or cut page";
        EXPECT_TRUE(problem.contains(QStringLiteral("The file ") + path + QStringLiteral(" could not be written: ")))
            << problem.toStdString();
    }
}

} // namespace
