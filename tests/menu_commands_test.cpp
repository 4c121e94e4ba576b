#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "mainwindow/MenuCommands.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingLinkOpener.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QUrl>
#include "platform/db/Connection.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

const QString kClearQuestion =
    QStringLiteral("All Previous examination history will be cleared!\rDo you want to Continue ?");

class MenuCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        gLogin.gAppName = QStringLiteral("Ziduver");
        gLogin.gUserCode = QStringLiteral("7");
        gLogin.gExamConnStr = bank.connectionString();
        bank.category(1).questions(1, 3, 1);
        for (int q = 1; q <= 3; ++q) {
            bank.progress(7, q, ExamBankFixture::Verdict::Right, 0);
            bank.progress(7, q, ExamBankFixture::Verdict::Wrong, 1);
            bank.progress(8, q, ExamBankFixture::Verdict::Wrong, 0);
        }
    }
    void TearDown() override { resetStartupState(); }

    int progressRows(int user)
    {
        return bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress WHERE userid = ?"), {user}).toInt();
    }
    void setup(const QByteArray& generalSettings)
    {
        home.write(QStringLiteral("setup.xml"),
                   "<?xml version=\"1.0\"?>\n<SetupInfo>\n\t<GeneralSettings>\n" + generalSettings
                       + "\t</GeneralSettings>\n</SetupInfo>\n");
    }

    TempHome home;
    ExamBankFixture bank;
    RecordingUiHooks ui;
};

} // namespace

TEST_F(MenuCommandsTest, ClearHistoryAnsweredNoRemovesNothingAndSaysNothingMore)
{
    ui.answerNext(ResultNoOrCancel);
    EXPECT_EQ(clearUserHistory(nullptr), ClearHistoryOutcome::Declined);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, kClearQuestion);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Ziduver"));
    EXPECT_EQ(ui.messages()[0].style, YesNo);
    EXPECT_EQ(progressRows(7), 6);
    EXPECT_EQ(progressRows(8), 3);
}

TEST_F(MenuCommandsTest, ClearHistoryAnsweredYesRemovesOnlyTheUsersRowsThenSaysSo)
{
    gStartup.gDebug = 1;
    removeDebugLog();
    ui.answerNext(ResultYes);
    EXPECT_EQ(clearUserHistory(nullptr), ClearHistoryOutcome::Cleared);
    EXPECT_EQ(progressRows(7), 0) << "every pass";
    EXPECT_EQ(progressRows(8), 3) << "another user's rows stay";
    EXPECT_EQ(ui.messageTexts(), (QStringList{kClearQuestion, QStringLiteral("History cleared......")}));
    EXPECT_EQ(ui.messages()[1].style, OneButton);
    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("History Cleared:mnuHistory_Click:frmMain")));
}

TEST_F(MenuCommandsTest, ClearHistoryDatabaseErrorIsLoggedAndShownInsteadOfTheSuccess)
{
    gStartup.gDebug = 0;
    removeDebugLog();
    bank.conn().execScript(QStringLiteral("DROP TABLE Qe_Progress"));
    ui.answerNext(ResultYes);
    EXPECT_EQ(clearUserHistory(nullptr), ClearHistoryOutcome::Failed);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_NE(ui.messages()[1].text, QStringLiteral("History cleared......"));
    EXPECT_TRUE(ui.messages()[1].text.contains(QStringLiteral("Qe_Progress"))) << ui.messages()[1].text.toStdString();
    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 1) << "logged whatever the debug flag";
    EXPECT_TRUE(lines[0].contains(QStringLiteral(" : mnuHistory_Click : frmMain ")));

    // A user code that is no number never reaches the database.
    ui.clear();
    gLogin.gUserCode = QStringLiteral("7 OR 1=1");
    ui.answerNext(ResultYes);
    EXPECT_EQ(clearUserHistory(nullptr), ClearHistoryOutcome::Failed);
}

// Another program holding the exam: Clear History says so in the program's
// words and removes nothing.
TEST_F(MenuCommandsTest, ClearHistoryUnderAnotherProgramsLockSaysWhyAndRemovesNothing)
{
    db::Connection other = db::Connection::openFile(bank.path());
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    ui.answerNext(ResultYes);
    EXPECT_EQ(clearUserHistory(nullptr), ClearHistoryOutcome::Failed);
    other.exec(QStringLiteral("ROLLBACK"));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].text, QStringLiteral("The history could not be cleared.\r\nThe exam database ")
                                         + bank.path()
                                         + QStringLiteral(" is in use by another program.\r\n"
                                                          "Close the other program that uses it, then try again."));
    EXPECT_EQ(progressRows(7), 6);
}

TEST_F(MenuCommandsTest, UpdateCheckAsksTheSetupTextWithOkAndCancel)
{
    setup("\t\t<UpdateMessage>Ask the server?</UpdateMessage>\n");
    ui.answerNext(ResultOk);
    EXPECT_TRUE(confirmUpdateCheck(nullptr));
    ui.answerNext(ResultNoOrCancel);
    EXPECT_FALSE(confirmUpdateCheck(nullptr));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Ask the server?"));
    EXPECT_EQ(ui.messages()[0].style, OkCancel);

    // Without the text nothing is asked and nothing opens.
    ui.clear();
    setup("");
    EXPECT_FALSE(confirmUpdateCheck(nullptr));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].style, OneButton);
}

TEST_F(MenuCommandsTest, ContactHelpAndWebLinksOpenThroughTheOpener)
{
    setup("\t\t<ContactUs>  mailto:support@example.org  </ContactUs>\n\t\t<Help>ZiduverHelp.htm</Help>\n");
    home.write(QStringLiteral("ziduverhelp.HTM"), "<p>help</p>");
    bank.writer().addUserLink({1, 0, QStringLiteral("Guide"), QStringLiteral(" [localpath]ziduverhelp.htm ")});
    bank.writer().addUserLink({2, 0, QStringLiteral("Nothing"), std::nullopt});
    bank.writer().addUserLink({3, 0, QStringLiteral("Program"), QStringLiteral("/bin/sh")});

    RecordingOpener opener;
    openContact(opener, nullptr);
    OpenWebLink(1, opener, nullptr);
    OpenWebLink(2, opener, nullptr);
    OpenWebLink(99, opener, nullptr);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    OpenWebLink(3, opener, nullptr);
    EXPECT_EQ(ui.messages().size(), 1u) << "a program from an exam database is refused";

    const QUrl help = QUrl::fromLocalFile(home.file(QStringLiteral("ziduverhelp.HTM")));
    // Help is the program's own window, never the desktop's opener.
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QUrl(QStringLiteral("mailto:support@example.org")));
    // An exam's link to an HTML page shows it in the program's own view.
    EXPECT_EQ(opener.shown, std::vector<QUrl>{help});
}

TEST_F(MenuCommandsTest, WebLinkOfAnUnreadableDatabaseIsReported)
{
    gLogin.gExamConnStr = QStringLiteral("DBQ=") + home.file(QStringLiteral("none.qzr")) + ";";
    RecordingOpener opener;
    OpenWebLink(1, opener, nullptr);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(ui.messages().size(), 1u);
}
