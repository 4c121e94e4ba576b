#include "exam/windows/WidgetExamHelp.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/LinkTargets.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/QuestionFont.h"
#include "mainwindow/windows/WidgetDrawnMenu.h"
#include "mainwindow/windows/WidgetMenuCommands.h"
#include "mainwindow/windows/frmAbout.h"
#include "mainwindow/windows/frmCheckForUpdates.h"
#include "mainwindow/windows/frmCredits.h"
#include "mainwindow/windows/frmFont.h"
#include "platform/browser/BrowserView.h"
#include "platform/ui/DefaultInstance.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingLinkOpener.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"
#include "tests/support/TempSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QEnterEvent>
#include <QFile>
#include <QHostAddress>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Runs the actions once the modal window is up (inside its exec()).
void whenShown(const std::function<void()>& actions)
{
    QTimer::singleShot(0, qApp, actions);
}

QString pageText(BrowserView* view)
{
    return view->runScript(QStringLiteral("document.body ? document.body.innerText : ''")).toString();
}

class MenuWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        gLogin.gAppName = gLogin.gAppTitle = QStringLiteral("Ziduver");
        gLogin.gLoginId = QStringLiteral("ALICE");
        gLogin.gExamConnStr = bank.connectionString();
        resetMainWindowShared();
        gMain.gFontFace = QStringLiteral("DejaVu Sans");
        removeDebugLog();
    }
    void TearDown() override
    {
        settle(10);
        resetMainWindowShared();
        resetStartupState();
    }

    TempHome home;
    TempSettings settings;
    ExamBankFixture bank;
    RecordingUiHooks ui;
};

} // namespace

TEST_F(MenuWindowsTest, FontWindowOffersTheFontsAndShowsTheCurrentChoice)
{
    bool checked = false;
    whenShown([&] {
        frmFont* window = frmFont::find();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isModal());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Ziduver- Select Font"));
        EXPECT_GT(window->lstFonts->count(), 0);
        EXPECT_EQ(window->lstFonts->findItems(QStringLiteral("DejaVu Sans"), Qt::MatchExactly).size(), 1)
            << "each family once";
        EXPECT_GT(window->lstFontSize->count(), 5);
        const QListWidgetItem* face = window->lstFonts->currentItem();
        EXPECT_EQ(face ? face->text() : QString(), QStringLiteral("DejaVu Sans"));
        const QListWidgetItem* size = window->lstFontSize->currentItem();
        EXPECT_EQ(size ? size->text() : QString(), QStringLiteral("10"));
        EXPECT_EQ(window->lblCurFont->text(), QStringLiteral("DejaVu Sans"));
        EXPECT_EQ(window->lblSize->text(), QStringLiteral("10"));
        EXPECT_FALSE(window->chkBold->isChecked());
        EXPECT_EQ(window->chkBold->text(), QStringLiteral("&Bold"));
        EXPECT_EQ(window->cmdSetFont->text(), QStringLiteral("&Set Font"));
        EXPECT_EQ(window->cmdCancel->text(), QStringLiteral("&Close"));
        checked = true;
        window->cmdCancel->click();
    });
    frmFont::showModal(nullptr);
    EXPECT_TRUE(checked);
    settle(10);
    EXPECT_EQ(frmFont::find(), nullptr) << "unloaded when it closes";

    // A face and size the lists lack still show, with nothing selected.
    gMain.gFontFace = QStringLiteral("No Such Face");
    gMain.gFontSize = 10.5;
    whenShown([&] {
        frmFont* window = frmFont::find();
        EXPECT_EQ(window->lblCurFont->text(), QStringLiteral("No Such Face"));
        EXPECT_EQ(window->lblSize->text(), QStringLiteral("10.5"));
        EXPECT_EQ(window->lstFonts->currentItem(), nullptr);
        EXPECT_EQ(window->lstFontSize->currentItem(), nullptr);
        window->cmdCancel->click();
    });
    frmFont::showModal(nullptr);
}

TEST_F(MenuWindowsTest, SetFontStoresTheChoiceAndReopeningShowsIt)
{
    QWidget owner;
    owner.show();
    whenShown([&] {
        frmFont* window = frmFont::find();
        EXPECT_EQ(window->parentWidget(), &owner);
        const QList<QListWidgetItem*> sizes = window->lstFontSize->findItems(QStringLiteral("14"), Qt::MatchExactly);
        EXPECT_EQ(sizes.size(), 1);
        if (!sizes.isEmpty())
            window->lstFontSize->setCurrentItem(sizes.first());
        EXPECT_EQ(window->lblSize->text(), QStringLiteral("14"));
        window->chkBold->setChecked(true);
        window->cmdSetFont->click();
    });
    frmFont::showModal(&owner);
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontBold")), QStringLiteral("True"));
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontItalic")), QStringLiteral("False"));
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontSize")), QStringLiteral("14"));
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontName")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(gMain.gFontSize, 14.0);
    EXPECT_TRUE(gMain.gFontBold);

    whenShown([&] {
        frmFont* window = frmFont::find();
        EXPECT_TRUE(window->chkBold->isChecked());
        EXPECT_FALSE(window->chkItalic->isChecked());
        EXPECT_EQ(window->lblSize->text(), QStringLiteral("14"));
        // Close after changes: nothing is stored.
        window->chkItalic->setChecked(true);
        window->lstFonts->setCurrentRow(window->lstFonts->count() - 1);
        window->cmdCancel->click();
    });
    frmFont::showModal(&owner);
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontItalic")), QStringLiteral("False"));
    EXPECT_EQ(gMain.gFontFace, QStringLiteral("DejaVu Sans"));
    EXPECT_FALSE(gMain.gFontItalic);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MenuWindowsTest, AboutShowsTheProgramFoldersPageAndLogsOnlyWithTheDebugFlag)
{
    home.write(QStringLiteral("AboutUs.HTM"), "<html><body><p>About this program</p></body></html>");
    QString shown;
    whenShown([&] {
        frmAbout* window = frmAbout::find();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Ziduver"));
        EXPECT_EQ(window->parentWidget(), nullptr) << "no owner";
        waitFor([&] { return pageText(window->www1).contains(QStringLiteral("About")); }, 10000);
        shown = pageText(window->www1);
        window->image1->click();
    });
    frmAbout::showModal();
    EXPECT_TRUE(shown.contains(QStringLiteral("About this program"))) << shown.toStdString();
    EXPECT_TRUE(debugLogLines().isEmpty());

    gStartup.gDebug = 1;
    whenShown([&] { frmAbout::find()->image1->click(); });
    frmAbout::showModal();
    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Entering Form load:frmAbout")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Form Skinned Loading aboutus.html :Form_load:frmAbout")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("About us form loaded..:")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("About us form unloaded..:")));
}

TEST_F(MenuWindowsTest, AboutWithoutItsPageShowsTheProgramsOwnErrorPage)
{
    QString shown;
    whenShown([&] {
        frmAbout* window = frmAbout::find();
        window->www1->waitForLoad(10000);
        waitFor([&] { return pageText(window->www1).contains(QLatin1String("could not be reached")); }, 10000);
        shown = pageText(window->www1);
        window->image1->click();
    });
    frmAbout::showModal();
    EXPECT_TRUE(shown.contains(QLatin1String("This page could not be reached"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QLatin1String("aboutus"), Qt::CaseInsensitive)) << "what could not be reached";
}

TEST_F(MenuWindowsTest, CreditsShowTheTextReadOnlyWithoutACaret)
{
    QWidget owner;
    owner.show();
    const QString text = QStringLiteral("Written by the exam team.\r\nImages: <b>not</b> markup.");
    whenShown([&] {
        frmCredits* window = frmCredits::find();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->parentWidget(), &owner);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Ziduver- Credits"));
        EXPECT_EQ(window->rtbCredits->toPlainText(),
                  QStringLiteral("Written by the exam team.\nImages: <b>not</b> markup."));
        EXPECT_TRUE(window->rtbCredits->isReadOnly());
        EXPECT_EQ(window->image1->text(), QStringLiteral("&Close"));
        window->rtbCredits->setFocus();
        QFocusEvent focus(QEvent::FocusIn);
        QApplication::sendEvent(window->rtbCredits, &focus);
        EXPECT_FALSE(window->rtbCredits->hasFocus()) << "the focus passes on";
        window->image1->click();
    });
    frmCredits::showModal(text, &owner);
    EXPECT_TRUE(debugLogLines().isEmpty()) << "no log lines with the debug flag off";
    settle(10);
    EXPECT_EQ(frmCredits::find(), nullptr);
}

TEST_F(MenuWindowsTest, UpdateCheckAgainstAClosedPortShowsTheProgramsOwnErrorPage)
{
    gLogin.gEngineType = QStringLiteral(" ZDV ");
    gLogin.gEngineVersion = QStringLiteral("1.0");
    quint16 port = 0;
    {
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        port = server.serverPort();
    }
    const QString address = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    frmCheckForUpdates& window = DefaultInstance<frmCheckForUpdates>::get();
    window.Form_Load(address, QStringLiteral("LSA101"), QStringLiteral("2.0"));
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Ziduver"));
    EXPECT_EQ(window.cmdExit->text(), QStringLiteral("E&xit"));
    window.web1->waitForLoad(15000);
    EXPECT_TRUE(waitFor([&] { return pageText(window.web1).contains(QLatin1String("could not be reached")); }, 15000))
        << "the program's own error page: " << pageText(window.web1).toStdString();
    EXPECT_TRUE(pageText(window.web1).contains(QStringLiteral("127.0.0.1:%1").arg(port)));
    EXPECT_EQ(QUrl(window.web1->locationUrl()),
              QUrl(address
                   + QStringLiteral("checkversion.php?enginetype=ZDV&engineversion=1.0&productid=LSA101"
                                    "&productversion=2.0")));
    window.cmdExit->click();
    EXPECT_FALSE(window.isVisible());
    DefaultInstance<frmCheckForUpdates>::discard(&window);
}

TEST_F(MenuWindowsTest, MenuRowsOpenCreditsAndTheFontWindowOverTheMainWindow)
{
    ExamBankWriter::ExamRow exam;
    exam.code = QStringLiteral("EX1");
    exam.comment = QStringLiteral("  Thanks to the reviewers.  ");
    bank.writer().addExam(exam);
    QWidget host;
    host.resize(800, 600);
    host.show();
    DrawnMenuSetup setup;
    setup.inputs.hasComment = true;
    WidgetDrawnMenu* menu = WidgetDrawnMenu::attach(&host, QPoint(0, 0), setup);
    // The pointer off the menu, where a closing window hands it back.
    QCursor::setPos(host.mapToGlobal(QPoint(700, 500)));
    auto open = [&](int pullDown, int row) {
        const QPointF local(4, 4);
        QEnterEvent enter(local, local, menu->image5[size_t(pullDown)]->mapToGlobal(local));
        QApplication::sendEvent(menu->image5[size_t(pullDown)], &enter);
        menu->lblMenu_Click(row);
    };

    QString credits;
    QWidget* creditsOwner = nullptr;
    whenShown([&] {
        frmCredits* window = frmCredits::find();
        ASSERT_NE(window, nullptr);
        credits = window->rtbCredits->toPlainText();
        creditsOwner = window->parentWidget();
        window->image1->click();
    });
    open(4, 2); // Contact us, About, Credits, Help
    EXPECT_EQ(credits, QStringLiteral("  Thanks to the reviewers.  ")) << "as stored";
    EXPECT_EQ(creditsOwner, &host);
    EXPECT_FALSE(menu->Picture1->isVisible()) << "the pull-down closed before the window opened";

    bool fontShown = false;
    whenShown([&] {
        fontShown = frmFont::find() != nullptr && frmFont::find()->parentWidget() == &host;
        frmFont::find()->cmdCancel->click();
    });
    open(1, 0);
    EXPECT_TRUE(fontShown);
    EXPECT_TRUE(ui.messages().empty());
}

// Help shows the help file that setup.xml names (in any case) in the
// program's own window titled "Help", the one the exam window opens, and
// never hands it to the desktop, whose missing viewer answered with a raw
// file:// error. Without the file the program's short help is shown; a
// second Help brings the same window back.
TEST_F(MenuWindowsTest, HelpShowsTheHelpFileInTheProgramsOwnWindow)
{
    home.write(QStringLiteral("setup.xml"),
               "<?xml version=\"1.0\"?>\n<SetupInfo>\n\t<GeneralSettings>\n"
               "\t\t<Help>ZiduverHelp.htm</Help>\n\t</GeneralSettings>\n</SetupInfo>\n");
    home.write(QStringLiteral("ziduverhelp.HTM"), "<html><body><p>How the main window works</p></body></html>");
    RecordingOpener opener;
    installLinkOpener(&opener);
    QWidget host;
    host.resize(800, 600);
    host.show();

    const QPointer<WidgetExamHelp> help = showHelp(&host);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(help->parentWidget(), &host);
    EXPECT_TRUE(help->text()->toPlainText().contains(QStringLiteral("How the main window works")))
        << help->text()->toPlainText().toStdString();

    QFile::remove(home.file(QStringLiteral("ziduverhelp.HTM")));
    EXPECT_EQ(showHelp(&host), help.data()) << "one help window";
    EXPECT_TRUE(help->text()->toPlainText().contains(QStringLiteral("Taking an exam")));
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(opener.shown.empty());
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    installLinkOpener(nullptr);
    help->close();
    settle(10);
    EXPECT_TRUE(help.isNull());
}
