// The page shell on its own: pages written by the program itself, with
// scripts, stand for a script that got past the sanitizer. Whatever such a
// script tries, the page stays, nothing leaves the machine, no box opens and
// nothing that is not the page's own is read.
#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include "platform/browser/ScriptWait.h"
#include "platform/pages/PageAddress.h"
#include "platform/pages/ServedFiles.h"
#include "tests/support/LoopbackListener.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kWait = 15000;
constexpr const char* kSecret = "SECRET-NOT-FOR-PAGES";

class PageShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(listener.ready());
        view = std::make_unique<BrowserView>();
        view->resize(800, 600);
        view->show();
        QObject::connect(view.get(), &BrowserView::statusTextChanged, [this](const QString& text) { reports << text; });
        BrowserPage::setDialogLog([this](const QString& kind, const QString&) { boxes << kind; });
    }
    void TearDown() override { BrowserPage::setDialogLog(nullptr); }

    QUrl examBase() const { return QUrl::fromLocalFile(home.file(QStringLiteral("Data/Exam/"))); }

    // Writes the page and waits for its report "done".
    bool showAndWait(const QString& html)
    {
        reports.clear();
        view->writeHtml(html, examBase());
        return waitUntil([&] { return reports.contains(QStringLiteral("done")); }, kWait);
    }
    QString shownText() { return view->runScript(QStringLiteral("document.body ? document.body.innerText : ''")).toString(); }

    TempHome home;
    LoopbackListener listener;
    std::unique_ptr<BrowserView> view;
    QStringList reports;
    QStringList boxes;
};

TEST_F(PageShellTest, APageNeverNavigatesItselfAway)
{
    home.write(QStringLiteral("Data/Exam/exam.qzr"), "x");
    const struct {
        const char* name;
        const char* script; // runs in the page; reports "done" after its try
    } cases[] = {
        {"location.href", "location.href = 'http://127.0.0.1:{TCP}/href';"},
        {"location.replace", "location.replace('http://127.0.0.1:{TCP}/replace');"},
        {"a scripted link click", "var a = document.createElement('a'); a.href = 'http://127.0.0.1:{TCP}/a';"
                                  " document.body.appendChild(a); a.click();"},
        {"a meta refresh", "var m = document.createElement('meta'); m.httpEquiv = 'refresh';"
                           " m.content = '0;url=http://127.0.0.1:{TCP}/meta'; document.head.appendChild(m);"},
        {"a sandboxed frame's top navigation",
         "var f = document.createElement('iframe'); f.sandbox = 'allow-scripts allow-top-navigation';"
         " f.srcdoc = \"<script>top.location.href = 'http://127.0.0.1:{TCP}/top';</scr\" + \"ipt>\";"
         " document.body.appendChild(f);"},
        {"a page of the program's own scheme", "location.href = 'ziduver://files/etc/hostname';"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString page = QStringLiteral("<html><head></head><body><p>QUESTION STAYS</p><script>%1"
                                            " setTimeout(function () { window.status = 'done'; }, 600);</script>"
                                            "</body></html>")
                                 .arg(listener.withPorts(QString::fromLatin1(c.script)));
        ASSERT_TRUE(showAndWait(page));
        waitUntil([] { return false; }, 300);
        EXPECT_TRUE(shownText().contains(QLatin1String("QUESTION STAYS"))) << shownText().toStdString();
        EXPECT_NE(view->page()->url().scheme(), QStringLiteral("http"));
        EXPECT_TRUE(listener.arrived.isEmpty()) << listener.arrived.join(", ").toStdString();
    }
}

TEST_F(PageShellTest, APagesBoxesOpenNoWindowAndAnswerNo)
{
    ASSERT_TRUE(showAndWait(QStringLiteral("<body><script>alert('x');"
                                           " window.status = [confirm('Sure?'), prompt('Enter your password')].join('|');"
                                           " window.status = 'done';</script></body>")));
    EXPECT_TRUE(reports.contains(QStringLiteral("false|"))) << reports.join(" / ").toStdString();
    EXPECT_EQ(boxes, (QStringList{"alert", "confirm", "prompt"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PageShellTest, APageReadsOnlyItsOwnExamAndTheProgramsStaticFiles)
{
    home.write(QStringLiteral("main.html"), "<p>program page</p>");
    home.write(QStringLiteral("Data/Exam/exam.qzr"), "x");
    home.write(QStringLiteral("Data/Exam/Scenario/own.htm"), "<p>own scenario</p>");
    home.write(QStringLiteral("Data/Other/Scenario/theirs.htm"), QByteArray("<p>") + kSecret + "</p>");
    home.write(QStringLiteral("PrintQuestions.html"), QByteArray("<p>") + kSecret + "</p>");
    servedPageFiles().addPrivateFile(home.file(QStringLiteral("PrintQuestions.html")));
    QDir().mkpath(home.file(QStringLiteral("Data/Exam/Scenario")));
    QFile::link(home.path(), home.file(QStringLiteral("Data/Exam/Scenario/root")));

    const auto address = [&](const QString& name) { return page_address::forFile(home.file(name)).toString(); };
    const QString upperHost = address(QStringLiteral("PrintQuestions.html")).replace(QStringLiteral("//files/"),
                                                                                     QStringLiteral("//FILES/"));
    const QStringList frames = {address(QStringLiteral("Data/Exam/Scenario/own.htm")),
                                address(QStringLiteral("main.html")),
                                address(QStringLiteral("Data/Other/Scenario/theirs.htm")),
                                address(QStringLiteral("PrintQuestions.html")), upperHost,
                                address(QStringLiteral("Data/Exam/Scenario/root/PrintQuestions.html"))};
    QString page = QStringLiteral("<body><script>var seen = [], left = %1;"
                                  "function read(f) { try { seen.push(f.contentDocument.body.innerText); } catch (e) {"
                                  " seen.push(''); } if (--left === 0) { window.status = 'read:' + seen.join('|');"
                                  " window.status = 'done'; } }</script>")
                       .arg(frames.size());
    for (const QString& frame : frames)
        page += QStringLiteral("<iframe src='%1' onload='read(this)'></iframe>").arg(frame);
    ASSERT_TRUE(showAndWait(page + QStringLiteral("</body>")));
    QString read;
    for (const QString& report : reports)
        if (report.startsWith(QLatin1String("read:")))
            read = report;
    EXPECT_TRUE(read.contains(QLatin1String("own scenario"))) << read.toStdString();
    EXPECT_TRUE(read.contains(QLatin1String("program page"))) << read.toStdString();
    EXPECT_FALSE(read.contains(QLatin1String(kSecret))) << read.toStdString();
}

TEST_F(PageShellTest, AServedExamPageKeepsThePolicyFirstAndRunsNoScript)
{
    home.write(QStringLiteral("Data/Exam/exam.qzr"), "x");
    // A vertical tab before the doctype opens the body before anything the
    // program could put after the doctype.
    home.write(QStringLiteral("Data/Exam/Scenario/evil.htm"),
               "\x0B<!doctype html><html><head></head><body><p>SCENARIO TEXT</p>"
               "<script>window.__ran = true;</script><img src=x onerror='window.__ran = true'></body></html>");
    view->writeHtml(QStringLiteral("<p>q</p>"), examBase()); // the exam in use
    ASSERT_TRUE(view->waitForLoad(kWait));
    view->navigate(QUrl::fromLocalFile(home.file(QStringLiteral("Data/Exam/Scenario/evil.htm"))));
    ASSERT_TRUE(view->waitForLoad(kWait));
    EXPECT_TRUE(shownText().contains(QLatin1String("SCENARIO TEXT")));
    EXPECT_FALSE(view->runScript(QStringLiteral("!!window.__ran")).toBool());
    EXPECT_TRUE(view->runScript(QStringLiteral("!!document.head.querySelector("
                                               "'meta[http-equiv=\"Content-Security-Policy\"]')"))
                    .toBool());
}

TEST_F(PageShellTest, ThePageMenuOffersOnlyCopyAndSelectAll)
{
    ASSERT_TRUE(showAndWait(QStringLiteral("<body><p>text</p><a href='https://example.org/'>link</a>"
                                           "<script>window.status = 'done';</script></body>")));
    emit view->view()->customContextMenuRequested(QPoint(20, 20));
    ASSERT_TRUE(waitUntil([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }, kWait));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QStringList offered;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            offered << action->text().remove(QLatin1Char('&'));
    menu->close();
    EXPECT_EQ(offered.size(), 2) << offered.join(", ").toStdString();
    for (const QString& text : offered)
        EXPECT_TRUE(text.contains(QLatin1String("Copy")) || text.contains(QLatin1String("Select")))
            << text.toStdString();
}

} // namespace
