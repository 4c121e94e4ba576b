#include "exam/ExamSession.h"
#include "exam/HelpWindows.h"
#include "exam/windows/WidgetExamHelp.h"
#include "exam/windows/frmHelpSelectandPlace.h"
#include "exam/windows/frmMoreHelp.h"
#include "foundation/SharedState.h"
#include "foundation/WindowTag.h"
#include "foundation/windows/WidgetPageLinks.h"
#include "platform/browser/BrowserView.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingLinkOpener.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"
#include "tests/support/UserClick.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

const QString kApp = QStringLiteral("Ziduver");

QByteArray setupXml(const char* multipleChoice)
{
    return QByteArray("<SetupInfo>\n"
                      "\t<ExamEngineSettings>\n"
                      "\t\t<QuestionTypeInstructions>\n"
                      "\t\t\t<MultipleChoice>")
        + multipleChoice
        + "</MultipleChoice>\n"
          "\t\t\t<Essay>Write it out.</Essay>\n"
          "\t\t\t<FillInTheBlank>Fill each box.</FillInTheBlank>\n"
          "\t\t\t<OrderedList>Put them in order.</OrderedList>\n"
          "\t\t\t<Tree>Place each leaf.</Tree>\n"
          "\t\t</QuestionTypeInstructions>\n"
          "\t</ExamEngineSettings>\n"
          "</SetupInfo>\n";
}

class HelpWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        gLogin.gAppName = gLogin.gAppTitle = kApp;
        home.write(QStringLiteral("setup.xml"), setupXml("Pick one."));
    }
    void TearDown() override
    {
        settle(0);
        EXPECT_EQ(frmHelpSelectandPlace::loaded(), nullptr);
        EXPECT_EQ(frmMoreHelp::loaded(), nullptr);
    }

    TempHome home;
    RecordingUiHooks ui;
};

TEST(ExamHelpWindow, EscClosesIt)
{
    const QPointer<WidgetExamHelp> help = new WidgetExamHelp(nullptr);
    help->showHelp(QStringLiteral("<p>How the exam works.</p>"));
    help->text()->setFocus();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(help->text(), &escape);
    EXPECT_TRUE(!help || !help->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(help) << "gone once closed";
    delete help.data();
}

TEST_F(HelpWindows, InstructionsShowTheTextOfTheQuestionType)
{
    const struct Case {
        int type, interactive;
        const char* box;
        const char* text;
    } cases[] = {
        {1, 0, "txtMultiple", "Pick one."},
        {2, 0, "txtEssay", "Write it out."},
        {3, 0, "txtFillInBlank", "Fill each box."},
        {4, 1, "txtinteractive", "Put them in order."},
        {4, 2, "txtinteractive", "Place each leaf."},
        {4, 3, "txtinteractive", ""}, // no SelectAndPlace key in this setup.xml
        {0, 0, "txtinteractive", ""},
    };
    for (const Case& c : cases) {
        frmHelpSelectandPlace& w = frmHelpSelectandPlace::load(c.type, c.interactive, nullptr);
        w.show();
        EXPECT_EQ(w.windowTitle(), "Ziduver - Instructions");
        EXPECT_EQ(w.Command1->text(), "&Close");
        int shown = 0;
        for (QPlainTextEdit* box : {w.txtMultiple, w.txtEssay, w.txtFillInBlank, w.txtinteractive}) {
            if (!box->isVisible())
                continue;
            ++shown;
            EXPECT_EQ(box->objectName(), QLatin1String(c.box)) << c.type << "/" << c.interactive;
            EXPECT_EQ(box->toPlainText(), QString::fromLatin1(c.text)) << c.type << "/" << c.interactive;
            EXPECT_TRUE(box->isReadOnly());
        }
        EXPECT_EQ(shown, 1) << c.type << "/" << c.interactive;
        w.unload();
    }
}

TEST_F(HelpWindows, InstructionsAreReadAgainAtEachActivation)
{
    frmHelpSelectandPlace& w = frmHelpSelectandPlace::load(1, 0, nullptr);
    w.show();
    EXPECT_EQ(w.txtMultiple->toPlainText(), "Pick one.");
    home.write(QStringLiteral("setup.xml"), setupXml("Pick exactly one."));
    w.Form_Activate();
    EXPECT_EQ(w.txtMultiple->toPlainText(), "Pick exactly one.");
    w.unload();
}

TEST_F(HelpWindows, InstructionsOpenModallyWithTheirTagAndClose)
{
    ExamSession session;
    session.gQuestType = 4;
    session.gInteractiveCode = 2;
    QString tag, text;
    bool visible = false;
    QTimer::singleShot(0, [&] {
        frmHelpSelectandPlace* w = frmHelpSelectandPlace::loaded();
        ASSERT_NE(w, nullptr);
        visible = w->isVisible() && w->isModal();
        tag = windowTag(w);
        text = w->txtinteractive->toPlainText();
        w->Command1->click();
    });
    gGuard.gExamWindowActive = true;
    showQuestionInstructions(session, nullptr, QStringLiteral("L"));
    EXPECT_TRUE(visible);
    EXPECT_EQ(tag, "L");
    EXPECT_EQ(text, "Place each leaf.");
    EXPECT_FALSE(gGuard.gExamWindowActive) << "a window over the exam clears the guard";
}

// An exam database with question 5 and its explanation, and the question as
// the explanation window reads it.
class ExplanationWindow : public HelpWindows {
protected:
    void SetUp() override
    {
        HelpWindows::SetUp();
        bank.shownQuestion(5, 1, 0, QStringLiteral("Question five"));
        bank.shownQuestion(6, 1, 0, QStringLiteral("Question six"));
        setExplanation(5, QStringLiteral("Why:\r\nSee <a href=\"[localpath]more.htm\">and/or</a> 1/2"));
        home.write(QStringLiteral("more.htm"), "<html><body>More page</body></html>");
        question.questCode = 5;
        question.connectionString = bank.connectionString();
        question.fontName = QStringLiteral("Verdana");
        question.fontSize = 12;
        question.examDbPath = bank.path();
        installPageLinks();
        installLinkOpener(&opener);
    }

    void TearDown() override
    {
        installLinkOpener(nullptr);
        HelpWindows::TearDown();
    }

    void setExplanation(int code, const QVariant& text)
    {
        bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_Explanation = ? WHERE Qq_QuestCode = ?"),
                         {text, code});
    }

    static QString pageText(BrowserView* view)
    {
        return view->runScript(QStringLiteral("document.body ? document.body.innerText : ''")).toString().simplified();
    }

    static bool showing(BrowserView* view, const QString& end)
    {
        return view->locationUrl().endsWith(end) && view->waitForLoad(100);
    }

    ExamBankFixture bank;
    frmMoreHelp::Question question;
    RecordingOpener opener;
};

TEST_F(ExplanationWindow, ExplanationPageWithTheProgramFolderLinkAndBack)
{
    frmMoreHelp& w = frmMoreHelp::load(question, nullptr);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Ziduver - Explanation");
    ASSERT_TRUE(waitFor([&] { return showing(w.www2, QStringLiteral("/explanation.html")); }));

    QFile file(home.file(QStringLiteral("explanation.html")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF") + w.ExplanationHtml().toUtf8());
    EXPECT_TRUE(w.ExplanationHtml().contains(QLatin1String("Why:<br>See ")));
    EXPECT_EQ(pageText(w.www2), "Why: See and/or 1/2");
    const QString link = w.www2->runScript(QStringLiteral("document.links[0].href")).toString();
    EXPECT_EQ(page_address::localPath(QUrl(link)), home.file(QStringLiteral("more.htm")));
    ASSERT_TRUE(waitFor([&] { return w.cmdBack->isEnabled(); })) << "the explanation is no start page";

    // A link clicked goes through the link rules, which show an HTML page in
    // the program's own page window, never the desktop's browser; the
    // explanation stays.
    ASSERT_TRUE(userClickOn(w.www2, QStringLiteral("document.links[0]")));
    ASSERT_TRUE(waitFor([&] { return !opener.shown.empty(); }));
    EXPECT_EQ(opener.shown, std::vector<QUrl>{QUrl::fromLocalFile(home.file(QStringLiteral("more.htm")))});
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(showing(w.www2, QStringLiteral("/explanation.html")));
    EXPECT_EQ(pageText(w.www2), "Why: See and/or 1/2");

    // Back on the explanation itself writes it again and disables Back.
    w.cmdBack->click();
    ASSERT_TRUE(waitFor([&] { return !w.cmdBack->isEnabled() && pageText(w.www2) == "Why: See and/or 1/2"; }));
    w.cmdBack->click(); // nowhere left to go: the same page again
    ASSERT_TRUE(waitFor([&] { return pageText(w.www2) == "Why: See and/or 1/2"; }));
    EXPECT_FALSE(w.cmdBack->isEnabled());
    EXPECT_TRUE(ui.messages().empty());
    w.unload();
}

TEST_F(ExplanationWindow, BlankOrMissingExplanation)
{
    setExplanation(6, QVariant()); // Null
    question.questCode = 6;
    frmMoreHelp& blank = frmMoreHelp::load(question, nullptr);
    blank.show();
    ASSERT_TRUE(waitFor([&] { return showing(blank.www2, QStringLiteral("/explanation.html")); }));
    EXPECT_EQ(pageText(blank.www2), "No explanation given");
    blank.unload();

    question.questCode = 99; // no row: the view stays blank
    frmMoreHelp& missing = frmMoreHelp::load(question, nullptr);
    missing.show();
    // The blank page may take its time on a busy machine; then nothing else
    // may follow it.
    waitFor([&] { return missing.www2->locationUrl() == QStringLiteral("about:blank"); });
    settle(200);
    EXPECT_EQ(missing.www2->locationUrl(), "about:blank");
    EXPECT_EQ(missing.ExplanationHtml(), QString());
    EXPECT_FALSE(missing.cmdBack->isEnabled());
    EXPECT_TRUE(ui.messages().empty());
    missing.unload();
}

TEST_F(ExplanationWindow, OpensModallyFromTheSessionAndCloses)
{
    ExamSession session;
    session.gQuestCode = 5;
    session.launch.gQuizConnStr = bank.connectionString();
    session.launch.gQuizFontName = QStringLiteral("Arial");
    session.launch.gQuizFontSize = 10;
    session.launch.gQuizExamDbPath = bank.path();
    QString tag, page;
    QTimer::singleShot(0, [&] {
        frmMoreHelp* w = frmMoreHelp::loaded();
        ASSERT_NE(w, nullptr);
        tag = windowTag(w);
        page = w->ExplanationHtml();
        w->cmdOK->click();
    });
    showQuestionExplanation(session, nullptr, QStringLiteral("L"));
    EXPECT_EQ(tag, "L");
    EXPECT_TRUE(page.contains(QLatin1String("font-family: Arial; font-size:12px\">Why:"))) << page.toStdString();
}

} // namespace

namespace {

// The program's help window: its links follow the same rules as a page's.
TEST(ExamHelpWindowLinks, GoThroughTheLinkRulesAndJumpsStayInTheText)
{
    TempHome home;
    RecordingUiHooks ui;
    RecordingOpener opener;
    installLinkOpener(&opener);
    WidgetExamHelp help(nullptr);
    help.showHelp(QStringLiteral("<p><a href='#end'>down</a></p><p id=end><a name=end>end</a></p>"));
    emit help.text()->anchorClicked(QUrl(QStringLiteral("#end")));
    EXPECT_TRUE(opener.opened.empty()) << "a jump within the help text";
    emit help.text()->anchorClicked(QUrl(QStringLiteral("https://example.org/help")));
    emit help.text()->anchorClicked(QUrl(QStringLiteral("zidtest://hello")));
    installLinkOpener(nullptr);
    EXPECT_EQ(opener.opened, std::vector<QUrl>{QUrl(QStringLiteral("https://example.org/help"))});
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.contains(QLatin1String("zidtest://hello")));
}

} // namespace
