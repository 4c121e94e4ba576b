// The exam window's questions: the page of each question type with the real
// page scripts, answers given through the page's own controls and recorded
// by Next, navigation per mode, the practice alert panel, the scenario view
// and the questions that cannot be shown.
#include "exam/QuestionList.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tests/support/PageActions.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTimer>
#include <QWebEngineView>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr int kWait = 15000;
const QString kAppName = QStringLiteral("Ziduver");

// ---------------------------------------------------------------------------
// Questions of every type, written with the bank writer.

enum Kind { Choice, Essay, Fill, Ordered, Tree, Place };

struct Question {
    int code;
    Kind kind;
    QString text;
};

void addHead(ExamBankWriter& writer, const Question& q, int type, int interactive)
{
    ExamBankWriter::QuestionRow row;
    row.code = q.code;
    row.category = 1;
    row.chapter = 0;
    row.type = type;
    row.interactive = interactive;
    row.text = q.text;
    row.difficulty = 1;
    writer.addQuestion(row);
}

// The answer rows of each kind: the right answers are "1," (choice), an essay
// naming money, "paris" (fill), "First,Second,Third" (ordered), "dog,cat"
// (place) and "Fruit#Apple#Pear,Tools#Saw" (tree).
void addQuestion(ExamBankWriter& w, const Question& q)
{
    switch (q.kind) {
    case Choice:
        addHead(w, q, 1, 0);
        w.addChoice({q.code, 1, QStringLiteral("Alpha"), true});
        w.addChoice({q.code, 2, QStringLiteral("Beta"), false});
        w.addChoice({q.code, 3, QStringLiteral("Gamma"), false});
        break;
    case Essay:
        addHead(w, q, 2, 0);
        w.addFillAnswer(q.code, QStringLiteral("cash|money"));
        break;
    case Fill:
        addHead(w, q, 3, 0);
        w.addFillAnswer(q.code, QStringLiteral("Paris|Lutetia|O'Brien"));
        break;
    case Ordered:
        addHead(w, q, 4, 1);
        w.addInteractiveRow({q.code, QStringLiteral("Third"), 1, QStringLiteral("First"), 1});
        w.addInteractiveRow({q.code, QStringLiteral("First"), 2, QStringLiteral("Second"), 2});
        w.addInteractiveRow({q.code, QStringLiteral("Second"), 3, QStringLiteral("Third"), 3});
        break;
    case Place:
        addHead(w, q, 4, 3);
        w.addInteractiveRow({q.code, QStringLiteral("cat"), 1, QStringLiteral("Place one"), 1});
        w.addInteractiveRow({q.code, QStringLiteral("dog"), 2, QStringLiteral("Place two"), 2});
        w.addInteractiveAnswer({q.code, QStringLiteral("Place one"), 1, QStringLiteral("dog"), 0});
        w.addInteractiveAnswer({q.code, QStringLiteral("Place two"), 2, QStringLiteral("cat"), 0});
        break;
    case Tree:
        addHead(w, q, 4, 2);
        w.addInteractiveRow({q.code, QStringLiteral("Fruit"), 1, QStringLiteral("Apple"), 1, QStringLiteral("Things")});
        w.addInteractiveRow({q.code, QStringLiteral("Tools"), 2, QStringLiteral("Saw"), 2, QStringLiteral("Things")});
        w.addInteractiveRow({q.code, QString(), 0, QStringLiteral("Pear"), 3, QStringLiteral("Things")});
        w.addInteractiveAnswer({q.code, QStringLiteral("Apple"), 1, QStringLiteral("Fruit"), 1});
        w.addInteractiveAnswer({q.code, QStringLiteral("Pear"), 2, QStringLiteral("Fruit"), 1});
        w.addInteractiveAnswer({q.code, QStringLiteral("Saw"), 3, QStringLiteral("Tools"), 2});
        break;
    }
}

// ---------------------------------------------------------------------------
// The user's actions in a page document `doc`; each returns "ok" or the
// error.

const QString kPage = QStringLiteral("document");
const QString kTreeFrame = QStringLiteral("window.frames['left'].document");

QString script(const QString& document, const QString& body, bool value = false)
{
    return QStringLiteral("(function () { try { var doc = %1; %2 %3 } catch (e) { return 'error: ' + e; } })()")
        .arg(document, QString::fromUtf8(kPageActions),
             value ? QStringLiteral("return String(%1);").arg(body) : body + QStringLiteral("; return 'ok';"));
}

class ExamQuestionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settle(0);
        ASSERT_EQ(frmZiduver::running(), nullptr);
        writeStaticPageFiles(home.path());
        removeDebugLog();
        ReturnToMainWindowLink::wire([] {});
    }

    void TearDown() override
    {
        if (frmZiduver* w = frmZiduver::running()) {
            ui.answerNext(ResultYes);
            w->cmdEndExam_Click();
        }
        settle(0);
        ReturnToMainWindowLink::wire(nullptr);
        gStartup.gBlockRightClick = 0;
    }

    void add(const Question& q)
    {
        addQuestion(bank.writer(), q);
        questions[q.code] = q;
    }

    frmZiduver& launch(const char* mode, int count)
    {
        frmZiduver::launch(testLaunchRecord({QString::fromLatin1(mode), count, bank.path(), 60}, kAppName));
        settle();
        frmZiduver* w = frmZiduver::running();
        EXPECT_NE(w, nullptr) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
        if (!w)
            throw std::runtime_error("the exam did not start");
        ready(*w);
        return *w;
    }

    // The page on screen has loaded, the tree frame has drawn its tree.
    void ready(frmZiduver& w)
    {
        ASSERT_TRUE(w.www1->waitForLoad(kWait));
        if (w.session.gQuestType == 4 && w.session.gInteractiveCode == 2) {
            ASSERT_TRUE(waitFor(
                [&] { return value(w, kTreeFrame, "!!doc.getElementById('TreeView')") == QLatin1String("true"); },
                kWait));
        }
    }

    static QString value(frmZiduver& w, const QString& document, const char* expression)
    {
        return w.www1->runScript(script(document, QString::fromUtf8(expression), true), kWait).toString();
    }

    // Runs the actions and waits for them.
    static void act(frmZiduver& w, const QString& document, const QString& actions)
    {
        EXPECT_EQ(w.www1->runScript(script(document, actions), kWait).toString(), QStringLiteral("ok"))
            << actions.toStdString();
    }

    // Starts the actions and returns at once: the command that follows
    // must find their reports.
    static void fire(frmZiduver& w, const QString& document, const QString& actions)
    {
        w.www1->page()->runJavaScript(script(document, actions));
    }

    const Question& onScreen(frmZiduver& w) { return questions.at(w.session.gQuestCode); }
    int row(frmZiduver& w) const { return w.session.CurrentQuestion; }
    static QString cell(frmZiduver& w, int r, int col) { return w.session.msflex.text(r, col); }

    TempHome home;
    ExamBankFixture bank;
    RecordingUiHooks ui;
    std::map<int, Question> questions;
};

// The actions that give the right or a wrong answer on a question's page,
// the document they run in and the answer recorded for them.
struct Answer {
    QString document;
    QString actions;
    QString recorded;
};

Answer answerFor(Kind kind, bool right)
{
    switch (kind) {
    case Choice:
        return {kPage, right ? QStringLiteral("tick('1')") : QStringLiteral("tick('2')"),
                right ? QStringLiteral("1,") : QStringLiteral("2,")};
    case Essay: {
        const QString text = right ? QStringLiteral("Money, mostly") : QStringLiteral("Nothing at all");
        return {kPage, QStringLiteral("typeInto(list('ta'), '%1')").arg(text), text};
    }
    case Fill: {
        const QString text = right ? QStringLiteral("paris") : QStringLiteral("Rome");
        return {kPage, QStringLiteral("typeInto(list('txtFill'), '%1')").arg(text), text + QLatin1Char('|')};
    }
    case Ordered: {
        const QStringList order =
            right ? QStringList{"First", "Second", "Third"} : QStringList{"Second", "First", "Third"};
        QString actions;
        for (const QString& item : order)
            actions += QStringLiteral("pick('D2', '%1'); press(' Add  >>  ');").arg(item);
        return {kPage, actions, order.join(QLatin1Char(','))};
    }
    case Place: {
        const QStringList order = right ? QStringList{"dog", "cat"} : QStringList{"cat", "dog"};
        QString actions;
        for (const QString& item : order)
            actions += QStringLiteral("pick('D1', '%1'); press(' Add  >>  ');").arg(item);
        return {kPage, actions, order.join(QLatin1Char(','))};
    }
    case Tree: {
        const QStringList moves = right ? QStringList{"Apple>Fruit", "Pear>Fruit", "Saw>Tools"}
                                        : QStringList{"Saw>Fruit", "Apple>Tools", "Pear>Fruit"};
        QString actions;
        for (const QString& move : moves) {
            const QStringList parts = move.split(QLatin1Char('>'));
            actions += QStringLiteral("pick('D1', '%1'); pickTree('%2'); press(' Move     ');").arg(parts[0], parts[1]);
        }
        return {kTreeFrame, actions,
                right ? QStringLiteral("Fruit#Apple#Pear,Tools#Saw") : QStringLiteral("Fruit#Saw#Pear,Tools#Apple")};
    }
    }
    return {};
}

// ---------------------------------------------------------------------------

TEST_F(ExamQuestionsTest, EachPageTypeRecordsTheAnswerGivenOnItsOwnControlsWhenNextIsClicked)
{
    struct Case {
        const char* name;
        Kind kind;
    };
    const Case cases[] = {{"multiple choice", Choice}, {"essay", Essay}, {"fill in", Fill}, {"ordered list", Ordered},
                          {"select and place", Place}, {"tree", Tree}};
    for (const Case& c : cases) {
        for (const bool right : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.name << (right ? ", right" : ", wrong"));
            // One question per exam: practice shows it again after Next.
            ExamBankFixture own;
            own.category(1, {}, true);
            addQuestion(own.writer(), {7, c.kind, QStringLiteral("The question's text")});
            addQuestion(own.writer(), {8, Choice, QStringLiteral("Another question")});
            frmZiduver::launch(testLaunchRecord({QStringLiteral("PRACTICE"), 2, own.path(), 60}, kAppName));
            settle();
            ASSERT_NE(frmZiduver::running(), nullptr);
            frmZiduver& w = *frmZiduver::running();
            ready(w);
            if (w.session.gQuestCode != 7) {
                w.cmdNext->click();
                ready(w);
            }
            ASSERT_EQ(w.session.gQuestCode, 7);
            const int r = row(w);
            const Answer answer = answerFor(c.kind, right);
            // The last action goes straight into the click: the check must
            // find its report (a tree Move included), and a typed text that
            // only reports on blur.
            fire(w, answer.document, answer.actions);
            w.cmdNext->click();
            // A fresh essay box holds the row's blank placeholder before
            // the typed text.
            const QString recorded = cell(w, r, colUserAnswer);
            EXPECT_EQ(c.kind == Essay ? recorded.trimmed() : recorded, answer.recorded);
            EXPECT_EQ(cell(w, r, colCorrect), right ? QStringLiteral("1") : QStringLiteral("0"));
            EXPECT_EQ(cell(w, r, colNoAnswer), QStringLiteral("0"));
            EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 2"));
            EXPECT_TRUE(w.cmdNext->isEnabled()) << "practice keeps Next at its last question";
            ui.answerNext(ResultYes);
            w.cmdEndExam_Click();
            settle(0);
            ASSERT_EQ(frmZiduver::running(), nullptr);
            ui.clear();
        }
    }
}

TEST_F(ExamQuestionsTest, ApostrophesInBankAndUserAnswersSurviveAPreviousAndNextRoundTrip)
{
    bank.category(1, {}, true);
    add({21, Fill, QStringLiteral("Who wrote it?")});
    // An ordered list whose items hold apostrophes.
    {
        ExamBankWriter& w = bank.writer();
        addHead(w, {22, Ordered, QStringLiteral("Order them")}, 4, 1);
        w.addInteractiveRow({22, QStringLiteral("Keep calm"), 1, QStringLiteral("Don't panic"), 1});
        w.addInteractiveRow({22, QStringLiteral("Don't panic"), 2, QStringLiteral("Keep calm"), 2});
        questions[22] = {22, Ordered, QStringLiteral("Order them")};
    }
    frmZiduver& w = launch("PRACTICE", 2);
    const auto answer = [&] {
        if (onScreen(w).kind == Fill)
            act(w, kPage, QStringLiteral("typeInto(list('txtFill'), \"o'brien\")"));
        else
            act(w, kPage,
                QStringLiteral("pick('D2', \"Don't panic\"); press(' Add  >>  '); pick('D2', 'Keep calm'); "
                               "press(' Add  >>  ');"));
    };
    const auto shown = [&] {
        return onScreen(w).kind == Fill ? value(w, kPage, "list('txtFill').value")
                                        : value(w, kPage, "texts(list('D3'))");
    };
    const auto expectedShown = [&] {
        return onScreen(w).kind == Fill ? QStringLiteral("o'brien") : QStringLiteral("Don't panic|Keep calm");
    };
    const auto expectRecorded = [&](int r) {
        const bool fill = questions.at(w.session.msflex.questionCode(r)).kind == Fill;
        EXPECT_EQ(cell(w, r, colUserAnswer),
                  fill ? QStringLiteral("o'brien|") : QStringLiteral("Don't panic,Keep calm"));
        EXPECT_EQ(cell(w, r, colCorrect), QStringLiteral("1")) << "row " << r;
    };

    answer();
    w.cmdNext->click();
    ready(w);
    answer();
    ASSERT_TRUE(w.cmdPrev->isEnabled());
    w.cmdPrev->click();
    ready(w);
    expectRecorded(1);
    expectRecorded(2);
    EXPECT_EQ(shown(), expectedShown()) << "question 1 shows its recorded answer";
    w.cmdNext->click();
    ready(w);
    EXPECT_EQ(shown(), expectedShown()) << "question 2 shows its recorded answer";
    w.cmdPrev->click();
    ready(w);
    expectRecorded(1);
    expectRecorded(2);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(ExamQuestionsTest, NextAndPreviousFollowTheExamsLengthPerModeAndPosition)
{
    // Ticked for practice, with the simulated exam's directives.
    // Ticked for practice, with the simulated exam's directives; the pretest
    // takes 30 / 1 + 1 questions of its one category.
    bank.category(1, {3, 3, 3, 3, 3}, true);
    for (int code = 1; code <= 31; ++code)
        add({code, Choice, QStringLiteral("Question %1").arg(code)});
    struct Case {
        const char* mode;
        int asked;
        bool nextAtLast; // Next stays enabled at the last question
    };
    const Case cases[] = {{"PRACTICE", 3, true}, {"TEST", 31, false}, {"SIMULATED", 3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        frmZiduver& w = launch(c.mode, c.asked);
        const int n = w.session.launch.gQuizQuestionCount;
        ASSERT_GE(n, 3);
        ASSERT_EQ(w.session.questionCount(), n);
        for (int r = 1; r <= n; ++r) {
            SCOPED_TRACE(testing::Message() << "question " << r);
            EXPECT_EQ(w.lblQno->text(), QStringLiteral("%1 of %2").arg(r).arg(n));
            EXPECT_EQ(w.session.gQuestCode, w.session.msflex.questionCode(r));
            EXPECT_EQ(w.Label2->text().toInt(), w.session.msflex.questionCode(r));
            EXPECT_EQ(w.session.QuestionsReached, r);
            EXPECT_EQ(w.cmdPrev->isEnabled(), r > 1) << "Previous from question 2, in the pretest too";
            EXPECT_EQ(w.cmdNext->isEnabled(), r < n || c.nextAtLast);
            EXPECT_TRUE(value(w, kPage, "doc.body.innerText")
                            .contains(QStringLiteral("Question %1").arg(w.session.gQuestCode)));
            if (r < n) {
                w.cmdNext->click();
                ready(w);
            }
        }
        if (c.nextAtLast) {
            w.cmdNext->click();
            ready(w);
            EXPECT_EQ(w.lblQno->text(), QStringLiteral("%1 of %1").arg(n)) << "Next at the last shows it again";
            EXPECT_TRUE(w.cmdNext->isEnabled());
        }
        // Every question was checked on the way: unanswered, not right.
        for (int r = 1; r < n; ++r) {
            EXPECT_EQ(cell(w, r, colCorrect), QStringLiteral("0"));
            EXPECT_EQ(cell(w, r, colNoAnswer), QStringLiteral("1"));
        }
        // Back to the start; the questions reached stay.
        for (int r = n - 1; r >= 1; --r) {
            ASSERT_TRUE(w.cmdPrev->isEnabled());
            w.cmdPrev->click();
            ready(w);
            EXPECT_EQ(w.lblQno->text(), QStringLiteral("%1 of %2").arg(r).arg(n));
            EXPECT_EQ(w.cmdPrev->isEnabled(), r > 1);
            EXPECT_TRUE(w.cmdNext->isEnabled());
        }
        EXPECT_EQ(w.session.QuestionsReached, n);
        // The menu's Next and Previous are the buttons'.
        w.mnuNext->trigger();
        ready(w);
        EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of %1").arg(n));
        w.mnuPrev->trigger();
        ready(w);
        EXPECT_EQ(w.lblQno->text(), QStringLiteral("1 of %1").arg(n));
        EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
        ui.answerNext(ResultYes);
        w.cmdEndExam_Click();
        settle(0);
        ui.clear();
    }
}

TEST_F(ExamQuestionsTest, AOneQuestionExamNeverMovesAndKeepsNextOnlyInPractice)
{
    bank.category(1, {1, 1, 1, 1, 1}, true);
    add({1, Choice, QStringLiteral("Question 1")});
    for (const char* mode : {"PRACTICE", "SIMULATED"}) {
        SCOPED_TRACE(mode);
        frmZiduver& w = launch(mode, 1);
        ASSERT_EQ(w.session.launch.gQuizQuestionCount, 1);
        EXPECT_FALSE(w.cmdNext->isEnabled());
        EXPECT_FALSE(w.cmdPrev->isEnabled());
        act(w, kPage, QStringLiteral("tick('1')"));
        w.mnuNext->trigger();
        ready(w);
        EXPECT_EQ(w.lblQno->text(), QStringLiteral("1 of 1"));
        EXPECT_EQ(w.session.CurrentQuestion, 1);
        EXPECT_EQ(cell(w, 1, colCorrect), QStringLiteral("1"));
        EXPECT_EQ(value(w, kPage, "doc.querySelector('input[value=\"1\"]').checked"), QStringLiteral("true"))
            << "shown again with its answer";
        EXPECT_EQ(w.cmdNext->isEnabled(), QString::fromLatin1(mode) == QLatin1String("PRACTICE"));
        EXPECT_FALSE(w.cmdPrev->isEnabled()) << "nothing before question 1";
        ui.answerNext(ResultYes);
        w.cmdEndExam_Click();
        settle(0);
    }
}

TEST_F(ExamQuestionsTest, PracticeAlertStopsAWrongAnswerOnlyWithFeedbackAndLetsNextQuestionPassOnce)
{
    bank.category(1, {}, true);
    for (int code = 1; code <= 4; ++code)
        add({code, Choice, QStringLiteral("Question %1").arg(code)});
    frmZiduver& w = launch("PRACTICE", 4);
    EXPECT_TRUE(w.chkShowresult->isVisible());
    EXPECT_FALSE(w.fraAltert->isVisible());

    // No box ticked: a wrong answer moves on.
    w.cmdNext->click();
    ready(w);
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 4"));
    EXPECT_EQ(w.session.gAlertAction, QStringLiteral("NEXTQUESTION"));
    EXPECT_FALSE(w.fraAltert->isVisible());

    // Ticking one box ticks the other; unticking either unticks both.
    w.chkShowresult->click();
    EXPECT_TRUE(w.chkResult->isChecked());
    w.chkResult->click();
    EXPECT_FALSE(w.chkShowresult->isChecked());
    w.chkResult->click();
    EXPECT_TRUE(w.chkShowresult->isChecked());

    // A box ticked: the panel comes up over the question, which stays.
    const auto expectPanel = [&](bool up, const char* step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(w.fraAltert->isVisible(), up);
        EXPECT_EQ(w.frimTop->isEnabled(), !up);
        EXPECT_EQ(w.fraFooter->isEnabled(), !up);
        EXPECT_EQ(w.ViewAnswer->isEnabled(), !up);
        EXPECT_EQ(w.www1->isEnabled(), !up);
    };
    w.cmdNext->click();
    expectPanel(true, "wrong with feedback");
    EXPECT_EQ(w.SkinLabel2->text(), QStringLiteral("Incorrect!"));
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 4"));
    EXPECT_TRUE(w.session.gAlertAction.isEmpty());
    EXPECT_TRUE(w.ViewAnswer->geometry().contains(w.fraAltert->geometry())) << "laid over the question area";

    // Try Again: back on the same question.
    w.cmdTryAgain->click();
    expectPanel(false, "try again");
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 4"));
    w.cmdNext->click();
    expectPanel(true, "still wrong");
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 4"));

    // Next Question: moves on past the wrong answer, which is recorded; the
    // pass it grants is used by that one answer.
    const int wrongRow = row(w);
    w.cmdNextQuest->click();
    ready(w);
    expectPanel(false, "next question");
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("3 of 4"));
    EXPECT_EQ(cell(w, wrongRow, colCorrect), QStringLiteral("0"));
    w.cmdNext->click();
    expectPanel(true, "the next wrong answer");
    w.cmdTryAgain->click();

    // A right answer never raises the panel.
    act(w, kPage, QStringLiteral("tick('1')"));
    w.cmdNext->click();
    ready(w);
    expectPanel(false, "right");
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("4 of 4"));
    w.cmdNext->click();
    expectPanel(true, "wrong at the last");

    // Show Answer from the panel: the panel goes, the right choice is drawn.
    w.cmShowanswer1->click();
    ready(w);
    expectPanel(false, "show answer");
    EXPECT_EQ(w.cmdShowAnswer->text(), QStringLiteral("&Hide Answer"));
    EXPECT_EQ(w.cmShowanswer1->text(), QStringLiteral("&Hide Answer"));
    EXPECT_EQ(value(w, kPage, "doc.querySelector('input[value=\"1\"]').checked"), QStringLiteral("true"));
    w.cmdShowAnswer->click();
    ready(w);
    EXPECT_EQ(w.cmShowanswer1->text(), QStringLiteral("&Show Answer"));
    EXPECT_EQ(value(w, kPage, "doc.querySelector('input[value=\"1\"]').checked"), QStringLiteral("false"));
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(ExamQuestionsTest, ShowAnswerRedrawsTheTreeFromItsRewrittenPages)
{
    bank.category(1, {}, true);
    add({5, Tree, QStringLiteral("Sort the things")});
    frmZiduver& w = launch("PRACTICE", 1);
    EXPECT_EQ(QFileInfo(w.www1->locationUrl()).fileName(), QStringLiteral("main.html"));
    EXPECT_EQ(value(w, kTreeFrame, "texts(doc.getElementById('TreeView'))"), QStringLiteral("Fruit|Tools"));
    w.cmdShowAnswer->click();
    ready(w);
    EXPECT_EQ(value(w, kTreeFrame, "texts(doc.getElementById('TreeView'))"),
              QStringLiteral("Fruit|Apple|Pear|Tools|Saw"));
    w.cmdShowAnswer->click();
    ready(w);
    EXPECT_EQ(value(w, kTreeFrame, "texts(doc.getElementById('TreeView'))"), QStringLiteral("Fruit|Tools"));
}

TEST_F(ExamQuestionsTest, AQuestionWithoutItsRowShowsAnErrorPageLogsItAndJudgesNothing)
{
    bank.category(1, {}, true);
    for (int code = 1; code <= 3; ++code)
        add({code, Choice, QStringLiteral("Question %1").arg(code)});
    frmZiduver& w = launch("PRACTICE", 3);
    const int missing = w.session.msflex.questionCode(2);
    bank.conn().exec(QStringLiteral("DELETE FROM Qe_QuestionsHead WHERE Qq_QuestCode = ?"), {missing});

    act(w, kPage, QStringLiteral("tick('1')"));
    w.cmdNext->click();
    ready(w);
    EXPECT_EQ(cell(w, 1, colCorrect), QStringLiteral("1"));
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 3"));
    EXPECT_EQ(w.session.gQuestCode, missing);
    EXPECT_EQ(w.session.gQuestType, 0);
    const QString page = value(w, kPage, "doc.body.innerText");
    EXPECT_TRUE(page.contains(QStringLiteral("cannot be shown"))) << page.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("Question 1"))) << "the page before never stays";
    EXPECT_TRUE(readDebugLog().contains(QStringLiteral("ShowQuestion"))) << readDebugLog().toStdString();
    EXPECT_TRUE(ui.messages().empty()) << "no message box";

    w.cmdNext->click();
    ready(w);
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("3 of 3"));
    EXPECT_EQ(cell(w, 2, colUserAnswer), QStringLiteral(" ")) << "nothing judged for the question not shown";
    EXPECT_EQ(cell(w, 2, colCorrect), QString());
    EXPECT_EQ(cell(w, 1, colUserAnswer), QStringLiteral("1,")) << "the answer before belongs to its own row";
    EXPECT_TRUE(value(w, kPage, "doc.body.innerText")
                    .contains(QStringLiteral("Question %1").arg(w.session.msflex.questionCode(3))));
}

TEST_F(ExamQuestionsTest, ScenarioTabsShowTheScenarioAndAMissingScenarioIsToldOncePerQuestion)
{
    bank.category(1, {}, true);
    const QString examFolder = QFileInfo(bank.path()).absolutePath();
    QDir().mkpath(examFolder + QStringLiteral("/Scenario"));
    {
        QFile page(examFolder + QStringLiteral("/Scenario/case.htm"));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<html><body>The outage case</body></html>");
    }
    ExamBankWriter& writer = bank.writer();
    writer.addScenario(1, QStringLiteral("CASE.HTM"));
    writer.addScenario(2, QStringLiteral("gone.htm"));
    const auto scenarioQuestion = [&](int code, int scenario) {
        ExamBankWriter::QuestionRow q = ExamBankWriter::QuestionRow::multipleChoice(code);
        q.category = 1;
        q.chapter = 0;
        q.text = QStringLiteral("Question %1").arg(code);
        q.difficulty = 1;
        q.isScenario = 1;
        q.scenarioId = scenario;
        writer.addQuestion(q);
        questions[code] = {code, Choice, *q.text};
    };
    scenarioQuestion(1, 1); // its page, found in any case
    scenarioQuestion(2, 9); // no scenario row
    scenarioQuestion(3, 2); // a row whose page is missing
    add({4, Choice, QStringLiteral("Question 4")});
    gStartup.gBlockRightClick = 1;
    frmZiduver& w = launch("PRACTICE", 4);
    EXPECT_EQ(w.www1->view()->contextMenuPolicy(), Qt::NoContextMenu) << "blocked right clicks block the menu";

    for (int r = 1; r <= 4; ++r) {
        const int code = w.session.gQuestCode;
        SCOPED_TRACE(testing::Message() << "question " << code);
        ui.clear();
        // Activations show the question again: no second message.
        for (int again = 0; again < 3; ++again) {
            w.cmdReset->click();
            ready(w);
        }
        EXPECT_TRUE(w.ViewAnswer->isVisible());
        if (code == 2) {
            EXPECT_TRUE(ui.messageTexts().isEmpty()) << "told once, when the question came";
            if (r > 1) {
                w.cmdPrev->click();
                ready(w);
                w.cmdNext->click();
                ready(w);
                EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Could not locate scenario.")})
                    << "and again when it comes again";
            }
        } else if (code == 4) {
            EXPECT_FALSE(w.TabScenario->isVisible());
            EXPECT_TRUE(!w.ScenarioBroser || !w.ScenarioBroser->isVisible());
        } else {
            ASSERT_TRUE(w.TabScenario->isVisible());
            EXPECT_EQ(w.TabScenario->tabText(0), QStringLiteral("Question"));
            EXPECT_EQ(w.TabScenario->tabText(1), QStringLiteral("Scenario"));
            EXPECT_EQ(w.TabScenario->currentIndex(), 0) << "a scenario question starts on its question";
            ASSERT_NE(w.ScenarioBroser, nullptr);
            EXPECT_EQ(w.ScenarioBroser->view()->contextMenuPolicy(), Qt::NoContextMenu);
            w.TabScenario->setCurrentIndex(1);
            EXPECT_TRUE(w.ScenarioBroser->isVisible());
            EXPECT_FALSE(w.ViewAnswer->isVisible());
            ASSERT_TRUE(w.ScenarioBroser->waitForLoad(kWait));
            const QString shown =
                w.ScenarioBroser->runScript(QStringLiteral("document.body.innerText"), kWait).toString();
            if (code == 1) {
                EXPECT_TRUE(shown.contains(QStringLiteral("The outage case"))) << shown.toStdString();
            } else {
                EXPECT_FALSE(shown.contains(QStringLiteral("outage"))) << "a missing page is shown as missing";
            }
        }
        if (r < 4) {
            ui.clear();
            w.cmdNext->click();
            ready(w);
            EXPECT_TRUE(w.ViewAnswer->isVisible()) << "Next goes back to the question";
            const QStringList told = ui.messageTexts();
            EXPECT_EQ(told,
                      w.session.gQuestCode == 2 ? QStringList{QStringLiteral("Could not locate scenario.")}
                                                : QStringList{});
        }
    }
}

TEST_F(ExamQuestionsTest, ACommandThatComesWhileACheckRunsIsRefused)
{
    bank.category(1, {}, true);
    for (int code = 1; code <= 3; ++code)
        add({code, Choice, QStringLiteral("Question %1").arg(code)});
    frmZiduver& w = launch("PRACTICE", 3);
    act(w, kPage, QStringLiteral("tick('1')"));
    // The check waits for the page in a local event loop, which runs this
    // timer: its Next must neither judge nor move.
    QTimer::singleShot(0, &w, [&w] {
        w.mnuNext->trigger();
        w.mnuPrev->trigger();
        w.cmdReset->click();
    });
    w.cmdNext->click();
    ready(w);
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 3"));
    EXPECT_EQ(cell(w, 1, colUserAnswer), QStringLiteral("1,"));
    EXPECT_EQ(cell(w, 1, colCorrect), QStringLiteral("1"));
    EXPECT_EQ(cell(w, 2, colCorrect), QString());
    settle();
    EXPECT_EQ(w.lblQno->text(), QStringLiteral("2 of 3"));
}

} // namespace
