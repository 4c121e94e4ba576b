// The exam's flow in the exam window: marking and the marked list, the
// clock with its time-over and the break, review mode, the toolbar, menu and
// keys, and End Exam, with the clock driven tick by tick and the windows of
// other subsystems stood in by their links.
#include "exam/ExamClock.h"
#include "exam/ExamProgress.h"
#include "exam/QuestionList.h"
#include "exam/links/AddNoteLink.h"
#include "exam/links/ExamReviewLink.h"
#include "exam/links/PreviousNotesLink.h"
#include "exam/links/QuestionSheetLink.h"
#include "exam/links/ResultWindowLink.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/WidgetActionButton.h"
#include "exam/windows/WidgetExamHelp.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/UserNotesTable.h"
#include "foundation/WindowTag.h"
#include "platform/browser/BrowserView.h"
#include "platform/db/Connection.h"
#include "platform/ui/ActivationSource.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/support/PageActions.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/SystemAccounts.h"
#include "tests/support/TempHome.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QWebEngineView>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

constexpr int kWait = 15000;
const QString kAppName = QStringLiteral("Ziduver");
const QString kEndPrompt = QStringLiteral("Do you want to end exam?");
const QString kReviewPrompt = QStringLiteral(
    "Entering Review Mode will end your current exam and stop question grading.  Do you wish to proceed?");

// Answers message boxes from the script and runs a hook inside each box, as
// a click or a tick arriving while the box is up would.
class FlowUiHooks : public RecordingUiHooks {
public:
    std::function<void(const QString&)> inside;
    int messageBox(const QString& text, const QString& title, int style, QObject* owner) override
    {
        if (inside)
            inside(text);
        return RecordingUiHooks::messageBox(text, title, style, owner);
    }
    int count(const QString& text) const { return int(messageTexts().count(text)); }
};

ManualTickSource& clockOf(frmZiduver& w)
{
    return *static_cast<ManualTickSource*>(w.Timer1);
}

// Ticks the clock n times while the window lives; returns the ticks that
// came (a stopped clock never ticks).
int tick(frmZiduver& w, int n = 1)
{
    const QPointer<frmZiduver> alive(&w);
    int fired = 0;
    for (int i = 0; i < n && alive; ++i)
        fired += clockOf(w).fire() ? 1 : 0;
    return fired;
}

// Each control's own enabled flag, by object.
std::map<QWidget*, bool> ownFlags(frmZiduver& w)
{
    std::map<QWidget*, bool> flags;
    for (QAbstractButton* b : w.findChildren<QAbstractButton*>())
        if (b->window() == &w)
            flags[b] = b->isEnabledTo(b->parentWidget());
    return flags;
}

class ExamFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settle(0);
        ASSERT_EQ(frmZiduver::running(), nullptr);
        writeStaticPageFiles(home.path());
        setTickSourceFactory([] { return std::make_unique<ManualTickSource>(); });
        ReturnToMainWindowLink::wire([this] { ++returns; });
        ResultWindowLink::wire([this](const ExamSession&, QWidget*) { ++results; });
        ExamReviewLink::wire([this](const ExamSession& s, QWidget* owner) {
            ++reviewLists;
            reviewGuard = gGuard.gExamWindowActive;
            reviewInReviewMode = frmZiduver::running() && frmZiduver::running()->gReviewMode();
            reviewClockRunning = frmZiduver::running() && frmZiduver::running()->Timer1->isEnabled();
            reviewOwner = owner;
            return onReview ? onReview(s) : ReviewChoice{};
        });
    }

    void TearDown() override
    {
        ui.inside = nullptr;
        if (frmZiduver* w = frmZiduver::running()) {
            ui.answerNext(ResultYes);
            w->cmdEndExam_Click();
        }
        settle(0);
        for (auto unwire : {+[] { ReturnToMainWindowLink::wire(nullptr); }, +[] { ResultWindowLink::wire(nullptr); },
                            +[] { ExamReviewLink::wire(nullptr); }, +[] { AddNoteLink::wire(nullptr); },
                            +[] { PreviousNotesLink::wire(nullptr); }, +[] { QuestionSheetLink::wire(nullptr); }})
            unwire();
        setTickSourceFactory(nullptr);
    }

    // A bank of `n` multiple-choice questions 1 to n in category 1, chapter
    // 7, choice 1 right; the simulated exam draws all of them.
    void choiceBank(int n)
    {
        bank.category(1, {n, n, n, n, n}, true).chapter(7, 1, true);
        bank.questions(1, n, 1, 1, 7);
        for (int q = 1; q <= n; ++q)
            bank.choice(q, 1, QStringLiteral("Right"), true).choice(q, 2, QStringLiteral("Wrong"), false);
    }

    frmZiduver& launch(const char* mode, int count, int minutes = 60,
                       const std::function<void(ExamParameters&)>& change = {})
    {
        ExamParameters record = testLaunchRecord({QString::fromLatin1(mode), count, bank.path(), minutes}, kAppName);
        if (change)
            change(record);
        frmZiduver::launch(record);
        settle();
        frmZiduver* w = frmZiduver::running();
        if (!w)
            throw std::runtime_error("the exam did not start: "
                                     + ui.messageTexts().join(QLatin1Char('|')).toStdString());
        EXPECT_TRUE(w->www1->waitForLoad(kWait));
        return *w;
    }

    // Ticks choice `seq` on the page on screen.
    static void choose(frmZiduver& w, int seq)
    {
        ASSERT_TRUE(w.www1->waitForLoad(kWait));
        const QString script = QStringLiteral("(function () { try { var doc = document; %1 tick('%2'); return 'ok'; } "
                                              "catch (e) { return 'error: ' + e; } })()")
                                   .arg(QString::fromUtf8(kPageActions))
                                   .arg(seq);
        EXPECT_EQ(w.www1->runScript(script, kWait).toString(), QStringLiteral("ok"));
    }

    static QString cell(frmZiduver& w, int row, int col) { return w.session.msflex.text(row, col); }

    // The marked list as the panel's grid shows it: "number/code" per row.
    static QStringList markedRows(frmZiduver& w)
    {
        QStringList rows;
        for (int r = 0; r < w.flexMarked->rowCount(); ++r)
            rows << w.flexMarked->item(r, 1)->text() + QLatin1Char('/') + w.flexMarked->item(r, 2)->text();
        return rows;
    }

    TempHome home;
    ExamBankFixture bank;
    FlowUiHooks ui;
    int returns = 0;
    int results = 0;
    int reviewLists = 0;
    bool reviewGuard = true;
    bool reviewInReviewMode = false;
    bool reviewClockRunning = true;
    QWidget* reviewOwner = nullptr;
    std::function<ReviewChoice(const ExamSession&)> onReview;
};

TEST_F(ExamFlowTest, MarkedQuestionsAreListedOnceAndThePanelJumpsToThemWithTheClockStopped)
{
    choiceBank(5);
    frmZiduver& w = launch("SIMULATED", 5);
    ASSERT_TRUE(w.Check1->isVisible());
    EXPECT_FALSE(w.cmdMarked->isVisible()) << "nothing marked yet";
    EXPECT_TRUE(w.Timer1->isEnabled()) << "the clock runs from the first question";

    const int code1 = w.session.msflex.questionCode(1);
    const int code3 = w.session.msflex.questionCode(3);
    w.Check1->click();
    EXPECT_TRUE(w.cmdMarked->isVisible());
    w.cmdNext->click();
    EXPECT_EQ(cell(w, 1, colMarked), QStringLiteral("1")) << "the mark is recorded with the answer";
    w.cmdNext->click();
    w.Check1->click();
    EXPECT_EQ(markedRows(w), QStringList({QStringLiteral("1/%1").arg(code1), QStringLiteral("3/%1").arg(code3)}));

    // Coming back to a marked question ticks the box again, which marks it
    // again at the end of the list: one row, with the code of that question.
    w.cmdNext->click();
    EXPECT_FALSE(w.Check1->isChecked());
    w.cmdPrev->click();
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_EQ(markedRows(w), QStringList({QStringLiteral("1/%1").arg(code1), QStringLiteral("3/%1").arg(code3)}));
    w.cmdPrev->click();
    w.cmdPrev->click();
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("1 of 5"));
    EXPECT_EQ(markedRows(w), QStringList({QStringLiteral("3/%1").arg(code3), QStringLiteral("1/%1").arg(code1)}))
        << "a question marked again goes to the end";
    w.cmdNext->click();
    w.cmdNext->click();
    w.cmdNext->click(); // question 4

    // The panel: the answer on screen is recorded first, the clock stands,
    // the rest of the window is disabled.
    choose(w, 2);
    w.cmdMarked->click();
    EXPECT_EQ(cell(w, 4, colUserAnswer), QStringLiteral("2,"));
    EXPECT_TRUE(w.picMarked->isVisible());
    EXPECT_FALSE(w.fraFooter->isEnabled());
    EXPECT_FALSE(w.frimTop->isEnabled());
    EXPECT_FALSE(w.ViewAnswer->isEnabled());
    EXPECT_EQ(tick(w), 0) << "the clock stands while the panel is open";
    const QString standing = w.lblExamTimer->text();

    // View Question with no row chosen does nothing.
    w.cmdVQuestion->click();
    EXPECT_TRUE(w.picMarked->isVisible());
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("4 of 5"));

    // A double click on a row shows its question and lowers the panel.
    // (Passing question 3 on the way marked it again: it went to the end.)
    ASSERT_EQ(markedRows(w), QStringList({QStringLiteral("1/%1").arg(code1), QStringLiteral("3/%1").arg(code3)}));
    w.flexMarked->setCurrentCell(0, 1);
    emit w.flexMarked->cellDoubleClicked(0, 1);
    EXPECT_FALSE(w.picMarked->isVisible());
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("1 of 5"));
    EXPECT_EQ(w.session.CurrentQuestion, 1);
    EXPECT_EQ(w.Label2->text().toInt(), code1);
    EXPECT_EQ(w.session.QuestionsReached, 4) << "a jump reaches nothing new";
    EXPECT_TRUE(w.fraFooter->isEnabled());
    EXPECT_FALSE(w.cmdPrev->isEnabled());
    EXPECT_TRUE(w.cmdNext->isEnabled());
    EXPECT_EQ(w.lblExamTimer->text(), standing);
    EXPECT_EQ(tick(w), 1) << "and the clock goes on";

    // Unmarking both empties the list and hides the button; the panel then
    // cannot be opened.
    w.Check1->click();
    w.cmdNext->click();
    w.cmdNext->click();
    EXPECT_TRUE(w.Check1->isChecked());
    w.Check1->click();
    EXPECT_TRUE(markedRows(w).isEmpty());
    EXPECT_FALSE(w.cmdMarked->isVisible());
    w.cmdMarked->click();
    EXPECT_FALSE(w.picMarked->isVisible());
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(ExamFlowTest, TheClockCountsDownInASimulatedExamAndUpInTheOtherModes)
{
    // The pretest's share of one category is CInt(30 / 1 + 1) = 31.
    choiceBank(31);
    struct Case {
        const char* mode;
        int count;
        int minutes;
        int ticks;
        const char* first;
        const char* after;
    };
    const Case cases[] = {
        {"SIMULATED", 31, 45, 61, "0:44:00", "43:59"},
        {"PRACTICE", 3, 1, 61, "0:0:00", "01:01"},
        {"TEST", 31, 1, 6000, "0:0:00", "100:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        frmZiduver& w = launch(c.mode, c.count, c.minutes);
        EXPECT_EQ(w.lblExamTimer->text(), QString::fromLatin1(c.first));
        EXPECT_EQ(tick(w, c.ticks), c.ticks);
        EXPECT_EQ(w.lblExamTimer->text(), QString::fromLatin1(c.after));
        EXPECT_EQ(reviewLists, 0);
        ui.answerNext(ResultYes);
        w.cmdEndExam_Click();
        settle(0);
        ASSERT_EQ(frmZiduver::running(), nullptr);
    }
}

TEST_F(ExamFlowTest, TimeOverClosesTheTaggedNoteWindowTopMostFirstAndEntersReviewWithoutAQuestion)
{
    choiceBank(4);
    frmZiduver& w = launch("SIMULATED", 4, 1);
    w.cmdNext->click();
    choose(w, 1); // question 2: answered, not yet checked
    EXPECT_EQ(tick(w, 59), 59);
    EXPECT_EQ(w.lblExamTimer->text(), QStringLiteral("00:01"));

    // Time runs out while a note window opened from the exam is up, with a
    // second tagged window over it; both close, the upper one first, and
    // are gone before the review list opens.
    std::vector<QString> closedOrder;
    bool notesHiddenAtReview = false;
    bool notesClosedByDone = false;
    NoteWindowRequest seen;
    onReview = [&](const ExamSession&) {
        notesHiddenAtReview = true;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog*>(top) && top->isVisible())
                notesHiddenAtReview = false;
        return ReviewChoice{};
    };
    AddNoteLink::wire([&](const NoteWindowRequest& request, QWidget* owner) {
        seen = request;
        QDialog notes(owner);
        setWindowTag(&notes, request.tag);
        QDialog over(&notes);
        setWindowTag(&over, QStringLiteral("L"));
        QObject::connect(&over, &QDialog::finished, [&] { closedOrder.push_back(QStringLiteral("over")); });
        QObject::connect(&notes, &QDialog::finished, [&] { closedOrder.push_back(QStringLiteral("notes")); });
        QTimer::singleShot(0, &notes, [&] {
            QTimer::singleShot(0, &over, [&] { tick(*frmZiduver::running()); });
            over.exec();
        });
        notesClosedByDone = notes.exec() == QDialog::Rejected;
    });
    // The simulated exam's note tools are off until review; switched on here
    // so that a tagged window is open when the time runs out.
    w.actAddNote->setEnabled(true);
    w.tbar[2]->click();

    EXPECT_EQ(seen.tag, QStringLiteral("L"));
    EXPECT_EQ(seen.examName, w.session.launch.gQuizExamName);
    EXPECT_EQ(seen.questCode, w.session.msflex.questionCode(2));
    EXPECT_EQ(closedOrder, (std::vector<QString>{QStringLiteral("over"), QStringLiteral("notes")}));
    EXPECT_TRUE(notesClosedByDone);
    EXPECT_TRUE(notesHiddenAtReview);
    EXPECT_EQ(reviewLists, 1);
    EXPECT_TRUE(reviewInReviewMode);
    EXPECT_FALSE(reviewGuard) << "the review list clears the guard";
    EXPECT_EQ(reviewOwner, &w);

    EXPECT_EQ(w.lblExamTimer->text(), QStringLiteral("00:00"));
    EXPECT_TRUE(w.session.TimeOver);
    EXPECT_TRUE(w.gReviewMode());
    EXPECT_EQ(w.run.phase(), ExamRun::Phase::Reviewing) << "the time over left the run in review";
    EXPECT_EQ(w.session.gReviewLastIndex, 4) << "review covers the whole exam";
    EXPECT_EQ(w.session.launch.gQuizQuestionCount, 4);
    EXPECT_EQ(cell(w, 2, colUserAnswer), QStringLiteral("1,")) << "the answer on screen was checked first";
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 4")) << "no choice: the question on screen stays";
    EXPECT_TRUE(w.lblReview->isVisible());
    EXPECT_FALSE(w.Check1->isEnabled());
    EXPECT_FALSE(w.chkBreak->isEnabled());
    EXPECT_FALSE(w.Timer1->isEnabled()) << "the toolbar never restarts the clock in review";
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();

    // The review mode's tools in a simulated exam.
    EXPECT_TRUE(w.tbar[1]->isEnabled());
    EXPECT_TRUE(w.tbar[2]->isEnabled());
    EXPECT_TRUE(w.cmdShowAnswer->isVisible());
    EXPECT_TRUE(w.cmdExplanation->isVisible());

    // The marked panel after time-over leaves the clock stopped.
    w.Check1->setEnabled(true);
    w.Check1->click();
    w.cmdMarked->click();
    w.cmdClose->click();
    EXPECT_EQ(tick(w), 0);

    // End Exam asks nothing now.
    w.cmdEndExam->click();
    settle(0);
    EXPECT_EQ(ui.count(kEndPrompt), 0);
    EXPECT_EQ(results, 1);
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(frmZiduver::running(), nullptr);
}

TEST_F(ExamFlowTest, AWindowWithoutTheTagStaysOpenAtTimeOverAndALimitOfZeroEndsOnTheFirstTick)
{
    choiceBank(3);
    frmZiduver& w = launch("SIMULATED", 3, 0);
    bool openAtReview = false;
    NoteWindowRequest seen;
    onReview = [&](const ExamSession&) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog*>(top) && top->isVisible())
                openAtReview = true;
        return ReviewChoice{true, 3, false};
    };
    // The menu's Add Note: no tag, the guard cleared, the category and
    // chapter codes of the question on screen.
    gGuard.gExamWindowActive = true;
    bool guardInside = true;
    AddNoteLink::wire([&](const NoteWindowRequest& request, QWidget* owner) {
        seen = request;
        guardInside = gGuard.gExamWindowActive;
        QDialog notes(owner);
        setWindowTag(&notes, request.tag);
        QTimer::singleShot(0, &notes, [&] {
            EXPECT_EQ(tick(*frmZiduver::running()), 1);
            notes.accept();
        });
        notes.exec();
    });
    // The simulated exam's menu item is off until review; switched on here
    // so that an untagged window is open when the time runs out.
    w.mnuAddNote->setEnabled(true);
    w.mnuAddNote->trigger();
    EXPECT_FALSE(guardInside);
    EXPECT_EQ(seen.tag, QString());
    EXPECT_EQ(seen.categorySuffix, QStringLiteral(" - 1"));
    EXPECT_EQ(seen.chapterSuffix, QStringLiteral(" - 7"));
    EXPECT_TRUE(openAtReview) << "a window without the Tag stays open";
    EXPECT_EQ(reviewLists, 1);
    EXPECT_EQ(w.lblExamTimer->text(), QStringLiteral("00:00"));
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("3 of 3")) << "the question chosen in the review list";
    EXPECT_TRUE(w.session.gReviewGoto);
    EXPECT_FALSE(w.cmdNext->isEnabled());
    EXPECT_TRUE(w.cmdPrev->isEnabled());
}

TEST_F(ExamFlowTest, ABreakSwitchesEveryControlOffAndTheResumeGivesBackExactlyWhatItFound)
{
    choiceBank(4);
    const struct {
        const char* mode;
        int count;
        int at;
    } cases[] = {
        {"SIMULATED", 4, 1},
        {"SIMULATED", 4, 2},
        // One question: Next and Previous are both off and stay so.
        {"SIMULATED", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << ", " << c.count << " questions, break at " << c.at);
        frmZiduver& w = launch(c.mode, c.count);
        for (int i = 1; i < c.at; ++i)
            w.cmdNext->click();
        ASSERT_TRUE(w.chkBreak->isVisible());
        // Disabled before the break: the note tools of a simulated exam.
        ASSERT_FALSE(w.tbar[1]->isEnabled());
        ASSERT_FALSE(w.tbar[2]->isEnabled());
        // A hidden control counts too.
        ASSERT_TRUE(w.cmdShowAnswer->isHidden());
        // So do the controls of a frame that is switched off: their own flag
        // is kept, not what the frame makes of it.
        w.fraAltert->setEnabled(false);
        ASSERT_FALSE(w.cmdTryAgain->isEnabled());
        const std::map<QWidget*, bool> before = ownFlags(w);
        ASSERT_TRUE(w.mnuBar->isEnabled());
        choose(w, 1);

        w.chkBreak->click();
        EXPECT_EQ(cell(w, c.at, colUserAnswer), QStringLiteral("1,")) << "the answer is recorded first";
        EXPECT_EQ(tick(w), 0) << "the clock stands";
        const std::map<QWidget*, bool> paused = ownFlags(w);
        for (const auto& [control, enabled] : before) {
            SCOPED_TRACE(control->objectName().toStdString());
            EXPECT_EQ(paused.at(control), control == w.chkBreak);
        }
        EXPECT_FALSE(w.mnuBar->isEnabled()) << "the menu's Next does not move on during the break";
        // Enter does not move on during the break.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(w.chkBreak, &enter);
        EXPECT_EQ(w.session.CurrentQuestion, c.at);

        w.chkBreak->click();
        EXPECT_EQ(tick(w), 1) << "the clock goes on";
        const std::map<QWidget*, bool> resumed = ownFlags(w);
        for (const auto& [control, enabled] : before) {
            SCOPED_TRACE(control->objectName().toStdString());
            EXPECT_EQ(resumed.at(control), enabled);
        }
        EXPECT_TRUE(w.mnuBar->isEnabled());
        ui.answerNext(ResultYes);
        w.cmdEndExam_Click();
        settle(0);
        ASSERT_EQ(frmZiduver::running(), nullptr);
    }
}

TEST_F(ExamFlowTest, ReviewAsksOnceCutsTheExamAtTheQuestionOnScreenAndShowsTheQuestionChosen)
{
    choiceBank(5);
    frmZiduver& w = launch("SIMULATED", 5);
    w.cmdNext->click();
    w.cmdNext->click(); // question 3
    choose(w, 1);

    // No: everything as it was, the clock running.
    ui.answerNext(ResultNoOrCancel);
    w.cmdExamReview->click();
    EXPECT_EQ(ui.count(kReviewPrompt), 1);
    EXPECT_EQ(cell(w, 3, colCorrect), QStringLiteral("1")) << "the answer on screen was recorded";
    EXPECT_FALSE(w.gReviewMode());
    EXPECT_EQ(w.session.launch.gQuizQuestionCount, 5);
    EXPECT_EQ(reviewLists, 0);
    EXPECT_EQ(tick(w), 1);

    // Yes, entered after going back to question 2: review is cut at 3, the
    // last question reached; the question chosen is shown.
    w.cmdPrev->click();
    ASSERT_EQ(w.lblQno->text(), QStringLiteral("2 of 5"));
    onReview = [](const ExamSession&) { return ReviewChoice{true, 2, false}; };
    ui.answerNext(ResultYes);
    w.tbar[3]->click();
    EXPECT_EQ(ui.count(kReviewPrompt), 2);
    EXPECT_EQ(reviewLists, 1);
    EXPECT_TRUE(reviewInReviewMode);
    EXPECT_FALSE(reviewClockRunning);
    EXPECT_TRUE(w.gReviewMode());
    EXPECT_EQ(w.session.launch.gQuizQuestionCount, 3);
    EXPECT_EQ(w.session.gReviewLastIndex, 3);
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 3"));
    EXPECT_EQ(w.Label2->text().toInt(), w.session.msflex.questionCode(2));
    EXPECT_EQ(tick(w), 0) << "the clock stays stopped in review";
    EXPECT_TRUE(w.tbar[1]->isEnabled() && w.tbar[2]->isEnabled());
    EXPECT_TRUE(w.cmdShowAnswer->isVisible());

    // Next stops at the question where review began, and Review again asks
    // nothing; closed without a choice, the question on screen stays.
    w.cmdNext->click();
    w.cmdNext->click();
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("3 of 3"));
    onReview = nullptr;
    w.cmdExamReview->click();
    EXPECT_EQ(ui.count(kReviewPrompt), 2);
    EXPECT_EQ(reviewLists, 2);
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("3 of 3"));
    EXPECT_EQ(w.session.QuestionsReached, 3);

    // End Exam in review mode asks nothing.
    w.cmdEndExam->click();
    settle(0);
    EXPECT_EQ(ui.count(kEndPrompt), 0);
    EXPECT_EQ(results, 1);
    EXPECT_EQ(returns, 1);
}

// The controls of the page on screen that still take input.
int enabledPageInputs(frmZiduver& w)
{
    return w.www1->runScript(QStringLiteral("document.querySelectorAll('input:enabled').length"), kWait).toInt();
}

QString tickedOnPage(frmZiduver& w)
{
    return w.www1
        ->runScript(QStringLiteral("Array.prototype.map.call(document.querySelectorAll('input:checked'), "
                                   "function (i) { return i.value; }).join(',')"),
                    kWait)
        .toString();
}

void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &down);
}

// While the clock stands in a running exam the question takes no input: a
// break covers it, the marked panel lies over it, and what the user tries
// on the page meanwhile never becomes the answer.
TEST_F(ExamFlowTest, WhileTheClockStandsThePageTakesNoInputAndABreakCoversTheQuestion)
{
    choiceBank(3);
    frmZiduver& w = launch("SIMULATED", 3);
    choose(w, 2);
    ASSERT_EQ(enabledPageInputs(w), 2);

    w.chkBreak->click();
    EXPECT_EQ(tick(w), 0);
    EXPECT_TRUE(w.lblBreakCover->isVisible()) << "the question is covered";
    EXPECT_FALSE(w.ViewAnswer->isEnabled());
    EXPECT_TRUE(waitFor([&] { return enabledPageInputs(w) == 0; }, kWait)) << "the page's controls are off";
    choose(w, 1);
    EXPECT_EQ(tickedOnPage(w), QStringLiteral("2"));
    w.chkBreak->click();
    EXPECT_FALSE(w.lblBreakCover->isVisible());
    EXPECT_TRUE(w.ViewAnswer->isEnabled());
    EXPECT_TRUE(waitFor([&] { return enabledPageInputs(w) == 2; }, kWait)) << "and on again after the break";

    // The marked panel: the same, and Escape closes it.
    w.Check1->click();
    w.cmdMarked->click();
    ASSERT_TRUE(w.picMarked->isVisible());
    EXPECT_EQ(tick(w), 0);
    EXPECT_TRUE(waitFor([&] { return enabledPageInputs(w) == 0; }, kWait));
    choose(w, 1);
    sendKey(w.flexMarked, Qt::Key_Escape);
    EXPECT_FALSE(w.picMarked->isVisible()) << "Escape closes the panel";
    EXPECT_EQ(tick(w), 1);
    EXPECT_TRUE(waitFor([&] { return enabledPageInputs(w) == 2; }, kWait));

    w.cmdNext->click();
    EXPECT_EQ(cell(w, 1, colUserAnswer), QStringLiteral("2,")) << "the answer of before the clock stood";
    EXPECT_EQ(cell(w, 1, colCorrect), QStringLiteral("0"));
}

// Once the right answer was shown, the answer the page holds is the
// program's: the verdict of before stands for that visit, through the
// alert's Show Answer and the footer's alike; a later visit is judged again.
TEST_F(ExamFlowTest, AnAnswerShownIsNeverJudgedAsTheUsers)
{
    choiceBank(3);
    frmZiduver& w = launch("PRACTICE", 3);
    w.chkShowresult->click();
    choose(w, 2);
    w.cmdNext->click();
    ASSERT_TRUE(w.fraAltert->isVisible()) << "Incorrect!";
    w.cmShowanswer1->click();
    ASSERT_TRUE(w.www1->waitForLoad(kWait));
    EXPECT_EQ(tickedOnPage(w), QStringLiteral("1")) << "the right answer is shown";
    w.cmdNext->click();
    EXPECT_FALSE(w.fraAltert->isVisible()) << "shown, the answer is known: no second alert";
    ASSERT_EQ(w.session.CurrentQuestion, 2);
    EXPECT_EQ(cell(w, 1, colCorrect), QStringLiteral("0"));
    EXPECT_EQ(cell(w, 1, colUserAnswer), QStringLiteral("2,"));

    // The footer's Show Answer, hidden again, then the right choice: still
    // the verdict of before for this visit.
    w.cmdShowAnswer->click();
    w.cmdShowAnswer->click();
    choose(w, 1);
    w.cmdNext->click();
    EXPECT_EQ(cell(w, 2, colCorrect), QStringLiteral("0"));
    EXPECT_EQ(cell(w, 2, colNoAnswer), QStringLiteral("1"));

    // Back on question 2 the user answers for himself again.
    w.cmdPrev->click();
    choose(w, 1);
    w.cmdNext->click();
    EXPECT_EQ(cell(w, 2, colCorrect), QStringLiteral("1"));
}

// An answer that cannot be recorded, because another program holds the exam
// database, is said in the program's words and the exam stays on it.
// An answer that cannot be checked while another program holds the file:
// the page and the answer on it stay exactly as they were, the return from
// the message redraws nothing, the question is never replaced by an error
// page, and Next moves on only once the answer is recorded.
TEST_F(ExamFlowTest, AnAnswerThatCannotBeRecordedKeepsTheExamOnItsQuestion)
{
    choiceBank(3);
    frmZiduver& w = launch("PRACTICE", 3);
    choose(w, 1);
    // A mark on the page itself, gone with any redraw of it.
    ASSERT_EQ(w.www1->runScript(QStringLiteral("window.keptPage = 'kept'; 'ok'"), kWait).toString(),
              QStringLiteral("ok"));
    const auto pageKept = [&] {
        return w.www1->runScript(QStringLiteral("window.keptPage || document.body.innerText"), kWait)
            .toString()
            .toStdString();
    };
    w.session.ExamConn.setBusyTimeout(50);
    db::Connection other = db::Connection::openFile(bank.path());
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    QWidget otherWindow;
    otherWindow.resize(200, 100);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE(attempt);
        ui.clear();
        w.cmdNext->click();
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_TRUE(ui.messages()[0].text.startsWith(QStringLiteral("The answer could not be checked.")))
            << ui.messages()[0].text.toStdString();
        EXPECT_TRUE(ui.messages()[0].text.contains(bank.path()));
        // The focus comes back from the message's window while the file is
        // still held.
        otherWindow.show();
        otherWindow.activateWindow();
        ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == otherWindow.windowHandle(); }, kWait));
        w.activateWindow();
        ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == w.windowHandle(); }, kWait));
        settle();
        EXPECT_EQ(w.session.CurrentQuestion, 1);
        EXPECT_EQ(w.lblQno->text(), QStringLiteral("1 of 3"));
        EXPECT_TRUE(w.cmdNext->isEnabled());
        EXPECT_EQ(pageKept(), "kept") << "the page is never drawn again";
        EXPECT_EQ(tickedOnPage(w).toStdString(), "1") << "the answer stays chosen";
        EXPECT_TRUE(cell(w, 1, colNoAnswer).isEmpty()) << "nothing recorded yet";
    }

    // End Exam meanwhile neither asks nor ends: the answer is not recorded yet.
    ui.clear();
    w.cmdEndExam->click();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.startsWith(QStringLiteral("The answer could not be checked.")));
    EXPECT_EQ(frmZiduver::running(), &w);
    EXPECT_EQ(pageKept(), "kept");

    other.exec(QStringLiteral("ROLLBACK"));
    w.cmdNext->click();
    EXPECT_EQ(w.session.CurrentQuestion, 2);
    EXPECT_EQ(cell(w, 1, colCorrect), QStringLiteral("1")) << "the answer kept on screen is recorded";
}

// While the answer on screen cannot be checked, every command that records it
// first stops at the one message: no window opens, no question is asked, the
// answer stays on screen, and the clock holds while the message is open and
// runs again after it. Once the file is free the same command goes through.
TEST_F(ExamFlowTest, ACommandStopsWhenTheAnswerCouldNotBeChecked)
{
    choiceBank(3);
    frmZiduver& w = launch("PRACTICE", 3);
    choose(w, 1);
    int opened = 0;
    AddNoteLink::wire([&](const NoteWindowRequest&, QWidget*) { ++opened; });
    PreviousNotesLink::wire([&](const NoteWindowRequest&, QWidget*) { ++opened; });
    QuestionSheetLink::wire([&](const ExamSession&, QWidget*) { ++opened; });
    w.session.ExamConn.setBusyTimeout(50);
    db::Connection other = db::Connection::openFile(bank.path());
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    std::vector<bool> clockDuringMessage;
    ui.inside = [&](const QString&) { clockDuringMessage.push_back(w.Timer1->isEnabled()); };

    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Explanation", [&] { w.cmdExplanation->click(); }},
        {"Instructions", [&] { w.cmdInstruction->click(); }},
        {"toolbar Print", [&] { w.tbar[0]->click(); }},
        {"toolbar View Note", [&] { w.tbar[1]->click(); }},
        {"toolbar Add Note", [&] { w.tbar[2]->click(); }},
        {"toolbar Review", [&] { w.tbar[3]->click(); }},
        {"Review", [&] { w.cmdExamReview->click(); }},
        {"menu Add Note", [&] { w.mnuAddNote->trigger(); }},
        {"menu Print", [&] { w.mnuPrint->trigger(); }},
    };
    for (const auto& [name, run] : commands) {
        SCOPED_TRACE(name);
        ui.clear();
        clockDuringMessage.clear();
        // A window that opens anyway is closed at once and counted.
        QTimer::singleShot(300, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++opened;
                modal->close();
            }
        });
        run();
        settle(400);
        ASSERT_EQ(ui.messages().size(), 1u) << ui.messageTexts().join(QStringLiteral(" | ")).toStdString();
        EXPECT_TRUE(ui.messages()[0].text.startsWith(QStringLiteral("The answer could not be checked.")));
        EXPECT_EQ(clockDuringMessage, std::vector<bool>{false}) << "the clock holds while the message is open";
        EXPECT_TRUE(w.Timer1->isEnabled()) << "and runs again after it";
        EXPECT_EQ(opened, 0);
        EXPECT_FALSE(w.gReviewMode());
        EXPECT_EQ(reviewLists, 0);
        EXPECT_EQ(tickedOnPage(w).toStdString(), "1") << "the answer stays chosen";
        EXPECT_TRUE(cell(w, 1, colNoAnswer).isEmpty()) << "nothing recorded yet";
    }

    other.exec(QStringLiteral("ROLLBACK"));
    ui.clear();
    w.tbar[2]->click();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(cell(w, 1, colCorrect), QStringLiteral("1")) << "the answer kept on screen is recorded";
}

// End Exam while another program holds the file past the wait: one message
// names the file and asks "Try again?"; meanwhile the exam keeps all it
// holds and the file stays as it was. Yes writes again; No says once that
// the answers are lost and ends the exam as before.
TEST_F(ExamFlowTest, AFailedEndExamWriteKeepsTheExamAndWritesAgainWhenAsked)
{
    const QString lost = QStringLiteral("The answers of this exam were not saved and are lost.");
    choiceBank(3);
    // The same bank for both: the No writes nothing.
    for (const bool retry : {false, true}) {
        SCOPED_TRACE(retry ? "Yes, then released" : "No");
        frmZiduver& w = launch("SIMULATED", 3);
        const QPointer<frmZiduver> alive(&w);
        choose(w, 1);
        w.cmdNext->click();
        ASSERT_EQ(w.session.CurrentQuestion, 2);
        w.session.ExamConn.setBusyTimeout(50);
        db::Connection other = db::Connection::openFile(bank.path());
        int asked = 0;
        ui.clear();
        results = returns = 0;
        ui.inside = [&](const QString& text) {
            if (text == kEndPrompt) {
                other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
                return;
            }
            if (!text.endsWith(QStringLiteral("\r\n\r\nTry again?")))
                return;
            ++asked;
            EXPECT_TRUE(text.contains(bank.path())) << text.toStdString();
            EXPECT_TRUE(alive && frmZiduver::running() == alive.data()) << "the exam is still there";
            EXPECT_EQ(cell(w, 1, colCorrect), QStringLiteral("1"));
            EXPECT_EQ(other.scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt(), 0);
            EXPECT_EQ(results, 0);
            if (asked == 2 || !retry)
                other.exec(QStringLiteral("ROLLBACK"));
        };
        ui.answerNext(ResultYes); // end the exam
        ui.answerNext(retry ? ResultYes : ResultNoOrCancel);
        ui.answerNext(ResultYes);
        w.cmdEndExam->click();
        ui.inside = nullptr;
        settle();
        EXPECT_EQ(asked, retry ? 2 : 1);
        EXPECT_EQ(ui.count(lost), retry ? 0 : 1);
        EXPECT_EQ(results, 1);
        EXPECT_EQ(returns, 1);
        EXPECT_EQ(frmZiduver::running(), nullptr);
        EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt(), retry ? 1 : 0);
    }
}

// Review: the tabs only where there is a scenario, the page takes no input,
// and Show Answer shows the right choice also on option buttons.
TEST_F(ExamFlowTest, ReviewLocksThePageAndShowsTheRightChoice)
{
    choiceBank(3);
    frmZiduver& w = launch("SIMULATED", 3);
    choose(w, 2);
    w.cmdNext->click();
    onReview = [](const ExamSession&) { return ReviewChoice{true, 1, false}; };
    ui.answerNext(ResultYes);
    w.cmdExamReview->click();
    ASSERT_TRUE(w.gReviewMode());
    EXPECT_FALSE(w.TabScenario->isVisible()) << "no Scenario tab on a question without one";
    ASSERT_TRUE(w.www1->waitForLoad(kWait));
    EXPECT_EQ(enabledPageInputs(w), 0);
    EXPECT_EQ(tickedOnPage(w), QStringLiteral("2"));
    choose(w, 1);
    EXPECT_EQ(tickedOnPage(w), QStringLiteral("2")) << "a click in review moves nothing";

    w.cmdShowAnswer->click();
    ASSERT_TRUE(w.www1->waitForLoad(kWait));
    EXPECT_EQ(tickedOnPage(w), QStringLiteral("1")) << "the right choice is shown";
    EXPECT_EQ(enabledPageInputs(w), 0);
    w.cmdShowAnswer->click();
    ASSERT_TRUE(w.www1->waitForLoad(kWait));
    EXPECT_EQ(tickedOnPage(w), QStringLiteral("2"));
    EXPECT_EQ(cell(w, 1, colUserAnswer), QStringLiteral("2,"));
}

// The keyboard reaches the whole window: Tab goes from the footer round to
// the toolbar and into the page, Shift+Tab back out of it, and the window's
// keys work while the page has the focus.
TEST_F(ExamFlowTest, TabReachesTheToolbarPageAndFooterAndTheWindowsKeysWorkFromThePage)
{
    choiceBank(3);
    frmZiduver& w = launch("PRACTICE", 3);
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == w.windowHandle(); }, kWait));
    QWidget* page = w.www1->view()->focusProxy();
    ASSERT_NE(page, nullptr);
    const auto tab = [&](bool forward) {
        QWidget* from = QApplication::focusWidget();
        sendKey(from, forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        return QApplication::focusWidget();
    };
    w.cmdEndExam->setFocus(Qt::TabFocusReason);
    for (QPushButton* b : w.tbar)
        EXPECT_EQ(tab(true), b) << b->text().toStdString();
    EXPECT_EQ(tab(true), page) << "the page after the toolbar";
    // The page passes the focus on by itself once its own controls are
    // done; the engine takes each key in its own time.
    const auto leavePage = [&](bool forward) {
        return waitFor(
            [&] {
                if (QApplication::focusWidget() == page)
                    sendKey(page, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                            forward ? Qt::NoModifier : Qt::ShiftModifier);
                settle(150);
                return QApplication::focusWidget() != page;
            },
            kWait);
    };
    EXPECT_TRUE(leavePage(false));
    EXPECT_EQ(QApplication::focusWidget(), w.tbar[5]) << "Shift+Tab leaves the page for the toolbar";
    w.cmdNext->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(tab(false), page) << "the page before the footer";

    // Forward out of the page: its own controls first, then the footer.
    page->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(leavePage(true));
    EXPECT_EQ(QApplication::focusWidget(), w.cmdNext) << "Tab leaves the page for the footer";

    // Alt and a button's key while the page has the focus.
    page->setFocus(Qt::MouseFocusReason);
    sendKey(page, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return w.session.CurrentQuestion == 2; }, kWait)) << "Alt+N moves on";
}

TEST_F(ExamFlowTest, EndExamRunsOnceWhateverArrivesWhileItRuns)
{
    choiceBank(3);
    // A second End Exam from the button and the toolbar, and a tick, while
    // the question is up: one question, one result window, one return.
    {
        frmZiduver& w = launch("SIMULATED", 3);
        const QPointer<frmZiduver> alive(&w);
        ui.inside = [&](const QString& text) {
            if (text != kEndPrompt || !alive)
                return;
            w.cmdEndExam_Click();
            w.tbar[4]->click();
            EXPECT_EQ(tick(w), 0) << "the clock stands while End Exam asks";
        };
        ResultWindowLink::wire([&](const ExamSession&, QWidget*) {
            ++results;
            w.cmdEndExam_Click();
            w.close();
        });
        ui.answerNext(ResultYes);
        w.cmdEndExam->click();
        EXPECT_EQ(ui.count(kEndPrompt), 1);
        EXPECT_EQ(results, 1);
        EXPECT_EQ(returns, 1);
        // After the end, before the window is gone: nothing.
        if (alive) {
            w.cmdEndExam_Click();
            w.tbar[4]->click();
        }
        settle(0);
        EXPECT_EQ(ui.count(kEndPrompt), 1);
        EXPECT_EQ(results, 1);
        EXPECT_EQ(returns, 1);
        EXPECT_FALSE(alive);
        ui.inside = nullptr;
        ui.clear();
    }
    // Declined: the clock goes on; the next End Exam asks again.
    {
        results = returns = 0;
        ResultWindowLink::wire([this](const ExamSession&, QWidget*) { ++results; });
        frmZiduver& w = launch("SIMULATED", 3, 1);
        ui.answerNext(ResultNoOrCancel);
        w.cmdEndExam->click();
        EXPECT_TRUE(w.session.EndDeclined);
        EXPECT_EQ(tick(w), 1);
        EXPECT_EQ(frmZiduver::running(), &w);

        // The time runs out inside End Exam's answer check: it ends without
        // asking and without a review list.
        EXPECT_EQ(tick(w, 58), 58);
        bool insideCheck = false;
        QTimer::singleShot(0, &w, [&] {
            insideCheck = ui.count(kEndPrompt) == 1 && returns == 0;
            tick(w);
            w.tbar[4]->click();
            w.cmdExamReview->click();
        });
        w.cmdEndExam->click();
        settle(0);
        ASSERT_TRUE(insideCheck) << "the tick came inside the check";
        EXPECT_EQ(ui.count(kEndPrompt), 1) << "no question after the time ran out";
        EXPECT_EQ(reviewLists, 0);
        EXPECT_EQ(results, 1);
        EXPECT_EQ(returns, 1);
        EXPECT_EQ(frmZiduver::running(), nullptr);
    }
}

TEST_F(ExamFlowTest, TheToolbarRecordsTheAnswerOpensItsWindowsAndRestartsOnlyARunningClock)
{
    choiceBank(3);
    frmZiduver& w = launch("PRACTICE", 3);
    choose(w, 2);

    // Print: the clock stands during the sheet and runs again afterwards.
    bool clockDuringSheet = true;
    int sheetCode = 0;
    QuestionSheetLink::wire([&](const ExamSession& s, QWidget*) {
        clockDuringSheet = frmZiduver::running()->Timer1->isEnabled();
        sheetCode = s.gQuestCode;
    });
    w.tbar[0]->click();
    EXPECT_FALSE(clockDuringSheet);
    EXPECT_EQ(sheetCode, w.session.gQuestCode);
    EXPECT_EQ(cell(w, 1, colUserAnswer), QStringLiteral("2,")) << "the answer on screen is recorded first";
    EXPECT_TRUE(w.Timer1->isEnabled());

    // View Note: the user's notes on the question, tag "L" while open.
    NoteWindowRequest seen;
    PreviousNotesLink::wire([&](const NoteWindowRequest& request, QWidget*) { seen = request; });
    w.tbar[1]->click();
    EXPECT_EQ(seen.tag, QStringLiteral("L"));
    EXPECT_EQ(seen.questCode, w.session.gQuestCode);
    EXPECT_EQ(seen.launch.gQuizUserCode, 2);
    EXPECT_EQ(seen.notesText, UserNotesTable(bank.conn()).questionNotesText(2, w.session.gQuestCode));

    // A toolbar command with the clock stopped leaves it stopped.
    w.Timer1->setEnabled(false);
    w.tbar[1]->click();
    EXPECT_FALSE(w.Timer1->isEnabled());
    w.Timer1->setEnabled(true);

    // Help: our own window titled "Help", neutral for the activation guard,
    // closed with the exam.
    w.tbar[5]->click();
    const QPointer<WidgetExamHelp> help = w.helpWindow();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Help"));
    EXPECT_FALSE(countsAsOtherProgramWindow(help->windowHandle()));
    EXPECT_FALSE(help->findChild<QWidget*>(QStringLiteral("txtHelp")) == nullptr);
    EXPECT_TRUE(w.Timer1->isEnabled());

    // The menu's Print records the answer and leaves the clock alone.
    choose(w, 1);
    w.mnuPrint->trigger();
    EXPECT_TRUE(clockDuringSheet);
    EXPECT_EQ(cell(w, 1, colUserAnswer), QStringLiteral("1,"));

    ui.answerNext(ResultYes);
    w.tbar[4]->click();
    settle(0);
    EXPECT_EQ(frmZiduver::running(), nullptr);
    EXPECT_FALSE(help && help->isVisible()) << "the Help window closes with the exam";
    EXPECT_EQ(results, 0) << "practice shows no result window";
    EXPECT_EQ(returns, 1);
}

TEST_F(ExamFlowTest, EnterMovesOnOutsideEssaysAndTheHotKeyShowsTheAnswerInPractice)
{
    bank.category(1, {}, true);
    bank.questions(1, 2, 1, 1).questions(3, 1, 1, 2);
    for (int q = 1; q <= 2; ++q)
        bank.choice(q, 1, QStringLiteral("Right"), true).choice(q, 2, QStringLiteral("Wrong"), false);
    bank.writer().addFillAnswer(3, QStringLiteral("money"));
    frmZiduver& w = launch("PRACTICE", 3, 1, [](ExamParameters& record) {
        record.gQuizCheatKeyEnabled = true;
        record.gQuizHotKey = 113; // F2
    });
    const auto press = [&](int key) {
        ASSERT_TRUE(w.www1->waitForLoad(kWait));
        QWidget* page = w.www1->view()->focusProxy() ? w.www1->view()->focusProxy() : w.www1->view();
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(page, &down);
    };
    int moves = 0;
    while (w.session.gQuestType != 2 && moves < 3) {
        const int before = w.session.CurrentQuestion;
        press(Qt::Key_F2);
        EXPECT_EQ(w.cmdShowAnswer->text(), QStringLiteral("&Hide Answer")) << "the hot key shows the answer";
        press(Qt::Key_F2);
        EXPECT_EQ(w.cmdShowAnswer->text(), QStringLiteral("&Show Answer"));
        press(Qt::Key_Return);
        EXPECT_EQ(w.session.CurrentQuestion, before + 1) << "Enter moves on from the page";
        ++moves;
    }
    ASSERT_EQ(w.session.gQuestType, 2) << "the essay comes last but one at most";
    const int essayRow = w.session.CurrentQuestion;
    press(Qt::Key_Return);
    EXPECT_EQ(w.session.CurrentQuestion, essayRow) << "Enter in an essay is the essay's own";
}

// Each command is one action: its toolbar and footer buttons run it and show
// its state, and the footer's End Exam and Review are the toolbar's. The
// menu's Previous and the Enter key run their command whatever its button
// says, as the mode and the keys have it.
TEST_F(ExamFlowTest, EachCommandIsOneActionItsButtonsRunAndShow)
{
    choiceBank(3);
    frmZiduver& w = launch("SIMULATED", 3);
    const std::pair<WidgetActionButton*, QAction*> buttons[] = {
        {w.tbar[0], w.actPrint},
        {w.tbar[1], w.actViewNote},
        {w.tbar[2], w.actAddNote},
        {w.tbar[3], w.actReview},
        {w.tbar[4], w.actEndExam},
        {w.tbar[5], w.actHelp},
        {w.cmdPrev, w.actPrev},
        {w.cmdNext, w.actNext},
        {w.cmdShowAnswer, w.actShowAnswer},
        {w.cmdReset, w.actReset},
        {w.cmdExplanation, w.actExplanation},
        {w.cmdInstruction, w.actInstruction},
        {w.cmdExamReview, w.actReview},
        {w.cmdEndExam, w.actEndExam},
        {w.cmdMarked, w.actMarked},
    };
    const auto followed = [&] {
        for (const auto& [button, action] : buttons) {
            SCOPED_TRACE(button->objectName().toStdString());
            EXPECT_EQ(button->defaultAction(), action);
            EXPECT_EQ(button->isEnabled(), action->isEnabled());
        }
    };
    followed();
    EXPECT_EQ(w.cmdEndExam->text(), QStringLiteral("&End Exam")) << "a second button keeps its band's caption";
    EXPECT_EQ(w.tbar[4]->text(), QStringLiteral("End Exam"));
    // A simulated exam disables Previous; the menu's Previous stays.
    EXPECT_FALSE(w.actPrev->isEnabled());
    EXPECT_TRUE(w.mnuPrev->isEnabled());

    w.cmdNext->click();
    w.cmdNext->click();
    ASSERT_EQ(w.session.CurrentQuestion, 3);
    EXPECT_FALSE(w.actNext->isEnabled()) << "nothing after the last question";
    followed();
    // Enter still runs Next there: the answer on screen is recorded.
    choose(w, 1);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w.Check1, &enter);
    EXPECT_EQ(cell(w, 3, colUserAnswer), QStringLiteral("1,"));
    w.mnuPrev->trigger();
    EXPECT_EQ(w.session.CurrentQuestion, 2) << "the menu's Previous moves back";

    // The footer's End Exam is the toolbar's command: asked once, and No
    // keeps the exam.
    ui.answerNext(ResultNoOrCancel);
    w.cmdEndExam->click();
    settle(0);
    ASSERT_EQ(frmZiduver::running(), &w);
    EXPECT_EQ(ui.messageTexts().count(QStringLiteral("Do you want to end exam?")), 1);
    EXPECT_EQ(results, 0);
}

// A whole simulated exam: answered, marked, timed out into review, ended,
// and its progress in the exam database.
TEST_F(ExamFlowTest, ASimulatedExamRunsFromAnswersAndMarksThroughTimeOverToItsProgressRows)
{
    choiceBank(5);
    frmZiduver& w = launch("SIMULATED", 5, 1);
    std::vector<int> codes; // in exam order
    for (int r = 1; r <= 5; ++r)
        codes.push_back(w.session.msflex.questionCode(r));
    // Questions 1 to 5: right, wrong, right, none, right; 1 and 4 marked.
    const int answers[] = {1, 2, 1, 0, 1};
    for (int q = 1; q <= 5; ++q) {
        ASSERT_EQ(w.session.CurrentQuestion, q);
        if (answers[q - 1] != 0)
            choose(w, answers[q - 1]);
        if (q == 1 || q == 4)
            w.Check1->click();
        if (q < 5)
            w.cmdNext->click();
        EXPECT_EQ(tick(w, 5), 5);
    }
    // The marked panel records question 5 and takes the user back to 1.
    w.cmdMarked->click();
    EXPECT_EQ(cell(w, 5, colCorrect), QStringLiteral("1"));
    w.flexMarked->setCurrentCell(0, 1);
    emit w.flexMarked->cellDoubleClicked(0, 1);
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("1 of 5"));

    std::vector<QString> listed;
    onReview = [&](const ExamSession& s) {
        for (int r = 1; r <= s.QuestionsReached; ++r)
            listed.push_back(s.msflex.text(r, colCorrect) + QLatin1Char('/') + s.msflex.text(r, colNoAnswer)
                             + QLatin1Char('/') + s.msflex.text(r, colMarked));
        return ReviewChoice{true, 4, false};
    };
    EXPECT_EQ(tick(w, 100), 35) << "the rest of the minute, then the clock stops";
    EXPECT_EQ(reviewLists, 1);
    EXPECT_EQ(listed, (std::vector<QString>{"1/0/1", "0/0/0", "1/0/0", "0/1/1", "1/0/0"}));
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("4 of 5"));
    EXPECT_TRUE(w.gReviewMode());

    w.cmdEndExam->click();
    settle(0);
    EXPECT_EQ(ui.count(kEndPrompt), 0);
    EXPECT_EQ(results, 1);
    EXPECT_EQ(returns, 1);
    ASSERT_EQ(frmZiduver::running(), nullptr);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();

    // The progress write itself comes with its own unit: find out whether
    // it writes at all, on a bank of its own.
    {
        ExamBankFixture probe;
        probe.category(1).questions(1, 2, 1);
        QuestionList list;
        list.addQuestion(1, 1);
        list.addColumn();
        list.setText(1, colCorrect, QStringLiteral("1"));
        list.setText(1, colNoAnswer, QStringLiteral("0"));
        db::Connection conn = db::Connection::open(probe.connectionString());
        const SystemAccounts accounts{2};
        UpdateProgress(conn, list, 1, accounts.account(2));
        if (probe.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt() == 0)
            GTEST_SKIP() << "UpdateProgress (exam/ExamProgress.cpp) is still the placeholder that writes nothing";
    }
    std::map<int, QString> rows;
    for (const db::Row& row : bank.conn().query(
             QStringLiteral("SELECT QuestionID, Correct, Wrong, NoAns, pass FROM Qe_Progress WHERE userid = 2")))
        rows[int(row.integer(0))] = QStringLiteral("%1/%2/%3/%4")
                                        .arg(row.integer(1))
                                        .arg(row.integer(2))
                                        .arg(row.integer(3))
                                        .arg(row.integer(4));
    const std::map<int, QString> expected = {{codes[0], QStringLiteral("1/0/0/0")},
                                             {codes[1], QStringLiteral("0/1/0/0")},
                                             {codes[2], QStringLiteral("1/0/0/0")},
                                             {codes[4], QStringLiteral("1/0/0/0")}};
    EXPECT_EQ(rows, expected) << "the unanswered question writes no row";
}

} // namespace
