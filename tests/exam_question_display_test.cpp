#include "exam/QuestionDisplay.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(ScenarioFile, IsFoundInAnyCaseBelowTheScenarioFolderOrNamedAsStored)
{
    QTemporaryDir dir;
    const QString exam = dir.filePath(QStringLiteral("Exam/bank.qzr"));
    touch(exam);
    touch(dir.filePath(QStringLiteral("Exam/scenario/Cases/Outage.HTM")));
    struct Case {
        const char* stored;
        QString expected;
    };
    const Case cases[] = {
        {"cases\\outage.htm", dir.filePath(QStringLiteral("Exam/scenario/Cases/Outage.HTM"))},
        {"  Cases/OUTAGE.htm ", dir.filePath(QStringLiteral("Exam/scenario/Cases/Outage.HTM"))},
        // Missing: the stored name under the exam's folder, so the view shows a missing page.
        {"cases\\none.htm", dir.filePath(QStringLiteral("Exam/Scenario/cases/none.htm"))},
        // Never outside the scenario folder.
        {"../bank.qzr", dir.filePath(QStringLiteral("Exam/Scenario/bank.qzr"))},
        {"/etc/hosts", dir.filePath(QStringLiteral("Exam/Scenario/etc/hosts"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(QDir::cleanPath(scenarioFilePath(exam, QString::fromLatin1(c.stored))), QDir::cleanPath(c.expected));
    }
}

TEST(QuestionErrorPage, ShowsTheReasonAsTextWithoutScripts)
{
    const QString page = questionErrorPage(QStringLiteral("no <row> & 'quote'"), QStringLiteral("Arial"), 12);
    EXPECT_TRUE(page.contains(QStringLiteral("no &lt;row&gt; &amp; 'quote'")));
    EXPECT_TRUE(page.contains(QStringLiteral("font-size:14px")));
    EXPECT_FALSE(page.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
}

} // namespace
