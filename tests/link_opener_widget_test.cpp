#include "foundation/LinkTargets.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetLinkOpener.h"
#include "foundation/windows/frmDbMessage.h"
#include "platform/browser/BrowserView.h"
#include "platform/browser/ScriptWait.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/ModalDialogWaits.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QUrl>
#include <gtest/gtest.h>

// A question's link to a page of the exam's folder that holds a script: the
// page shows in the program's own page window, sanitized as a scenario page
// is (its text and its picture kept, its script gone), and nothing reaches
// the desktop.
TEST(ExamDocumentLink, AnExamsPageShowsSanitizedInTheProgramsOwnWindow)
{
    resetStartupState();
    RecordingUiHooks ui;
    TempHome home;
    gLogin.gAppName = QStringLiteral("Ziduver");
    home.write(QStringLiteral("Data/Exam/exam.qzr"), "");
    home.write(QStringLiteral("Data/Exam/images/pic.gif"), QByteArray::fromBase64("R0lGODlhAQABAAAAACwAAAAAAQABAAACAA=="));
    home.write(QStringLiteral("Data/Exam/Scenario/beacon.htm"),
               "<html><head><title>Beacon</title><script>document.title = 'ran';</script></head><body>"
               "<p id=text>Beacon text</p><img id=pic src='../images/pic.gif'>"
               "<script>document.body.appendChild(document.createTextNode('script ran'));</script></body></html>");
    gLogin.gExamDbPath = home.file(QStringLiteral("Data/Exam/exam.qzr"));

    QString shown;
    QString title;
    whenShown<frmDbMessage>([&](frmDbMessage& window) {
        title = window.windowTitle();
        waitUntil(
            [&] {
                shown = window.www1->runScript(QStringLiteral("document.documentElement.outerHTML")).toString();
                return shown.contains(QLatin1String("Beacon text"));
            },
            15000);
        window.accept();
    });
    WidgetLinkOpener opener;
    EXPECT_TRUE(openLinkTarget(page_address::forFile(home.file(QStringLiteral("Data/Exam/scenario/BEACON.htm"))).toString(),
                               LinkSource::PageLink, opener, QStringLiteral("LinkClicked")));
    waitUntil([&] { return !title.isEmpty() && !QApplication::activeModalWidget(); }, 20000);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(shown.contains(QLatin1String("Beacon text"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QLatin1String("pic.gif"))) << "its own picture kept: " << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1String("<script"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1String("script ran"))) << shown.toStdString();
    EXPECT_EQ(title, QStringLiteral("beacon.htm"));
    resetStartupState();
}
