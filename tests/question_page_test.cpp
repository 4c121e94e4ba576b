#include "exam/AnswerPages.h"
#include "exam/ChoiceOrder.h"
#include "exam/PageLock.h"
#include "exam/QuestionPage.h"
#include "exam/VerdictNote.h"
#include "foundation/ExamBank.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ImageBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <stdexcept>
#include <vector>

// Readable texts in failed expectations.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

enum { MultipleChoice = 1, Essay = 2, FillIn = 3, Interactive = 4 };
enum { OrderedList = 1, Tree = 2, SelectAndPlace = 3 };

// A bank in a temporary folder, a program folder with a blank in its name,
// and the inputs the window hands the builder.
class QuestionPageTest : public ::testing::Test {
protected:
    ExamBankFixture fixture;
    ExamBank bank{fixture.conn()};
    QTemporaryDir programDir;
    QString programFolder = QDir(programDir.path()).filePath(QStringLiteral("Ziduver program"));

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(programFolder)); }

    QString examFolder() const { return QFileInfo(fixture.path()).absolutePath(); }
    void writeImage(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(examFolder() + QStringLiteral("/images"));
        QFile file(examFolder() + QStringLiteral("/images/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString imageUrl(const QString& name) const
    {
        return page_address::forFile(examFolder() + QStringLiteral("/images/") + name).toString(QUrl::FullyEncoded);
    }

    PageInputs inputs(int code, const QString& recorded = QString(), bool showAnswer = false, bool review = false,
                      int variant = 0)
    {
        PageInputs in;
        in.questCode = code;
        in.head = bank.questionHead(code).value();
        in.recordedAnswer = recorded;
        in.choiceOrder = variant;
        in.showAnswer = showAnswer;
        in.reviewMode = review;
        in.fontName = QStringLiteral("Verdana");
        in.fontSize = 12;
        in.examDbPath = fixture.path();
        in.programFolder = programFolder;
        return in;
    }
    BuiltPage build(int code, const QString& recorded = QString(), bool showAnswer = false, bool review = false,
                    int variant = 0)
    {
        return buildQuestionPage(bank, inputs(code, recorded, showAnswer, review, variant));
    }
};

const QString kFont = QStringLiteral("Style = \"font-family: Verdana; font-size:14px\"");
// The page font on list tags of an exam's text, as the sanitizer writes it out.
const QString kListFont = QStringLiteral("style=\"font-family: Verdana; font-size: 14px;\"");

// The part of a page between its body's first paragraph and its end.
QString bodyOf(const QString& html)
{
    const QString open = QStringLiteral("<p ") + kFont + QLatin1Char('>');
    const qsizetype start = html.indexOf(open);
    const qsizetype end = html.lastIndexOf(QStringLiteral("</p></body></html>"));
    if (start < 0 || end < 0)
        return QStringLiteral("<no body>");
    return html.mid(start + open.size(), end - start - open.size());
}

// The values of the choice inputs in page order.
std::vector<int> shownChoices(const QString& html)
{
    static const QRegularExpression input(QStringLiteral("name=\"menu\" value=(\\d+)"));
    std::vector<int> values;
    for (const QRegularExpressionMatch& m : input.globalMatch(html))
        values.push_back(m.captured(1).toInt());
    return values;
}

// The options of a select list: (value, text) in order.
std::vector<std::pair<QString, QString>> options(const QString& html, const QString& list)
{
    const qsizetype start = html.indexOf(QStringLiteral("name=\"%1\"").arg(list));
    const qsizetype end = html.indexOf(QStringLiteral("</select>"), start);
    if (start < 0)
        return {};
    static const QRegularExpression option(QStringLiteral("<option value=(\\w+)>(.*?)</option>"));
    std::vector<std::pair<QString, QString>> found;
    for (const QRegularExpressionMatch& m : option.globalMatch(html.mid(start, end < 0 ? -1 : end - start)))
        found.emplace_back(m.captured(1), m.captured(2));
    return found;
}

using Options = std::vector<std::pair<QString, QString>>;

} // namespace

// ---- choice orders ------------------------------------------------------

TEST(ChoiceOrder, EachVariantListsTheSequenceNumbersInItsOrder)
{
    struct Case {
        int variant;
        int choices; // sequence numbers 1..choices
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        {0, 7, {1, 2, 3, 4, 5, 6, 7}},
        {1, 7, {2, 1, 3, 4, 7, 5, 6}},
        {2, 7, {3, 1, 2, 4, 5, 7, 6}},
        {3, 7, {4, 2, 3, 5, 1, 7, 6}},
        {4, 7, {5, 3, 1, 7, 2, 6, 4}},
        {-1, 7, {5, 3, 1, 7, 2, 6, 4}},
        {99, 7, {5, 3, 1, 7, 2, 6, 4}},
        {0, 3, {1, 2, 3}},
        {1, 3, {2, 1, 3}},
        {2, 3, {3, 1, 2}},
        {3, 3, {2, 3, 1}},
        {7, 3, {3, 1, 2}},
        {3, 5, {4, 2, 3, 5, 1}},
    };
    for (const Case& c : cases) {
        std::vector<ExamBank::Choice> choices;
        for (int seq = 1; seq <= c.choices; ++seq)
            choices.push_back({seq, QStringLiteral("c%1").arg(seq), false});
        std::vector<int> listed;
        for (const ExamBank::Choice& choice : orderChoices(choices, screenChoiceOrder(c.variant)))
            listed.push_back(choice.seq);
        EXPECT_EQ(listed, c.expected) << "variant " << c.variant << ", " << c.choices << " choices";
    }
}

TEST(ChoiceOrder, OnlySequenceNumbersOneToSevenAreListed)
{
    const std::vector<ExamBank::Choice> choices = {
        {0, "zero", true}, {1, "one", false}, {2, "two", false}, {8, "eight", true}, {-1, "minus", false}};
    for (int variant : {0, 1, 2, 3, 4}) {
        std::vector<int> listed;
        for (const ExamBank::Choice& choice : orderChoices(choices, screenChoiceOrder(variant)))
            listed.push_back(choice.seq);
        EXPECT_EQ(std::set<int>(listed.begin(), listed.end()), (std::set<int>{1, 2})) << "variant " << variant;
    }
}

TEST(ChoiceOrder, OnlyTheFifthOrderListsEqualChoicesOnce)
{
    const std::vector<ExamBank::Choice> choices = {
        {1, "same", true}, {1, "same", true}, {1, "Same", true}, {1, "same", false}, {2, "b", false}};
    EXPECT_EQ(orderChoices(choices, screenChoiceOrder(0)).size(), 5u);
    EXPECT_EQ(orderChoices(choices, screenChoiceOrder(3)).size(), 5u);
    const std::vector<ExamBank::Choice> fifth = orderChoices(choices, screenChoiceOrder(9));
    ASSERT_EQ(fifth.size(), 4u); // only the exact copy goes
    EXPECT_EQ(fifth[0].text, "same");
    EXPECT_EQ(fifth[1].text, "Same");
    EXPECT_FALSE(fifth[2].right);
    EXPECT_EQ(fifth[3].seq, 2);
}

TEST_F(QuestionPageTest, ThePageListsTheBanksChoicesInTheRowsOrder)
{
    fixture.shownQuestion(1, MultipleChoice, 0, QStringLiteral("Pick"));
    fixture.choice(1, 3, "three", false).choice(1, 1, "one", true).choice(1, 2, "two", false);
    fixture.choice(1, 0, "zero", true).choice(1, 8, "eight", false);
    EXPECT_EQ(shownChoices(build(1, {}, false, false, 3).html), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(shownChoices(build(1, {}, false, false, 0).html), (std::vector<int>{1, 2, 3}));
    // The right answer names every right choice, listed or not.
    EXPECT_EQ(build(1).rightAnswer, "0, 1, ");
}

// ---- multiple choice ----------------------------------------------------

TEST_F(QuestionPageTest, ChoiceRowsAreTickedAndRedPerWindowState)
{
    fixture.shownQuestion(1, MultipleChoice, 0, QStringLiteral("Pick two"));
    fixture.choice(1, 1, "one", true).choice(1, 2, "two", false).choice(1, 3, "three", true);
    struct Case {
        const char* name;
        QString recorded;
        bool show;
        bool review;
        std::set<int> ticked;
        std::set<int> red;
        QString pageAnswer;
    };
    const std::vector<Case> cases = {
        {"answering, nothing recorded", "", false, false, {}, {}, ""},
        {"answering, recorded answer ticked again", "2,3,", false, false, {2, 3}, {}, "2, 3, "},
        {"answering, blanks in the recorded answer", " 3 , 2,", false, false, {2, 3}, {}, "2, 3, "},
        {"answering, the right answer shown", "2,", true, false, {1, 3}, {}, "1, 3, "},
        {"review: the user's choices red", "2,3,", false, true, {2, 3}, {2, 3}, "2, 3, "},
        {"review, answer shown: right ones ticked too", "2,3,", true, true, {1, 2, 3}, {2, 3}, "2, 3, "},
        {"review, nothing recorded", "", false, true, {}, {}, ""},
        {"a field not ended by a comma is not a choice", "2,3", false, false, {2}, {}, "2, "},
    };
    static const QRegularExpression row(QStringLiteral(
        "<input type=\"checkbox\" name=\"menu\" value=(\\d) onClick=\"do1\\(\\);\"( checked)?></td>(<td [^>]*> <FONT "
        "COLOR=red>|<td [^>]*>)([^<]*)<br>(</font>)?</td></tr></table>"));
    for (const Case& c : cases) {
        const BuiltPage page = build(1, c.recorded, c.show, c.review);
        std::set<int> ticked, red;
        int rows = 0;
        for (const QRegularExpressionMatch& m : row.globalMatch(page.html)) {
            ++rows;
            const bool isRed = m.captured(3).contains(QLatin1String("red"));
            EXPECT_EQ(isRed, !m.captured(5).isEmpty()) << c.name;
            if (!m.captured(2).isEmpty())
                ticked.insert(m.captured(1).toInt());
            if (isRed)
                red.insert(m.captured(1).toInt());
        }
        EXPECT_EQ(rows, 3) << c.name;
        EXPECT_EQ(ticked, c.ticked) << c.name;
        EXPECT_EQ(red, c.red) << c.name;
        EXPECT_EQ(page.pageAnswer, c.pageAnswer) << c.name;
        EXPECT_EQ(page.rightAnswer, "1, 3, ") << c.name;
    }
}

TEST_F(QuestionPageTest, OneRightChoiceGivesRadioButtonsUnderLettersAfterTheText)
{
    fixture.shownQuestion(1, MultipleChoice, 0, QStringLiteral("Capital of France?"));
    fixture.choice(1, 1, "Paris", true).choice(1, 2, "Rome", false);
    const BuiltPage page = build(1, QStringLiteral("1,"));
    EXPECT_EQ(bodyOf(page.html),
              "Capital of France?<br><br><br>A<table><tr><td " + kFont
                  + " valign=\"top\"><input type=\"radio\" name=\"menu\" value=1 onClick=\"do1();\" checked></td><td "
                  + kFont + ">Paris<br></td></tr></table>B<table><tr><td " + kFont
                  + " valign=\"top\"><input type=\"radio\" name=\"menu\" value=2 onClick=\"do1();\"></td><td " + kFont
                  + ">Rome<br></td></tr></table>");
    EXPECT_TRUE(page.html.contains("<body " + kFont + " onKeypress=\"test()\" topmargin=0>"));
}

TEST_F(QuestionPageTest, AChoiceQuestionWithoutChoicesKeepsTheRecordedAnswer)
{
    fixture.shownQuestion(1, MultipleChoice, 0, QStringLiteral("Nothing to pick"));
    const BuiltPage page = build(1, QStringLiteral("2,"));
    EXPECT_EQ(bodyOf(page.html), "Nothing to pick<br><br><br>");
    EXPECT_EQ(page.pageAnswer, "2,");
}

TEST_F(QuestionPageTest, AnEighthListedChoiceIsAnError)
{
    fixture.shownQuestion(1, MultipleChoice, 0, QStringLiteral("Too many"));
    for (int seq = 1; seq <= 7; ++seq)
        fixture.choice(1, seq, QStringLiteral("c%1").arg(seq), seq == 1);
    fixture.choice(1, 4, "again", false);
    EXPECT_THROW(build(1), std::runtime_error);
}

TEST(AnswerListsChoice, CommaEndedFieldsCount)
{
    EXPECT_TRUE(answerListsChoice(QStringLiteral("1, 3, "), 3));
    EXPECT_TRUE(answerListsChoice(QStringLiteral(" 3 ,"), 3));
    EXPECT_FALSE(answerListsChoice(QStringLiteral("11, "), 1));
    EXPECT_FALSE(answerListsChoice(QStringLiteral("1,3"), 3));
    EXPECT_FALSE(answerListsChoice(QString(), 1));
}

// ---- choice text ----------------------------------------------------------

TEST_F(QuestionPageTest, ChoiceTextRules)
{
    writeImage(QStringLiteral("Pic.GIF"), gif(32, 16));
    PageStyle style;
    style.fontName = QStringLiteral("Verdana");
    style.fontPx = 14;
    style.examFolder = examFolder();
    const QString li = QStringLiteral("<li ") + kListFont;
    struct Case {
        const char* name;
        QString text;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"plain text gets a break", "x", "x<br>"},
        {"a closing <BR> gets none", "x<BR>", "x<br>"},
        {"nor a closing <br>", "x<br>", "x<br>"},
        {"trailing blanks and line ends are cut", "x <BR> \r\n\t", "x <br>"},
        {"CR LF becomes <BR>", "a\r\nb", "a<br>b<br>"},
        {"image marker", "x///image=pic.gif///y",
         "x <img src=\"" + imageUrl("Pic.GIF") + "\" height=\"16\" width=\"32\"><br>y<br>"},
        {"a missing picture is left out", "///image=none.gif///", " <br>"},
        {"a marker without image loses its delimiters", "a///note///b", "anoteb<br>"},
        {"list items in the page font", "<UL>\r\n\r\n<LI>a</LI>\r\n\r\n</UL>",
         "<ul>" + li + ">a</li></ul> <p " + kListFont + "><br></p>"},
        {"lower-case tags stay", "<ul><li>a</li></ul>", "<ul><li>a</li></ul><br>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatChoiceText(c.text, style), c.expected) << c.name;
}

TEST(TextRules, TrimTrailingControlCharsAndConvertLineBreaks)
{
    EXPECT_EQ(TrimTrailingControlChars(QStringLiteral(" ab \t\r\n\x01")), " ab");
    EXPECT_EQ(TrimTrailingControlChars(QStringLiteral(" \r\n ")), "");
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral("a\r\nb\nc\rd")), "a<BR>b\nc\rd");
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral("a\r\n<PRE>x\r\ny</PRE>\r\nb")), "a<BR><PRE>x\r\ny</PRE><BR>b");
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral("a\r\n<PRE>x\r\ny")), "a<BR><PRE>x\r\ny");
    EXPECT_EQ(ConvertLineBreaks(QStringLiteral("<pre>x\r\ny</pre>")), "<pre>x<BR>y</pre>");
}

// ---- the page frame -----------------------------------------------------------

TEST_F(QuestionPageTest, ThePageFrameHeadAndScript)
{
    fixture.shownQuestion(1, Interactive, 9, QStringLiteral("  Look  "));
    const QString src = page_address::forFile(QDir(programFolder).absoluteFilePath(QStringLiteral("interactive.js")))
                            .toString(QUrl::FullyEncoded);
    ASSERT_TRUE(src.startsWith(QLatin1String("ziduver://files/")));
    ASSERT_TRUE(src.contains(QLatin1String("Ziduver%20program")));

    const BuiltPage plain = build(1, QStringLiteral("kept"));
    EXPECT_EQ(plain.html,
              "<html><HEAD> <script language=\"javascript\" src=\"" + src
                  + "\" > </script></HEAD> <body " + kFont + "  topmargin=0><p " + kFont + ">Look<br></p></body></html>");
    EXPECT_EQ(plain.pageAnswer, "kept");
    EXPECT_FALSE(plain.treePage);

    PageInputs in = inputs(1);
    in.blockRightClick = true;
    const QString blocked = buildQuestionPage(bank, in).html;
    EXPECT_TRUE(blocked.startsWith("<html><HEAD> <script language=\"javascript\" src=\"" + src
                                   + "\";></script><script> function right(e) {"));
    EXPECT_TRUE(blocked.contains(QLatin1String("alert(\"Sorry, you don't have permission to do this.\")")));
    EXPECT_TRUE(blocked.contains("window.onmousedown=right;window.onmouseup=right;</script></HEAD> <body " + kFont
                                 + "   ondragstart=\"return false\" onselectstart=\" return false\" topmargin=0><p "));
    EXPECT_FALSE(plain.html.contains(QLatin1String("ondragstart")));
}

TEST_F(QuestionPageTest, QuestionTextRules)
{
    writeImage(QStringLiteral("fig1.gif"), gif(320, 200));
    writeImage(QStringLiteral("broken.gif"), QByteArray("not a picture"));
    const QString li = QStringLiteral("<li ") + kListFont;
    struct Case {
        const char* name;
        QString text;
        QString body;
    };
    const std::vector<Case> cases = {
        {"a closing <br> gets no other", "Text<br>", "Text<br>"},
        {"a closing <BR> neither", "Text<BR>", "Text<br>"},
        {"image between two words", "Look ///image=FIG1.gif/// here",
         "Look <br> <img src=\"" + imageUrl("fig1.gif") + "\" height=\"200\" width=\"320\"><br> here<br>"},
        {"a missing picture is left out", "///image=gone.gif///", "<br> <br>"},
        {"an unrecognised image is unsized", "///image=broken.gif///",
         "<br> <img src=\"" + imageUrl("broken.gif") + "\"><br>"},
        {"an unclosed marker only loses its opening", "a///b", "ab<br>"},
        {"line breaks outside <PRE>", "a\r\nb<PRE>c\r\nd</PRE>", "a<br>b<pre>\nc\nd</pre><br>"},
        {"breaks around list items collapse", "<OL>\r\n\r\n<LI>a</LI>\r\n\r\n<LI>b</LI></OL>",
         "<ol>" + li + ">a</li>" + li + ">b</li></ol> <p " + kListFont + "><br></p>"},
        {"lower-case list tags stay; cells of either spelling take the page font",
         "<ul><li>a</li></ul><TABLE><TR><TD>x</TD></TR></TABLE>",
         "<ul><li>a</li></ul><table><tbody><tr><td " + kFont + ">x</td></tr></tbody></table><br>"},
        {"cells in the page font", "<table><tr><td>x</td></tr></table>",
         "<table><tbody><tr><td " + kFont + ">x</td></tr></tbody></table><br>"},
        {"a cell keeps its own style beside the page font",
         "<TABLE><TR><TD STYLE='color:red' align=right>x</TD><td style=\"\">y</td></TR></TABLE>",
         "<table><tbody><tr><td Style = \"color: red; font-family: Verdana; font-size:14px\" align=\"right\">x</td>"
         "<td "
             + kFont + ">y</td></tr></tbody></table><br>"},
        {"blanks cut at both ends", "  x  \r\n", "x<br>"},
    };
    int code = 100;
    for (const Case& c : cases) {
        fixture.shownQuestion(++code, 7, 0, c.text);
        EXPECT_EQ(bodyOf(build(code).html), c.body) << c.name;
    }
}

// ---- essay ------------------------------------------------------------------

TEST_F(QuestionPageTest, EssayPageShowsTheTextEscapedOrTheModelAnswer)
{
    fixture.shownQuestion(1, Essay, 0, QStringLiteral("Explain"), QStringLiteral("Model \"answer\" & more"));
    const QString open = QStringLiteral("<br><br><br><form name=\"myForm\"><textarea cols = 100 rows=15 name=\"ta\" "
                                        "onMouseUp = \"SaveText()\" onKeyUp = \"SaveText()\" onBlur=\"SaveText()\">");
    const QString close = QStringLiteral("</textarea> <script> document.myForm.ta.focus();</script></form>");
    struct Case {
        const char* name;
        QString recorded;
        bool show;
        bool review;
        QString content;
        QString rightAnswer;
    };
    const std::vector<Case> cases = {
        {"nothing written", "", false, false, "", ""},
        {"never answered: the list's single blank", " ", false, false, "", ""},
        {"the recorded essay", "It's \"so\"", false, false, "It's &quot;so&quot;", ""},
        {"a closing tag and a script stay text", "a</textarea><script>alert(1)</script>", false, false,
         "a&lt;/textarea&gt;&lt;script&gt;alert(1)&lt;/script&gt;", ""},
        {"a leading line break is kept", "\nsecond line", false, false, "\n\nsecond line", ""},
        {"review shows the essay", "mine", false, true, "mine", ""},
        {"the model answer shown", "mine", true, false, "Model &quot;answer&quot; &amp; more",
         "Model \"answer\" & more"},
    };
    for (const Case& c : cases) {
        const BuiltPage page = build(1, c.recorded, c.show, c.review);
        // A review page ends with the lock that keeps it from taking input.
        EXPECT_EQ(bodyOf(page.html), "Explain" + open + c.content + close + (c.review ? pageLockElement() : QString()))
            << c.name;
        EXPECT_EQ(page.pageAnswer, "") << c.name;
        EXPECT_EQ(page.rightAnswer, c.rightAnswer) << c.name;
    }
}

// ---- fill in the blank ---------------------------------------------------------

TEST_F(QuestionPageTest, FillInBoxesTakeTheRecordedFieldsOrTheAcceptedTexts)
{
    fixture.shownQuestion(1, FillIn, 0, QStringLiteral("Fill"));
    fixture.writer().addFillAnswer(1, QStringLiteral("Paris|Lutetia"));
    fixture.writer().addFillAnswer(1, QStringLiteral("Rome"));
    fixture.writer().addFillAnswer(1, QStringLiteral("O'Neil \"Jr\"|Other"));
    const QString handlers =
        QStringLiteral("onMouseUp = \"SaveFillText()\" onKeyUp = \"SaveFillText()\" onBlur=\"SaveFillText()\"");
    const QString answering = QStringLiteral("<input type=text name = txtFill width=100 ") + handlers + " value=";
    const auto shown = [&](const QString& value) {
        return "<input type=text name = txtFill width=100 value= '" + value + "' " + handlers + "><br>";
    };
    struct Case {
        const char* name;
        QString recorded;
        bool show;
        bool review;
        QString boxes;
        QString pageAnswer;
        QString rightAnswer;
    };
    const std::vector<Case> cases = {
        {"nothing recorded", "", false, false, answering + "''><br>" + answering + "''><br>" + answering + "''><br>",
         "", ""},
        {"fewer recorded fields than blanks", "Par|", false, false,
         answering + "'Par'><br>" + answering + "\"\"><br>" + answering + "''><br>", "Par|", ""},
        {"quotes in the user's answer", "it's| \"x\" |", false, true,
         answering + "'it&#39;s'><br>" + answering + "' &quot;x&quot; '><br>" + answering + "\"\"><br>",
         "it's| \"x\" |", ""},
        {"the accepted texts shown", "wrong|", true, false,
         shown("Paris") + shown("Rome") + shown("O&#39;Neil &quot;Jr&quot;"), "Paris|Rome|O'Neil \"Jr\"|",
         "O'Neil \"Jr\""},
    };
    const QString focus = QStringLiteral("<script> if (document.myForm.txtFill) {if (document.myForm.txtFill.length > "
                                         "0) {document.myForm.txtFill[0].focus();} else{document.myForm.txtFill."
                                         "focus();}} </script></form>");
    for (const Case& c : cases) {
        const BuiltPage page = build(1, c.recorded, c.show, c.review);
        EXPECT_EQ(bodyOf(page.html),
                  "Fill<br><br><br><form name=\"myForm\">" + c.boxes + focus
                      + (c.review ? pageLockElement() : QString()))
            << c.name;
        EXPECT_EQ(page.pageAnswer, c.pageAnswer) << c.name;
        EXPECT_EQ(page.rightAnswer, c.rightAnswer) << c.name;
        EXPECT_FALSE(page.html.contains(QLatin1String("txtFill(0)"))) << c.name;
    }
}

TEST_F(QuestionPageTest, AFillInQuestionWithoutBlanksGetsTheGuardedFormOnly)
{
    fixture.shownQuestion(1, FillIn, 0, QStringLiteral("Fill"));
    const BuiltPage page = build(1, QStringLiteral("x|"), true);
    EXPECT_EQ(bodyOf(page.html),
              "Fill<br><br><br><form name=\"myForm\"><script> if (document.myForm.txtFill) {if "
              "(document.myForm.txtFill.length > 0) {document.myForm.txtFill[0].focus();} "
              "else{document.myForm.txtFill.focus();}} </script></form>");
    EXPECT_EQ(page.pageAnswer, "x|");
}

// ---- select and place and ordered list ----------------------------------------------

TEST_F(QuestionPageTest, SelectAndPlaceListsAndPresets)
{
    fixture.shownQuestion(1, Interactive, SelectAndPlace, QStringLiteral("Place"));
    fixture.writer().addInteractiveRow({1, "alpha", 1, "beta", 1, std::nullopt});
    fixture.writer().addInteractiveRow({1, "it's", 2, "\"q\" <b>", 2, std::nullopt});
    fixture.writer().addInteractiveAnswer({1, "", 0, "beta", 0});
    fixture.writer().addInteractiveAnswer({1, "", 0, "", 0});
    fixture.writer().addInteractiveAnswer({1, "", 0, "it's", 0});
    struct Case {
        const char* name;
        QString recorded;
        bool show;
        Options placed;
        Options second;
        QString pageAnswer;
    };
    const std::vector<Case> cases = {
        {"nothing placed", "", false, {}, {{"vv2", "beta"}, {"vv3", "&quot;q&quot; &lt;b&gt;"}}, ""},
        {"the recorded places",
         "alpha, ,\"q\" <b>",
         false,
         {{"vvv0", "alpha"}, {"vvv2", "&quot;q&quot; &lt;b&gt;"}},
         {{"vv2", "beta"}, {"vv3", "&quot;q&quot; &lt;b&gt;"}},
         "alpha, ,\"q\" <b>"},
        {"the right answer shown",
         "alpha",
         true,
         {{"vvv0", "beta"}, {"vvv1", "it&#39;s"}},
         {{"vv2", "beta"}, {"vv3", "&quot;q&quot; &lt;b&gt;"}},
         "beta,it's"},
    };
    for (const Case& c : cases) {
        const BuiltPage page = build(1, c.recorded, c.show);
        EXPECT_EQ(options(page.html, "D1"), (Options{{"v0", "alpha"}, {"v1", "it&#39;s"}})) << c.name;
        EXPECT_EQ(options(page.html, "D3"), c.placed) << c.name;
        EXPECT_EQ(options(page.html, "D2"), c.second) << c.name;
        EXPECT_EQ(page.pageAnswer, c.pageAnswer) << c.name;
        EXPECT_TRUE(page.html.contains(QLatin1String("<style type=\"text/css\"> <!-- .Sbutton {  font-family:Verdana; "
                                                     "font-size: 14px; width: 100%; height: 24em;")))
            << c.name;
        EXPECT_TRUE(page.html.contains("</style><body " + kFont + " onKeypress=\"test()\" topmargin=0>")) << c.name;
        EXPECT_TRUE(page.html.contains(QLatin1String("name=\"B1\" OnClick=\"Add();\""))) << c.name;
    }
}

TEST_F(QuestionPageTest, SelectAndPlaceWithoutItemsClosesTheTable)
{
    fixture.shownQuestion(1, Interactive, SelectAndPlace, QStringLiteral("Place"));
    const BuiltPage page = build(1, QStringLiteral("a,b"), true);
    EXPECT_TRUE(bodyOf(page.html).endsWith(
        QLatin1String("<select size=\"20\" name=\"D1\" class=\"Sbutton\"></select></td></tr></table></form>")));
    EXPECT_EQ(page.pageAnswer, "a,b");
}

TEST_F(QuestionPageTest, OrderedListListsAndPresets)
{
    fixture.shownQuestion(1, Interactive, OrderedList, QStringLiteral("Order"));
    fixture.writer().addInteractiveRow({1, "Two", 1, "One", 1, std::nullopt});
    fixture.writer().addInteractiveRow({1, "Say \"hi\"", 2, "", 2, std::nullopt});
    fixture.writer().addInteractiveRow({1, "One", 3, "Two's", 3, std::nullopt});
    struct Case {
        const char* name;
        QString recorded;
        bool show;
        bool review;
        Options answer;
        QString pageAnswer;
    };
    const std::vector<Case> cases = {
        {"nothing ordered", "", false, false, {}, ""},
        {"the recorded order",
         "One,Say \"hi\"",
         false,
         false,
         {{"vvv0", "One"}, {"vvv1", "Say &quot;hi&quot;"}},
         "One,Say \"hi\""},
        {"review shows the recorded order", "Two", false, true, {{"vvv0", "Two"}}, "Two"},
        {"the right order shown", "Two", true, false, {{"vvv0", "One"}, {"vvv1", "Two&#39;s"}}, "One,Two's"},
    };
    for (const Case& c : cases) {
        const BuiltPage page = build(1, c.recorded, c.show, c.review);
        EXPECT_EQ(options(page.html, "D2"), (Options{{"v0", "Two"}, {"v1", "Say &quot;hi&quot;"}, {"v2", "One"}}))
            << c.name;
        EXPECT_EQ(options(page.html, "D3"), c.answer) << c.name;
        EXPECT_EQ(page.pageAnswer, c.pageAnswer) << c.name;
        EXPECT_TRUE(page.html.contains(QLatin1String("OnClick=\"Add1();\""))) << c.name;
        EXPECT_TRUE(page.html.contains(QLatin1String("OnClick=\"MoveDown();\">"))) << c.name;
    }
}

// Both list pages: the offered list, "Add >>" and Remove, then the answer
// list on its right (select and place: the places beside it); the lists share
// the page width beside the buttons' cell (a table of fixed layout), none has
// a width of its own.
TEST_F(QuestionPageTest, ListPagesMoveItemsRightwardsIntoAnAnswerListOfFreeWidth)
{
    fixture.shownQuestion(1, Interactive, SelectAndPlace, QStringLiteral("Place"));
    fixture.writer().addInteractiveRow({1, "alpha", 1, "The first place, with a long description", 1, std::nullopt});
    fixture.shownQuestion(2, Interactive, OrderedList, QStringLiteral("Order"));
    fixture.writer().addInteractiveRow({2, "The units of the default target are started", 1, "x", 1, std::nullopt});
    const struct {
        int code;
        std::vector<const char*> order;
    } cases[] = {
        {1,
         {"name=\"D1\"", "value=\" Add  >>  \" name=\"B1\" OnClick=\"Add();\"", "OnClick=\"Remove();\"", "name=\"D3\"",
          "name=\"D2\""}},
        {2,
         {"name=\"D2\"", "value=\" Add  >>  \" name=\"B1\" OnClick=\"Add1();\"", "OnClick=\"Remove();\"",
          "OnClick=\"MoveUp();\"", "OnClick=\"MoveDown();\"", "name=\"D3\""}},
    };
    for (const auto& c : cases) {
        for (const bool show : {false, true}) {
            SCOPED_TRACE(c.code * 10 + int(show));
            const QString html = build(c.code, QString(), show).html;
            qsizetype at = 0;
            for (const char* part : c.order) {
                const qsizetype found = html.indexOf(QLatin1String(part), at);
                EXPECT_GE(found, 0) << part << " in its place";
                at = std::max(found, at);
            }
            EXPECT_FALSE(html.contains(QLatin1String("<< Add")));
            EXPECT_FALSE(html.contains(QLatin1String("width:350")));
            EXPECT_TRUE(html.contains(QLatin1String("table.Lists { table-layout: fixed; width: 100%; }")));
            EXPECT_TRUE(html.contains(QLatin1String("<table class=\"Lists\"")));
            EXPECT_EQ(html.count(QLatin1String("class=\"Buttons\"")), 1);
        }
    }
}

// Review records nothing: its pages are built locked, every other page is
// not.
TEST_F(QuestionPageTest, ReviewPagesAreBuiltLocked)
{
    fixture.shownQuestion(1, MultipleChoice, 0, QStringLiteral("Pick"));
    fixture.choice(1, 1, "one", true).choice(1, 2, "two", false);
    fixture.shownQuestion(2, Essay, 0, QStringLiteral("Write"), QStringLiteral("model"));
    fixture.shownQuestion(3, Interactive, Tree, QStringLiteral("Sort"));
    fixture.writer().addInteractiveRow({3, "Fruit", 1, "Apple", 1, QStringLiteral("Things")});
    const QString lock = pageLockElement();
    for (const int code : {1, 2}) {
        for (const bool show : {false, true}) {
            EXPECT_TRUE(build(code, QString(), show, true).html.contains(lock)) << code;
            EXPECT_FALSE(build(code, QString(), show, false).html.contains(lock)) << code;
        }
    }
    EXPECT_TRUE(build(3, QString(), false, true).leftHtm.contains(lock));
    EXPECT_FALSE(build(3, QString(), false, false).leftHtm.contains(lock));
}

// With one right answer the choices are option buttons, which show a single
// tick: review with the answer shown ticks and marks the right choice, and
// the user's other choice keeps its red text without a tick.
TEST_F(QuestionPageTest, ReviewShowsTheRightChoiceMarkedOnOptionButtonsAndCheckBoxes)
{
    fixture.shownQuestion(1, MultipleChoice, 0, QStringLiteral("Pick one"));
    fixture.choice(1, 1, "one", false).choice(1, 2, "two", true).choice(1, 3, "three", false);
    fixture.shownQuestion(2, MultipleChoice, 0, QStringLiteral("Pick two"));
    fixture.choice(2, 1, "one", true).choice(2, 2, "two", false).choice(2, 3, "three", true);
    static const QRegularExpression row(QStringLiteral(
        "<table( style=\"[^\"]*\")?><tr><td [^>]*><input type=\"(radio|checkbox)\" name=\"menu\" value=(\\d) "
        "onClick=\"do1\\(\\);\"( checked)?></td>(<td [^>]*> <FONT COLOR=red>|<td [^>]*>)"));
    struct Case {
        const char* name;
        int code;
        QString recorded;
        bool show, review;
        std::set<int> ticked, red, marked;
    };
    const Case cases[] = {
        {"one answer, not shown: the user's tick", 1, "1,", false, true, {1}, {1}, {}},
        {"one answer, shown: the right tick", 1, "1,", true, true, {2}, {1}, {2}},
        {"one answer, right and shown", 1, "2,", true, true, {2}, {2}, {2}},
        {"two answers, shown: both ticks and marks", 2, "2,", true, true, {1, 2, 3}, {2}, {1, 3}},
        {"answering, shown: no marks", 1, "1,", true, false, {2}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString html = build(c.code, c.recorded, c.show, c.review).html;
        std::set<int> ticked, red, marked;
        for (const QRegularExpressionMatch& m : row.globalMatch(html)) {
            const int value = m.captured(3).toInt();
            if (!m.captured(4).isEmpty())
                ticked.insert(value);
            if (m.captured(5).contains(QLatin1String("red")))
                red.insert(value);
            if (!m.captured(1).isEmpty())
                marked.insert(value);
        }
        EXPECT_EQ(ticked, c.ticked);
        EXPECT_EQ(red, c.red);
        EXPECT_EQ(marked, c.marked);
    }
}

// ---- tree -----------------------------------------------------------------------

// Once the right answer was shown on this visit, the page says in one line
// at its top that the question keeps its earlier verdict: shown or hidden
// again, every question type; never in review or on a later visit.
TEST_F(QuestionPageTest, APageWhoseAnswerWasShownSaysTheVerdictStands)
{
    fixture.shownQuestion(1, MultipleChoice, 0, QStringLiteral("Pick"));
    fixture.choice(1, 1, "one", true).choice(1, 2, "two", false);
    fixture.shownQuestion(2, FillIn, 0, QStringLiteral("Capital?"));
    fixture.shownQuestion(3, Interactive, OrderedList, QStringLiteral("Order"));
    fixture.writer().addInteractiveRow({3, "a", 1, "a", 1, std::nullopt});
    fixture.shownQuestion(4, Interactive, Tree, QStringLiteral("Sort"));
    fixture.writer().addInteractiveRow({4, "Fruit", 1, "Apple", 1, QStringLiteral("Things")});
    for (const int code : {1, 2, 3, 4}) {
        for (const bool show : {true, false}) {
            SCOPED_TRACE(code * 10 + int(show));
            PageInputs in = inputs(code, QString(), show);
            in.verdictKept = true;
            const BuiltPage page = buildQuestionPage(bank, in);
            const QString shown = page.treePage ? page.questionHtm : page.html;
            EXPECT_EQ(shown.count(verdictKeptText()), 1);
            const char* const questions[] = {"", "Pick", "Capital?", "Order", "Sort"};
            EXPECT_LT(shown.indexOf(verdictKeptText()), shown.indexOf(QLatin1String(questions[code])))
                << "above the question";
            EXPECT_FALSE(build(code, QString(), show).html.contains(verdictKeptText()));
            EXPECT_FALSE(build(code, QString(), show).questionHtm.contains(verdictKeptText()));
        }
    }
    EXPECT_EQ(verdictKeptText(), "The answer was shown: this question keeps its earlier verdict.");

    // Shown on this visit of this question, outside review.
    EXPECT_TRUE(keepsEarlierVerdict(3, 3, false));
    EXPECT_FALSE(keepsEarlierVerdict(3, 3, true)) << "review";
    EXPECT_FALSE(keepsEarlierVerdict(3, 4, false)) << "another question";
    EXPECT_FALSE(keepsEarlierVerdict(0, 0, false)) << "none shown";
}

class TreePageTest : public QuestionPageTest {
protected:
    void SetUp() override
    {
        QuestionPageTest::SetUp();
        fixture.shownQuestion(1, Interactive, Tree, QStringLiteral("Sort \"these\" <b>items</b>"));
        fixture.writer().addInteractiveRow({1, "Fruit", 1, "Apple", 1, QStringLiteral("Things")});
        fixture.writer().addInteractiveRow({1, "Tools", 2, "Saw", 2, QStringLiteral("ignored")});
        fixture.writer().addInteractiveRow({1, "", 0, "Pear", 3, std::nullopt});
        fixture.writer().addInteractiveAnswer({1, "Apple", 1, "", 1});
        fixture.writer().addInteractiveAnswer({1, "Saw", 2, "", 2});
        fixture.writer().addInteractiveAnswer({1, "Pear", 3, "", 1});
    }

    static QString hidden(const QString& page, const QString& name)
    {
        const QRegularExpression input("<input type=\"hidden\" name=\"" + name + "\" value=\"([^\"]*)\"");
        return input.match(page).captured(1);
    }
};

TEST_F(TreePageTest, TheTreeStateStartsBareRecordedOrWithTheRightAnswer)
{
    struct Case {
        const char* name;
        QString recorded;
        bool show;
        QString state;
    };
    const std::vector<Case> cases = {
        {"nothing recorded: the bare nodes", "", false, "Fruit,Tools"},
        {"a blank answer counts as none", "   ", false, "Fruit,Tools"},
        {"the recorded answer", "Fruit#Apple,Tools", false, "Fruit#Apple,Tools"},
        {"a quote in the recorded answer", "Fruit#It's \"x\"", false, "Fruit#It&#39;s &quot;x&quot;"},
        {"the right answer shown", "Fruit#Apple,Tools", true, "Fruit#Apple#Pear,Tools#Saw"},
    };
    for (const Case& c : cases) {
        const BuiltPage page = build(1, c.recorded, c.show);
        EXPECT_TRUE(page.treePage) << c.name;
        EXPECT_TRUE(page.html.isEmpty()) << c.name;
        EXPECT_EQ(hidden(page.leftHtm, "hidRowVal2"), c.state) << c.name;
        EXPECT_EQ(page.pageAnswer, c.recorded) << c.name;
    }
}

TEST_F(TreePageTest, TheTwoFramesCarryTheLeavesRootQuestionAndFont)
{
    const BuiltPage page = build(1);
    const QString body = "<body " + kFont + ">";
    EXPECT_TRUE(page.leftHtm.startsWith("<html><head><style type=\"text/css\"> table.Tree { table-layout: fixed;"));
    EXPECT_TRUE(page.leftHtm.contains("</style></head><script Language=\"javascript\" src=\"new.js\"></script>" + body
                                      + "<form><br><Table class=\"Tree\" cellpadding=4 cellspacing=0"));
    EXPECT_EQ(options(page.leftHtm, "D1"), (Options{{"v1", "Apple"}, {"v2", "Saw"}, {"v3", "Pear"}}));
    EXPECT_EQ(hidden(page.leftHtm, "hidRowVal3"), "Things");
    // Double quotes become single quotes, then the whole text is escaped.
    EXPECT_EQ(hidden(page.leftHtm, "Question"), "Sort &#39;these&#39; &lt;b&gt;items&lt;/b&gt;&lt;br&gt;");
    EXPECT_TRUE(page.leftHtm.contains(
        QLatin1String("<input type=\"hidden\" name=\"qFont\" value=\"<style type=text/css>\r\n<!--\r\n.f {\r\n"
                      "font-family: Verdana;\r\nfont-size: 14px;\r\n}\r\n-->\r\n</style>\">")));
    EXPECT_TRUE(page.leftHtm.endsWith(QLatin1String("\" > </form> </body> </html>")));
    EXPECT_TRUE(page.leftHtm.contains(QLatin1String("onClick=\"MoveNodes()\"")));
    EXPECT_EQ(page.questionHtm, "<html>" + body + "Sort \"these\" <b>items</b><br></body></html>");
}

TEST_F(TreePageTest, TreePagesAreWrittenWithAByteOrderMark)
{
    const BuiltPage page = build(1);
    ASSERT_TRUE(writeTreePages(programFolder, page));
    for (const auto& [name, content] : {std::pair{QStringLiteral("left.htm"), page.leftHtm},
                                        std::pair{QStringLiteral("Question.htm"), page.questionHtm}}) {
        QFile file(QDir(programFolder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF") + content.toUtf8()) << name.toStdString();
    }
    // A second question overwrites them.
    BuiltPage shorter = page;
    shorter.leftHtm = QStringLiteral("x");
    ASSERT_TRUE(writeTreePages(programFolder, shorter));
    QFile left(QDir(programFolder).filePath(QStringLiteral("left.htm")));
    ASSERT_TRUE(left.open(QIODevice::ReadOnly));
    EXPECT_EQ(left.readAll(), QByteArray("\xEF\xBB\xBFx"));

    EXPECT_FALSE(writeTreePages(QDir(programFolder).filePath(QStringLiteral("missing/folder")), page));
}
