#include "foundation/DebugLog.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/SharedState.h"
#include "foundation/WebLinksTable.h"
#include "mainwindow/WebLinks.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <optional>

namespace {

class WebLinksTest : public ::testing::Test {
protected:
    void SetUp() override { resetStartupState(); }
    void TearDown() override { resetStartupState(); }

    void link(int serial, int parent, const QString& caption, std::optional<QString> path = std::nullopt)
    {
        bank.writer().addUserLink({serial, parent, caption, path});
    }
    void exam(std::optional<QString> comment)
    {
        ExamBankWriter::ExamRow row;
        row.code = QStringLiteral("EX1");
        row.description = QStringLiteral("Exam One");
        row.comment = comment;
        bank.writer().addExam(row);
    }
    QString conn() const { return bank.connectionString(); }

    TempHome home;
    ExamBankFixture bank;
};

QStringList describe(const std::vector<WebLinkRow>& rows)
{
    QStringList list;
    for (const WebLinkRow& row : rows)
        list << QStringLiteral("%1:%2%3").arg(row.serialNumber).arg(row.caption, row.hasSubList ? "+" : "");
    return list;
}

} // namespace

TEST_F(WebLinksTest, FlagsSayWhetherFirstLevelLinksAndACommentExist)
{
    EXPECT_FALSE(IsWebLinks(conn()).links) << "no links, no exam row";
    EXPECT_FALSE(IsWebLinks(conn()).comment);

    // A second-level link alone is no first-level link.
    link(5, 1, QStringLiteral("child"));
    EXPECT_FALSE(IsWebLinks(conn()).links);
    link(1, 0, QStringLiteral("parent"));
    EXPECT_TRUE(IsWebLinks(conn()).links);

    // Without an exam row the comment flag keeps what it was given.
    EXPECT_TRUE(IsWebLinks(conn(), {false, true}).comment);
    EXPECT_TRUE(IsWebLinks(conn(), {true, false}).links) << "never set false here";
}

TEST_F(WebLinksTest, CommentFlagIgnoresBlanksAndNull)
{
    struct Case {
        std::optional<QString> comment;
        bool flag;
    };
    for (const Case& c : std::vector<Case>{{std::nullopt, false},
                                           {QString(), false},
                                           {QStringLiteral("   "), false},
                                           {QStringLiteral("  Written by the exam team  "), true},
                                           {QStringLiteral("\r\n"), true}}) {
        ExamBankFixture fresh;
        ExamBankWriter::ExamRow row;
        row.code = QStringLiteral("EX1");
        row.comment = c.comment;
        fresh.writer().addExam(row);
        EXPECT_EQ(IsWebLinks(fresh.connectionString(), {false, true}).comment, c.flag)
            << (c.comment ? c.comment->toStdString() : "NULL");
        EXPECT_EQ(GetExamComment(fresh.connectionString()), c.comment.value_or(QString())) << "not trimmed";
    }
    EXPECT_EQ(GetExamComment(conn()), QString()) << "no exam row";
}

TEST_F(WebLinksTest, UnreadableDatabaseIsLoggedAndGivesNoLinks)
{
    gStartup.gDebug = 0;
    removeDebugLog();
    const WebLinkFlags flags = IsWebLinks(QStringLiteral("DBQ=") + home.file(QStringLiteral("missing.qzr")) + ";");
    EXPECT_FALSE(flags.links);
    EXPECT_FALSE(flags.comment);
    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 1) << "an error is logged whatever the debug flag";
    EXPECT_TRUE(lines[0].contains(QStringLiteral(" : IsWebLinks : frmMain "))) << lines[0].toStdString();
}

TEST_F(WebLinksTest, DebugLinesOfTheLoadCheck)
{
    gStartup.gDebug = 1;
    removeDebugLog();
    IsWebLinks(conn());
    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(
        lines[0].startsWith(QStringLiteral("Entered Web Links: Module: IsWebLinks: frmMain Date/Time :") + logDate()));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Db Opened: Module: IsWebLinks: frmMain Date/Time :")));
    EXPECT_TRUE(
        lines[2].startsWith(QStringLiteral("End of Web Links reached: Module: IsWebLinks: frmMain Date/Time :")));
}

TEST_F(WebLinksTest, FirstLevelRowsInStoredOrderMarkedWhenTheyHaveAList)
{
    // Stored out of serial order; serial numbers above 16 bits.
    link(40000, 0, QStringLiteral("Big"), QStringLiteral("https://big.example/"));
    link(3, 0, QStringLiteral("Three"));
    link(7, 3, QStringLiteral("Under three"));
    link(2, 0, QStringLiteral("Two"));
    link(40001, 40000, QStringLiteral("Under big"));
    EXPECT_EQ(describe(FillWebLinksMenu(conn())),
              (QStringList{QStringLiteral("2:Two"), QStringLiteral("3:Three+"), QStringLiteral("40000:Big+")}))
        << "rowid order of an INTEGER PRIMARY KEY is the serial order";

    // More first-level links than the old fourteen rows: all of them.
    ExamBankFixture many;
    for (int i = 1; i <= 30; ++i)
        many.writer().addUserLink({i, 0, QStringLiteral("L%1").arg(i), std::nullopt});
    EXPECT_EQ(FillWebLinksMenu(many.connectionString()).size(), 30u);
}

TEST_F(WebLinksTest, SecondLevelListShowsTheFirstTwelve)
{
    link(1, 0, QStringLiteral("Parent"));
    for (int i = 0; i < 15; ++i)
        link(100 + i, 1, QStringLiteral("Child %1").arg(i), QStringLiteral("https://example.org/%1").arg(i));
    const std::vector<WebLinkRow> rows = ShowWebLinksSubMenu(conn(), 1);
    ASSERT_EQ(rows.size(), size_t(kSubListRowLimit));
    EXPECT_EQ(rows.front().serialNumber, 100);
    EXPECT_EQ(rows.back().caption, QStringLiteral("Child 11"));
    EXPECT_TRUE(ShowWebLinksSubMenu(conn(), 2).empty());
}

TEST_F(WebLinksTest, TargetOfALinkNullReadsEmptyAndAMissingLinkNone)
{
    link(1, 0, QStringLiteral("Null"));
    link(2, 0, QStringLiteral("Blanks"), QStringLiteral("   "));
    link(70000, 0, QStringLiteral("Big"), QStringLiteral(" [localpath]docs/a.htm "));
    EXPECT_EQ(webLinkTarget(conn(), 1), std::optional<QString>(QString()));
    EXPECT_EQ(webLinkTarget(conn(), 2), std::optional<QString>(QStringLiteral("   ")));
    EXPECT_EQ(webLinkTarget(conn(), 70000), std::optional<QString>(QStringLiteral(" [localpath]docs/a.htm ")));
    EXPECT_EQ(webLinkTarget(conn(), 3), std::nullopt);
}

TEST_F(WebLinksTest, ValuesAreBoundNotSpliced)
{
    link(1, 0, QStringLiteral("O'Brien's page"), QStringLiteral("https://example.org/?q='x'"));
    db::Connection exam = db::Connection::open(conn());
    WebLinksTable table(exam);
    ASSERT_EQ(table.links(0).size(), 1u);
    EXPECT_EQ(table.links(0)[0].caption, QStringLiteral("O'Brien's page"));
    EXPECT_EQ(table.linkPath(1), std::optional<QString>(QStringLiteral("https://example.org/?q='x'")));
}
