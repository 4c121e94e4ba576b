// The exam window's keys on a real display, pressed as the user presses
// them: they work while the exam window has the focus, and do nothing while
// a modal window of the exam lies over it.
#include "exam/links/QuestionSheetLink.h"
#include "exam/links/ResultWindowLink.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/SharedState.h"
#include "platform/browser/BrowserView.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/XKeyboard.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

bool focused(QWidget& window)
{
    return window.windowHandle() && QGuiApplication::focusWindow() == window.windowHandle();
}

class ExamKeysOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xServerUnavailable().isEmpty())
            GTEST_SKIP() << xServerUnavailable().toStdString();
        if (!keyboard.available())
            GTEST_SKIP() << "the X test extension's libraries (libX11, libXtst) are missing";
        installUiHooks(&hooks);
        ReturnToMainWindowLink::wire([this] { ++returns; });
        ResultWindowLink::wire([this](const ExamSession&, QWidget*) { ++results; });
        bank.category(1, {}, true).questions(1, 3, 1);
        for (int q = 1; q <= 3; ++q)
            bank.choice(q, 1, QStringLiteral("Right"), true).choice(q, 2, QStringLiteral("Wrong"), false);
    }
    void TearDown() override
    {
        if (frmZiduver* w = frmZiduver::running())
            w->unload();
        settle(150);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        installUiHooks(nullptr);
        ReturnToMainWindowLink::wire(nullptr);
        ResultWindowLink::wire(nullptr);
        QuestionSheetLink::wire(nullptr);
    }

    // A practice exam, up and in front, the focus on its page.
    frmZiduver* launchFocused()
    {
        frmZiduver::launch(testLaunchRecord({QStringLiteral("PRACTICE"), 3, bank.path()}, QStringLiteral("Ziduver")));
        frmZiduver* w = frmZiduver::running();
        if (!w)
            return nullptr;
        if (!waitFor([&] { return w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed(); }, 10000))
            return nullptr;
        w->activateWindow();
        if (!waitFor([&] { return focused(*w); }, 5000) || !w->www1->waitForLoad(10000)
            || !waitFor([&] { return w->www1->view()->focusProxy() != nullptr; }, 10000))
            return nullptr;
        w->www1->view()->focusProxy()->setFocus(Qt::MouseFocusReason);
        settle(200);
        return w;
    }

    RecordingUiHooks hooks;
    ExamBankFixture bank;
    XKeyboard keyboard;
    int returns = 0;
    int results = 0;
};

// Alt+E (End Exam) and F10 behind a modal window of the exam (the toolbar's
// question sheet, here a plain window in its place) do nothing: the exam
// goes on, no question is asked, no menu opens over the sheet. Closed, the
// exam window's keys work again.
TEST_F(ExamKeysOnX11, TheExamWindowsKeysDoNothingBehindTheQuestionSheet)
{
    frmZiduver* w = launchFocused();
    ASSERT_NE(w, nullptr);
    const QPointer<frmZiduver> alive(w);
    bool sheetFocused = false;
    bool endAskedBehind = false;
    bool menuBehind = false;
    const auto behindTheSheet = [&] {
        QDialog* sheet = nullptr;
        // Whatever happens, the sheet closes and the test goes on.
        const auto close = qScopeGuard([&] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        });
        if (!waitFor(
                [&] {
                    sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                    return sheet && focused(*sheet);
                },
                10000))
            return;
        sheetFocused = true;
        settle(300);
        keyboard.press({XKeyboard::kAlt, 'e'});
        settle(300);
        endAskedBehind = !hooks.messages().empty() || !alive || alive->run.phase() != ExamRun::Phase::Answering;
        keyboard.press({XKeyboard::kF10});
        menuBehind = alive && alive->mnuBar->activeAction() != nullptr;
        if (QMenu* open = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
            open->close();
    };
    // The keys are pressed once the sheet's own loop runs.
    QuestionSheetLink::wire([&](const ExamSession&, QWidget* owner) {
        QDialog sheet(owner);
        sheet.resize(400, 300);
        QTimer::singleShot(0, behindTheSheet);
        sheet.exec();
    });
    w->tbar[0]->click();
    ASSERT_TRUE(sheetFocused);
    EXPECT_FALSE(endAskedBehind) << "Alt+E behind the sheet ended or asked to end the exam";
    EXPECT_FALSE(menuBehind) << "F10 behind the sheet opened the exam window's menu";
    ASSERT_TRUE(alive);
    EXPECT_EQ(results, 0);
    EXPECT_EQ(returns, 0);
}

// F10 opens the exam window's menu wherever the focus is, the page
// included, as it opens the main window's.
TEST_F(ExamKeysOnX11, F10OpensTheExamWindowsMenuFromThePage)
{
    frmZiduver* w = launchFocused();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->www1->view()->focusProxy()->hasFocus());
    keyboard.press({XKeyboard::kF10});
    EXPECT_TRUE(waitFor([&] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }, 3000))
        << "no menu opened";
    QMenu* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->title(), QStringLiteral("&File")) << "the first menu";
    open->close();
    settle(200);
    EXPECT_EQ(frmZiduver::running(), w) << "the menu's return does not end the exam";
}

} // namespace
