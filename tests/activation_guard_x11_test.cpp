#include "exam/frmZiduver.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/WidgetPageDialogs.h"
#include "foundation/WidgetUiHooks.h"
#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QWebEngineView>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool examRunning()
{
    return frmZiduver::running() != nullptr;
}

bool focused(QWidget& window)
{
    return QGuiApplication::focusWindow() == window.windowHandle();
}

// Closes the popup that is open (a menu, the page's context menu), the way
// Escape or a click elsewhere does.
bool dismissPopup()
{
    if (!waitFor([] { return QApplication::activePopupWidget() != nullptr; }, 5000))
        return false;
    QApplication::activePopupWidget()->close();
    return true;
}

// The program's real message box, answered by a click on its button as
// soon as it is up.
class AnsweringHooks : public WidgetUiHooks {
public:
    int boxes = 0;
    int messageBox(const QString& text, const QString& title, int style, QObject* owner) override
    {
        ++boxes;
        QTimer::singleShot(200, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                if (auto* ok = box->findChild<QPushButton*>(QStringLiteral("lblCaption1")))
                    ok->click();
        });
        return WidgetUiHooks::messageBox(text, title, style, owner);
    }
};

class ActivationGuardOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xServerUnavailable().isEmpty())
            GTEST_SKIP() << xServerUnavailable().toStdString();
        installUiHooks(&hooks);
        installPageDialogs();
        ReturnToMainWindowLink::wire([this] { ++returns; });
    }
    void TearDown() override
    {
        if (examRunning())
            frmZiduver::running()->unload();
        settle(150);
        installUiHooks(nullptr);
        ReturnToMainWindowLink::wire(nullptr);
    }
    AnsweringHooks hooks;
    int returns = 0;
};

// Menus, the page's context menu, tool tips and a page's alert() move the
// focus on a real display; none of them may end the exam. A plain window of
// the program that did not clear the guard still does, so the focus changes
// really are seen here.
TEST_F(ActivationGuardOnX11, PopupsMenusToolTipsAndPageAlertsNeverEndTheExam)
{
    ExamBankFixture bank;
    bank.category(1, {}, true).category(2, {}, true);
    bank.questions(101, 3, 1).questions(201, 3, 2);
    frmZiduver::launch(testLaunchRecord({QStringLiteral("PRACTICE"), 6, bank.path()}, QStringLiteral("Ziduver")));
    ASSERT_TRUE(examRunning());
    frmZiduver& w = *frmZiduver::running();
    const QPointer<frmZiduver> alive(&w);
    ASSERT_TRUE(waitFor([&] { return w.isVisible() && w.windowHandle() && w.windowHandle()->isExposed(); }, 5000));
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return focused(w); }, 5000)) << "the exam window never got the focus";
    ASSERT_TRUE(w.www1->waitForLoad());
    settle(300);
    ASSERT_TRUE(alive);

    QWidget* page = w.www1->view()->focusProxy();
    ASSERT_NE(page, nullptr);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        // The page's own context menu, opened by a right click.
        const QPoint at(40, 40);
        QMouseEvent press(QEvent::MouseButtonPress, at, page->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(page, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, page->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(page, &release);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, page->mapToGlobal(at));
        QApplication::sendEvent(page, &menuEvent);
        const bool pageMenu = dismissPopup();
        settle(150);
        ASSERT_TRUE(alive) << "dismissing the page's context menu ended the exam";

        // A menu of the window.
        QMenu menu(&w);
        menu.addAction(QStringLiteral("Print"));
        menu.popup(w.mapToGlobal(QPoint(60, 60)));
        ASSERT_TRUE(dismissPopup()) << "the menu never opened";
        settle(150);
        ASSERT_TRUE(alive) << "dismissing a menu ended the exam";
        if (!pageMenu)
            ADD_FAILURE() << "the page's context menu never opened";

        // A tool tip.
        QToolTip::showText(w.mapToGlobal(QPoint(80, 80)), QStringLiteral("Next question"), &w);
        settle(150);
        QToolTip::hideText();
        settle(150);
        ASSERT_TRUE(alive) << "a tool tip ended the exam";
    }

    // A page's alert() comes up in the program's own box.
    w.www1->page()->runJavaScript(QStringLiteral("alert('Sorry, you don\\'t have permission to do this.')"));
    ASSERT_TRUE(waitFor([&] { return hooks.boxes == 1; }, 5000));
    ASSERT_TRUE(waitFor([] { return QApplication::activeModalWidget() == nullptr; }, 5000));
    settle(300);
    ASSERT_TRUE(alive) << "a page alert ended the exam";
    EXPECT_EQ(returns, 0);
    // Without a window manager the focus does not go back by itself.
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return focused(w); }, 5000));
    settle(150);
    ASSERT_TRUE(alive);
    EXPECT_TRUE(gGuard.gExamWindowActive) << "the return after the box sets the guard again";

    // The guard itself still works on this display.
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(waitFor([&] { return focused(other); }, 5000));
    w.activateWindow();
    waitFor([&] { return !alive; }, 5000);
    settle(150);
    EXPECT_FALSE(alive) << "an unexpected return from another window of the program ends the exam";
    EXPECT_EQ(returns, 1);
}

} // namespace
