#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/LinkTargets.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetPageLinks.h"
#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/support/LoopbackListener.h"
#include "tests/support/RecordingLinkOpener.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"
#include "tests/support/UserClick.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPointer>
#include <QWebEngineView>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Stands in for the desktop: whatever the engine hands on for a scheme it
// does not serve itself arrives here instead of starting a program.
class DesktopRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

constexpr const char* kSecret = "SECRET-OF-THE-SYSTEM-DATABASE";

struct HostileCase {
    const char* name;
    // Question text. {QZR} is the system database's page address, {QZRFILE}
    // its file: URL, {TXT} the page address of a text file in the program
    // folder. Scripts put what they read into window.__leak.
    const char* text;
    // The link the user clicks, as a script expression, or "".
    const char* click;
    // Whether the program's own refusal is to be said.
    bool refusalSaid;
};

const char* const kReader = "<script>window.__leak = []; window.__ran = true;"
                            "function keep(t) { if (t) window.__leak.push(String(t).slice(0, 80)); }"
                            "function xhr(u) { try { var x = new XMLHttpRequest(); x.open('GET', u, false); x.send();"
                            " keep(x.responseText); } catch (e) {} }</script>";

const HostileCase kCases[] = {
    {"XHR of a system file, the system database by address and by file",
     "<script>xhr('file:' + '///etc/passwd'); xhr('{QZR}'); xhr('{QZRFILE}');</script>Q", "", false},
    {"fetch of the same",
     "<script>fetch('file:///etc/passwd').then(r => r.text()).then(keep).catch(function () {});"
     "fetch('{QZR}').then(r => r.text()).then(keep).catch(function () {});</script>Q",
     "", false},
    {"frames of local files read back",
     "<iframe id=a src='file:///etc/passwd' onload=\"try { keep(this.contentDocument.body.innerText) } catch (e) {}\">"
     "</iframe><iframe id=b src='{TXT}' onload=\"try { keep(this.contentDocument.body.innerText) } catch (e) {}\">"
     "</iframe><iframe id=c src='{QZR}' onload=\"try { keep(this.contentDocument.body.innerText) } catch (e) {}\">"
     "</iframe>Q",
     "", false},
    {"an image's error handler",
     "<img src=x onerror=\"xhr('file:///etc/passwd'); xhr('{QZR}'); window.__ran = 'img'\">Q", "", false},
    {"a link of a made-up scheme clicked", "<a href='zidtest://hello' style='font-size:40px'>X</a>", "document.querySelector('a')", false},
    {"script-started navigation and a new window to a made-up scheme",
     "<script>setTimeout(function () { location = 'zidtest://loc'; }, 50);"
     "window.open('zidtest://win'); window.open('mailto:a@example.org?attach=/etc/passwd');</script>Q",
     "", false},
    {"a mail link that attaches a file",
     "<a id=go href='mailto:a@example.org?attach=/etc/passwd' style='font-size:40px'>M</a>", "document.links[0]", true},
    {"a mail link that attaches a file behind a ;",
     "<a id=go href='mailto:a@b.example?subject=x;attach=/etc/passwd' style='font-size:40px'>M</a>", "document.links[0]", true},
    {"a mail link that attaches a file behind an encoded ?",
     "<a id=go href='mailto:a@b.example%3Fattach=/etc/passwd' style='font-size:40px'>M</a>", "document.links[0]", true},
    {"a TURN allocation from an empty frame's peer connection",
     "<script>var f = document.createElement('iframe'); document.body.appendChild(f);"
     "var pc = new f.contentWindow.RTCPeerConnection({iceServers: [{urls: 'turn:127.0.0.1:{TCP}?transport=tcp',"
     " username: 'u', credential: 'c'}]}); pc.createDataChannel('x');"
     "pc.createOffer().then(function (o) { return pc.setLocalDescription(o); });</script>Q",
     "", false},
    {"WebTransport", "<script>new WebTransport('https://127.0.0.1:{UDP}/x');</script>Q", "", false},
    {"a sandboxed frame navigates the page to the web",
     "<iframe sandbox='allow-scripts allow-top-navigation' "
     "srcdoc=\"<script>top.location.href='http://127.0.0.1:{TCP}/x'</script>\"></iframe>Q",
     "", false},
    {"a meta refresh to the web", "<meta http-equiv=refresh content='0;url=http://127.0.0.1:{TCP}/m'>Q", "", false},
    {"a box raised again and again", "<script>alert('x'); prompt('Enter your password');</script>Q", "", false},
    {"markup in a foreign namespace",
     "<svg><style><img src=x onerror=\"window.__ran = 'svg'\"></style></svg>"
     "<math><mtext><table><mglyph><style><img src=x onerror=\"window.__ran = 'math'\">Q",
     "", false},
};

class HostilePagesOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xServerUnavailable().isEmpty())
            GTEST_SKIP() << xServerUnavailable().toStdString();
        home.write(QStringLiteral("Ziduver.QZR"), kSecret);
        home.write(QStringLiteral("notes.txt"), kSecret);
        installPageLinks();
        installLinkOpener(&opener);
        BrowserPage::setDialogLog([this](const QString& kind, const QString&) { boxes << kind; });
        QDesktopServices::setUrlHandler(QStringLiteral("zidtest"), &desktop, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &desktop, "open");
        ReturnToMainWindowLink::wire([] {});
        bank.category(1, {}, true);
        bank.questions(101, 1, 1);
        bank.choice(101, 1, QStringLiteral("right"), true).choice(101, 2, QStringLiteral("wrong"), false);
    }
    void TearDown() override
    {
        if (frmZiduver::running())
            frmZiduver::running()->unload();
        settle(150);
        QDesktopServices::unsetUrlHandler(QStringLiteral("zidtest"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        installLinkOpener(nullptr);
        BrowserPage::setDialogLog(nullptr);
        ReturnToMainWindowLink::wire(nullptr);
    }

    QString withAddresses(QString text) const
    {
        const QString qzr = home.file(QStringLiteral("Ziduver.QZR"));
        text.replace(QStringLiteral("{QZRFILE}"), QUrl::fromLocalFile(qzr).toString());
        text.replace(QStringLiteral("{QZR}"), page_address::forFile(qzr).toString());
        text.replace(QStringLiteral("{TXT}"), page_address::forFile(home.file(QStringLiteral("notes.txt"))).toString());
        return listener.withPorts(text);
    }

    frmZiduver* launchWith(const QString& questionText)
    {
        bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_Quest_Desc = ?"), {questionText});
        frmZiduver::launch(testLaunchRecord({QStringLiteral("PRACTICE"), 1, bank.path()}, QStringLiteral("Ziduver")));
        frmZiduver* w = frmZiduver::running();
        if (!w || !waitFor([&] { return w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed(); }, 5000))
            return nullptr;
        return w->www1->waitForLoad() ? w : nullptr;
    }

    TempHome home;
    ExamBankFixture bank;
    RecordingUiHooks ui;
    RecordingOpener opener;
    DesktopRecorder desktop;
    LoopbackListener listener;
    QStringList boxes;
};

// No script of an exam runs in any page: whatever a question's text tries,
// nothing is read, nothing leaves the machine, no box opens, no program
// starts, and the question stays on the screen.
TEST_F(HostilePagesOnX11, AQuestionRunsNoScriptReadsNoFileAndStartsNoProgram)
{
    ASSERT_TRUE(listener.ready());
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        opener.opened.clear();
        desktop.opened.clear();
        boxes.clear();
        frmZiduver* w = launchWith(QString::fromUtf8(kReader) + withAddresses(QString::fromUtf8(c.text)));
        ASSERT_NE(w, nullptr) << "the question page never loaded";
        const QPointer<frmZiduver> alive(w);
        if (*c.click) {
            ASSERT_TRUE(
                userClickOn(w->www1, QString::fromUtf8(c.click)));
            if (c.refusalSaid) {
                ASSERT_TRUE(waitFor([&] { return !ui.messages().empty(); }, 5000)) << "no refusal said";
            }
        }
        settle(600);
        ASSERT_TRUE(alive) << "the exam ended";

        const QString shown = w->www1->runScript(QStringLiteral("document.documentElement.outerHTML")).toString();
        EXPECT_FALSE(w->www1->runScript(QStringLiteral("!!window.__ran")).toBool()) << "a script of the exam ran";
        EXPECT_FALSE(shown.contains(QLatin1String("<script>window.__leak"))) << "the exam's script reached the page";
        EXPECT_FALSE(shown.contains(QLatin1String(kSecret)));
        EXPECT_TRUE(page_address::isPageAddress(w->www1->page()->url()) || w->www1->page()->url().scheme() == "data")
            << "the question page was left for " << w->www1->page()->url().toString().toStdString();
        EXPECT_TRUE(desktop.opened.isEmpty()) << desktop.opened.first().toString().toStdString();
        EXPECT_TRUE(opener.opened.empty()) << opener.opened.front().toString().toStdString();
        EXPECT_TRUE(listener.arrived.isEmpty()) << listener.arrived.join(", ").toStdString();
        EXPECT_TRUE(boxes.isEmpty()) << boxes.join(", ").toStdString();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        if (c.refusalSaid) {
            ASSERT_EQ(ui.messages().size(), 1u);
            EXPECT_TRUE(ui.messages()[0].text.contains(QLatin1String("was not opened")))
                << ui.messages()[0].text.toStdString();
        } else {
            EXPECT_TRUE(ui.messages().empty()) << ui.messages()[0].text.toStdString();
        }
        w->unload();
        settle(100);
    }
}

// Files dropped into an exam's folder: a page that starts with a byte that
// would push the policy out of the head, a symbolic link that leads out of
// the folder, a link named like a program, a program named like a document.
TEST_F(HostilePagesOnX11, FilesDroppedIntoTheExamsFolderRunNothingAndOpenNothing)
{
    ASSERT_TRUE(listener.ready());
    const QString folder = QFileInfo(bank.path()).absolutePath();
    const auto write = [&](const QString& name, const QByteArray& content) {
        QDir().mkpath(QFileInfo(folder + "/" + name).absolutePath());
        QFile file(folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    write(QStringLiteral("Scenario/evil.htm"),
          listener.withPorts(QStringLiteral("\x0B<!doctype html><html><body><p>SCENARIO TEXT</p><script>"
                                            "window.__ran = true; location.href = 'http://127.0.0.1:{TCP}/v';"
                                            "</script></body></html>"))
              .toUtf8());
    write(QStringLiteral("doc.txt"), "plain words");
    QFile::link(folder + "/doc.txt", folder + "/run.desktop");
    QFile::copy(QStringLiteral("/bin/true"), folder + "/fake.pdf");
    QFile::link(QStringLiteral("/"), folder + "/Scenario/root");

    // The scenario page, reached as a question's scenario.
    bank.conn().exec(QStringLiteral("INSERT INTO Qe_ScenarioContent (Qs_ScenarioId, Qs_ScenarioPath) VALUES (1, ?)"),
                     {QStringLiteral("evil.htm")});
    bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_IsScenario = 1, Qq_ScenarioId = 1"));
    frmZiduver* w = launchWith(QStringLiteral("<a href='run.desktop' style='font-size:30px'>A</a> "
                                              "<a href='fake.pdf' style='font-size:30px'>F</a>"));
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->ScenarioBroser, nullptr);
    ASSERT_TRUE(w->ScenarioBroser->waitForLoad());
    const QString scenario = w->ScenarioBroser->runScript(QStringLiteral("document.body.innerText")).toString();
    EXPECT_TRUE(scenario.contains(QLatin1String("SCENARIO TEXT"))) << scenario.toStdString();
    EXPECT_FALSE(w->ScenarioBroser->runScript(QStringLiteral("!!window.__ran")).toBool());

    // The links: never a program handed to the desktop.
    for (const char* link : {"document.links[0]", "document.links[1]"}) {
        SCOPED_TRACE(link);
        ui.clear();
        opener.opened.clear();
        ASSERT_TRUE(userClickOn(w->www1, QString::fromUtf8(link)));
        waitFor([&] { return !ui.messages().empty() || !opener.opened.empty(); }, 5000);
        for (const QUrl& url : opener.opened) {
            EXPECT_FALSE(url.toString().endsWith(QLatin1String(".desktop"))) << url.toString().toStdString();
            EXPECT_FALSE(url.toString().endsWith(QLatin1String(".pdf"))) << url.toString().toStdString();
        }
    }
    w->unload();
    settle(100);

    // A scenario whose real path leaves the exam's folder is refused.
    ui.clear();
    bank.conn().exec(QStringLiteral("UPDATE Qe_ScenarioContent SET Qs_ScenarioPath = ?"),
                     {QStringLiteral("root/etc/hostname")});
    w = launchWith(QStringLiteral("Q"));
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(waitFor([&] { return !ui.messages().empty(); }, 5000));
    EXPECT_TRUE(ui.messages()[0].text.contains(QLatin1String("outside the exam's folder")))
        << ui.messages()[0].text.toStdString();
    settle(300);
    EXPECT_TRUE(listener.arrived.isEmpty()) << listener.arrived.join(", ").toStdString();
    EXPECT_TRUE(desktop.opened.isEmpty());
}

TEST_F(HostilePagesOnX11, AWebLinkClickedOpensThroughTheLinkRules)
{
    frmZiduver* w = launchWith(QStringLiteral("<a href='https://example.org/page' style='font-size:40px'>W</a>"));
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(userClickOn(w->www1, QStringLiteral("document.links[0]")));
    ASSERT_TRUE(waitFor([&] { return !opener.opened.empty(); }, 5000));
    EXPECT_EQ(opener.opened.front(), QUrl(QStringLiteral("https://example.org/page")));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(page_address::isPageAddress(w->www1->page()->url()) || w->www1->page()->url().scheme() == "data")
        << "the link was followed in the exam window";
}

} // namespace

#include "hostile_pages_x11_test.moc"
