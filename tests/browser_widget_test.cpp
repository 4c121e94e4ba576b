#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include "platform/browser/ScriptWait.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/TempHome.h"
#include "tests/support/UserClick.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPrinter>
#include <QSizeF>
#include <QStringList>
#include <QUrl>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The engine takes a second or two to start; every wait is generous.
constexpr int kWait = 15000;
// Printing a page as pictures takes long on a busy machine.
constexpr int kPrintWait = 60000;

QByteArray pngImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class BrowserViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view = std::make_unique<BrowserView>();
        view->resize(800, 600);
        view->show();
        QObject::connect(view.get(), &BrowserView::statusTextChanged, [this](const QString& text) { reports << text; });
        QObject::connect(view.get(), &BrowserView::navigationComplete,
                         [this](const QUrl& url) { navigations << url.toString(); });
    }

    QUrl base() const { return QUrl::fromLocalFile(home.path() + QLatin1Char('/')); }

    bool waitForReport(const QString& text)
    {
        return waitUntil([&] { return reports.contains(text); }, kWait);
    }

    TempHome home;
    std::unique_ptr<BrowserView> view;
    QStringList reports;
    QStringList navigations;
};

TEST_F(BrowserViewTest, StatusAssignmentsReachCppFromPageAndFrames)
{
    home.write("child.html", "<html><body><script>window.status = 'from child';</script></body></html>");
    view->writeHtml("<html><head><script>window.status = 'from page'; status = 'bare name';</script></head>"
                    "<body><iframe src='child.html'></iframe>"
                    "<iframe srcdoc=\"<script>parent.status = 'via parent'; window.status = 'srcdoc';</script>\">"
                    "</iframe>"
                    // A frame of another origin cannot reach the top document.
                    "<iframe sandbox='allow-scripts' srcdoc=\"<script>window.status = 'sandboxed';</script>\">"
                    "</iframe></body></html>",
                    base());

    ASSERT_TRUE(waitUntil([&] { return reports.size() >= 6; }, kWait)) << reports.join(" / ").toStdString();
    waitUntil([] { return false; }, 200);
    ASSERT_EQ(reports.size(), 6);
    EXPECT_TRUE(reports.contains("sandboxed"));
    EXPECT_EQ(reports.mid(0, 2), (QStringList{"from page", "bare name"}));
    EXPECT_TRUE(reports.contains("from child"));
    // Each frame's reports keep their order.
    EXPECT_LT(reports.indexOf("via parent"), reports.indexOf("srcdoc"));
    EXPECT_EQ(view->runScript("window.status").toString(), "via parent");
}

TEST_F(BrowserViewTest, BurstArrivesCompleteInOrderAndOnceAcrossFlush)
{
    view->writeHtml("<html><body>burst</body></html>", base());
    ASSERT_TRUE(view->waitForLoad(kWait));

    // Fired without waiting; the flush right after must find every report
    // that the console path has not delivered yet, and none twice.
    view->page()->runJavaScript("for (var i = 0; i < 500; i++) {"
                                "  window.status = (i === 250) ? 'L' + 'x'.repeat(200000) : 'r' + i; }");
    ASSERT_TRUE(view->flushStatus(kWait));

    ASSERT_EQ(reports.size(), 500);
    for (int i = 0; i < 500; ++i) {
        if (i == 250)
            EXPECT_EQ(reports[i], QLatin1Char('L') + QString(200000, QLatin1Char('x')));
        else
            EXPECT_EQ(reports[i], QStringLiteral("r%1").arg(i)) << "at " << i;
    }
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(reports.size(), 500);
}

struct FocusCase {
    const char* name;
    const char* page;  // the focused box is #box in the document named by frame
    const char* frame; // script expression of the box's document
    const char* expected;
};

void PrintTo(const FocusCase& c, std::ostream* os)
{
    *os << c.name;
}

class FlushBeforeCommand : public BrowserViewTest, public ::testing::WithParamInterface<FocusCase> { };

TEST_P(FlushBeforeCommand, ReportOfFocusedBoxIsNotLost)
{
    const FocusCase& c = GetParam();
    home.write("box.html",
               "<html><body><input id=box onchange=\"window.status = this.value + '|';\">"
               "</body></html>");
    view->writeHtml(QString::fromUtf8(c.page), base());
    ASSERT_TRUE(view->waitForLoad(kWait));
    ASSERT_TRUE(waitUntil(
        [&] { return view->runScript(QStringLiteral("!!%1.getElementById('box')").arg(c.frame)).toBool(); }, kWait));

    // Typing leaves the box focused; its handler reports only on blur or change.
    ASSERT_EQ(view->runScript(QStringLiteral("var d = %1; d.getElementById('box').focus();"
                                             "d.execCommand('insertText', false, 'Paris');"
                                             "d.activeElement.id")
                                  .arg(c.frame))
                  .toString(),
              "box");
    EXPECT_TRUE(reports.isEmpty());

    // The "button click": the command flushes and reads the answer at once.
    ASSERT_TRUE(view->flushStatus(kWait));
    EXPECT_EQ(reports, QStringList{c.expected});
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, FlushBeforeCommand,
    ::testing::Values(
        FocusCase{"ChangeInPage",
                  "<html><body><input id=box onchange=\"window.status = this.value + '|';\"></body></html>", "document",
                  "Paris|"},
        FocusCase{"BlurOfTextArea",
                  "<html><body><form name=myForm><textarea id=box name=ta onBlur=\"window.status = this.value;\">"
                  "</textarea></form></body></html>",
                  "document", "Paris"},
        FocusCase{"ChangeInFrame", "<html><body><iframe src='box.html'></iframe></body></html>", "frames[0].document",
                  "Paris|"}),
    [](const ::testing::TestParamInfo<FocusCase>& info) { return std::string(info.param.name); });

TEST_F(BrowserViewTest, ReportsOfReplacedPageAreDropped)
{
    // The old page reports without pause, so reports of it are always on the
    // way when it is replaced.
    view->writeHtml("<html><body><script>var n = 0;"
                    "setInterval(function () { for (var i = 0; i < 20; i++) window.status = 'old' + (n++); }, 0);"
                    "</script></body></html>",
                    base());
    ASSERT_TRUE(waitUntil([&] { return reports.size() > 50; }, kWait));

    view->writeHtml("<html><body><script>window.status = 'new';</script></body></html>", base());
    const qsizetype replacedAt = reports.size();
    view->flushStatus(kWait);
    ASSERT_TRUE(waitForReport("new"));
    waitUntil([] { return false; }, 300);

    EXPECT_EQ(reports.mid(replacedAt), QStringList{"new"});
}

TEST_F(BrowserViewTest, AFileOfNoPageKindIsNeverShown)
{
    // Only the pages' own kinds of file are served, whatever asks for them;
    // what cannot be loaded shows the program's own short page.
    home.write("archive.zip", QByteArray("PK\x03\x04", 4) + QByteArray(64, 'z'));
    view->writeHtml("<html><body>page</body></html>", base());
    ASSERT_TRUE(view->waitForLoad(kWait));
    view->navigate(home.file("archive.zip"));
    QString shown;
    ASSERT_TRUE(waitUntil(
        [&] {
            shown = view->runScript("document.documentElement.outerHTML").toString();
            return shown.contains("could not be reached");
        },
        kWait));
    EXPECT_FALSE(shown.contains("PK")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("This page could not be reached")) << "the program's own page, not the engine's";
    EXPECT_TRUE(shown.contains("archive.zip"));

    view->writeHtml("<html><body><script>window.status = 'next page';</script></body></html>", base());
    ASSERT_TRUE(view->waitForLoad(kWait));
    EXPECT_TRUE(waitForReport("next page"));
}

TEST_F(BrowserViewTest, WrittenPageLoadsRelativeImage)
{
    home.write("images/pic.png", pngImage(37, 21));
    view->writeHtml("<html><body><img id=pic src='images/pic.png'></body></html>", base());
    ASSERT_TRUE(view->waitForLoad(kWait));

    EXPECT_EQ(view->runScript("document.getElementById('pic').naturalWidth").toInt(), 37);
    EXPECT_EQ(view->locationUrl(), base().toString());
    EXPECT_TRUE(navigations.isEmpty()) << "a written page is no navigation";
}

// A picture whose tag (from its header) claims 2147483647 x 2147483647, a
// real one wider than the page, and a tall one in a table cell: each is drawn
// within the page, its aspect kept, and the text after it stays in reach.
TEST_F(BrowserViewTest, APictureIsNeverDrawnLargerThanThePage)
{
    QByteArray claim = pngImage(4, 4);
    claim.replace(16, 8, QByteArray("\x7f\xff\xff\xff\x7f\xff\xff\xff", 8));
    home.write("images/claim.png", claim);
    home.write("images/wide.png", pngImage(1600, 400));
    home.write("images/tall.png", pngImage(10, 5000));
    view->writeHtml("<html><body><img id=claim src='images/claim.png' height=2147483647 width=2147483647>"
                    "<img id=wide src='images/wide.png' height=400 width=1600 style='max-width: none'>"
                    "<table><tr><td><img id=tall src='images/tall.png' height=5000 width=10></td></tr></table>"
                    "<p id=after>after</p></body></html>",
                    base());
    ASSERT_TRUE(view->waitForLoad(kWait));
    ASSERT_TRUE(waitUntil([&] { return view->runScript("document.getElementById('tall').complete").toBool(); }, kWait));
    const auto box = [&](const char* id) {
        const QVariantList r =
            view->runScript(QStringLiteral("(function(){var r=document.getElementById('%1').getBoundingClientRect();"
                                           "return [r.width, r.height];})()")
                                .arg(QLatin1String(id)))
                .toList();
        return r.size() == 2 ? QSizeF(r[0].toDouble(), r[1].toDouble()) : QSizeF();
    };
    const double width = view->runScript("innerWidth").toDouble();
    const double height = view->runScript("innerHeight").toDouble();
    ASSERT_GT(width, 100);
    for (const char* id : {"claim", "wide", "tall"}) {
        const QSizeF drawn = box(id);
        EXPECT_GT(drawn.width(), 0) << id;
        EXPECT_LE(drawn.width(), width) << id;
        EXPECT_LE(drawn.height(), height) << id;
    }
    EXPECT_NEAR(box("wide").height() * 4, box("wide").width(), 4) << "the aspect kept";
    const double after = view->runScript("document.getElementById('after').getBoundingClientRect().top").toDouble();
    EXPECT_LT(after, 4 * height) << "the text after the pictures is in reach";
}

TEST_F(BrowserViewTest, PageBeyondDataUrlLimitLoadsWithBaseAndChannel)
{
    // Blanks and quotes triple in percent-encoding: 1 MB of them is past the
    // engine's 2 MB URL limit.
    home.write("pic.png", pngImage(12, 8));
    QString filler;
    for (int i = 0; i < 40000; ++i)
        filler += QStringLiteral("<p class=\"x\">line %1 </p>\n").arg(i);
    ASSERT_GT(filler.toUtf8().size(), 1000000);
    view->writeHtml("<html><head><title>long</title></head><body>" + filler
                        + "<p id=end>fin \u00e9\u20ac</p><img id=pic src='pic.png'>"
                          "<script>window.status = 'long page';</script></body></html>",
                    base());
    ASSERT_TRUE(view->waitForLoad(kWait));

    EXPECT_EQ(view->runScript("document.getElementById('end').textContent").toString(), QString("fin \u00e9\u20ac"));
    EXPECT_EQ(view->runScript("document.getElementById('pic').naturalWidth").toInt(), 12);
    EXPECT_TRUE(waitForReport("long page"));
    EXPECT_EQ(view->locationUrl(), base().toString());
}

TEST_F(BrowserViewTest, NavigationHistoryAndLocation)
{
    home.write("explanation.html", "<html><body><a id=go href='other.html'>link</a></body></html>");
    home.write("other.html", "<html><body>other</body></html>");
    EXPECT_FALSE(view->goBack()) << "nothing to go back to";

    view->navigate("about:blank");
    ASSERT_TRUE(view->waitForLoad(kWait));
    EXPECT_EQ(view->locationUrl(), "about:blank");

    view->navigate(home.file("explanation.html"));
    ASSERT_TRUE(view->waitForLoad(kWait));
    // A link the user clicks is handed over, never followed in the view.
    QList<QUrl> clicked;
    QObject::connect(view.get(), &BrowserView::linkClicked, [&](const QUrl& url) { clicked << url; });
    ASSERT_TRUE(userClickOn(view.get(), "document.getElementById('go')"));
    ASSERT_TRUE(waitUntil([&] { return !clicked.isEmpty(); }, kWait));
    EXPECT_EQ(page_address::localPath(clicked.first()), home.file("other.html"));
    EXPECT_TRUE(view->locationUrl().endsWith("explanation.html"));
    view->navigate(home.file("other.html"));
    ASSERT_TRUE(view->waitForLoad(kWait));
    EXPECT_EQ(QUrl(view->locationUrl()), QUrl::fromLocalFile(home.file("other.html")));

    ASSERT_TRUE(view->goBack());
    ASSERT_TRUE(view->waitForLoad(kWait));
    EXPECT_TRUE(view->locationUrl().endsWith("explanation.html"));
    ASSERT_TRUE(view->goBack());
    ASSERT_TRUE(view->waitForLoad(kWait));
    EXPECT_EQ(view->locationUrl(), "about:blank");

    ASSERT_TRUE(waitUntil([&] { return navigations.size() >= 5; }, kWait));
    EXPECT_EQ(navigations.first(), "about:blank");
    EXPECT_TRUE(navigations[1].endsWith("explanation.html"));
    EXPECT_TRUE(navigations[2].endsWith("other.html"));
    EXPECT_TRUE(navigations[3].endsWith("explanation.html"));
    EXPECT_EQ(navigations[4], "about:blank");

    // Writing over the blank page raises no navigation event.
    view->writeHtml("<html><body>written</body></html>", base());
    ASSERT_TRUE(view->waitForLoad(kWait));
    view->refresh();
    ASSERT_TRUE(view->waitForLoad(kWait));
    EXPECT_EQ(view->runScript("document.body.textContent").toString(), "written");
    EXPECT_EQ(navigations.size(), 5);
}

TEST_F(BrowserViewTest, AClickedLinkReportsTheAddressItHadWhenPressed)
{
    // The page's own script changes a link, or the link under the pointer,
    // once the button or the key is down.
    home.write("swaps.html",
               "<html><body style='font-size:40px'>"
               "<p><a id=go href='https://example.org/answer'>go</a></p>"
               "<p><a id=moved href='https://example.org/moved'>moved</a></p>"
               "<p><a id=key href='https://example.org/key'>key</a></p>"
               "<script>"
               "window.ups = 0; addEventListener('mouseup', function () { window.ups++; });"
               "var go = document.getElementById('go'), key = document.getElementById('key');"
               "go.addEventListener('mousedown', function () { go.href = 'https://example.org/leak?page-data'; });"
               "key.addEventListener('keydown', function () { key.href = 'https://example.org/leak?keyed'; });"
               "var moved = document.getElementById('moved');"
               "moved.addEventListener('mousedown', function () {"
               "  var other = document.createElement('a'); other.href = 'https://example.org/leak?other';"
               "  other.textContent = 'moved'; moved.replaceWith(other); });"
               "</script></body></html>");
    view->navigate(home.file("swaps.html"));
    ASSERT_TRUE(view->waitForLoad(kWait));
    QList<QUrl> clicked;
    QObject::connect(view.get(), &BrowserView::linkClicked, [&](const QUrl& url) { clicked << url; });

    ASSERT_TRUE(userClickOn(view.get(), "document.getElementById('go')"));
    ASSERT_TRUE(waitUntil([&] { return !clicked.isEmpty(); }, kWait));
    EXPECT_EQ(clicked.first(), QUrl("https://example.org/answer"));
    EXPECT_EQ(view->runScript("document.getElementById('go').href").toString(),
              "https://example.org/leak?page-data")
        << "the page changed the link before the click";

    // Another link under the pointer by the click reports nothing; reports
    // come in order, so the next click shows that none came.
    ASSERT_TRUE(userClickOn(view.get(), "document.getElementById('moved')"));
    // Enter on a focused link; the click before must be over, or its press
    // takes the focus away.
    ASSERT_TRUE(waitUntil([&] { return view->runScript("window.ups").toInt() == 2; }, kWait));
    ASSERT_TRUE(waitUntil(
        [&] {
            return view->runScript("document.getElementById('key').focus(); document.activeElement.id").toString()
                == "key";
        },
        kWait));
    QWidget* input = view->view()->focusProxy();
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(input, &event);
    }
    ASSERT_TRUE(waitUntil([&] { return clicked.size() >= 2; }, kWait));
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(clicked, QList<QUrl>({QUrl("https://example.org/answer"), QUrl("https://example.org/key")}));
    EXPECT_TRUE(view->locationUrl().endsWith("swaps.html")) << "no link was followed in the view";
}

TEST_F(BrowserViewTest, PrintsToPdfFileAndPrinter)
{
    view->writeHtml("<html><body><h1>Printed page</h1></body></html>", base());
    const QString direct = home.file("direct.pdf");
    ASSERT_TRUE(view->printToPdfAndWait(direct, kPrintWait));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(home.file("printer.pdf"));
    ASSERT_TRUE(view->printAndWait(&printer, kPrintWait));

    for (const QString& path : {direct, home.file("printer.pdf")}) {
        QFile pdf(path);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_GT(pdf.size(), 500);
        EXPECT_TRUE(pdf.read(5) == "%PDF-") << path.toStdString();
    }
}

} // namespace
