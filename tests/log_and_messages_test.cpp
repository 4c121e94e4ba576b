#include "foundation/DebugLog.h"
#include "foundation/DisplayRoutines.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/TempHome.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(DebugLog, AppendsLinesAndSurvivesAnUnwritableFolder)
{
    TempHome home;
    home.write(QStringLiteral("debug.log"), "earlier\r\n");
    WriteLog(QStringLiteral("first"));
    WriteLog(QStringLiteral("second"));
    EXPECT_EQ(readDebugLog(), QStringLiteral("earlier\r\nfirst\r\nsecond\r\n"));

    setProgramFolder(home.file(QStringLiteral("no/such/folder")));
    EXPECT_NO_THROW(WriteLog(QStringLiteral("lost quietly")));
}

TEST(DisplayRoutines, FileExistsAndCharsPerLine)
{
    TempHome home;
    gStartup.gDebug = 0;
    home.write(QStringLiteral("a.txt"), "x");
    EXPECT_TRUE(FileExists(home.file(QStringLiteral("a.txt"))));
    EXPECT_FALSE(FileExists(home.path()));
    EXPECT_EQ(readDebugLog(), QString());
    EXPECT_FALSE(FileExists(home.file(QStringLiteral("missing.txt"))));
    EXPECT_EQ(readDebugLog().count(QStringLiteral("\r\n")), 1) << "a missing file leaves one error line, debug off";

    EXPECT_EQ(charsPerLine(300, 6), 45);
    EXPECT_EQ(charsPerLine(300, 0), -1);
}

TEST(MessageBox, ButtonsAndResultsPerStyle)
{
    struct Case {
        short style;
        const char* left;
        const char* right;
        short leftResult;
    };
    for (const Case& c :
         {Case{1, "", "OK", 100}, Case{2, "Yes", "No", 100}, Case{3, "Ok", "Cancel", -1}, Case{4, "Save", "Go Back", 100},
          Case{7, "OK", "OK", 100}}) {
        const MessageButtons buttons = messageButtonsFor(c.style);
        EXPECT_EQ(buttons.left, QString::fromLatin1(c.left)) << c.style;
        EXPECT_EQ(buttons.right, QString::fromLatin1(c.right)) << c.style;
        if (*c.left) {
            EXPECT_EQ(messageResultFor(c.style, 0), c.leftResult) << c.style;
        }
        EXPECT_EQ(messageResultFor(c.style, 1), -2) << "the right-hand button, the single OK included";
        EXPECT_EQ(buttons.middle.isEmpty(), c.style != 4) << "only save, discard or go back has a middle button";
    }
    EXPECT_EQ(messageButtonsFor(SaveDiscardCancel).middle, QStringLiteral("Discard"));
    EXPECT_EQ(messageResultFor(SaveDiscardCancel, 2), ResultDiscard);
}

TEST(MessageBox, LineBreaksOfEveryKindBreakTheLabelOnce)
{
    struct Case {
        const char* text;
        const char* shown;
    };
    for (const Case& c : {Case{"one\rtwo", "one\ntwo"}, Case{"one\ntwo", "one\ntwo"}, Case{"one\r\ntwo", "one\ntwo"},
                          Case{"\r\nDuplicate Exam Code found.\rFollowing Exam(s) will be discarded \rb.qzr",
                               "\nDuplicate Exam Code found.\nFollowing Exam(s) will be discarded \nb.qzr"},
                          Case{"a\r\rb", "a\n\nb"}, Case{"a\n\r\nb", "a\n\nb"}, Case{"a\n\rb", "a\n\nb"},
                          Case{"no break", "no break"}, Case{"", ""}}) {
        EXPECT_EQ(messageBoxLines(QString::fromLatin1(c.text)), QString::fromLatin1(c.shown)) << c.text;
    }
}

TEST(MessageBox, HtmlMessagePageKeepsLinesAndMarkup)
{
    const QString page = dbMessagePage(QStringLiteral("Line one\r\nLine <b>two</b>"));
    EXPECT_TRUE(page.contains(QStringLiteral("Line one<br>\nLine <b>two</b><br><br></font> </body></html>")));
    EXPECT_TRUE(page.startsWith(QStringLiteral("<html><HEAD> <SCRIPT> ")));
    EXPECT_TRUE(page.contains(QStringLiteral(" <font face=Arial size=2>")));
    EXPECT_TRUE(page.contains(QStringLiteral("Sorry, you don't have permission to do this.")));
}

} // namespace
