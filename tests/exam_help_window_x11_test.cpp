// The exam window's Help window and menu bar on a real display: going to
// them and back moves the focus, and must neither end the exam nor redraw
// the question (which would drop the answer on the page).
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/WidgetExamHelp.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetUiHooks.h"
#include "platform/browser/BrowserView.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/support/PageActions.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

bool focused(QWidget& window)
{
    return window.windowHandle() && QGuiApplication::focusWindow() == window.windowHandle();
}

class ExamHelpOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xServerUnavailable().isEmpty())
            GTEST_SKIP() << xServerUnavailable().toStdString();
        installUiHooks(&hooks);
        ReturnToMainWindowLink::wire([this] { ++returns; });
    }
    void TearDown() override
    {
        if (frmZiduver* w = frmZiduver::running())
            w->unload();
        settle(150);
        installUiHooks(nullptr);
        ReturnToMainWindowLink::wire(nullptr);
    }
    WidgetUiHooks hooks;
    int returns = 0;
};

TEST_F(ExamHelpOnX11, GoingToTheHelpWindowOrTheMenuAndBackKeepsTheExamAndTheAnswerOnThePage)
{
    ExamBankFixture bank;
    bank.category(1, {}, true).questions(1, 3, 1);
    for (int q = 1; q <= 3; ++q)
        bank.choice(q, 1, QStringLiteral("Right"), true).choice(q, 2, QStringLiteral("Wrong"), false);
    frmZiduver::launch(testLaunchRecord({QStringLiteral("PRACTICE"), 3, bank.path()}, QStringLiteral("Ziduver")));
    ASSERT_NE(frmZiduver::running(), nullptr);
    frmZiduver& w = *frmZiduver::running();
    const QPointer<frmZiduver> alive(&w);
    ASSERT_TRUE(waitFor([&] { return w.isVisible() && w.windowHandle() && w.windowHandle()->isExposed(); }, 5000));
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return focused(w); }, 5000));
    ASSERT_TRUE(w.www1->waitForLoad());
    settle(300);

    // An answer on the page, not recorded yet.
    const QString tickSecond = QStringLiteral("(function () { var doc = document; %1 tick('2'); return 'ok'; })()")
                                   .arg(QString::fromUtf8(kPageActions));
    ASSERT_EQ(w.www1->runScript(tickSecond).toString(), QStringLiteral("ok"));
    const auto secondTicked = [&] {
        return w.www1->runScript(QStringLiteral("document.querySelector('input[name=menu][value=\"2\"]').checked"))
            .toBool();
    };
    ASSERT_TRUE(secondTicked());

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        w.tbar[5]->click();
        ASSERT_NE(w.helpWindow(), nullptr);
        WidgetExamHelp& help = *w.helpWindow();
        ASSERT_TRUE(waitFor([&] { return help.isVisible() && help.windowHandle()->isExposed(); }, 5000));
        help.activateWindow();
        ASSERT_TRUE(waitFor([&] { return focused(help); }, 5000)) << "the Help window never got the focus";
        // As if the guard had been set again meanwhile: the return from the
        // Help window must not count as a return from another window.
        gGuard.gExamWindowActive = true;
        w.activateWindow();
        ASSERT_TRUE(waitFor([&] { return focused(w); }, 5000));
        settle(300);
        ASSERT_TRUE(alive) << "the return from the Help window ended the exam";
        EXPECT_TRUE(secondTicked()) << "the return from the Help window redrew the question";
    }

    // The menu bar's menus come and go as popups.
    QMenu* option = w.mnuBar->findChildren<QMenu*>().value(1);
    ASSERT_NE(option, nullptr);
    option->popup(w.mapToGlobal(QPoint(40, 20)));
    ASSERT_TRUE(waitFor([] { return QApplication::activePopupWidget() != nullptr; }, 5000));
    QApplication::activePopupWidget()->close();
    settle(300);
    ASSERT_TRUE(alive) << "dismissing the menu ended the exam";
    EXPECT_EQ(returns, 0);

    // The Help window goes with the exam.
    const QPointer<WidgetExamHelp> help = w.helpWindow();
    w.unload();
    settle(150);
    EXPECT_TRUE(!help || !help->isVisible());
}

} // namespace
