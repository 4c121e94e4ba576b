#include "exam/HelpTexts.h"
#include "foundation/ProgramFolder.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const char* const kRoot = "SetupInfo/ExamEngineSettings/QuestionTypeInstructions/";

TEST(HelpTexts, InstructionsByQuestionTypeAndInteractiveCode)
{
    const struct Case {
        int type, interactive;
        InstructionBox box;
        const char* key;
    } cases[] = {
        {1, 0, InstructionBox::Multiple, "MultipleChoice"},
        {1, 2, InstructionBox::Multiple, "MultipleChoice"},
        {2, 0, InstructionBox::Essay, "Essay"},
        {3, 0, InstructionBox::FillInBlank, "FillInTheBlank"},
        {4, 1, InstructionBox::Interactive, "OrderedList"},
        {4, 2, InstructionBox::Interactive, "Tree"},
        {4, 3, InstructionBox::Interactive, "SelectAndPlace"},
        {4, 0, InstructionBox::Interactive, "SelectAndPlace"},
        {4, 7, InstructionBox::Interactive, "SelectAndPlace"},
        {0, 0, InstructionBox::Interactive, "SelectAndPlace"},
        {9, 3, InstructionBox::Interactive, "SelectAndPlace"},
    };
    for (const Case& c : cases) {
        const QuestionInstruction instruction = questionInstruction(c.type, c.interactive);
        EXPECT_EQ(instruction.box, c.box) << c.type << "/" << c.interactive;
        EXPECT_EQ(instruction.settingKey, QLatin1String(kRoot) + QLatin1String(c.key))
            << c.type << "/" << c.interactive;
    }
}

TEST(HelpTexts, InstructionTextFromSetupAndEmptyWhenMissing)
{
    TempHome home;
    EXPECT_EQ(readInstructionText(questionInstruction(1, 0).settingKey), QString()) << "no setup.xml";
    home.write(QStringLiteral("setup.xml"),
               "<SetupInfo>\n"
               "\t<ExamEngineSettings>\n"
               "\t\t<QuestionTypeInstructions>\n"
               "\t\t\t<MultipleChoice>Pick one.</MultipleChoice>\n"
               "\t\t\t<Tree>Place every leaf\nunder its node.</Tree>\n"
               "\t\t</QuestionTypeInstructions>\n"
               "\t</ExamEngineSettings>\n"
               "</SetupInfo>\n");
    EXPECT_EQ(readInstructionText(questionInstruction(1, 0).settingKey), "Pick one.");
    EXPECT_TRUE(
        readInstructionText(questionInstruction(4, 2).settingKey).startsWith(QLatin1String("Place every leaf")));
    EXPECT_EQ(readInstructionText(questionInstruction(2, 0).settingKey), QString()) << "key missing";
}

TEST(HelpTexts, KeepLettersOnly)
{
    const struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"Abc xyz", "Abc xyz"}, {"a1b2-c!", "abc"}, {"line\r\nnext", "line\r\nnext"},
        {"x  y", "x y"},        {"x   y", "x  y"},  {"x    y", "x  y"}, // one pass: four blanks become two
        {"\tq\xc3\xa9z", "qz"}, {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeepLettersOnly(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

class ExplanationPage : public ::testing::Test {
protected:
    ExplanationInputs inputs(const QString& text) const
    {
        ExplanationInputs in;
        in.explanation = text;
        in.fontName = QStringLiteral("Verdana");
        in.fontSize = 12;
        in.examDbPath = home.file(QStringLiteral("Data/EX/exam.qzr"));
        in.programFolder = home.path();
        return in;
    }
    // The page's body: what follows the opening paragraph, without the end.
    static QString body(const QString& page)
    {
        const QString open = QStringLiteral("font-size:14px\">");
        const QString close = QStringLiteral("</p></body></html>");
        EXPECT_TRUE(page.endsWith(close)) << page.toStdString();
        const qsizetype start = page.indexOf(open);
        EXPECT_GE(start, 0) << page.toStdString();
        return page.mid(start + open.size(), page.size() - start - open.size() - close.size());
    }

    TempHome home;
};

TEST_F(ExplanationPage, HeadFontAndBody)
{
    const QString plain = BuildExplanationHtml(inputs(QStringLiteral("  Because.  ")));
    EXPECT_EQ(plain,
              "<html><HEAD> </HEAD> <body topmargin=0><p Style = \"font-family: Verdana; font-size:14px\">Because."
              "</p></body></html>");

    ExplanationInputs blocking = inputs(QStringLiteral("Because."));
    blocking.blockRightClick = true;
    const QString page = BuildExplanationHtml(blocking);
    const QString head = page.left(page.indexOf(QLatin1String("Verdana")));
    EXPECT_EQ(head.size(), 655);
    EXPECT_TRUE(head.startsWith(QLatin1String("<html><HEAD> <SCRIPT> function right(e) {")));
    EXPECT_TRUE(head.contains(QLatin1String("alert(\"Sorry, you don't have permission to do this.\")")));
    EXPECT_TRUE(head.endsWith(QLatin1String(
        "<body ondragstart=\"return false\" onselectstart=\"return false\" topmargin=0><p Style = \"font-family: ")));
    EXPECT_EQ(body(page), "Because.");
}

TEST_F(ExplanationPage, TextRules)
{
    const QString folderUrl = page_address::forFile(home.path() + QLatin1Char('/')).toString(QUrl::FullyEncoded);
    const struct Case {
        const char* name;
        QString text;
        QString body;
    } cases[] = {
        {"empty", QString(), QStringLiteral("No explanation given")},
        {"only blanks", QStringLiteral("    "), QStringLiteral("No explanation given")},
        {"line breaks", QStringLiteral("a\r\nb\rc\nd"), QStringLiteral("a<br>b<br>c\nd")},
        {"slashes without the marker stay", QStringLiteral("and/or 1/2 <br/> </p>"),
         QStringLiteral("and/or 1/2 <br> <p></p>")},
        {"the marker is the program folder; no other slash changes",
         QStringLiteral("See <a href=\"[localpath]pages/a.htm\">and/or</a> 1/2<br/>"),
         QStringLiteral("See <a href=\"") + folderUrl + QStringLiteral("pages/a.htm\">and/or</a> 1/2<br>")},
        {"every marker", QStringLiteral("[localpath]x [localpath]y"),
         folderUrl + QStringLiteral("x ") + folderUrl + QStringLiteral("y")},
        {"list tags in the page font, these spellings only", QStringLiteral("<UL><LI>one</LI></UL><li>two"),
         QStringLiteral(
             "<ul><li style=\"font-family: Verdana; font-size: 14px;\">one</li></ul> <p style=\"font-family: "
             "Verdana; font-size: 14px;\"></p><li>two</li>")},
        {"the text after a list in the page font", QStringLiteral("<UL><LI>one</LI></UL>after"),
         QStringLiteral(
             "<ul><li style=\"font-family: Verdana; font-size: 14px;\">one</li></ul> <p style=\"font-family: "
             "Verdana; font-size: 14px;\">after</p>")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(body(BuildExplanationHtml(inputs(c.text))), c.body) << c.name;
}

TEST_F(ExplanationPage, ProgramFolderWithABlankIsAnEncodedUrl)
{
    ExplanationInputs in = inputs(QStringLiteral("<a href='[localpath]p.htm'>help</a>"));
    in.programFolder = home.file(QStringLiteral("my folder"));
    QDir().mkpath(in.programFolder);
    EXPECT_EQ(body(BuildExplanationHtml(in)),
              QStringLiteral("<a href=\"ziduver://files")
                  + QString::fromLatin1(QUrl::toPercentEncoding(home.path(), "/"))
                  + QStringLiteral("/my%20folder/p.htm\">help</a>"));
}

TEST_F(ExplanationPage, ImageMarkersAsOnTheQuestionPage)
{
    home.write(QStringLiteral("Data/EX/images/Net.gif"), gif(40, 30));
    const QString page = BuildExplanationHtml(inputs(QStringLiteral("See ///image=net.gif/// here")));
    const QString url =
        page_address::forFile(home.file(QStringLiteral("Data/EX/images/Net.gif"))).toString(QUrl::FullyEncoded);
    EXPECT_EQ(body(page),
              QStringLiteral("See <br> <img src=\"") + url + QStringLiteral("\" height=\"30\" width=\"40\"><br> here"));
}

TEST_F(ExplanationPage, FileIsWrittenAsUtf8)
{
    const QString page = BuildExplanationHtml(inputs(QStringLiteral("Gr\u00fc\u00dfe")));
    ASSERT_TRUE(writeExplanationFile(home.path(), page));
    QFile file(home.file(QStringLiteral("explanation.html")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF") + page.toUtf8());
    EXPECT_EQ(explanationFilePath(home.path()), home.file(QStringLiteral("explanation.html")));
    EXPECT_FALSE(writeExplanationFile(home.file(QStringLiteral("missing/folder")), page));
}

} // namespace
