#include "platform/pages/HtmlSanitizer.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/PageCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace std::string_view_literals;

namespace {

class HtmlSanitizerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(exam.isValid() && outside.isValid());
        QDir(exam.path()).mkpath(QStringLiteral("images"));
        write(exam.filePath(QStringLiteral("images/pic.png")));
        write(exam.filePath(QStringLiteral("images/Mixed Case.GIF")));
        write(outside.filePath(QStringLiteral("secret.png")));
        QFile::link(outside.filePath(QStringLiteral("secret.png")), exam.filePath(QStringLiteral("images/link.png")));
        rules.examFolder = exam.path();
    }

    static void write(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("GIF89a");
    }

    QString clean(const QString& html) const { return html_sanitizer::fragment(html, rules); }

    PageFaults faultsIn(const QByteArray& html, bool wholeDocument) const
    {
        return checkSanitizedPage(html, wholeDocument, QDir(exam.path()).canonicalPath());
    }

    QString pictureAddress(const QString& relative) const
    {
        return page_address::forFile(QDir(exam.path()).canonicalPath() + QLatin1Char('/') + relative)
            .toString(QUrl::FullyEncoded)
            .toHtmlEscaped();
    }

    QTemporaryDir exam;
    QTemporaryDir outside;
    SanitizeRules rules;
};

struct Hostile {
    const char* name;
    std::string_view html;
    const char* visibleText; // text the reader must still see ("" for none)
};

TEST_F(HtmlSanitizerTest, HostileMarkupKeepsNothingThatRunsOrLoads)
{
    const QString outsidePath = outside.filePath(QStringLiteral("secret.png"));
    const std::string absoluteImg = ("<img src=\"" + outsidePath + "\" alt=abs>").toStdString();
    const std::string fileUrlImg = ("<img src=\"file://" + outsidePath + "\">").toStdString();
    const std::string addressImg = ("<img src=\"ziduver://files" + outsidePath + "\">").toStdString();
    const Hostile cases[] = {
        {"script", "a<script>alert(1)</script>b", "ab"},
        {"script upper case", "<SCRIPT SRC=//x.test/x.js></SCRIPT>ok", "ok"},
        {"event handler", "<b onclick=alert(1) OnMouseOver='x()'>bold</b>", "bold"},
        {"unquoted handler", "<img src=x onerror=alert(1)>", ""},
        {"javascript link", "<a href=\"javascript:alert(1)\">go</a>", "go"},
        {"entity javascript", "<a href=\"&#106;avascript:alert(1)\">go</a>", "go"},
        {"hex entity tab", "<a href=\"&#x09;javascript:alert(1)\">go</a>", "go"},
        {"split scheme", "<a href=\"java\tscript:alert(1)\">go</a>", "go"},
        {"split scheme entity", "<a href=\"java&#x0A;script:alert(1)\">go</a>", "go"},
        {"leading controls", "<a href=\"\x01\x02 javascript:alert(1)\">go</a>", "go"},
        {"vbscript", "<a href=vbscript:msgbox>go</a>", "go"},
        {"data link", "<a href=\"data:text/html,<script>alert(1)</script>\">go</a>", "go"},
        {"file link", "<a href=\"file:///etc/passwd\">go</a>", "go"},
        {"own scheme link", "<a href=\"ziduver://files/etc/passwd\">go</a>", "go"},
        {"nul bytes", "<scr\0ipt>x</scr\0ipt><a href=\"java\0script:x\" on\0click=alert(1)>go</a>"sv, "go"},
        {"noscript", "<noscript><p title=\"</noscript><img src=x onerror=alert(1)>\"></noscript>after", "after"},
        {"template", "<template><script>alert(1)</script></template>shown", "shown"},
        {"title", "<title><img src=x onerror=alert(1)></title>shown", "shown"},
        {"textarea", "<textarea><img src=x onerror=alert(1)></textarea>shown", "shown"},
        {"svg style", "<svg><style><img src=x onerror=alert(1)></style></svg>shown", "shown"},
        {"math namespace confusion",
         "<math><mtext><table><mglyph><style><img src onerror=alert(1)></style></mglyph></table></mtext></math>shown",
         "shown"},
        {"svg script", "<svg><script>alert(1)</script><a xlink:href=javascript:alert(1)>x</a></svg>shown", "shown"},
        {"unclosed comment", "shown<!--<script>alert(1)</script>", "shown"},
        {"comment trick", "<!--><script>alert(1)</script>-->shown", "-->shown"},
        {"cdata", "<![CDATA[<script>alert(1)</script>]]>shown", "]]>shown"},
        {"unclosed tag", "shown<img src=x onerror=alert(1)//", "shown"},
        {"iframe srcdoc", "<iframe srcdoc=\"<script>alert(1)</script>\"></iframe>shown", "shown"},
        {"meta refresh", "<meta http-equiv=refresh content=\"0;url=http://x.test\">shown", "shown"},
        {"base href", "<base href=\"http://x.test/\">shown", "shown"},
        {"link stylesheet", "<link rel=stylesheet href=\"http://x.test/a.css\">shown", "shown"},
        {"form", "<form action=http://x.test><button formaction=javascript:alert(1)>press</button></form>", "press"},
        {"input", "<input name=txtFill value=x autofocus onfocus=alert(1)>shown", "shown"},
        {"object embed", "<object data=x.swf><embed src=x.swf></object>shown", "shown"},
        {"style url", "<p style=\"background:url(http://x.test/a.png)\">shown</p>", "shown"},
        {"style escaped url", "<p style=\"background:u\\72l(http://x.test/a.png)\">shown</p>", "shown"},
        {"style import", "<style>@import 'http://x.test/a.css';</style>shown", "shown"},
        {"style expression", "<p style=\"width:expression(alert(1))\">shown</p>", "shown"},
        {"style element", "<style>body{background:url(x)}</style>shown", "shown"},
        {"img outside by ..", "<img src=\"../secret.png\" alt=up>", "up"},
        {"img absolute", absoluteImg, "abs"},
        {"img file url", fileUrlImg, ""},
        {"img page address outside", addressImg, ""},
        {"img symbolic link out", "<img src=\"images/link.png\" alt=linked>", "linked"},
        {"img data", "<img src=\"data:image/png;base64,AAAA\" alt=data>", "data"},
        {"img remote", "<img src=\"http://x.test/a.png\" alt=remote>", "remote"},
        {"img srcset", "<img srcset=\"http://x.test/a.png 1x\" alt=set>", "set"},
        {"frameset", "<frameset><frame src=\"http://x.test\"></frameset>", ""},
        {"audio video", "<audio src=x.mp3 autoplay></audio><video poster=x.png></video>shown", "shown"},
        {"attribute quote break", "<b title='\"><script>alert(1)</script>'>bold</b>", "bold"},
        {"table background", "<table background=\"http://x.test/a.png\"><tr><td>cell</td></tr></table>", "cell"},
        {"xmp literal", "<xmp><script>alert(1)</script></xmp>", "<script>alert(1)</script>"},
    };
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.name);
        const QString html = QString::fromUtf8(c.html.data(), qsizetype(c.html.size()));
        const QString out = clean(html);
        const PageFaults check = faultsIn(out.toUtf8(), false);
        EXPECT_TRUE(check.faults.empty()) << check.joined() << " in " << out.toStdString();
        EXPECT_NE(check.text.find(c.visibleText), std::string::npos) << out.toStdString();
        EXPECT_FALSE(out.contains(QLatin1String("<script"), Qt::CaseInsensitive)) << out.toStdString();
    }
}

TEST_F(HtmlSanitizerTest, FormattingSurvives)
{
    const struct {
        const char* html;
        QString expected;
    } cases[] = {
        {"<b>bold</b> <i>it</i> <u>under</u> <strong>s</strong> <em>e</em>",
         "<b>bold</b> <i>it</i> <u>under</u> <strong>s</strong> <em>e</em>"},
        {"<font color=\"#ff0000\" face=Verdana size=3>red</font>",
         "<font color=\"#ff0000\" face=\"Verdana\" size=\"3\">red</font>"},
        {"<UL>\r\n<LI>one</LI>\r\n<li>two\r\n</UL>", "<ul>\n<li>one</li>\n<li>two\n</li></ul>"},
        {"<ol type=a start=3><li>x</ol>", "<ol type=\"a\" start=\"3\"><li>x</li></ol>"},
        {"<table border=1 cellpadding=2 width=\"100%\"><tr><td colspan=2 align=center bgcolor=#eee>c</td></tr></table>",
         "<table border=\"1\" cellpadding=\"2\" width=\"100%\"><tbody><tr><td colspan=\"2\" align=\"center\" "
         "bgcolor=\"#eee\">c</td></tr></tbody></table>"},
        {"<pre>  a\n    b</pre><code>x &lt; y</code>", "<pre>\n  a\n    b</pre><code>x &lt; y</code>"},
        {"<pre>\n\nlead</pre>", "<pre>\n\nlead</pre>"},
        {"<h1>T</h1><h6>t</h6><p>para<br>line</p><hr>", "<h1>T</h1><h6>t</h6><p>para<br>line</p><hr>"},
        {"a &amp; b &lt;c&gt; &quot;q&quot; &nbsp;", "a &amp; b &lt;c&gt; \"q\" \u00a0"},
        {"<a href=\"http://example.test/a?b=1&amp;c=2\" target=_blank>web</a> <a href=mailto:a@b.test>mail</a>",
         "<a href=\"http://example.test/a?b=1&amp;c=2\">web</a> <a href=\"mailto:a@b.test\">mail</a>"},
        {"<a href=\"scenario/page2.htm#top\">next</a>", "<a href=\"scenario/page2.htm#top\">next</a>"},
        {"<span style=\"color: red; font-weight: bold; position: fixed; background-color: rgb(1,2,3)\">s</span>",
         "<span style=\"color: red; font-weight: bold; background-color: rgb(1,2,3);\">s</span>"},
        {"x<sub>2</sub>y<sup>3</sup><center>c</center>", "x<sub>2</sub>y<sup>3</sup><center>c</center>"},
        {"<form>in form <label>label</label></form>", "<div>in form label</div>"},
        {"<b id=x class=y name=z>b</b>", "<b>b</b>"},
        {"unclosed <b>bold <i>both", "unclosed <b>bold <i>both</i></b>"},
        {"<plaintext><b>literal", "<pre>\n&lt;b&gt;literal</pre>"},
        {"plain text, \"quoted\"\r\nsecond line", "plain text, \"quoted\"\r\nsecond line"},
        {"1 < 2 > 0", "1 &lt; 2 &gt; 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.html);
        EXPECT_EQ(clean(QString::fromUtf8(c.html)), c.expected);
    }
}

TEST_F(HtmlSanitizerTest, PicturesOfTheExamFolderBecomePageAddresses)
{
    EXPECT_EQ(clean(QStringLiteral("<img src=\"images/pic.png\" alt=p width=20>")),
              QStringLiteral("<img src=\"%1\" alt=\"p\" width=\"20\">").arg(pictureAddress("images/pic.png")));
    // Names written on a file system that ignores case, with "\" separators
    // and escaped spaces.
    EXPECT_EQ(clean(QStringLiteral("<img src=\"IMAGES\\mixed%20case.gif\">")),
              QStringLiteral("<img src=\"%1\">").arg(pictureAddress("images/Mixed Case.GIF")));
    // Another base folder inside the exam's folder.
    SanitizeRules scenario = rules;
    scenario.baseFolder = exam.filePath(QStringLiteral("images"));
    EXPECT_EQ(html_sanitizer::fragment(QStringLiteral("<img src=pic.png>"), scenario),
              QStringLiteral("<img src=\"%1\">").arg(pictureAddress("images/pic.png")));
    // A page address or file URL already inside the folder.
    const QString inside = QDir(exam.path()).canonicalPath() + QStringLiteral("/images/pic.png");
    EXPECT_EQ(clean(QStringLiteral("<img src=\"%1\">").arg(page_address::forFile(inside).toString())),
              QStringLiteral("<img src=\"%1\">").arg(pictureAddress("images/pic.png")));
    // No exam folder, no local pictures; a missing picture shows its text.
    EXPECT_EQ(html_sanitizer::fragment(QStringLiteral("<img src=images/pic.png alt=p>"), SanitizeRules{}),
              QStringLiteral("p"));
    EXPECT_EQ(clean(QStringLiteral("<img src=images/none.png alt=\"a<b\">")), QStringLiteral("a&lt;b"));
}

// The resolver the rules hand in is the one way to a picture's file: what it
// is asked is the name as written, read from the address alone; what it
// answers is all the page gets, whatever lies in the exam's folder.
TEST_F(HtmlSanitizerTest, TheRulesResolverAloneFindsAPicture)
{
    std::vector<std::pair<QString, bool>> asked;
    rules.pictures = [&](const PictureReference& reference) {
        asked.emplace_back(reference.path, reference.relative);
        return reference.path == QLatin1String("Images/Shown one.png") ? QStringLiteral("/nowhere/shown one.png")
                                                                       : QString();
    };
    const QString inside = QDir(exam.path()).canonicalPath() + QStringLiteral("/images/pic.png");
    const struct {
        QString html;
        std::vector<std::pair<QString, bool>> asked;
        QString page;
    } cases[] = {
        // On disk in the exam's folder, refused by the resolver.
        {QStringLiteral("<img src=images/pic.png alt=refused>"), {{"images/pic.png", true}}, "refused"},
        {QStringLiteral("<img src=\"%1\" alt=refused>").arg(page_address::forFile(inside).toString()),
         {{inside, false}},
         "refused"},
        {QStringLiteral("<table background=\"file://%1\"><tr><td>t</td></tr></table>").arg(inside),
         {{inside, false}},
         "<table><tbody><tr><td>t</td></tr></tbody></table>"},
        // Nowhere on disk, found by the resolver.
        {QStringLiteral("<img src=\" Images\\Shown%20one.png?v=1#top\">"),
         {{"Images/Shown one.png", true}},
         "<img src=\"ziduver://files/nowhere/shown%20one.png\">"},
        // No local picture named: the resolver is not asked.
        {QStringLiteral("<img src=http://x.test/a.png alt=a><img src=//x.test/b.png alt=b>"
                        "<img src=\"\\\\x.test\\c.png\" alt=c><img src=\"data:image/png;base64,AA\" alt=d>"
                        "<img src=file:pic.png alt=e><img src=\"?v=1\" alt=f><img alt=g>"),
         {},
         "abcdefg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.html.toStdString());
        asked.clear();
        EXPECT_EQ(clean(c.html), c.page);
        EXPECT_EQ(asked, c.asked);
    }
    // A served page's pictures are found the same way.
    asked.clear();
    EXPECT_TRUE(html_sanitizer::document("<body background=images/pic.png><img src=Images/Shown%20one.png>", rules,
                                         QStringLiteral("<meta name=policy>"))
                    .endsWith("<body><img src=\"ziduver://files/nowhere/shown%20one.png\"></body></html>"));
    EXPECT_EQ(asked, (std::vector<std::pair<QString, bool>>{{"images/pic.png", true}, {"Images/Shown one.png", true}}));
}

TEST_F(HtmlSanitizerTest, DeepNestingIsFlattenedAndLongTextReplaced)
{
    // Nested tags, and misnested ones the parser keeps nesting.
    for (const char* tags :
         {"<div>", "<b>", "<span>", "<table>", "<font color=red>", "<b><div></b>", "<span><div></span>"}) {
        SCOPED_TRACE(tags);
        const QString open = QLatin1String(tags);
        QString html;
        html.reserve(open.size() * 200000 + 10);
        for (int i = 0; i < 200000; ++i)
            html += open;
        html += QStringLiteral("deep text");
        SanitizeRules big = rules;
        big.maxChars = html.size();
        const QString out = html_sanitizer::fragment(html, big);
        const PageFaults check = faultsIn(out.toUtf8(), false);
        EXPECT_TRUE(check.faults.empty()) << check.joined();
        EXPECT_LE(check.depth, 210);
        EXPECT_NE(check.text.find("deep text"), std::string::npos);
    }
    // Formatting reopened after every block: the parser's work grows faster
    // than the text; it is bounded, whatever it shows.
    QString reopened;
    for (int i = 0; i < 20000; ++i)
        reopened += QStringLiteral("<div><b id=%1>x</div>").arg(i);
    const PageFaults check = faultsIn(clean(reopened).toUtf8(), false);
    EXPECT_TRUE(check.faults.empty()) << check.joined();

    SanitizeRules small = rules;
    small.maxChars = 10;
    EXPECT_EQ(html_sanitizer::fragment(QStringLiteral("12345678901"), small), html_sanitizer::tooLongMessage());
    EXPECT_EQ(html_sanitizer::fragment(QStringLiteral("1234567890"), small), QStringLiteral("1234567890"));
}

TEST_F(HtmlSanitizerTest, DocumentPutsThePolicyFirst)
{
    const QString policy =
        QStringLiteral("<meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'none'\">");
    const QByteArray head = "<!DOCTYPE html><html><head>" + policy.toUtf8() + "<meta charset=\"utf-8\">";
    const QByteArray file = "\x0B<!doctype html><html><head><title>Case &amp; 1</title>"
                            "<meta http-equiv=refresh content=0;url=http://x.test><script>alert(1)</script></head>"
                            "<body bgcolor=#ffffcc onload=alert(1) background=images/pic.png>"
                            "<p>Scenario <b>text</b></p><script>alert(2)</script></body></html>";
    const QByteArray out = html_sanitizer::document(file, rules, policy);
    EXPECT_TRUE(out.startsWith(head + "<title>Case &amp; 1</title></head><body bgcolor=\"#ffffcc\" background=\""
                               + pictureAddress("images/pic.png").toUtf8() + "\">"))
        << out.toStdString();
    EXPECT_TRUE(out.endsWith("<p>Scenario <b>text</b></p></body></html>")) << out.toStdString();
    const PageFaults check = faultsIn(out.mid(head.size()), true);
    EXPECT_TRUE(check.faults.empty()) << check.joined();
    EXPECT_EQ(out.indexOf("alert"), -1);
    EXPECT_EQ(out.count("<meta"), 2);

    // Windows-1252 bytes, UTF-8 with and without a byte order mark.
    EXPECT_TRUE(html_sanitizer::document("<p>caf\xE9 \x93q\x94 \x80</p>", rules, policy)
                    .endsWith("<body><p>caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x82\xAC</p></body></html>"));
    EXPECT_TRUE(html_sanitizer::document("\xEF\xBB\xBF<p>caf\xC3\xA9</p>", rules, policy)
                    .endsWith("<body><p>caf\xC3\xA9</p></body></html>"));
    EXPECT_TRUE(html_sanitizer::document("<p>caf\xC3\xA9</p>", rules, policy)
                    .endsWith("<body><p>caf\xC3\xA9</p></body></html>"));
    // A frameset keeps nothing; an overlong file shows the message.
    EXPECT_TRUE(html_sanitizer::document("<frameset><frame src=a.htm></frameset>", rules, policy)
                    .endsWith("</head><body></body></html>"));
    SanitizeRules small = rules;
    small.maxChars = 5;
    EXPECT_EQ(html_sanitizer::document("<p>long text</p>", small, policy),
              head + "</head><body>" + html_sanitizer::tooLongMessage().toUtf8() + "</body></html>");
}

// A served page keeps its look: its style sheet, rule by rule, and its
// classes; nothing in the sheet loads anything or leaves the style element.
// A text in a page keeps neither, so it cannot restyle the program's own
// answer area.
TEST_F(HtmlSanitizerTest, ADocumentKeepsItsStyleSheetWithoutWhatLoads)
{
    const QByteArray out = html_sanitizer::document(
        "<html><head><style>/* look */ h1 { color: #0b6fc4; font-size: 19px }"
        " td, th { border: 1px solid #d5dde5 } th { background: #eef3f8 }"
        " .note { background: #fff8e1; border-left: 4px solid #f0b400 }"
        " @import url(http://x.test/a.css); @media print { body { color: red } }"
        " p { background: url(http://x.test/p.png) } b { color: red; behavior: url(x.htc) }"
        " i { color: expression(alert(1)) } a[href^=\"x\"] { color: red }</style></head>"
        "<body><h1 class=\"title main\">Case</h1><p class='note x\" onclick=alert(1)'>Mind</p>"
        "<style>u { color: green }</style></body></html>",
        rules, QStringLiteral("<meta name=policy>"));
    const QByteArray sheet = out.mid(out.indexOf("<style>"), out.indexOf("</head>") - out.indexOf("<style>"));
    for (const char* kept : {"h1 { color: #0b6fc4; font-size: 19px; }", "td, th { border: 1px solid #d5dde5; }",
                             "th { background: #eef3f8; }", ".note { background: #fff8e1;",
                             "b { color: red; }", "u { color: green; }"})
        EXPECT_TRUE(sheet.contains(kept)) << kept << " in " << sheet.toStdString();
    for (const char* gone : {"import", "url", "@media", "expression", "behavior", "href", "look"})
        EXPECT_FALSE(out.contains(gone)) << gone << " in " << out.toStdString();
    EXPECT_TRUE(out.contains("<h1 class=\"title main\">Case</h1>")) << out.toStdString();
    EXPECT_FALSE(out.contains("onclick")) << out.toStdString();
    EXPECT_EQ(out.count("<style>"), 2);

    const QString text = html_sanitizer::fragment(QStringLiteral("<style>input { display: none }</style>"
                                                                 "<p class=note>Mind</p>"),
                                                  rules);
    EXPECT_EQ(text, QStringLiteral("<p>Mind</p>"));
}

// Comment tricks in a served page's style sheet: what is written out holds
// no comment at all, so no rule after it is hidden, and an exam's
// "!important" never outranks the page's own rules.
TEST_F(HtmlSanitizerTest, AStyleSheetComesOutWithoutCommentsWhateverTheirTricks)
{
    const struct {
        const char* name;
        const char* css;
    } cases[] = {
        {"slash before a comment, star after", "//**/*/ p { color: red } b { color: blue }"},
        {"comment between slash and star", "a /**/*/**/ p { color: red } b { color: blue }"},
        {"star-slash-star", "/*/ p { color: green } */ p { color: red } b { color: blue }"},
        {"comments nested in a selector", "p/**//**/ { color: red } b { color: blue }"},
        {"unclosed comment at the end", "p { color: red } b { color: blue } /* i { color: green }"},
        {"selector ending in a slash", "p / { color: red } * { color: blue } b { color: blue }"},
    };
    for (const auto& c : cases) {
        const QByteArray out = html_sanitizer::document(QByteArray("<style>") + c.css + "</style><p>x</p>", rules,
                                                        QStringLiteral("<meta name=policy>"));
        const QByteArray sheet = out.mid(out.indexOf("<style>"), out.indexOf("</style>") - out.indexOf("<style>"));
        EXPECT_FALSE(sheet.contains("/*")) << c.name << ": " << sheet.toStdString();
        EXPECT_TRUE(sheet.contains("b { color: blue; }")) << c.name << ": the last rule is kept: " << sheet.toStdString();
    }
    const QByteArray important = html_sanitizer::document(
        "<style>img { max-width: none !important; width: 90000px!IMPORTANT }</style>"
        "<p style=\"max-width: none ! important; color: red\">x</p>",
        rules, QStringLiteral("<meta name=policy>"));
    EXPECT_FALSE(important.toLower().contains("important")) << important.toStdString();
    EXPECT_TRUE(important.contains("img { max-width: none; width: 90000px; }")) << important.toStdString();
    EXPECT_TRUE(important.contains("style=\"max-width: none; color: red;\"")) << important.toStdString();
}

} // namespace
