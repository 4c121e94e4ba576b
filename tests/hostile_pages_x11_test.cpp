#include "exam/frmZiduver.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "foundation/LinkTargets.h"
#include "foundation/SharedState.h"
#include "foundation/WidgetPageLinks.h"
#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/support/RecordingLinkOpener.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"
#include "tests/support/UserClick.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QApplication>
#include <QDesktopServices>
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
    // The id of a link the user clicks, or "".
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
    {"a link of a made-up scheme clicked", "<a id=go href='zidtest://hello' style='font-size:40px'>X</a>", "go", true},
    {"script-started navigation and a new window to a made-up scheme",
     "<script>setTimeout(function () { location = 'zidtest://loc'; }, 50);"
     "window.open('zidtest://win'); window.open('mailto:a@example.org?attach=/etc/passwd');</script>Q",
     "", false},
    {"a mail link that attaches a file",
     "<a id=go href='mailto:a@example.org?attach=/etc/passwd' "
     "style='font-size:40px'>M</a>",
     "go", true},
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
        ReturnToMainWindowLink::wire(nullptr);
    }

    QString withAddresses(QString text) const
    {
        const QString qzr = home.file(QStringLiteral("Ziduver.QZR"));
        text.replace(QStringLiteral("{QZRFILE}"), QUrl::fromLocalFile(qzr).toString());
        text.replace(QStringLiteral("{QZR}"), page_address::forFile(qzr).toString());
        text.replace(QStringLiteral("{TXT}"), page_address::forFile(home.file(QStringLiteral("notes.txt"))).toString());
        return text;
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
};

TEST_F(HostilePagesOnX11, AQuestionReadsNoFileAndStartsNoProgram)
{
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        opener.opened.clear();
        desktop.opened.clear();
        frmZiduver* w = launchWith(QString::fromUtf8(kReader) + withAddresses(QString::fromUtf8(c.text)));
        ASSERT_NE(w, nullptr) << "the question page never loaded";
        const QPointer<frmZiduver> alive(w);
        if (*c.click) {
            ASSERT_TRUE(
                userClickOn(w->www1, QStringLiteral("document.getElementById('%1')").arg(QString::fromUtf8(c.click))));
        }
        settle(1200);
        ASSERT_TRUE(alive) << "the exam ended";

        const QString shown = w->www1->runScript(QStringLiteral("document.documentElement.outerHTML")).toString();
        const QStringList leaked =
            w->www1->runScript(QStringLiteral("(window.__leak || []).join('\\n')")).toString().split('\n');
        EXPECT_TRUE(w->www1->runScript(QStringLiteral("!!window.__ran")).toBool()) << "the page's script never ran";
        for (const QString& text : leaked) {
            EXPECT_FALSE(text.contains(QLatin1String(kSecret))) << text.toStdString();
            EXPECT_FALSE(text.contains(QLatin1String("root:"))) << text.toStdString();
        }
        EXPECT_FALSE(shown.contains(QLatin1String(kSecret)));
        EXPECT_TRUE(page_address::isPageAddress(w->www1->page()->url()) || w->www1->page()->url().scheme() == "data")
            << "the question page was left for " << w->www1->page()->url().toString().toStdString();
        EXPECT_TRUE(desktop.opened.isEmpty()) << desktop.opened.first().toString().toStdString();
        EXPECT_TRUE(opener.opened.empty()) << opener.opened.front().toString().toStdString();
        if (c.refusalSaid) {
            ASSERT_EQ(ui.messages().size(), 1u);
            EXPECT_TRUE(ui.messages()[0].text.contains(QLatin1String("was not opened")))
                << ui.messages()[0].text.toStdString();
        }
        w->unload();
        settle(100);
    }
}

TEST_F(HostilePagesOnX11, AWebLinkClickedOpensThroughTheLinkRules)
{
    frmZiduver* w = launchWith(QStringLiteral("<a id=go href='https://example.org/page' style='font-size:40px'>W</a>"));
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(userClickOn(w->www1, QStringLiteral("document.getElementById('go')")));
    ASSERT_TRUE(waitFor([&] { return !opener.opened.empty(); }, 5000));
    EXPECT_EQ(opener.opened.front(), QUrl(QStringLiteral("https://example.org/page")));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(page_address::isPageAddress(w->www1->page()->url()) || w->www1->page()->url().scheme() == "data")
        << "the link was followed in the exam window";
}

} // namespace

#include "hostile_pages_x11_test.moc"
