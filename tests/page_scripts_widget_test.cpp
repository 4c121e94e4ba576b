// The question pages' static scripts (sample/interactive.js, sample/new.js,
// sample/main.html) driven through the pages' own controls: each page must
// report its complete answer, in the answer format of its question type,
// whenever it changes, "~" when it becomes empty, and nothing else.
#include "exam/AnswerCheck.h"
#include "exam/ExamSaveCheck.h"
#include "exam/PageLock.h"
#include "exam/QuestionList.h"
#include "exam/QuestionPage.h"
#include "foundation/ExamBank.h"
#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include "platform/browser/ScriptWait.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/PageActions.h"
#include "tests/support/TempHome.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// Readable texts in failed expectations (long ones cut).
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << (text.size() > 200 ? text.left(200) + QStringLiteral("...") : text).toStdString() << '"';
}

namespace {

constexpr int kWait = 15000;

const QString kFont = QStringLiteral("Arial");
const QString kSize = QStringLiteral("14");

// ---------------------------------------------------------------------------
// Pages laid out as the exam window writes them.

enum class Head { Plain, BlockRightClick };

// The page frame: head with the program folder's interactive.js, the body
// with its key handler, the question text and the answer part.
QString questionPage(const QString& programFolder, Head head, bool keyHandler, bool listStyle, QString body)
{
    const QString script = programFolder + QStringLiteral("/interactive.js");
    QString page;
    if (head == Head::BlockRightClick) {
        page = QStringLiteral("<html><HEAD> <script language=\"javascript\" src=\"") + script
            + QStringLiteral("\";></script><script>")
            + QStringLiteral(
                   " function right(e) {   if (navigator.appName == 'Netscape' && (e.which == 3 || e.which == 2)) "
                   "return false; else if (navigator.appName == 'Microsoft Internet Explorer' && "
                   "(event.button == 2 || event.button == 3)) {alert(\"Sorry, you don't have permission to "
                   "do this.\"); return false;}return true;}document.onmousedown=right; "
                   "document.onmouseup=right; ")
            + QStringLiteral("if (document.layers) window.captureEvents(Event.MOUSEDOWN); if (document.layers) ")
            + QStringLiteral("window.captureEvents(Event.MOUSEUP);window.onmousedown=right;window.onmouseup=right;")
            + QStringLiteral("</script></HEAD> ");
    } else {
        page = QStringLiteral("<html><HEAD> <script language=\"javascript\" src=\"") + script
            + QStringLiteral("\" > </script></HEAD> ");
    }
    if (listStyle)
        page += QStringLiteral("<style type=\"text/css\"> <!-- .Sbutton {  font-family:%1; font-size: %2px; "
                               "min-width: 12em; } form input[type=button] { min-width: 7em; } .Stext {  font-family: "
                               "Geneva, Arial, Helvetica, "
                               "san-serif; font-size: xx-small; color: #5E5446} --> </style>")
                    .arg(kFont, kSize);
    const QString key = keyHandler ? QStringLiteral("onKeypress=\"test()\"") : QString();
    const QString bodyOpen = head == Head::BlockRightClick
        ? QStringLiteral("<body %1  ondragstart=\"return false\" onselectstart=\" return false\" topmargin=0>").arg(key)
        : QStringLiteral("<body %1 topmargin=0>").arg(key);
    body.replace(QStringLiteral("<td"),
                 QStringLiteral("<td Style = \"font-family: %1; font-size:%2px\"").arg(kFont, kSize));
    return page + bodyOpen + QStringLiteral("<p Style = \"font-family: %1; font-size:%2px\">").arg(kFont, kSize)
        + body.trimmed() + QStringLiteral("</p></body></html>");
}

struct Choice {
    int seq;
    const char* text;
    bool ticked;
};

QString choicesPart(const std::vector<Choice>& choices, bool several)
{
    QString html = QStringLiteral("Which ones?<br><br>");
    const char* letters = "ABCDEFG";
    for (size_t i = 0; i < choices.size(); ++i) {
        html += QLatin1Char(letters[i]) + QStringLiteral("<table><tr><td valign=\"top\">");
        html += several ? QStringLiteral("<input type=\"checkbox\" name=\"menu\" value=")
                        : QStringLiteral("<input type=\"radio\" name=\"menu\" value=");
        html += QString::number(choices[i].seq);
        html +=
            choices[i].ticked ? QStringLiteral(" onClick=\"do1();\" checked>") : QStringLiteral(" onClick=\"do1();\">");
        html +=
            QStringLiteral("</td><td>") + QString::fromUtf8(choices[i].text) + QStringLiteral("<br></td></tr></table>");
    }
    return html;
}

QString essayPart(const QString& text)
{
    return QStringLiteral("Explain.<br><br><form name=\"myForm\"><textarea cols = 100 rows=15 name=\"ta\" onMouseUp = "
                          "\"SaveText()\" onKeyUp = \"SaveText()\" onBlur=\"SaveText()\">")
        + text + QStringLiteral("</textarea> <script> document.myForm.ta.focus();</script></form>");
}

// One box per value; a null value is a blank without a recorded text.
QString fillPart(const QStringList& values)
{
    QString html = QStringLiteral("Capital?<br><br><br><form name=\"myForm\">");
    for (const QString& value : values) {
        html += QStringLiteral("<input type=text name = txtFill width=100 onMouseUp = \"SaveFillText()\" onKeyUp = "
                               "\"SaveFillText()\" onBlur=\"SaveFillText()\" value=");
        html += value.isNull() ? QStringLiteral("''><br>") : QStringLiteral("'") + value + QStringLiteral("'><br>");
    }
    return html
        + QStringLiteral("<script> if (document.myForm.txtFill.length > 0) {document.myForm.txtFill[0].focus();} "
                         "else{document.myForm.txtFill.focus();} </script></form>");
}

QString options(const QString& prefix, const QStringList& texts, int first = 0)
{
    QString html;
    for (int i = 0; i < texts.size(); ++i)
        html += QStringLiteral("<option value=%1%2>%3</option>").arg(prefix).arg(first + i).arg(texts[i]);
    return html;
}

QString selectPlacePart(const QStringList& items, const QStringList& placed, const QStringList& places)
{
    return QStringLiteral("Place them.<br><br><br><br><form method=\"POST\" name=\"myForm\"><table border=\"0\" "
                          "cellpadding=\"2\" cellspacing =\"2\"><tr><td valign=\"top\"><select size=\"20\" "
                          "name=\"D1\" class=\"Sbutton\">")
        + options(QStringLiteral("v"), items)
        + QStringLiteral("</select></td><td valign=\"top\">  <input type=\"button\" value=\" Add  >>  \" name=\"B1\" "
                         "OnClick=\"Add();\">&nbsp;<br><br> <input type=\"button\" value=\"  Remove \" name=\"B2\" "
                         "OnClick=\"Remove();\"></td><td valign=\"top\"><select size=\"20\" name=\"D3\" "
                         "class=\"Sbutton\">")
        + options(QStringLiteral("vvv"), placed)
        + QStringLiteral("</select></td><td valign=\"top\"><select size=\"20\" name=\"D2\" class=\"Sbutton\">")
        + options(QStringLiteral("vv"), places, int(items.size()))
        + QStringLiteral("</select></td></tr></table></form>");
}

QString orderedListPart(const QStringList& items, const QStringList& placed)
{
    return QStringLiteral("Put them in order.<br><br><br><br><form method=\"POST\" name=\"myForm\"><table border=\"0\" "
                          "cellpadding=\"2\" cellspacing =\"2\"><tr><td valign=\"top\"><select size=\"20\" "
                          "name=\"D2\" class=\"Sbutton\">")
        + options(QStringLiteral("v"), items)
        + QStringLiteral("</select></td><td valign=\"top\">  <input type=\"button\" value=\" Add  >>  \" name=\"B1\" "
                         "OnClick=\"Add1();\">&nbsp;<br><br> <input type=\"button\" value=\"  Remove \" name=\"B2\" "
                         "OnClick=\"Remove();\"><br><br><br><br><input type=\"button\" value=\"    Up   \" "
                         "name=\"B1\" OnClick=\"MoveUp();\">&nbsp;<br><br><input type=\"button\" value=\"  Down \" "
                         "name=\"B2\" OnClick=\"MoveDown();\"></td><td valign=\"top\"><select size=\"20\" "
                         "name=\"D3\" class=\"Sbutton\">")
        + options(QStringLiteral("vvv"), placed) + QStringLiteral("</select></td></tr></table></form>");
}

// The tree question's answer frame, one line, and its question frame.
QString treeLeftPage(const QString& question, const QStringList& leaves, const QString& state, const QString& root)
{
    const QString style = QStringLiteral("\"<style type=text/css>\r\n<!--\r\n.f {\r\nfont-family: %1;\r\nfont-size: "
                                         "%2px;\r\n}\r\n-->\r\n</style>\"")
                              .arg(kFont, kSize);
    QString quoted = question;
    quoted.replace(QLatin1Char('"'), QLatin1Char('\''));
    return QStringLiteral("<html><head></head><script Language=\"javascript\" src=\"new.js\"></script>")
        + QStringLiteral("<body Style = \"font-family: %1; font-size:%2px\">").arg(kFont, kSize)
        + QStringLiteral("<form><br><Table cellpadding=4 cellspacing=0 border=\"0\"><tr><td valign=\"top\"><select "
                         "valign=\"Center\" size=\"10\" name=\"D1\" class=\"f\">")
        + options(QStringLiteral("v"), leaves, 1)
        + QStringLiteral("</select></td><td valign=\"top\"><br><input type=\"button\" value=\" Move     \" "
                         "name=\"B1\"  onClick=\"MoveNodes()\" >&nbsp;<br><br><input type=\"button\" "
                         "value=\"Remove\" name=\"B2\" onClick=\"RemoveNodes()\"></td><td valign=\"top\" "
                         "id=\"TreeCell\"></td>   </tr>")
        + QStringLiteral("<input type=\"hidden\" name=\"hidRowVal2\" value=\"") + state + QStringLiteral("\">")
        + QStringLiteral("<input type=\"hidden\" name=\"Question\" value=\"") + quoted + QStringLiteral("\">")
        + QStringLiteral("<input type=\"hidden\" name=\"qFont\" value=") + style + QStringLiteral(">")
        + QStringLiteral("<input type=\"hidden\" name=\"hidRowVal3\" value=\"") + root + QStringLiteral("\" > ")
        + QStringLiteral("</form> </body> </html>");
}

QString treeQuestionPage(const QString& question)
{
    return QStringLiteral("<html><body Style = \"font-family: %1; font-size:%2px\">").arg(kFont, kSize) + question
        + QStringLiteral("</body></html>");
}

// ---------------------------------------------------------------------------
// What the exam window does with the reports: the last one is the answer,
// an essay's reports are joined, "~" empties it, "" and "DONE" are ignored.

enum class QuestionKind { Choice, Essay, Fill, Interactive };

QString pageAnswerAfter(QuestionKind kind, QString answer, const QStringList& reports)
{
    for (const QString& report : reports) {
        if (report.isEmpty() || report.toUpper() == QLatin1String("DONE"))
            continue;
        if (report.trimmed() == QLatin1String("~"))
            answer.clear();
        else if (kind == QuestionKind::Essay)
            answer += report;
        else
            answer = report;
    }
    return answer;
}

// ---------------------------------------------------------------------------
// The user's actions, run in the answer document `doc`. Every action ends
// with "ok"; a missing control names itself.

const QString kTopDocument = QStringLiteral("document");
const QString kTreeDocument = QStringLiteral("window.frames['left'].document");

QString actionScript(const QString& document, const QString& body)
{
    return QStringLiteral(
               "(function () { try { var doc = %1; %2 %3; return 'ok'; } catch (e) { return 'error: ' + e; } })()")
        .arg(document, QString::fromUtf8(kPageActions), body);
}

QString checkScript(const QString& document, const QString& expression)
{
    return QStringLiteral(
               "(function () { try { var doc = %1; %2 return String(%3); } catch (e) { return 'error: ' + e; } })()")
        .arg(document, QString::fromUtf8(kPageActions), expression);
}

// Script errors of every frame, collected from the start of each document.
const char* const kErrorCollector = R"JS(
  window.__pageErrors = [];
  window.addEventListener('error', function (e) { window.__pageErrors.push(String(e.message)); });
)JS";

const QString kErrorsOfAllFrames = QStringLiteral(
    "(function () { var out = [];"
    "  function walk(w) { try { out = out.concat(w.__pageErrors || []); } catch (e) { out.push('unreachable frame'); }"
    "    for (var i = 0; i < w.frames.length; i++) walk(w.frames[i]); }"
    "  walk(window); return out.join(' / '); })()");

class PageScriptsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStaticPageFiles(home.path());
        view = std::make_unique<BrowserView>();
        view->resize(900, 700);
        view->show();
        QWebEngineScript collector;
        collector.setName(QStringLiteral("page-errors"));
        collector.setInjectionPoint(QWebEngineScript::DocumentCreation);
        collector.setWorldId(QWebEngineScript::MainWorld);
        collector.setRunsOnSubFrames(true);
        collector.setSourceCode(QString::fromUtf8(kErrorCollector));
        view->page()->scripts().insert(collector);
        QObject::connect(view.get(), &BrowserView::statusTextChanged, [this](const QString& text) { reports << text; });
    }

    // Question pages are written with the exam's folder as base, as the
    // exam window does; the scripts come from the program folder.
    void showPage(const QString& html)
    {
        view->writeHtml(html, QUrl::fromLocalFile(home.file(QStringLiteral("Data/Exam")) + QLatin1Char('/')));
        ASSERT_TRUE(view->waitForLoad(kWait));
    }

    void showTree(const QString& question, const QStringList& leaves, const QString& state, const QString& root)
    {
        writeUtf8(QStringLiteral("left.htm"), treeLeftPage(question, leaves, state, root));
        writeUtf8(QStringLiteral("Question.htm"), treeQuestionPage(question));
        view->navigate(home.file(QStringLiteral("main.html")));
        ASSERT_TRUE(view->waitForLoad(kWait));
        ASSERT_TRUE(
            waitUntil([&] { return check(kTreeDocument, "!!doc.getElementById('TreeView')") == "true"; }, kWait));
    }

    // The page files are written as text with a byte-order mark, so the
    // engine reads them as UTF-8.
    void writeUtf8(const QString& name, const QString& text)
    {
        home.write(name, QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    }

    // Fires the action and flushes at once, as a command of the exam window
    // does right after the user's last click; returns the reports that came.
    QStringList act(const QString& document, const QString& action)
    {
        const qsizetype before = reports.size();
        auto result = std::make_shared<QString>();
        view->page()->runJavaScript(actionScript(document, action), QWebEngineScript::MainWorld,
                                    [result](const QVariant& v) { *result = v.toString(); });
        EXPECT_TRUE(view->flushStatus(kWait));
        EXPECT_TRUE(waitUntil([result] { return !result->isEmpty(); }, kWait));
        EXPECT_EQ(*result, "ok") << action.toStdString();
        return reports.mid(before);
    }

    QStringList flushed()
    {
        const qsizetype before = reports.size();
        EXPECT_TRUE(view->flushStatus(kWait));
        return reports.mid(before);
    }

    QString check(const QString& document, const char* expression)
    {
        return view->runScript(checkScript(document, QString::fromUtf8(expression)), kWait).toString();
    }

    QString pageErrors() { return view->runScript(kErrorsOfAllFrames, kWait).toString(); }

    TempHome home;
    std::unique_ptr<BrowserView> view;
    QStringList reports;
};

// ---------------------------------------------------------------------------
// One question page per case, driven step by step.

struct Step {
    const char* action;
    QStringList reports; // what the step must report, in order
    const char* check;   // optional expression on the page after the step
    const char* checkResult;
};

struct PageCase {
    const char* name;
    QuestionKind kind;
    std::function<QString(const QString& programFolder)> page; // empty: the tree page
    QStringList tree;                                          // tree: question, leaves joined by "|", state, root
    QStringList atLoad;                                        // reports of the page's start
    std::vector<Step> steps;
    QString presetAnswer; // the answer the window holds when the page is shown
    QString finalAnswer;  // the answer the window holds after all steps
};

void PrintTo(const PageCase& c, std::ostream* os)
{
    *os << c.name;
}

class AnswerPage : public PageScriptsTest, public ::testing::WithParamInterface<PageCase> { };

TEST_P(AnswerPage, ReportsCompleteAnswerOnEveryChangeAndNothingElse)
{
    const PageCase& c = GetParam();
    QString document = kTopDocument;
    reports.clear();
    if (c.page) {
        showPage(c.page(home.path()));
    } else {
        ASSERT_EQ(c.tree.size(), 4);
        showTree(c.tree[0], c.tree[1].split(QLatin1Char('|')), c.tree[2], c.tree[3]);
        document = kTreeDocument;
    }
    if (HasFatalFailure())
        return;

    EXPECT_TRUE(view->flushStatus(kWait));
    EXPECT_EQ(reports, c.atLoad) << "at load";
    for (const Step& step : c.steps) {
        EXPECT_EQ(act(document, QString::fromUtf8(step.action)), step.reports) << step.action;
        if (step.check) {
            EXPECT_EQ(check(document, step.check), QString::fromUtf8(step.checkResult)) << step.action;
        }
    }
    EXPECT_EQ(pageAnswerAfter(c.kind, c.presetAnswer, reports), c.finalAnswer);
    EXPECT_EQ(pageErrors(), QString());
}

using QL = QStringList;

QString choicePage(const QString& folder)
{
    return questionPage(folder, Head::Plain, true, false,
                        choicesPart({{1, "ls", false}, {2, "cat", false}, {3, "rm", false}}, true));
}

INSTANTIATE_TEST_SUITE_P(Pages, AnswerPage,
                         ::
                             testing::Values(PageCase{"ChoiceBoxes",
                                                      QuestionKind::Choice,
                                                      choicePage,
                                                      {},
                                                      {},
                                                      {{"tick(3)", QL{"3,"}, nullptr, nullptr},
                                                       {"tick(1)", QL{"1,3,"}, nullptr, nullptr},
                                                       {"tick(3)", QL{"1,"}, nullptr, nullptr},
                                                       {"tick(1)", QL{"~"}, nullptr, nullptr},
                                                       // Enter on the page reports nothing.
                                                       {"doc.body.dispatchEvent(new KeyboardEvent('keypress', { key: "
                                                        "'Enter', keyCode: 13, bubbles: true }))",
                                                        QL{}, nullptr, nullptr}},
                                                      QString(),
                                                      QString()},
                                             PageCase{"ChoiceRadiosShownAgainBehindRightClickBlock",
                                                      QuestionKind::Choice,
                                                      [](const QString& folder) {
                                                          return questionPage(
                                                              folder, Head::BlockRightClick, true, false,
                                                              choicesPart(
                                                                  {{4, "-u", false}, {2, "-b", true}, {1, "-f", false}},
                                                                  false));
                                                      },
                                                      {},
                                                      {},
                                                      {{"tick(2)", QL{}, nullptr, nullptr}, // already chosen: no change
                                                       {"tick(4)", QL{"4,"}, nullptr, nullptr},
                                                       {"tick(1)", QL{"1,"}, nullptr, nullptr}},
                                                      QStringLiteral("2, "),
                                                      QStringLiteral("1,")},
                                             PageCase{
                                                 "EssayNew",
                                                 QuestionKind::Essay,
                                                 [](const QString& folder) {
                                                     return questionPage(folder, Head::Plain, false, false,
                                                                         essayPart(QString()));
                                                 },
                                                 {},
                                                 QL{"~"},
                                                 {{"typeInto(box('ta'), 'Hello  world & <b>'); keyUp(box('ta'))",
                                                   QL{"~", "Hello  world & <b>"}, nullptr, nullptr},
                                                  {"mouseUp(box('ta')); keyUp(box('ta')); box('ta').blur()", QL{},
                                                   nullptr, nullptr},
                                                  {"clear(box('ta')); keyUp(box('ta'))", QL{"~"}, nullptr, nullptr},
                                                  // The flush blurs the box: typed text without a key-up still arrives.
                                                  {"typeInto(box('ta'), 'Done')", QL{"~", "D", "one"}, nullptr,
                                                   nullptr}},
                                                 QString(),
                                                 QStringLiteral("Done")},
                                             PageCase{
                                                 "EssayShownAgainSendsItsText",
                                                 QuestionKind::Essay,
                                                 [](const QString& folder) {
                                                     return questionPage(folder, Head::Plain, false, false,
                                                                         essayPart(QStringLiteral(
                                                                             "First line\r\nsecond, with | and #")));
                                                 },
                                                 {},
                                                 QL{"~", "First line\nsecond, with | and #"},
                                                 {{"typeInto(box('ta'), ' more'); box('ta').blur()",
                                                   QL{"~", "First line\nsecond, with | and # more"}, nullptr, nullptr},
                                                  // A long essay pasted in one go arrives whole.
                                                  {"box('ta').value = 'x'.repeat(150000); keyUp(box('ta'))",
                                                   QL{"~", QString(150000, QLatin1Char('x'))}, nullptr, nullptr}},
                                                 QString(),
                                                 QString(150000, QLatin1Char('x'))},
                                             PageCase{
                                                 "FillTwoBlanksNew",
                                                 QuestionKind::Fill,
                                                 [](const QString& folder) {
                                                     return questionPage(folder, Head::Plain, false, false,
                                                                         fillPart({QString(), QString()}));
                                                 },
                                                 {},
                                                 {},
                                                 {{"typeInto(box('txtFill', 0), 'Paris')", QL{"Paris||"}, nullptr,
                                                   nullptr},
                                                  {"typeInto(box('txtFill', 1), 'Ro|me'); keyUp(box('txtFill', 1))",
                                                   QL{"Paris|Ro me|"}, nullptr, nullptr},
                                                  {"clear(box('txtFill', 0)); keyUp(box('txtFill', 0))", QL{"|Ro me|"},
                                                   nullptr, nullptr},
                                                  {"clear(box('txtFill', 1)); box('txtFill', 1).blur()", QL{"~"},
                                                   nullptr, nullptr},
                                                  {"typeInto(box('txtFill', 1), '  ')", QL{}, nullptr, nullptr}},
                                                 QString(),
                                                 QString()},
                                             PageCase{"FillShownAgain",
                                                      QuestionKind::Fill,
                                                      [](const QString& folder) {
                                                          return questionPage(folder, Head::Plain, false, false,
                                                                              fillPart({"Paris", "Rome"}));
                                                      },
                                                      {},
                                                      {},
                                                      {{"box('txtFill', 1).focus(); mouseUp(box('txtFill', 1)); "
                                                        "box('txtFill', 1).blur()",
                                                        QL{}, nullptr, nullptr},
                                                       {"typeInto(box('txtFill', 0), 'ian'); keyUp(box('txtFill', 0))",
                                                        QL{"Parisian|Rome|"}, nullptr, nullptr}},
                                                      QStringLiteral("Paris|Rome"),
                                                      QStringLiteral("Parisian|Rome|")},
                                             PageCase{
                                                 "OrderedListNew",
                                                 QuestionKind::Interactive,
                                                 [](const QString& folder) {
                                                     return questionPage(
                                                         folder, Head::Plain, true, true,
                                                         orderedListPart({"Firmware  starts", "Boot loader",
                                                                          "Kernel &amp; initramfs"},
                                                                         {}));
                                                 },
                                                 {},
                                                 {},
                                                 {{"pick('D2', 'Boot loader'); press(' Add  >>  ')", QL{"Boot loader"},
                                                   "texts(list('D2'))", "Firmware  starts|Kernel & initramfs"},
                                                  {"press(' Add  >>  ')", QL{}, nullptr, nullptr}, // nothing selected
                                                  {"pick('D2', 'Firmware  starts'); press(' Add  >>  ')",
                                                   QL{"Boot loader,Firmware  starts"}, nullptr, nullptr},
                                                  {"pick('D3', 'Firmware  starts'); press('    Up   ')",
                                                   QL{"Firmware  starts,Boot loader"}, nullptr, nullptr},
                                                  {"press('    Up   ')", QL{}, nullptr, nullptr}, // at the top already
                                                  {"press('  Down ')", QL{"Boot loader,Firmware  starts"}, nullptr,
                                                   nullptr},
                                                  {"pick('D3', 'Boot loader'); press('  Remove ')",
                                                   QL{"Firmware  starts"}, "texts(list('D2'))",
                                                   "Boot loader|Kernel & initramfs"},
                                                  {"press('  Remove ')", QL{"~"}, "texts(list('D2'))",
                                                   "Firmware  starts|Boot loader|Kernel & initramfs"},
                                                  {"pick('D2', 'Kernel & initramfs'); press(' Add  >>  '); pick('D2', "
                                                   "'Firmware  starts');"
                                                   "press(' Add  >>  '); pick('D2', 'Boot loader'); press(' Add  >>  "
                                                   "'); press('    Up   ')",
                                                   QL{"Kernel & initramfs", "Kernel & initramfs,Firmware  starts",
                                                      "Kernel & initramfs,Firmware  starts,Boot loader",
                                                      "Kernel & initramfs,Boot loader,Firmware  starts"},
                                                   "texts(list('D2'))", ""}},
                                                 QString(),
                                                 QStringLiteral("Kernel & initramfs,Boot loader,Firmware  starts")},
                                             PageCase{"OrderedListShownAgain",
                                                      QuestionKind::Interactive,
                                                      [](const QString& folder) {
                                                          return questionPage(
                                                              folder, Head::Plain, true, true,
                                                              orderedListPart({"Boot loader", "Firmware", "Kernel"},
                                                                              {"Kernel", "Boot loader"}));
                                                      },
                                                      {},
                                                      {},
                                                      {{"", QL{}, "texts(list('D2'))", "Firmware"},
                                                       {"pick('D2', 'Firmware'); press(' Add  >>  ')",
                                                        QL{"Kernel,Boot loader,Firmware"}, nullptr, nullptr},
                                                       {"pick('D3', 'Kernel'); press('  Remove ')",
                                                        QL{"Boot loader,Firmware"}, "texts(list('D2'))", "Kernel"}},
                                                      QStringLiteral("Kernel,Boot loader"),
                                                      QStringLiteral("Boot loader,Firmware")},
                                             PageCase{"SelectAndPlaceNew",
                                                      QuestionKind::Interactive,
                                                      [](const QString& folder) {
                                                          return questionPage(
                                                              folder, Head::Plain, true, true,
                                                              selectPlacePart({"lsmod", "lsblk"}, {},
                                                                              {"Loaded modules", "Block devices"}));
                                                      },
                                                      {},
                                                      {},
                                                      {{"press(' Add  >>  ')", QL{}, nullptr, nullptr},
                                                       {"pick('D1', 'lsmod'); press(' Add  >>  ')", QL{"lsmod"},
                                                        nullptr, nullptr},
                                                       {"pick('D1', 'lsblk'); press(' Add  >>  ')", QL{"lsmod,lsblk"},
                                                        "texts(list('D1')) + '/' + texts(list('D2'))",
                                                        "/Loaded modules|Block devices"},
                                                       {"pick('D3', 'lsmod'); press('  Remove ')", QL{"lsblk"},
                                                        "texts(list('D1'))", "lsmod"},
                                                       {"pick('D1', 'lsmod'); press(' Add  >>  ')", QL{"lsblk,lsmod"},
                                                        nullptr, nullptr},
                                                       // With nothing chosen in the first list, the second one offers.
                                                       {"pick('D2', 'Block devices'); press(' Add  >>  ')",
                                                        QL{"lsblk,lsmod,Block devices"}, "texts(list('D2'))",
                                                        "Loaded modules"},
                                                       {"press('  Remove ')", QL{"lsblk,lsmod"},
                                                        "texts(list('D1')) + '/' + texts(list('D2'))",
                                                        "/Loaded modules|Block devices"}},
                                                      QString(),
                                                      QStringLiteral("lsblk,lsmod")},
                                             PageCase{"SelectAndPlaceShownAgain",
                                                      QuestionKind::Interactive,
                                                      [](const QString& folder) {
                                                          return questionPage(
                                                              folder, Head::Plain, true, true,
                                                              selectPlacePart({"lsmod", "lsblk"}, {"lsblk"},
                                                                              {"Loaded modules", "Block devices"}));
                                                      },
                                                      {},
                                                      {},
                                                      {{"", QL{}, "texts(list('D1'))", "lsmod"},
                                                       {"pick('D3', 'lsblk'); press('  Remove ')", QL{"~"},
                                                        "texts(list('D1'))", "lsmod|lsblk"}},
                                                      QStringLiteral("lsblk"),
                                                      QString()},
                                             PageCase{
                                                 "TreeNew",
                                                 QuestionKind::Interactive,
                                                 nullptr,
                                                 {"Place each <b>item</b> under its \"group\".", "Apple|Saw|Pear",
                                                  "Fruit,Tools", "Things"},
                                                 {},
                                                 {{"", QL{}, "texts(doc.getElementById('TreeView'))", "Fruit|Tools"},
                                                  {"pick('D1', 'Apple'); pickTree('Fruit'); press(' Move     ')",
                                                   QL{"Fruit#Apple,Tools"}, "texts(list('D1'))", "Saw|Pear"},
                                                  {"pick('D1', 'Saw'); pickTree('Tools'); press(' Move     ')",
                                                   QL{"Fruit#Apple,Tools#Saw"}, nullptr, nullptr},
                                                  // A selected leaf stands for its node.
                                                  {"pick('D1', 'Pear'); pickTree('Apple'); press(' Move     ')",
                                                   QL{"Fruit#Apple#Pear,Tools#Saw"},
                                                   "texts(list('D1')) + '/' + texts(doc.getElementById('TreeView'))",
                                                   "/Fruit|Apple|Pear|Tools|Saw"},
                                                  {"press(' Move     ')", QL{}, nullptr,
                                                   nullptr}, // no leaf left to move
                                                  {"pickTree('Apple'); press('Remove')", QL{"Fruit#Pear,Tools#Saw"},
                                                   "texts(list('D1'))", "Apple"},
                                                  {"pickTree('Tools'); press('Remove')", QL{"Fruit#Pear,Tools"},
                                                   "texts(list('D1'))", "Apple|Saw"},
                                                  {"pickTree('Pear'); press('Remove')", QL{"~"}, "texts(list('D1'))",
                                                   "Apple|Saw|Pear"},
                                                  {"pick('D1', 'Saw'); pickTree('Fruit'); press(' Move     '); "
                                                   "pick('D1', 'Pear'); pickTree('Tools');"
                                                   "press(' Move     ')",
                                                   QL{"Fruit#Saw,Tools", "Fruit#Saw,Tools#Pear"}, nullptr, nullptr}},
                                                 QString(),
                                                 QStringLiteral("Fruit#Saw,Tools#Pear")},
                                             PageCase{
                                                 "TreeShownAgain",
                                                 QuestionKind::Interactive,
                                                 nullptr,
                                                 {"Sort them.", "Apple|Saw|Pear", "Fruit#Pear,Tools", "Things"},
                                                 {},
                                                 {{"", QL{},
                                                   "texts(list('D1')) + '/' + texts(doc.getElementById('TreeView'))",
                                                   "Apple|Saw/Fruit|Pear|Tools"},
                                                  {"pick('D1', 'Saw'); pickTree('Tools'); press(' Move     ')",
                                                   QL{"Fruit#Pear,Tools#Saw"}, nullptr, nullptr}},
                                                 QStringLiteral("Fruit#Pear,Tools"),
                                                 QStringLiteral("Fruit#Pear,Tools#Saw")}),
                         [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

TEST_F(PageScriptsTest, EnterInAOneBoxFormKeepsTheQuestionPage)
{
    int loads = 0;
    QObject::connect(view->page(), &QWebEnginePage::loadStarted, [&] { ++loads; });
    const auto pressEnterInBox = [&] {
        EXPECT_EQ(view->runScript("var b = document.getElementsByName('txtFill')[0]; b.focus();"
                                  "document.activeElement === b"),
                  QVariant(true));
        QWidget* target = view->view()->focusProxy();
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QCoreApplication::sendEvent(target, &event);
        }
    };

    // Without the script the form is submitted and the page replaced: the
    // key reaches the box.
    QString withoutScript = questionPage(home.path(), Head::Plain, false, false, fillPart({QStringLiteral("Paris")}));
    withoutScript.replace(QStringLiteral("interactive.js"), QStringLiteral("missing.js"));
    showPage(withoutScript);
    loads = 0;
    pressEnterInBox();
    EXPECT_TRUE(waitUntil([&] { return loads > 0; }, kWait)) << "the control page was not submitted";

    showPage(questionPage(home.path(), Head::Plain, false, false, fillPart({QStringLiteral("Paris")}))
             + QStringLiteral("<script>var stillHere = 1;</script>"));
    loads = 0;
    reports.clear();
    pressEnterInBox();
    waitUntil([&] { return loads > 0; }, 1000);
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(view->runScript("typeof stillHere").toString(), "number");
    EXPECT_TRUE(view->flushStatus(kWait));
    EXPECT_EQ(reports, QStringList{}) << "Enter changes no answer";
}

TEST_F(PageScriptsTest, EachTreeQuestionShowsItsOwnFiles)
{
    showTree(QStringLiteral("First"), {QStringLiteral("Apple")}, QStringLiteral("Fruit"), QStringLiteral("Food"));
    // With one node, a move needs no node chosen.
    ASSERT_EQ(act(kTreeDocument, QStringLiteral("pick('D1', 'Apple'); press(' Move     ')")),
              QStringList{"Fruit#Apple"});

    // The next tree question rewrites the files and shows main.html again.
    showTree(QStringLiteral("Second \u00e9t\u00e9"), {QStringLiteral("Saw"), QStringLiteral("Caf\u00e9")},
             QStringLiteral("Tools,Drinks"), QStringLiteral("Things"));
    EXPECT_EQ(check(kTreeDocument, "texts(list('D1'))"), QString::fromUtf8("Saw|Caf\u00e9"));
    EXPECT_EQ(view->runScript("window.frames['Question'].document.body.textContent").toString(),
              QString::fromUtf8("Second \u00e9t\u00e9"));
    EXPECT_EQ(act(kTreeDocument, QString::fromUtf8("pick('D1', 'Caf\u00e9'); pickTree('Drinks'); press(' Move     ')")),
              QStringList{QString::fromUtf8("Tools,Drinks#Caf\u00e9")});
    EXPECT_EQ(check(kTreeDocument,
                    "doc.querySelector('style') ? getComputedStyle(doc.getElementById('TreeView')).fontSize : ''"),
              QStringLiteral("14px"))
        << "the tree takes the question font";
    EXPECT_EQ(pageErrors(), QString());
}

TEST_F(PageScriptsTest, PageWithoutAnswerControlsReportsNothing)
{
    showPage(questionPage(home.path(), Head::Plain, true, false, QStringLiteral("Just a text.<br>")));
    view->runScript("test(); do1(); SaveText(); SaveFillText(); Add(); Add1(); Remove(); MoveUp(); MoveDown();");
    EXPECT_EQ(flushed(), QStringList{});
    EXPECT_EQ(pageErrors(), QString());
}

// ---------------------------------------------------------------------------
// Pages as the builders make them.

class BuiltPageTest : public PageScriptsTest {
protected:
    PageInputs inputs(int code, bool review = false)
    {
        PageInputs in;
        in.questCode = code;
        in.head = bank.questionHead(code).value();
        in.reviewMode = review;
        in.fontName = kFont;
        in.fontSize = kSize.toInt() - 2;
        in.examDbPath = fixture.path();
        in.programFolder = home.path();
        return in;
    }
    void show(int code, bool review = false) { showPage(buildQuestionPage(bank, inputs(code, review)).html); }

    QString ticked()
    {
        return check(kTopDocument,
                     "Array.prototype.map.call(doc.querySelectorAll('input:checked'), "
                     "function (i) { return i.value; }).join(',')");
    }

    ExamBankFixture fixture;
    ExamBank bank{fixture.conn()};
};

// At the smallest screen the program runs on, the list pages show every
// item whole, and the lists and their buttons side by side without
// scrolling.
TEST_F(BuiltPageTest, ListPagesShowEveryItemWholeAndFitTheSmallScreen)
{
    const QString longest = QStringLiteral("The kernel starts its drivers and unpacks the initramfs");
    fixture.shownQuestion(1, 4, 1, QStringLiteral("Put the stages of a Linux boot in the order in which they happen."));
    const char* const stages[] = {
        "systemd starts as PID 1", "Firmware initialises the hardware", "The units of the default target are started",
        "The kernel starts its drivers and unpacks the initramfs", "The boot loader loads the kernel and initramfs"};
    for (int i = 0; i < 5; ++i)
        fixture.writer().addInteractiveRow(
            {1, QString::fromLatin1(stages[i]), i + 1, QString::fromLatin1(stages[4 - i]), i + 1, std::nullopt});
    fixture.shownQuestion(2, 4, 3, QStringLiteral("Place each file beside its purpose."));
    const char* const files[] = {"~/.ssh/known_hosts", "/etc/ssh/sshd_config", "~/.ssh/id_ed25519",
                                 "~/.ssh/authorized_keys"};
    const char* const purposes[] = {"The client's private key", "Keys allowed to log in to an account",
                                    "Host keys of servers already seen", "Configuration of the SSH server"};
    for (int i = 0; i < 4; ++i)
        fixture.writer().addInteractiveRow(
            {2, QString::fromLatin1(files[i]), i + 1, QString::fromLatin1(purposes[i]), i + 1, std::nullopt});
    // The page area of the exam window on a 1024 x 768 screen.
    view->resize(1016, 540);
    for (const int code : {1, 2}) {
        SCOPED_TRACE(code);
        show(code);
        EXPECT_EQ(check(kTopDocument,
                        "Array.prototype.filter.call(doc.querySelectorAll('select'), function (s) {"
                        " return s.scrollWidth > s.clientWidth; }).length"),
                  "0")
            << "an item is cut";
        EXPECT_EQ(check(kTopDocument,
                        "Array.prototype.filter.call(doc.querySelectorAll('select, input[type=button]'), "
                        "function (e) { var r = e.getBoundingClientRect(); return r.right > innerWidth || "
                        "r.bottom > innerHeight; }).length"),
                  "0")
            << "a list or button is out of view";
        // Moving the longest item leaves every list and button where it was.
        const QString before =
            check(kTopDocument,
                  "Array.prototype.map.call(doc.querySelectorAll('select, "
                  "input[type=button]'), function (e) { var r = "
                  "e.getBoundingClientRect(); return Math.round(r.left) + '/' + Math.round(r.width); })");
        act(kTopDocument,
            code == 1 ? QStringLiteral("pick('D2', '%1'); press(' Add  >>  ')").arg(longest)
                      : QStringLiteral("pick('D1', '~/.ssh/authorized_keys'); press(' Add  >>  ')"));
        EXPECT_EQ(check(kTopDocument,
                        "Array.prototype.map.call(doc.querySelectorAll('select, input[type=button]'), "
                        "function (e) { var r = e.getBoundingClientRect(); return Math.round(r.left) + '/' + "
                        "Math.round(r.width); })"),
                  before);
        EXPECT_EQ(check(kTopDocument, "list('D3').scrollWidth > list('D3').clientWidth"), "false");
    }
    EXPECT_EQ(pageErrors(), QString());
}

// Items of a real exam's length (about 130 characters): at the smallest
// screen the lists and buttons share the page width with no sideways
// scroll, every item reads whole (wrapped, and as its tip), and nothing
// moves or shrinks while the user answers, not even a list left empty.
QString longItem(const char* start)
{
    return QString::fromLatin1(start)
        + QStringLiteral(" - written out in full as a real exam would with each condition and its exception "
                         "spelled out");
}

// Run in a page's document: lists and buttons out of the page, items whose
// text is cut or without their tip, and whether the page scrolls sideways.
const char* const kLayoutFaults =
    "(function () { var w = doc.defaultView; var out = [];"
    "  if (doc.documentElement.scrollWidth > doc.documentElement.clientWidth) out.push('page scrolls sideways');"
    "  doc.querySelectorAll('select, input[type=button]').forEach(function (e) {"
    "    var r = e.getBoundingClientRect();"
    "    if (r.left < 0 || r.right > w.innerWidth || r.bottom > w.innerHeight) out.push('out: ' + (e.name || e.id) + ' "
    "' + JSON.stringify(r) + ' ' + w.innerWidth + 'x' + w.innerHeight);"
    "    if (e.tagName === 'SELECT' && e.scrollWidth > e.clientWidth) out.push('cut: ' + (e.name || e.id));"
    "    if (e.tagName === 'SELECT' && r.width < 100) out.push('narrow: ' + (e.name || e.id));"
    "  });"
    "  doc.querySelectorAll('option').forEach(function (o) {"
    "    if (o.title !== o.textContent) out.push('no tip: ' + o.textContent.slice(0, 20)); });"
    "  return out.join('; '); })()";

const char* const kListPlaces =
    "Array.prototype.map.call(doc.querySelectorAll('select, input[type=button]'), function (e) {"
    " var r = e.getBoundingClientRect(); return Math.round(r.left) + '/' + Math.round(r.width); }).join(' ')";

TEST_F(BuiltPageTest, ListPagesWithLongItemsShareTheSmallScreenAndStayPut)
{
    const char* const starts[] = {"Initialises device drivers", "Loads the boot loader from the disk",
                                  "Mounts the root file system", "Starts the first process of the system"};
    fixture.shownQuestion(1, 4, 1, QStringLiteral("Put the stages in order."));
    fixture.shownQuestion(2, 4, 3, QStringLiteral("Place each item beside its purpose."));
    fixture.shownQuestion(3, 4, 2, QStringLiteral("Sort each stage under its phase."));
    for (int i = 0; i < 4; ++i) {
        const QString item = longItem(starts[i]);
        fixture.writer().addInteractiveRow({1, item, i + 1, QString(), i + 1, std::nullopt});
        fixture.writer().addInteractiveRow(
            {2, item, i + 1, longItem(starts[3 - i]) + QStringLiteral(" (place)"), i + 1, std::nullopt});
        fixture.writer().addInteractiveRow({3, i < 2 ? longItem(i == 0 ? "Firmware phase" : "Kernel phase") : QString(),
                                            i + 1, item, i + 1, QStringLiteral("The boot")});
    }
    // The page area of the exam window on a 1024 x 768 screen.
    view->resize(1016, 540);
    const QString first = longItem(starts[0]);
    for (const int code : {1, 2}) {
        SCOPED_TRACE(code);
        show(code);
        EXPECT_EQ(check(kTopDocument, kLayoutFaults), QString());
        EXPECT_EQ(check(kTopDocument,
                        "list('D3').options.length === 0 && list('D3').getBoundingClientRect().width "
                        ">= list(doc.getElementsByName('D1').length ? 'D1' : 'D2').getBoundingClientRect()"
                        ".width - 1"),
                  "true")
            << "the empty answer list is as wide as the offered one";
        // A long item wraps onto several lines of its list.
        EXPECT_EQ(check(kTopDocument,
                        "list('D2').options[0].getBoundingClientRect().height > 1.5 * "
                        "parseFloat(getComputedStyle(list('D2')).fontSize)"),
                  "true");
        const QString before = check(kTopDocument, kListPlaces);
        act(kTopDocument, QStringLiteral("pick('%1', '%2'); press(' Add  >>  ')").arg(code == 1 ? "D2" : "D1", first));
        EXPECT_EQ(check(kTopDocument, "texts(list('D3'))"), first);
        EXPECT_EQ(check(kTopDocument, kListPlaces), before) << "nothing moves when an item does";
        EXPECT_EQ(check(kTopDocument, kLayoutFaults), QString());
    }

    // The tree question's answer frame, a third of the page below its question.
    const BuiltPage tree = buildQuestionPage(bank, inputs(3));
    ASSERT_TRUE(writeTreePages(home.path(), tree));
    view->navigate(home.file(QStringLiteral("main.html")));
    ASSERT_TRUE(view->waitForLoad(kWait));
    ASSERT_TRUE(waitUntil([&] { return check(kTreeDocument, "!!doc.getElementById('TreeView')") == "true"; }, kWait));
    EXPECT_EQ(check(kTreeDocument, kLayoutFaults), QString());
    EXPECT_EQ(check(kTopDocument, "doc.documentElement.scrollWidth <= doc.documentElement.clientWidth"), "true");
    const QString before = check(kTreeDocument, kListPlaces);
    for (int i = 0; i < 4; ++i) {
        act(kTreeDocument,
            QStringLiteral("pick('D1', '%1'); pickTree('%2'); press(' Move     ')")
                .arg(longItem(starts[i]), longItem(i % 2 ? "Kernel phase" : "Firmware phase")));
        EXPECT_EQ(check(kTreeDocument, kListPlaces), before) << "after move " << i;
    }
    EXPECT_EQ(check(kTreeDocument, "list('D1').options.length"), "0");
    EXPECT_EQ(check(kTreeDocument, kLayoutFaults), QString()) << "the list left empty keeps its size";
    EXPECT_EQ(check(kTreeDocument, "doc.getElementById('TreeView').options.length"), "6");
    EXPECT_EQ(pageErrors(), QString());
}

// ---------------------------------------------------------------------------
// Each answer page and its judge together, as the exam window runs them: the
// page is built from the exam database, the user's clicks make the page
// report, the reports become the window's answer and the answer check
// judges it. The key's own answer is right and a wrong order is wrong,
// whatever the stored texts hold.

struct StoredText {
    const char* name;
    QString text;
};

const std::vector<StoredText>& storedTexts()
{
    static const std::vector<StoredText> texts = {
        {"CR", QStringLiteral("Firmware\rinitialises the hardware")},
        {"LF", QStringLiteral("Firmware\ninitialises the hardware")},
        {"CR LF", QStringLiteral("Firmware\r\ninitialises the hardware")},
        {"CR LF at the end", QStringLiteral("Firmware initialises the hardware\r\n")},
        {"tab", QStringLiteral("Firmware\tinitialises")},
        {"U+0000", QStringLiteral("Firmware") + QChar(0) + QStringLiteral("initialises")},
        {"no-break space", QStringLiteral("Firmware\u00A0initialises")},
        {"bidi marks", QStringLiteral("\u202EFirmware\u202C initialises\u200F")},
        {"&amp;", QStringLiteral("Firmware &amp; hardware")},
        {"<b>", QStringLiteral("<b>Firmware</b> initialises")},
        {"comma", QStringLiteral("Firmware, then the hardware")},
        {"bar", QStringLiteral("Firmware | hardware")},
        {"hash", QStringLiteral("Firmware #1")},
        {"outer spaces", QStringLiteral("  Firmware initialises  ")},
    };
    return texts;
}

class JudgedPageTest : public BuiltPageTest {
protected:
    // Shows the question as the window does, runs the user's clicks and
    // judges the answer the page's reports leave.
    CheckOutcome answerAndJudge(int code, int type, const QString& clicks, bool tree = false)
    {
        const BuiltPage built = buildQuestionPage(bank, inputs(code));
        QString answer = built.pageAnswer;
        reports.clear();
        if (tree) {
            EXPECT_TRUE(writeTreePages(home.path(), built));
            view->navigate(home.file(QStringLiteral("main.html")));
            EXPECT_TRUE(view->waitForLoad(kWait));
            EXPECT_TRUE(waitUntil(
                [&] { return check(kTreeDocument, "!!doc.getElementById('TreeView')") == "true"; }, kWait));
        } else {
            showPage(built.html);
        }
        act(tree ? kTreeDocument : kTopDocument, clicks);
        for (const QString& report : reports)
            applyPageReport(answer, type, report);
        QuestionList list;
        list.addQuestion(code, type);
        return CheckAnswer(bank, list, 1, {code, type, answer, ExamMode::Practice, false});
    }

    // The three items of a list question, the special text first: stored
    // with the offered items in the reverse of the right order, so the
    // offered item "v<k>" is the key's item 2 - k.
    QStringList key(const QString& special)
    {
        return {special, QStringLiteral("The boot loader runs"), QStringLiteral("The kernel starts")};
    }
};

// Adds the offered items of list `from` by their values, in that order.
QString addInOrder(const char* from, const char* button, const std::vector<int>& values)
{
    QString clicks;
    for (const int v : values)
        clicks += QStringLiteral("list('%1').value = 'v%2'; press('%3');").arg(QLatin1String(from)).arg(v).arg(
            QLatin1String(button));
    return clicks;
}

TEST_F(JudgedPageTest, TheKeysOwnListAnswerIsRightAndAWrongOrderWrongForEveryStoredText)
{
    int code = 0;
    for (const StoredText& stored : storedTexts()) {
        SCOPED_TRACE(stored.name);
        const QStringList right = key(stored.text);
        // Ordered list: offered items on the left, the right order on the right.
        const int ordered = ++code;
        fixture.shownQuestion(ordered, 4, 1, QStringLiteral("Put them in order."));
        for (int i = 0; i < 3; ++i)
            fixture.writer().addInteractiveRow({ordered, right[2 - i], i + 1, right[i], i + 1, std::nullopt});
        // Select and place: the items offered, the places in order, and each
        // place's item.
        const int place = ++code;
        fixture.shownQuestion(place, 4, 3, QStringLiteral("Place them."));
        for (int i = 0; i < 3; ++i) {
            const QString where = QStringLiteral("Place %1").arg(i + 1);
            fixture.writer().addInteractiveRow({place, right[2 - i], i + 1, where, i + 1, std::nullopt});
            fixture.writer().addInteractiveAnswer({place, where, i + 1, right[i], 0});
        }

        EXPECT_TRUE(answerAndJudge(ordered, 4, addInOrder("D2", " Add  >>  ", {2, 1, 0})).right);
        EXPECT_FALSE(answerAndJudge(ordered, 4, addInOrder("D2", " Add  >>  ", {1, 2, 0})).right);
        EXPECT_TRUE(answerAndJudge(place, 4, addInOrder("D1", " Add  >>  ", {2, 1, 0})).right);
        EXPECT_FALSE(answerAndJudge(place, 4, addInOrder("D1", " Add  >>  ", {2, 0, 1})).right);
        EXPECT_EQ(pageErrors(), QString());
    }
}

// A tree's texts travel joined by "," and "#", so a node or leaf holding
// either cannot be told; every other text is judged as stored.
TEST_F(JudgedPageTest, TheKeysOwnTreeIsRightAndASwappedOneWrongForEveryStoredText)
{
    int code = 0;
    const QString root = QStringLiteral("Boot");
    for (const StoredText& stored : storedTexts()) {
        if (stored.text.contains(QLatin1Char(',')) || stored.text.contains(QLatin1Char('#')))
            continue;
        SCOPED_TRACE(stored.name);
        const int tree = ++code;
        const QString other = QStringLiteral("Kernel phase");
        const QString leaf = QStringLiteral("Drivers load");
        fixture.shownQuestion(tree, 4, 2, QStringLiteral("Sort them."));
        // Node 1 is the stored text, with leaf "Drivers load"; node 2 takes
        // a leaf of the stored text too.
        fixture.writer().addInteractiveRow({tree, stored.text, 1, leaf, 1, root});
        fixture.writer().addInteractiveRow({tree, other, 2, stored.text, 2, root});
        fixture.writer().addInteractiveAnswer({tree, leaf, 0, stored.text, 1});
        fixture.writer().addInteractiveAnswer({tree, stored.text, 0, other, 2});
        const auto moves = [](int first, int second) {
            // Leaves by their values (v1, v2), nodes by their place in the tree.
            const QString node = QStringLiteral(
                "function node(n) { var t = doc.getElementById('TreeView');"
                "  for (var i = 0; i < t.options.length; i++) { var o = t.options[i];"
                "    if (o.getAttribute('data-node') === String(n) && o.getAttribute('data-leaf') === null) {"
                "      t.selectedIndex = i; return; } } throw new Error('no node ' + n); }");
            return node + QStringLiteral("list('D1').value = 'v1'; node(%1); press(' Move     ');"
                                         "list('D1').value = 'v2'; node(%2); press(' Move     ');")
                              .arg(first)
                              .arg(second);
        };
        EXPECT_TRUE(answerAndJudge(tree, 4, moves(0, 1), true).right);
        EXPECT_FALSE(answerAndJudge(tree, 4, moves(1, 0), true).right);
        EXPECT_EQ(pageErrors(), QString());
    }
}

// Choices that share a sequence number and a verdict are told apart by it:
// exactly the right one is credited. One right and one wrong under one
// number cannot be told apart, and the exam is refused naming the question.
TEST_F(JudgedPageTest, RepeatedChoiceNumbersCreditOnlyTheRightChoiceOrAreRefused)
{
    fixture.shownQuestion(1, 1, 0, QStringLiteral("Pick"));
    fixture.choice(1, 1, QStringLiteral("Right"), true)
        .choice(1, 2, QStringLiteral("Wrong"), false)
        .choice(1, 2, QStringLiteral("Also wrong"), false);
    EXPECT_TRUE(answerAndJudge(1, 1, QStringLiteral("tick('1')")).right);
    EXPECT_FALSE(answerAndJudge(1, 1, QStringLiteral("doc.querySelectorAll('input[name=menu]')[1].click()")).right);
    EXPECT_FALSE(answerAndJudge(1, 1, QStringLiteral("doc.querySelectorAll('input[name=menu]')[2].click()")).right);
    EXPECT_EQ(examSaveRefusal(fixture.conn()), QString());

    fixture.shownQuestion(7, 1, 0, QStringLiteral("Pick"));
    fixture.choice(7, 1, QStringLiteral("Right"), true).choice(7, 1, QStringLiteral("Wrong"), false);
    const QString refusal = examSaveRefusal(fixture.conn());
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("This exam cannot start, because question 7 has two choices "
                                                  "numbered 1, one right and one wrong")))
        << refusal.toStdString();
    EXPECT_TRUE(refusal.contains(fixture.path())) << refusal.toStdString();
    EXPECT_EQ(examSaveRefusal(fixture.conn()), refusal) << "a refused file is never remembered as sound";

    // A mark stored as a text is refused by name too.
    fixture.conn().exec(QStringLiteral("DELETE FROM Qe_AnswerChoice WHERE Qc_QuestCode = 7"));
    fixture.conn().exec(QStringLiteral("UPDATE Qe_AnswerChoice SET Qc_RightAns = 'yes' WHERE Qc_Choice_Seq = 2"));
    EXPECT_TRUE(examSaveRefusal(fixture.conn())
                    .startsWith(QStringLiteral("This exam cannot start, because a choice of question 1 is marked "
                                               "right or wrong by a text")));
}

// The choice letters keep the page's font after a block of the question
// text (a <pre>) that ends the page's paragraph.
TEST_F(BuiltPageTest, ChoiceLettersKeepThePageFontAfterAPreBlock)
{
    fixture.shownQuestion(1, 1, 0, QStringLiteral("Which command?<pre>ls -l</pre>Pick one."));
    fixture.choice(1, 1, QStringLiteral("this"), true).choice(1, 2, QStringLiteral("that"), false);
    show(1);
    EXPECT_EQ(check(kTopDocument,
                    "Array.prototype.filter.call(doc.body.childNodes, function (n) {"
                    " return n.nodeType === 3 && n.textContent.trim() === 'A'; }).map(function (n) {"
                    " return getComputedStyle(n.parentElement).fontFamily; }).join(',')"),
              kFont);
}

// Fill-in and essay keys stored with a line end or a CR LF inside: a text
// box holds no line break and the essay box reports LF, and the key's own
// answer is right.
TEST_F(JudgedPageTest, FillInAndEssayKeysWithLineBreaksAcceptTheirOwnAnswer)
{
    fixture.shownQuestion(1, 3, 0, QStringLiteral("Capital?"));
    fixture.writer().addFillAnswer(1, QStringLiteral("Paris\r\n|Lutetia"));
    fixture.writer().addFillAnswer(1, QStringLiteral("New\r\nYork"));
    EXPECT_TRUE(answerAndJudge(1, 3,
                               QStringLiteral("typeInto(box('txtFill', 0), 'Paris'); keyUp(box('txtFill', 0));"
                                              "typeInto(box('txtFill', 1), 'NewYork'); keyUp(box('txtFill', 1));"))
                    .right);
    EXPECT_FALSE(answerAndJudge(1, 3,
                                QStringLiteral("typeInto(box('txtFill', 0), 'Rome'); keyUp(box('txtFill', 0));"
                                               "typeInto(box('txtFill', 1), 'NewYork'); keyUp(box('txtFill', 1));"))
                     .right);

    fixture.shownQuestion(2, 2, 0, QStringLiteral("Explain."));
    fixture.writer().addFillAnswer(2, QStringLiteral("kernel\r\n"));
    fixture.writer().addFillAnswer(2, QStringLiteral("boot\r\nloader|grub"));
    EXPECT_TRUE(answerAndJudge(2, 2,
                               QStringLiteral("typeInto(box('ta'), 'The boot\\nloader starts the kernel.');"
                                              "keyUp(box('ta'));"))
                    .right);
    EXPECT_FALSE(answerAndJudge(2, 2, QStringLiteral("typeInto(box('ta'), 'The kernel.'); keyUp(box('ta'));")).right);
}

// A locked page takes no input: its controls are off, so neither a click
// nor a key reaches them, and nothing is reported; unlocked, the same click
// answers again, and a control the page had turned off itself stays off.
TEST_F(BuiltPageTest, ALockedPageTakesNoClickAndReportsNothing)
{
    fixture.shownQuestion(1, 1, 0, QStringLiteral("Pick"));
    fixture.choice(1, 1, "one", false).choice(1, 2, "two", true).choice(1, 3, "three", false);

    // Built locked, as review builds it.
    show(1, true);
    EXPECT_EQ(check(kTopDocument, "doc.querySelectorAll('input:enabled').length"), "0");
    EXPECT_EQ(act(kTopDocument, QStringLiteral("tick('2')")), QStringList{});
    EXPECT_EQ(ticked(), QString());

    // Locked and unlocked while shown, as a break and the marked panel do.
    show(1);
    view->runScript(QStringLiteral("document.querySelector('input[value=\"3\"]').disabled = true"));
    EXPECT_EQ(act(kTopDocument, QStringLiteral("tick('1')")), QStringList{"1,"});
    view->runScript(pageLockScript(true));
    view->runScript(pageLockScript(true));
    EXPECT_EQ(check(kTopDocument, "doc.querySelectorAll('input:enabled').length"), "0");
    EXPECT_EQ(act(kTopDocument, QStringLiteral("tick('2')")), QStringList{});
    EXPECT_EQ(ticked(), QStringLiteral("1"));
    view->runScript(pageLockScript(false));
    EXPECT_EQ(check(kTopDocument, "doc.querySelectorAll('input:disabled').length"), "1") << "the page's own stays off";
    EXPECT_EQ(act(kTopDocument, QStringLiteral("tick('2')")), QStringList{"2,"});
    EXPECT_EQ(pageErrors(), QString());
}

// The tree's frames are locked with the page, its drawn tree included.
TEST_F(PageScriptsTest, ALockedTreePageLocksItsFramesAndDropsClicksOnItsTree)
{
    showTree(QStringLiteral("Sort"), {QStringLiteral("Apple")}, QStringLiteral("Fruit,Tools"), QStringLiteral("Food"));
    view->runScript(pageLockScript(true));
    EXPECT_EQ(check(kTreeDocument, "doc.querySelectorAll('select:enabled, input:enabled').length"), "0");
    EXPECT_EQ(act(kTreeDocument, "pick('D1', 'Apple'); pickTree('Tools'); doc.getElementsByName('B1')[0].click()"),
              QStringList{})
        << "a pressed button of a locked page does nothing";
    view->runScript(pageLockScript(false));
    EXPECT_EQ(act(kTreeDocument, "pick('D1', 'Apple'); pickTree('Tools'); press(' Move     ')"),
              QStringList{"Fruit,Tools#Apple"});
}

// ---------------------------------------------------------------------------
// Installing the static files.

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

int runMkdata(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(ZIDUVER_MKDATA), args);
    if (!tool.waitForFinished(60000))
        return -1;
    return tool.exitCode();
}

const char* const kStaticFiles[] = {"main.html", "interactive.js", "new.js"};

TEST(StaticPageFiles, RefreshedIntoAnInstallationWithoutTouchingItsData)
{
    QTemporaryDir dir;
    const QDir home(dir.path());
    const QDir sample(QStringLiteral(ZIDUVER_SAMPLE_DIR));
    // An installation in use, with older copies of the scripts.
    for (const char* name : {"Ziduver.QZR", "setup.xml", "interactive.js"}) {
        QFile file(home.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old ");
        file.write(name);
    }

    EXPECT_EQ(runMkdata({"--static-files", "--home", dir.path()}), 0);
    for (const char* name : kStaticFiles)
        EXPECT_EQ(fileBytes(home.filePath(QLatin1String(name))), fileBytes(sample.filePath(QLatin1String(name))))
            << name;
    EXPECT_EQ(fileBytes(home.filePath("Ziduver.QZR")), QByteArray("old Ziduver.QZR"));
    EXPECT_EQ(fileBytes(home.filePath("setup.xml")), QByteArray("old setup.xml"));
    EXPECT_FALSE(home.exists(QStringLiteral("DataSkeleton.SKL")));

    EXPECT_EQ(runMkdata({"--static-files"}), 2) << "needs --home";
    EXPECT_EQ(runMkdata({"--static-files", "--home", dir.path(), "--force"}), 2);

    // A new installation has them too.
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    EXPECT_EQ(runMkdata({"--home", fresh}), 0);
    for (const char* name : kStaticFiles)
        EXPECT_EQ(fileBytes(QDir(fresh).filePath(QLatin1String(name))), fileBytes(sample.filePath(QLatin1String(name))))
            << name;
}

} // namespace
