#include "exam/links/ExamReviewLink.h"
#include "exam/links/QuestionSheetLink.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetPageDialogs.h"
#include "foundation/windows/WidgetUiHooks.h"
#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include "results/windows/frmExamReview.h"
#include "results/windows/frmoffLineQuestions.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/support/TempHome.h"
#include "tests/x11_main/XvfbTestMain.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>
#include <QWebEngineView>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

bool examRunning()
{
    return frmZiduver::running() != nullptr;
}

bool focused(QWidget& window)
{
    return QGuiApplication::focusWindow() == window.windowHandle();
}

// Gives the focus to a plain window of the program, then back to the
// window: an unexpected return, as far as the guard can tell.
bool returnFromAnotherWindow(QWidget& window)
{
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    if (!waitFor([&] { return focused(other); }, 5000))
        return false;
    window.activateWindow();
    return true;
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

// The program's real message box, answered by a click on its default
// button (OK, or Yes) as soon as it is up.
class AnsweringHooks : public WidgetUiHooks {
public:
    int boxes = 0;
    int messageBox(const QString& text, const QString& title, int style, QObject* owner) override
    {
        ++boxes;
        QTimer::singleShot(200, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                for (QPushButton* button : box->findChildren<QPushButton*>())
                    if (button->isDefault() && button->isVisible()) {
                        button->click();
                        break;
                    }
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

    // A page's alert(), confirm() and prompt() raise no window at all: the
    // answer comes back at once, and the exam goes on. (Without a window
    // manager the focus does not come back from the menus by itself.)
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return focused(w); }, 5000));
    settle(150);
    bool arrived = false;
    const QVariant answers = w.www1->runScript(
        QStringLiteral("alert('x'); [confirm('Sure?'), prompt('Enter your password')].join('|')"), 5000, &arrived);
    ASSERT_TRUE(arrived) << "a page box held the page";
    EXPECT_EQ(answers.toString(), QStringLiteral("false|"));
    settle(300);
    EXPECT_EQ(hooks.boxes, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(alive) << "a page alert ended the exam";
    EXPECT_EQ(returns, 0);
    EXPECT_TRUE(focused(w)) << "a page box took the focus";

    // Armed, as the return from one of the program's own boxes arms it.
    gGuard.gExamWindowActive = true;

    // The guard itself still works on this display.
    ASSERT_TRUE(returnFromAnotherWindow(w));
    waitFor([&] { return !alive; }, 5000);
    settle(150);
    EXPECT_FALSE(alive) << "an unexpected return from another window of the program ends the exam";
    EXPECT_EQ(returns, 1);
}

// The rows of the user's progress in the exam database.
int progressRows(ExamBankFixture& bank)
{
    return bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt();
}

// Ticks choice `seq` on the page on screen.
void choose(frmZiduver& w, int seq)
{
    ASSERT_TRUE(w.www1->waitForLoad());
    EXPECT_EQ(w.www1
                  ->runScript(
                      QStringLiteral("(function () { var i = document.querySelector('input[name=menu][value=\"%1\"]');"
                                     " if (!i) return 'none'; i.click(); return 'ok'; })()")
                          .arg(seq))
                  .toString(),
              QStringLiteral("ok"));
}

// Runs `step` on the review list as soon as it is up. Each look schedules
// the next by value: a poll that held itself would never be freed.
void whenReviewListShown(const std::function<void(frmExamReview&)>& step)
{
    QTimer::singleShot(50, [step] {
        if (frmExamReview* list = frmExamReview::loaded(); list && list->isVisible())
            step(*list);
        else
            whenReviewListShown(step);
    });
}

// Runs `step` on the window of that class as soon as one is up, polled as
// whenReviewListShown does.
template <typename Window> void whenShown(const std::function<void(QDialog&)>& step)
{
    QTimer::singleShot(50, [step] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<Window*>(window); shown && shown->isVisible()) {
                step(*shown);
                return;
            }
        whenShown<Window>(step);
    });
}

// Review, the review list used several times and End Exam in review, with
// the activation guard armed and no window manager to hand the focus back:
// the exam ends writing its progress. When the guard closes the exam
// instead (an unexpected return from another window of the program), the
// progress is written all the same.
TEST_F(ActivationGuardOnX11, ReviewTheReviewListAndEndExamAlwaysWriteTheProgress)
{
    // The program folder with the pages' scripts.
    TempHome home;
    writeStaticPageFiles(home.path());
    ExamReviewLink::wire(&frmExamReview::showReview);
    const auto unwire = qScopeGuard([] { ExamReviewLink::wire(nullptr); });
    for (const bool guardCloses : {false, true}) {
        SCOPED_TRACE(guardCloses ? "the guard closes the exam" : "End Exam in review");
        returns = 0;
        ExamBankFixture bank;
        bank.category(1, {}, true);
        bank.questions(1, 4, 1);
        for (int q = 1; q <= 4; ++q)
            bank.choice(q, 1, QStringLiteral("Right"), true).choice(q, 2, QStringLiteral("Wrong"), false);
        frmZiduver::launch(testLaunchRecord({QStringLiteral("PRACTICE"), 4, bank.path()}, QStringLiteral("Ziduver")));
        ASSERT_TRUE(examRunning());
        frmZiduver& w = *frmZiduver::running();
        const QPointer<frmZiduver> alive(&w);
        ASSERT_TRUE(waitFor([&] { return w.isVisible() && w.windowHandle() && w.windowHandle()->isExposed(); }, 5000));
        w.activateWindow();
        ASSERT_TRUE(waitFor([&] { return focused(w); }, 5000));
        settle(300);
        for (int q = 1; q <= 3; ++q) {
            choose(w, q == 2 ? 2 : 1);
            w.cmdNext->click();
            settle(100);
        }
        ASSERT_TRUE(alive);

        // Review (the prompt answered Yes), then the list three times, each
        // time a question chosen; the focus comes back only when asked for.
        for (int round = 0; round < 3 && alive; ++round) {
            SCOPED_TRACE(round);
            whenReviewListShown([round](frmExamReview& list) {
                list.grdQuestions->selectRow(round % list.grdQuestions->rowCount());
                list.Command1->click();
            });
            w.cmdExamReview->click();
            settle(200);
            ASSERT_TRUE(alive) << "the review list closed the exam";
            EXPECT_TRUE(w.gReviewMode());
            EXPECT_EQ(w.session.CurrentQuestion, round % 3 + 1);
            if (round == 1) {
                w.activateWindow();
                waitFor([&] { return !alive || focused(w); }, 5000);
                settle(150);
            }
        }
        ASSERT_TRUE(alive);
        EXPECT_EQ(progressRows(bank), 0) << "nothing written before the exam ends";

        if (guardCloses) {
            w.activateWindow();
            ASSERT_TRUE(waitFor([&] { return focused(w); }, 5000));
            settle(150);
            ASSERT_TRUE(returnFromAnotherWindow(w));
            waitFor([&] { return !alive; }, 5000);
            settle(150);
            ASSERT_FALSE(alive) << "the guard closes the exam";
        } else {
            w.cmdEndExam->click();
            waitFor([&] { return !alive; }, 5000);
            settle(150);
            ASSERT_FALSE(alive) << "End Exam in review closes the exam";
        }
        EXPECT_EQ(returns, 1);
        EXPECT_EQ(progressRows(bank), 3) << "every question answered has its progress row";
        EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress WHERE Correct <> 0")).toInt(), 2);
    }
}

// A window manager hands the focus to the exam window when it is clicked
// while the question sheet lies over it. That click is no return to the
// exam: the sheet is still open, and its closing is the return that the
// toolbar's Print prepared the guard for. The exam goes on with nothing
// written yet, and the guard is armed again by that return.
TEST_F(ActivationGuardOnX11, AClickOnTheExamWindowUnderTheQuestionSheetKeepsTheExam)
{
    TempHome home;
    writeStaticPageFiles(home.path());
    const auto unwire = qScopeGuard([] { QuestionSheetLink::wire(nullptr); });
    ExamBankFixture bank;
    bank.category(1, {}, true);
    bank.questions(1, 3, 1);
    for (int q = 1; q <= 3; ++q)
        bank.choice(q, 1, QStringLiteral("Right"), true).choice(q, 2, QStringLiteral("Wrong"), false);
    frmZiduver::launch(testLaunchRecord({QStringLiteral("PRACTICE"), 3, bank.path()}, QStringLiteral("Ziduver")));
    ASSERT_TRUE(examRunning());
    frmZiduver& w = *frmZiduver::running();
    const QPointer<frmZiduver> alive(&w);
    ASSERT_TRUE(waitFor([&] { return w.isVisible() && w.windowHandle() && w.windowHandle()->isExposed(); }, 5000));
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return focused(w); }, 5000));
    settle(300);
    choose(w, 1);
    w.cmdNext->click();
    settle(100);
    ASSERT_TRUE(alive);

    // The focus goes sheet, exam window (the click), sheet (the modal
    // window takes it back), and the sheet closes.
    bool sheetShown = false;
    bool clickReachedTheExam = false;
    const std::function<void(QDialog&)> underTheSheet = [&](QDialog& shown) {
        const QPointer<QDialog> sheet(&shown);
        // Whatever happens, the sheet closes and the test goes on.
        const auto close = qScopeGuard([&sheet] {
            if (sheet)
                sheet->reject();
        });
        // Without a window manager a new window gets the focus only when asked.
        shown.activateWindow();
        if (!waitFor([&] { return sheet && focused(*sheet); }, 10000))
            return;
        sheetShown = true;
        settle(300);
        w.activateWindow();
        clickReachedTheExam = waitFor([&] { return focused(w); }, 5000);
        settle(150);
        if (alive && sheet) {
            sheet->activateWindow();
            waitFor([&] { return !sheet || focused(*sheet); }, 5000);
            settle(150);
        }
    };
    QuestionSheetLink::wire([&](const ExamSession& session, QWidget* owner) {
        whenShown<frmoffLineQuestions>(underTheSheet);
        frmoffLineQuestions::showSheet(session, owner);
    });
    w.tbar[0]->click();
    ASSERT_TRUE(sheetShown) << "the question sheet never took the focus";
    ASSERT_TRUE(clickReachedTheExam) << "the exam window never got the focus under the sheet";
    settle(150);
    ASSERT_TRUE(alive) << "a click under the sheet and the sheet's closing ended the exam";
    // The return from the sheet.
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return !alive || focused(w); }, 5000));
    settle(300);
    ASSERT_TRUE(alive) << "the return from the sheet ended the exam";
    EXPECT_EQ(returns, 0);
    EXPECT_EQ(progressRows(bank), 0) << "nothing written before the exam ends";

    // The return armed the guard: an unexpected return now ends the exam,
    // writing what was answered.
    ASSERT_TRUE(returnFromAnotherWindow(w));
    waitFor([&] { return !alive; }, 5000);
    settle(150);
    ASSERT_FALSE(alive) << "the guard was not armed again by the sheet's return";
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(progressRows(bank), 1) << "the answered question has its progress row";
}

} // namespace
