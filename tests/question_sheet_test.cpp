#include "exam/QuestionList.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "platform/pages/HtmlSanitizer.h"
#include "platform/pages/PageAddress.h"
#include "results/QuestionSheet.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray setupXml(const QByteArray& blockInPrint)
{
    return "<SetupInfo>\n\t<GeneralSettings>\n\t\t<BlockRightClickInPrint>" + blockInPrint
        + "</BlockRightClickInPrint>\n\t</GeneralSettings>\n</SetupInfo>\n";
}

// A per-question list as the exam builders leave it: code, type, and the
// choice-order variant in the last column.
QuestionList examList(const std::vector<std::pair<int, int>>& codesAndVariants)
{
    QuestionList list;
    for (const auto& [code, variant] : codesAndVariants)
        list.addQuestion(code, 1);
    list.addColumn();
    for (int row = 1; row < list.rows(); ++row)
        list.setText(row, colChoiceOrder, QString::number(codesAndVariants[size_t(row - 1)].second));
    return list;
}

// The texts in the page in the order they appear; a missing one fails.
std::vector<int> positions(const QString& page, const QStringList& texts)
{
    std::vector<int> found;
    for (const QString& text : texts)
        found.push_back(int(page.indexOf(text)));
    return found;
}

class QuestionSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSharedState();
        removeDebugLog();
        home.write("setup.xml", setupXml("1"));
        examFolder = QFileInfo(bank.path()).absolutePath();
        QDir(examFolder).mkpath("images");
        QFile pic(QDir(examFolder).filePath("images/fig.gif"));
        ASSERT_TRUE(pic.open(QIODevice::WriteOnly));
        pic.write(gif(20, 10));
        pic.close();

        bank.category(1).category(2);
        bank.chapter(11, 1);
        ExamBankWriter& w = bank.writer();
        ExamBankWriter::QuestionRow mc = ExamBankWriter::QuestionRow::multipleChoice(31);
        mc.category = 2;
        mc.chapter = 11;
        mc.text = QStringLiteral("Pick two.\r\nSee ///image=fig.gif///");
        mc.explanation = QStringLiteral("Because of ///image=fig.gif/// and\r\nmore.");
        w.addQuestion(mc);
        w.addChoice({31, 1, "alpha", true});
        w.addChoice({31, 2, "beta", false});
        w.addChoice({31, 3, "gamma", true});
        ExamBankWriter::QuestionRow list{};
        list.code = 7;
        list.category = 1;
        list.chapter = 0;
        list.type = 4;
        list.interactive = 1;
        list.text = QStringLiteral("Order them.");
        list.explanation = QStringLiteral("First things first.");
        w.addQuestion(list);
        w.addInteractiveRow({7, "two", 1, "one", 1});
        w.addInteractiveRow({7, "one", 2, "two", 2});
        ExamBankWriter::QuestionRow tree = list;
        tree.code = 12;
        tree.interactive = 2;
        tree.text = QStringLiteral("Place them.");
        tree.explanation.reset();
        w.addQuestion(tree);
        w.addInteractiveRow({12, "Node", 1, "Leaf", 1, QStringLiteral("Root")});
        w.addInteractiveAnswer({12, "Leaf", 1, "Node", 1});
    }

    void TearDown() override { resetSharedState(); }

    SheetOptions options(bool answers, bool explanation) const
    {
        SheetOptions o;
        o.showAnswers = answers;
        o.showExplanation = explanation;
        o.blockRightClick = true;
        o.fontName = QStringLiteral("Verdana");
        o.fontSize = 12;
        o.examFolder = examFolder;
        return o;
    }

    QString picture() const
    {
        return page_address::forFile(QDir(examFolder).filePath("images/fig.gif")).toString(QUrl::FullyEncoded);
    }

    TempHome home;
    ExamBankFixture bank;
    QString examFolder;
    const QuestionList exam = examList({{12, 0}, {31, 0}, {7, 0}});
};

TEST_F(QuestionSheetTest, EveryQuestionOfTheExamIsOnThePageInKeyOrder)
{
    const SheetPage page = CreateQuestReport(bank.conn(), exam, options(false, false));
    ASSERT_TRUE(page.hasQuestions);
    const QString& html = page.html;
    EXPECT_EQ(html.count("<b>QID:</b>"), 3);
    const std::vector<int> at = positions(
        html, {"<b>QID:</b>     7</td></tr>", "<b>QID:</b>     12</td></tr>", "<b>QID:</b>     31</td></tr>"});
    EXPECT_GE(at[0], 0);
    EXPECT_LT(at[0], at[1]);
    EXPECT_LT(at[1], at[2]);
    EXPECT_TRUE(html.contains("<tr><td width=\"85%\"><b>Category:</b>Category 2<br><b>Chapter:</b>Chapter 11 </td> <td>"
                              "<b>QID:</b>     31</td></tr>"));
    EXPECT_TRUE(html.contains("<b>Category:</b>Category 1<br><b>Chapter:</b> </td>")) << "no chapter row";
    // The question through the mark-up, its image sized.
    EXPECT_TRUE(html.contains("<tr><td colspan=\"2\"><b>Question:</b><br>Pick two.<br>\nSee <br> <img src=\""
                              + picture() + "\" height=\"10\" width=\"20\"><br> </td></tr> "));
    // Answer parts without the right answers marked, and no explanation.
    EXPECT_TRUE(html.contains("<tr><td colspan=\"2\">A) alpha</td></tr><tr><td colspan=\"2\">B) beta</td></tr>"));
    EXPECT_FALSE(html.contains("<b>* </b>"));
    EXPECT_FALSE(html.contains("Correct Order"));
    EXPECT_FALSE(html.contains("Explanation:"));
}

// The length limit is a text's: a sheet of many long questions still shows
// them all.
TEST_F(QuestionSheetTest, ALongSheetOfTextsWithinTheLimitShowsThemAll)
{
    const QString longText = QStringLiteral("<b>long</b> ") + QString(400'000, QLatin1Char('x'));
    bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_Quest_Desc = ?"), {longText});
    const SheetPage page = CreateQuestReport(bank.conn(), exam, options(false, false));
    EXPECT_EQ(page.html.count("<b>long</b>"), 3);
    EXPECT_FALSE(page.html.contains(html_sanitizer::tooLongMessage()));
}

TEST_F(QuestionSheetTest, TheAnswerTickShowsRightAnswersAndOrdersTheOtherExplanationsAndTreePlacements)
{
    const QString html = CreateQuestReport(bank.conn(), exam, options(true, false)).html;
    EXPECT_EQ(html.count("<b>* </b>"), 2);
    // The ordered list's order opens a list, the tree's placement a break.
    EXPECT_EQ(html.count("<b>Correct Order</b><ul>"), 1) << "the ordered list";
    EXPECT_FALSE(html.contains("<b>Correct Order</b><br><br>")) << "the tree's placement follows the other tick";
    EXPECT_FALSE(html.contains("Explanation:"));

    const QString explained = CreateQuestReport(bank.conn(), exam, options(false, true)).html;
    EXPECT_EQ(explained.count("<b>Explanation:</b>"), 3) << "a Null explanation still has its row";
    EXPECT_FALSE(explained.contains("<b>Correct Order</b>")) << "no right answer without the answer tick";
    EXPECT_EQ(CreateQuestReport(bank.conn(), exam, options(true, true)).html.count("<b>Correct Order</b><br><br>"), 1)
        << "the tree's placement comes with both ticks";
    EXPECT_TRUE(explained.contains("<tr><td colspan=\"2\"><b>Explanation:</b><br>Because of <br> <img src=\""
                                   + picture() + "\"><br> and<br>\nmore. </td></tr>"))
        << "the explanation's picture has no size";
    EXPECT_TRUE(explained.contains("<b>Explanation:</b><br> </td></tr>"));
    EXPECT_FALSE(explained.contains("<b>* </b>"));
}

// The answer tick cleared prints no right answer of any kind; ticked, an
// ordered list's order is the one the exam grades by (storage order), and
// no bullet stands without a text.
TEST_F(QuestionSheetTest, RightAnswersOfEveryKindFollowTheTickInTheOrderTheExamGrades)
{
    ExamBankWriter& w = bank.writer();
    ExamBankWriter::QuestionRow place{};
    place.code = 40;
    place.category = 1;
    place.chapter = 0;
    place.type = 4;
    place.interactive = 3;
    place.text = QStringLiteral("Place them.");
    w.addQuestion(place);
    w.addInteractiveRow({40, "item b", 1, "place 1", 1});
    w.addInteractiveRow({40, "item a", 2, "place 2", 2});
    // Stored in the places' order, numbered the other way round.
    w.addInteractiveAnswer({40, "place 1", 2, "item a", 0});
    w.addInteractiveAnswer({40, "place 2", 1, "item b", 0});
    // The ordered list's right order as stored, numbered the other way round.
    bank.conn().exec(QStringLiteral("UPDATE Qe_AnswerInteractive SET Qi_RightPane_Seq = 3 - Qi_RightPane_Seq "
                                    "WHERE Qi_QuestCode = 7"));
    // A tree row that only carries a leaf, and an empty leaf.
    w.addInteractiveRow({12, "", 2, "Other leaf", 2, QStringLiteral("Root")});
    w.addInteractiveAnswer({12, "", 1, "Node", 1});
    const QuestionList sheet = examList({{12, 0}, {7, 0}, {40, 0}});

    for (const bool explanation : {false, true}) {
        const QString cleared = CreateQuestReport(bank.conn(), sheet, options(false, explanation)).html;
        EXPECT_FALSE(cleared.contains("Correct Order")) << explanation;
        EXPECT_FALSE(cleared.contains("-------")) << explanation;
    }
    const QString shown = CreateQuestReport(bank.conn(), sheet, options(true, true)).html;
    EXPECT_TRUE(shown.contains(QStringLiteral("place 1\u00A0\u00A0-------\u00A0\u00A0item a")))
        << shown.toStdString();
    EXPECT_LT(shown.indexOf("place 1"), shown.indexOf("place 2"));
    const qsizetype order = shown.indexOf("<b>Correct Order</b><ul>");
    ASSERT_GE(order, 0);
    EXPECT_LT(shown.indexOf("<b>one</b>", order), shown.indexOf("<b>two</b>", order)) << "graded: one, two";
    const QRegularExpression emptyBullet(QStringLiteral("\\x{2022}\\x{00A0}\\s*<br>"));
    EXPECT_FALSE(shown.contains(emptyBullet)) << shown.toStdString();
}

TEST_F(QuestionSheetTest, ChoicesAreListedInTheOrderTheExamShowedThem)
{
    struct Case {
        int choices;
        int variant;
        std::vector<int> order;
    };
    const std::vector<Case> cases = {
        {3, 0, {1, 2, 3}},
        {3, 1, {2, 1, 3}},
        {3, 2, {3, 1, 2}},
        {3, 3, {2, 3, 1}},
        {3, 9, {3, 1, 2}},
        {5, 0, {1, 2, 3, 4, 5}},
        {5, 1, {2, 1, 3, 4, 5}},
        {5, 2, {3, 1, 2, 4, 5}},
        {5, 3, {4, 2, 3, 5, 1}},
        {5, 4, {5, 3, 1, 2, 4}},
        {7, 0, {1, 2, 3, 4, 5, 6, 7}},
        {7, 1, {2, 1, 3, 4, 7, 5, 6}},
        {7, 2, {3, 1, 2, 4, 5, 7, 6}},
        {7, 3, {4, 2, 3, 5, 1, 7, 6}},
        {7, 4, {5, 3, 1, 7, 2, 6, 4}},
    };
    std::vector<std::pair<int, int>> rows;
    int code = 100;
    for (const Case& c : cases) {
        bank.question(code, 1);
        for (int seq = 1; seq <= c.choices; ++seq)
            bank.choice(code, seq, QStringLiteral("q%1s%2").arg(code).arg(seq), false);
        rows.push_back({code, c.variant});
        ++code;
    }
    const QString html = CreateQuestReport(bank.conn(), examList(rows), options(false, false)).html;
    code = 100;
    for (const Case& c : cases) {
        QStringList listed;
        for (size_t i = 0; i < c.order.size(); ++i)
            listed.append(QStringLiteral("<td colspan=\"2\">%1) q%2s%3</td>")
                              .arg(QChar(u'A' + int(i)))
                              .arg(code)
                              .arg(c.order[i]));
        const std::vector<int> at = positions(html, listed);
        for (size_t i = 0; i < at.size(); ++i) {
            EXPECT_GE(at[i], 0) << c.choices << " choices, variant " << c.variant << ": "
                                << listed[int(i)].toStdString();
            if (i > 0) {
                EXPECT_LT(at[i - 1], at[i]) << c.choices << " choices, variant " << c.variant;
            }
        }
        ++code;
    }
}

TEST_F(QuestionSheetTest, TheFifthOrderListsEqualChoicesOnce)
{
    bank.question(200, 1);
    bank.choice(200, 1, "same", false).choice(200, 1, "same", false).choice(200, 2, "other", false);
    const QString fifth = CreateQuestReport(bank.conn(), examList({{200, 4}}), options(false, false)).html;
    EXPECT_EQ(fifth.count("same</td>"), 1);
    const QString first = CreateQuestReport(bank.conn(), examList({{200, 0}}), options(false, false)).html;
    EXPECT_EQ(first.count("same</td>"), 2);
}

TEST_F(QuestionSheetTest, TheHeadFollowsTheSetting)
{
    const QString style = "<p Style = \"font-family: Verdana; font-size:14px\"><table width=\"100%\" border=\"1\" "
                          "cellpadding=\"5\" cellspacing=\"0\"><tbody><tr>";
    struct Case {
        const char* setting; // null: no such element
        bool blocks;
    };
    for (const Case c :
         {Case{"0", false}, Case{"1", true}, Case{"-2", true}, Case{" 0 ", false}, Case{nullptr, true}}) {
        home.write("setup.xml", c.setting ? setupXml(c.setting) : QByteArray("<SetupInfo></SetupInfo>"));
        EXPECT_EQ(sheetBlocksRightClick(), c.blocks) << (c.setting ? c.setting : "missing");
    }
    QFile::remove(home.file("setup.xml"));
    EXPECT_TRUE(sheetBlocksRightClick()) << "no setup.xml";

    SheetOptions plain = options(false, false);
    plain.blockRightClick = false;
    EXPECT_TRUE(CreateQuestReport(bank.conn(), exam, plain).html.startsWith("<html><body>" + style));
    const QString blocking = CreateQuestReport(bank.conn(), exam, options(false, false)).html;
    EXPECT_TRUE(blocking.startsWith(blockRightClickScript() + style));
    EXPECT_TRUE(blocking.contains("Sorry, you don't have permission to do this."));
    EXPECT_TRUE(blocking.contains("ondragstart=\"return false\" onselectstart=\"return false\""));
}

TEST_F(QuestionSheetTest, CarriageReturnsBecomeBreaksAndListsTakeThePageFont)
{
    bank.shownQuestion(40, 1, 0, "One\r\ntwo<pre>kept\r\nas is</pre>\r");
    bank.choice(40, 1, "line\rbreak", false);
    const QString html = CreateQuestReport(bank.conn(), examList({{40, 0}, {7, 0}}), options(true, true)).html;
    // The <pre> block keeps its own line break (as a plain line feed) and
    // gets no <br>.
    EXPECT_EQ(html.count('\r'), 0);
    EXPECT_TRUE(html.contains("One<br>\ntwo<pre>\nkept\nas is</pre><br> </td></tr>"));
    EXPECT_TRUE(html.contains("A) line<br>break"));
    EXPECT_TRUE(html.endsWith("</table></font></body></html><br><br>"));

    const QString font = "Style = \"font-family: Verdana; font-size:14px\"";
    EXPECT_TRUE(html.contains("<ul><LI " + font + "><b>one</b></li><LI " + font + "><b>two</b></li></UL> <p " + font
                              + "></td></tr>"));
    EXPECT_FALSE(html.contains("<li>"));
    EXPECT_FALSE(html.contains("</Ul>"));
}

TEST_F(QuestionSheetTest, NoLinkInThePrintoutStaysLive)
{
    bank.shownQuestion(41, 1, 0, "<a HREF=\"x.htm\">dead</a> <a href=\"y.htm\">live</a> <link rel=x>");
    const QString html = CreateQuestReport(bank.conn(), examList({{41, 0}}), options(false, false)).html;
    EXPECT_FALSE(html.contains("href", Qt::CaseInsensitive));
    EXPECT_FALSE(html.contains("<link", Qt::CaseInsensitive));
    EXPECT_TRUE(html.contains("<b>Question:</b><br><a>dead</a> <a>live</a>  </td></tr>")) << "the texts stay";
}

TEST_F(QuestionSheetTest, WithoutQuestionsThereIsNoPage)
{
    EXPECT_FALSE(CreateQuestReport(bank.conn(), QuestionList(), options(true, true)).hasQuestions);
    EXPECT_FALSE(CreateQuestReport(bank.conn(), examList({{999, 0}}), options(true, true)).hasQuestions);
    EXPECT_EQ(readDebugLog(), QString());

    // Questions that cannot be read are no empty sheet: the failure goes to
    // the window, which tells it.
    bank.conn().exec("DROP TABLE Qe_Chapters");
    EXPECT_THROW(CreateQuestReport(bank.conn(), exam, options(true, true)), db::DbError);
}

TEST_F(QuestionSheetTest, DebugModeLogsThePage)
{
    SheetOptions o = options(false, false);
    o.debugLog = true;
    CreateQuestReport(bank.conn(), exam, o);
    EXPECT_TRUE(readDebugLog().contains("Data string Created : CreateQuestReport : frmOffLineQuestions "));
}

TEST(QuestionSheetList, CodesAndChoiceOrdersComeFromTheExamList)
{
    QuestionList list;
    list.addItem("12\t1");
    list.addItem("0\t1");
    list.addItem("x\t1");
    list.addItem("7\t2");
    list.addItem("12\t1");
    EXPECT_EQ(BuildQuestionCodeList(list), (std::vector<int>{12, 7, 12}));
    EXPECT_EQ(GetChoiceOrder(list, 7), 0) << "no variant column yet";
    list.addColumn();
    list.setText(1, colChoiceOrder, "3");
    list.setText(4, colChoiceOrder, "2");
    list.setText(5, colChoiceOrder, "1");
    EXPECT_EQ(GetChoiceOrder(list, 12), 3) << "the first row of the code";
    EXPECT_EQ(GetChoiceOrder(list, 7), 2);
    EXPECT_EQ(GetChoiceOrder(list, 99), 0);
    EXPECT_TRUE(BuildQuestionCodeList(QuestionList()).empty());
}

TEST(QuestionSheetImages, ExplanationMarkersNameTheExamsPictures)
{
    TempHome home;
    home.write("Data/images/Fig.GIF", gif(5, 5));
    const QString folder = home.file("Data");
    const QString src = page_address::forFile(home.file("Data/images/Fig.GIF")).toString(QUrl::FullyEncoded);
    EXPECT_EQ(GetImages("See ///image=fig.gif/// now", folder), "See <br> <img src ='" + src + "'><br> now");
    EXPECT_EQ(GetImages("See ///images/sub/fig.gif///", folder).count("<img"), 1);
    EXPECT_EQ(GetImages("A ///bold/// word", folder), "A bold word");
    EXPECT_EQ(GetImages("plain\r\ntext", folder), "plain\r\ntext");
    EXPECT_EQ(GetImages("", folder), "");
}

} // namespace
