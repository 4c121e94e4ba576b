#include "exam/QuestionSetBuilder.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/ConnectionString.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamParameters.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/SharedState.h"
#include "platform/browser/BrowserView.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kAppName = QStringLiteral("Ziduver");

// Gives the focus to a window and waits until the application reports it
// (or the window is gone: the exam window may close on its activation).
void focus(QWidget& window)
{
    const QPointer<QWidget> alive(&window);
    window.activateWindow();
    waitFor([&alive] { return !alive || QGuiApplication::focusWindow() == alive->windowHandle(); });
}

bool examRunning()
{
    return frmZiduver::running() != nullptr;
}

QString str(const QStringList& texts)
{
    return texts.join(QLatin1Char('|'));
}

using Launch = TestLaunch;

// The text a question page shows: the question frame of a tree question's
// frame page, else the page's body.
QString pageText(BrowserView& view)
{
    return view
        .runScript(QStringLiteral("(function () { var f = window.frames['Question'];"
                                  "  return (f ? f.document.body : document.body).innerText; })()"))
        .toString()
        .simplified();
}

// The first words of a question's stored text, as the page shows them (mark-up
// and image markers left out).
QString questionTextStart(const QString& stored)
{
    const QString beforeMarker = stored.left(stored.indexOf(QStringLiteral("///")));
    return QTextDocumentFragment::fromHtml(beforeMarker).toPlainText().simplified().left(40);
}

// Records, besides the messages, whether the loading window was still on
// screen (and so above) when a message box came up.
class ExamUiHooks : public RecordingUiHooks {
public:
    int messagesUnderLoading = 0;
    int messageBox(const QString& text, const QString& title, int style, QObject* owner) override
    {
        for (const QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmLoading") && w->isVisible())
                ++messagesUnderLoading;
        return RecordingUiHooks::messageBox(text, title, style, owner);
    }
};

// The exam window is one instance deleted on close; every case launches it
// from the launch record as the main window does, with message boxes
// answered from a script and the way back to the main window recorded.
class ExamWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_sampleHome = std::make_unique<QTemporaryDir>();
        writeSampleInstallation(s_sampleHome->path());
    }
    static void TearDownTestSuite() { s_sampleHome.reset(); }

    static QString sampleExam()
    {
        return QDir(s_sampleHome->path())
            .filePath(
                QStringLiteral("Data/%1/%2").arg(QLatin1String(sample::kExamFolder), QLatin1String(sample::kExamFile)));
    }

    void SetUp() override
    {
        settle(0);
        ASSERT_FALSE(examRunning()) << "a window left over from an earlier case";
        // The program folder of the case: the pages' scripts, the tree pages
        // and the log.
        writeStaticPageFiles(home.path());
        ReturnToMainWindowLink::wire([this] { ++returns; });
    }

    void TearDown() override
    {
        if (examRunning()) {
            ui.answerNext(ResultYes);
            frmZiduver::running()->cmdEndExam_Click();
        }
        settle(0);
        ReturnToMainWindowLink::wire(nullptr);
    }

    void launch(const Launch& l)
    {
        frmZiduver::launch(testLaunchRecord(l, kAppName));
        settle();
    }

    // The launch failed: one message, back to the main window, no window left.
    void expectClosedAtStart(const QString& message)
    {
        EXPECT_EQ(str(ui.messageTexts()), message);
        if (!ui.messages().empty()) {
            EXPECT_EQ(ui.messages()[0].title, kAppName);
            EXPECT_EQ(ui.messages()[0].style, int(OneButton));
        }
        EXPECT_EQ(returns, 1) << "the main window is shown again";
        EXPECT_FALSE(examRunning());
        for (QWidget* w : QApplication::topLevelWidgets())
            EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString() << " still shown";
    }

    static std::unique_ptr<QTemporaryDir> s_sampleHome;
    TempHome home;
    ExamUiHooks ui;
    int returns = 0;
};

std::unique_ptr<QTemporaryDir> ExamWindowTest::s_sampleHome;

struct ModeCase {
    const char* mode;
    bool multiUser;
    int minutes;
    const char* captionSuffix;
    int questions; // drawn from the sample exam
    const char* clock;
    const char* clockCaption;
    bool markBox;
    bool breakBox;
    bool explanation;
    bool examReview;
    bool reviewTool;
};

TEST_F(ExamWindowTest, EachModeSetsCaptionControlsAndCounterAndCoversTheScreen)
{
    const ModeCase cases[] = {
        // The sample's directives ask 8 questions of each of its 5 categories;
        // the pretest takes CInt(30 / 5 + 1) = 7 of each; practice the 30 asked.
        {"SIMULATED", true, 60, ", Mode : Simulated", 40, "0:59:00", "Time Remaining", true, true, false, true, true},
        {"TEST", false, 1, ", Mode : Pretest", 35, "0:0:00", "Time Elapsed", false, false, false, false, false},
        {"PRACTICE", true, 1, ", Mode : Adaptive Drills", 30, "0:0:00", "Time Elapsed", false, false, true, true, true},
    };
    const QString baseCaption = kAppName + QStringLiteral(" [ ") + QString::fromLatin1(sample::kExamDesc);
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.mode);
        ui.clear();
        launch({QString::fromLatin1(c.mode), c.questions, sampleExam(), c.minutes, c.multiUser});
        ASSERT_TRUE(examRunning()) << str(ui.messageTexts()).toStdString();
        frmZiduver& w = *frmZiduver::running();
        EXPECT_TRUE(ui.messages().empty()) << str(ui.messageTexts()).toStdString();
        EXPECT_EQ(returns, 0);
        ASSERT_TRUE(w.isVisible());

        const QString caption =
            c.multiUser ? baseCaption + QStringLiteral(" ] , User : student") : baseCaption + QStringLiteral(" ]  ");
        EXPECT_EQ(w.windowTitle(), caption + QString::fromLatin1(c.captionSuffix));
        EXPECT_EQ(w.lblQno->text(), QStringLiteral("1 of %1").arg(c.questions));
        EXPECT_EQ(w.lblExamTimer->text(), QString::fromLatin1(c.clock));
        EXPECT_EQ(w.lblBalTime->text(), QString::fromLatin1(c.clockCaption));

        EXPECT_TRUE(w.cmdPrev->isVisible());
        EXPECT_FALSE(w.cmdPrev->isEnabled()) << "nothing before question 1";
        EXPECT_TRUE(w.cmdNext->isEnabled());
        EXPECT_EQ(w.Check1->isVisible(), c.markBox);
        EXPECT_EQ(w.chkBreak->isVisible(), c.breakBox);
        EXPECT_EQ(w.cmdExplanation->isVisible(), c.explanation);
        EXPECT_EQ(w.cmdExamReview->isVisible(), c.examReview);
        EXPECT_EQ(w.tbar[3]->isEnabled(), c.reviewTool);
        EXPECT_TRUE(w.cmdEndExam->isVisible());
        const bool practice = QString::fromLatin1(c.mode) == QLatin1String("PRACTICE");
        for (QPushButton* b : {w.cmdShowAnswer, w.cmdReset, w.cmdInstruction})
            EXPECT_EQ(b->isVisible(), practice) << b->objectName().toStdString();
        EXPECT_EQ(w.chkShowresult->isVisible(), practice);
        EXPECT_EQ(w.tbar[1]->isEnabled(), practice);
        EXPECT_EQ(w.tbar[2]->isEnabled(), practice);
        EXPECT_EQ(w.mnuShowResult->isEnabled(), practice);

        // The window, frame and all, covers the screen's available area less 50 pixels at the
        // bottom, whatever its buttons and the question font would like; every
        // button of the bands stays on the screen; the question page fills the
        // question area rather than overflowing it.
        const QRect screen = w.screen()->availableGeometry();
        const QRect covered(screen.left(), screen.top(), screen.width(), screen.height() - 50);
        EXPECT_EQ(w.frameGeometry(), covered);
        EXPECT_TRUE(covered.contains(w.geometry())) << w.geometry().width() << "x" << w.geometry().height();
        for (QPushButton* b : w.findChildren<QPushButton*>()) {
            if (!b->isVisible())
                continue;
            const QRect onScreen(b->mapToGlobal(QPoint(0, 0)), b->size());
            EXPECT_TRUE(covered.contains(onScreen)) << b->objectName().toStdString() << " off the screen";
        }
        // A resize by the user is undone at once.
        w.resize(screen.width() / 2, screen.height() / 2);
        settle();
        EXPECT_EQ(w.frameGeometry(), covered);
        const QWidget* area = w.ViewAnswer->viewport();
        EXPECT_EQ(w.www1->size(), area->size());
        EXPECT_GT(area->height(), 100);

        // The first question is on the page.
        const QString code = w.Label2->text();
        EXPECT_EQ(code.toInt(), w.session.msflex.questionCode(1));
        ASSERT_TRUE(w.www1->waitForLoad());
        const std::optional<ExamBank::QuestionHead> head = ExamBank(w.session.ExamConn).questionHead(code.toInt());
        ASSERT_TRUE(head);
        const QString body = pageText(*w.www1);
        EXPECT_TRUE(body.contains(questionTextStart(head->text))) << body.toStdString();

        w.cmdNext->click();
        EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of %1").arg(c.questions));
        EXPECT_EQ(w.Label2->text(), w.session.msflex.text(2, colQuestCode));

        ui.answerNext(ResultYes);
        w.cmdEndExam_Click();
        settle(0);
        ASSERT_FALSE(examRunning());
        returns = 0;
    }
}

// A bank of `pool` ticked practice questions in two categories.
void practiceBank(ExamBankFixture& bank, int pool)
{
    bank.category(1, {}, true).category(2, {}, true);
    bank.questions(101, (pool + 1) / 2, 1).questions(201, pool / 2, 2);
}

TEST_F(ExamWindowTest, TheExamRunsOverTheQuestionsDrawn)
{
    struct Case {
        const char* mode;
        int asked;
        int pool; // practice: ticked questions; simulated: what the directives ask
        int drawn;
    };
    const Case cases[] = {
        {"PRACTICE", 1, 6, 1},   // one question: no Next, no Previous
        {"PRACTICE", 30, 3, 3},  // fewer in the pool than asked
        {"SIMULATED", 40, 2, 2}, // the directives ask fewer than the record
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " asked " << c.asked << " pool " << c.pool);
        ExamBankFixture bank;
        if (QString::fromLatin1(c.mode) == QLatin1String("PRACTICE")) {
            practiceBank(bank, c.pool);
        } else {
            bank.category(1, {c.pool, c.pool, c.pool, c.pool, c.pool});
            bank.questions(1, 10, 1);
        }
        launch({QString::fromLatin1(c.mode), c.asked, bank.path(), 60});
        ASSERT_TRUE(examRunning()) << str(ui.messageTexts()).toStdString();
        frmZiduver& w = *frmZiduver::running();
        EXPECT_TRUE(ui.messages().empty()) << str(ui.messageTexts()).toStdString();
        EXPECT_EQ(w.session.questionCount(), c.drawn);
        EXPECT_EQ(frmZiduver::running()->session.launch.gQuizQuestionCount, c.drawn)
            << "the launch record follows the questions drawn";
        EXPECT_EQ(w.lblQno->text(), QStringLiteral("1 of %1").arg(c.drawn));
        EXPECT_FALSE(w.cmdPrev->isEnabled());
        EXPECT_EQ(w.cmdNext->isEnabled(), c.drawn > 1);
        for (int row = 2; row <= c.drawn; ++row) {
            ASSERT_TRUE(w.cmdNext->isEnabled()) << "at question " << row - 1;
            w.cmdNext->click();
        }
        EXPECT_EQ(w.lblQno->text(), QStringLiteral("%1 of %1").arg(c.drawn));
        EXPECT_EQ(w.Label2->text(), w.session.msflex.text(c.drawn, colQuestCode));
        if (QString::fromLatin1(c.mode) != QLatin1String("PRACTICE")) {
            EXPECT_FALSE(w.cmdNext->isEnabled()) << "nothing after the last question drawn";
        }

        ui.answerNext(ResultYes);
        w.cmdEndExam_Click();
        settle(0);
        ASSERT_FALSE(examRunning());
        returns = 0;
        ui.clear();
    }
}

TEST_F(ExamWindowTest, AStartThatCannotRunShowsItsMessageAndReturnsToTheMainWindow)
{
    struct Case {
        const char* name;
        const char* mode;
        int count;
        std::function<void(ExamBankFixture&)> fill;
        QString message;
    };
    const Case cases[] = {
        {"no questions asked", "PRACTICE", 0, [](ExamBankFixture& b) { practiceBank(b, 4); },
         QuestionSetBuilder::noQuestionsText()},
        {"practice with nothing ticked", "PRACTICE", 5,
         [](ExamBankFixture& b) { b.category(1).category(2).questions(1, 4, 1).questions(11, 4, 2); },
         QStringLiteral("No Categories available")},
        {"practice over ticked categories without questions", "PRACTICE", 5,
         [](ExamBankFixture& b) { b.category(1, {}, true).questions(11, 4, 2); },
         QuestionSetBuilder::noQuestionsText()},
        {"simulated directives asking more than the second category holds", "SIMULATED", 10,
         [](ExamBankFixture& b) {
             b.category(1, {2, 2, 2, 2, 2}).category(2, {8, 8, 8, 8, 8});
             b.questions(1, 5, 1).questions(11, 5, 2);
         },
         QuestionSetBuilder::invalidExamDirectivesText()},
        {"simulated directives of nothing", "SIMULATED", 10,
         [](ExamBankFixture& b) {
             b.category(1, {0, 0, 0, 0, 0}).questions(1, 5, 1);
         },
         QuestionSetBuilder::invalidExamDirectivesText()},
        {"pretest over a category too small for its share", "TEST", 31,
         [](ExamBankFixture& b) { b.category(1).questions(1, 5, 1); }, QuestionSetBuilder::invalidDirectivesText()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExamBankFixture bank;
        c.fill(bank);
        ui.clear();
        returns = 0;
        launch({QString::fromLatin1(c.mode), c.count, bank.path(), 60});
        expectClosedAtStart(c.message);
        EXPECT_EQ(ui.messagesUnderLoading, 0) << "the loading window goes before the message";
    }

    // A database that is not there: its error, and back.
    ui.clear();
    returns = 0;
    launch({QStringLiteral("SIMULATED"), 10, QDir::temp().filePath(QStringLiteral("no-such-exam.qzr")), 60});
    EXPECT_EQ(ui.messages().size(), 1u) << str(ui.messageTexts()).toStdString();
    EXPECT_EQ(returns, 1);
    EXPECT_FALSE(examRunning());
}

TEST_F(ExamWindowTest, EndExamAndCloseRequestsAskAndOnlyYesEndsTheExam)
{
    ExamBankFixture bank;
    practiceBank(bank, 6);
    for (const bool byCloseRequest : {false, true}) {
        SCOPED_TRACE(byCloseRequest ? "closing the window" : "End Exam");
        ui.clear();
        returns = 0;
        launch({QStringLiteral("PRACTICE"), 6, bank.path()});
        ASSERT_TRUE(examRunning());
        frmZiduver& w = *frmZiduver::running();
        const auto request = [&] {
            if (byCloseRequest)
                w.close();
            else
                w.cmdEndExam->click();
            settle();
        };

        ui.answerNext(ResultNoOrCancel);
        request();
        EXPECT_EQ(str(ui.messageTexts()), QStringLiteral("Do you want to end exam?"));
        EXPECT_EQ(ui.messages().at(0).style, int(YesNo));
        ASSERT_TRUE(examRunning()) << "No keeps the exam";
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(returns, 0);
        EXPECT_TRUE(w.session.ExamConn.isOpen());

        ui.answerNext(ResultYes);
        request();
        EXPECT_EQ(ui.messages().size(), 2u);
        EXPECT_FALSE(examRunning()) << "Yes ends it";
        EXPECT_EQ(returns, 1) << "and shows the main window once";
    }
}

TEST_F(ExamWindowTest, ActivationGuardClosesOnlyOnAnUnexpectedReturnFromAnotherWindowOfTheProgram)
{
    ExamBankFixture bank;
    practiceBank(bank, 6);
    for (const int code : {101, 102, 103, 201, 202, 203})
        bank.choice(code, 1, QStringLiteral("Right"), true).choice(code, 2, QStringLiteral("Wrong"), false);
    launch({QStringLiteral("PRACTICE"), 6, bank.path()});
    ASSERT_TRUE(examRunning());
    frmZiduver& w = *frmZiduver::running();
    focus(w);
    settle();
    ASSERT_TRUE(examRunning()) << "the start's own activations never close the exam";
    ASSERT_EQ(QGuiApplication::focusWindow(), w.windowHandle());
    ASSERT_TRUE(w.www1->waitForLoad());
    ASSERT_EQ(w.www1->runScript(QStringLiteral("document.querySelector('input[value=\"1\"]').click(); 'ok'")),
              QVariant(QStringLiteral("ok")));
    w.cmdNext->click();

    // Another window of the program, standing in for the message box.
    QWidget other;
    other.setObjectName(QStringLiteral("other"));
    other.resize(200, 100);
    other.show();

    // A message box clears the guard; the return from its window sets it.
    ui.answerNext(ResultNoOrCancel);
    w.cmdEndExam->click();
    EXPECT_FALSE(gGuard.gExamWindowActive);
    focus(other);
    focus(w);
    settle();
    ASSERT_TRUE(examRunning());
    EXPECT_TRUE(gGuard.gExamWindowActive);
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 6")) << "the question on screen stays";

    // The user goes to another application and comes back: the platform
    // reports the focus leaving the program, then coming back.
    for (int i = 0; i < 2; ++i) {
        emit qApp->focusWindowChanged(nullptr);
        emit qApp->focusWindowChanged(w.windowHandle());
        settle();
        ASSERT_TRUE(examRunning()) << "switching applications never ends the exam";
    }
    EXPECT_EQ(returns, 0);

    // A return from another window of the program that did not clear the
    // guard ends the exam and shows the main window, with its progress
    // written as End Exam writes it.
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt(), 0);
    focus(other);
    focus(w);
    settle();
    EXPECT_FALSE(examRunning());
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress WHERE Correct <> 0")).toInt(), 1);
}

TEST_F(ExamWindowTest, ReadersNeverCreateTheWindowAndAnUnloadDuringAModalWaitsForItsReturn)
{
    EXPECT_EQ(frmZiduver::running(), nullptr);
    EXPECT_EQ(frmZiduver::running(), nullptr) << "asking twice creates nothing";

    ExamBankFixture bank;
    practiceBank(bank, 6);
    launch({QStringLiteral("PRACTICE"), 6, bank.path()});
    ASSERT_TRUE(examRunning());
    frmZiduver& w = *frmZiduver::running();

    // A window over the exam asks to end it (as the review list does after
    // an exam passed early): nothing goes while the modal loop runs.
    bool aliveInside = false;
    {
        QDialog over(&w);
        QTimer::singleShot(30, &over, [&] {
            frmZiduver::running()->unload();
            settle();
            aliveInside = examRunning() && w.isVisible();
            over.reject();
        });
        w.runModal(over);
    }
    EXPECT_TRUE(aliveInside) << "the window stays while its modal call runs";
    EXPECT_EQ(returns, 0);
    settle();
    EXPECT_FALSE(examRunning()) << "and unloads once it returns";
    EXPECT_EQ(returns, 1);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ExamWindowTest, AWindowClosedUnderItsOwnModalCallIsDeletedOnlyAfterTheCallReturns)
{
    ExamBankFixture bank;
    practiceBank(bank, 6);
    launch({QStringLiteral("PRACTICE"), 6, bank.path()});
    ASSERT_TRUE(examRunning());
    frmZiduver& w = *frmZiduver::running();
    const QPointer<frmZiduver> alive(&w);

    // The program ends while a window over the exam is open.
    bool forgottenInside = false;
    bool aliveInside = false;
    {
        QDialog over(&w);
        QTimer::singleShot(30, &over, [&] {
            setProgramEnding(true);
            w.close();
            setProgramEnding(false);
            settle();
            forgottenInside = !examRunning();
            aliveInside = bool(alive);
            over.reject();
        });
        w.runModal(over);
        EXPECT_TRUE(alive) << "not under the modal call's own return either";
    }
    EXPECT_TRUE(forgottenInside) << "no longer the running exam once closed";
    EXPECT_TRUE(aliveInside) << "the window stays while its modal call runs";
    settle();
    EXPECT_FALSE(alive);
    EXPECT_EQ(returns, 0);
    EXPECT_TRUE(ui.messages().empty()) << str(ui.messageTexts()).toStdString();
}

TEST_F(ExamWindowTest, TheProgramEndingClosesTheExamWithoutAQuestion)
{
    ExamBankFixture bank;
    practiceBank(bank, 6);
    for (const int code : {101, 102, 103, 201, 202, 203})
        bank.choice(code, 1, QStringLiteral("Right"), true);
    launch({QStringLiteral("PRACTICE"), 6, bank.path()});
    ASSERT_TRUE(examRunning());
    ASSERT_TRUE(frmZiduver::running()->www1->waitForLoad());
    frmZiduver::running()->www1->runScript(QStringLiteral("document.querySelector('input[value=\"1\"]').click()"));
    frmZiduver::running()->cmdNext->click();
    setProgramEnding(true);
    frmZiduver::running()->close();
    setProgramEnding(false);
    settle();
    EXPECT_TRUE(ui.messages().empty()) << str(ui.messageTexts()).toStdString();
    EXPECT_FALSE(examRunning());
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt(), 1)
        << "the answer given is kept";
}

} // namespace
