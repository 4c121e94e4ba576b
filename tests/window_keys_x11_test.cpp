// Keys pressed on a real display, as the user presses them: the window
// system's path (shortcut override, then the focus widget) differs from
// events sent to a widget, most of all for a focused page of a browser view.
#include "admin/windows/frmAdminPref.h"
#include "exam/ExamSession.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/SystemDatabase.h"
#include "foundation/links/MainWindowLink.h"
#include "foundation/windows/frmDBSel.h"
#include "foundation/windows/frmMessageBox.h"
#include "mainwindow/windows/WidgetDrawnMenu.h"
#include "mainwindow/windows/frmAbout.h"
#include "mainwindow/windows/frmCheckForUpdates.h"
#include "platform/browser/BrowserView.h"
#include "platform/ui/ButtonKeys.h"
#include "platform/ui/DefaultInstance.h"
#include "results/windows/frmoffLineQuestions.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"
#include "tests/support/TempSettings.h"
#include "tests/support/XKeyboard.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

bool focused(QWidget& window)
{
    return window.windowHandle() && QGuiApplication::focusWindow() == window.windowHandle();
}

// Brings the window up and to the front, with the focus on its page.
::testing::AssertionResult focusOnPage(QWidget& window, BrowserView& view)
{
    if (!waitFor([&] { return window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed(); },
                 10000))
        return ::testing::AssertionFailure() << "the window did not come up";
    window.activateWindow();
    if (!waitFor([&] { return focused(window); }, 5000))
        return ::testing::AssertionFailure() << "the window did not get the focus";
    if (!view.waitForLoad(10000) || !waitFor([&] { return view.view()->focusProxy() != nullptr; }, 10000))
        return ::testing::AssertionFailure() << "the page did not load";
    view.view()->focusProxy()->setFocus(Qt::MouseFocusReason);
    if (!waitFor([&] { return view.view()->focusProxy()->hasFocus(); }, 5000))
        return ::testing::AssertionFailure() << "the page did not take the focus";
    settle(200);
    return ::testing::AssertionSuccess();
}

class WindowKeysOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xServerUnavailable().isEmpty())
            GTEST_SKIP() << xServerUnavailable().toStdString();
        if (!keyboard.available())
            GTEST_SKIP() << "the X test extension's libraries (libX11, libXtst) are missing";
        resetStartupState();
        gLogin.gAppName = gLogin.gAppTitle = QStringLiteral("Ziduver");
    }
    void TearDown() override
    {
        // The windows discarded go now, before the engine's end.
        settle(150);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetStartupState();
    }

    TempHome home;
    XKeyboard keyboard;
};

TEST_F(WindowKeysOnX11, EscClosesAboutWhileItsPageHasTheFocus)
{
    home.write(QStringLiteral("aboutus.htm"), "<html><body><p>About this program</p></body></html>");
    bool pageFocused = false;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        frmAbout* window = frmAbout::find();
        ASSERT_NE(window, nullptr);
        pageFocused = focusOnPage(*window, *window->www1);
        keyboard.press({XKeyboard::kEscape});
        closed = waitFor([&] { return !window->isVisible(); }, 3000);
        if (!closed)
            window->image1->click();
    });
    frmAbout::showModal();
    ASSERT_TRUE(pageFocused);
    EXPECT_TRUE(closed);
}

TEST_F(WindowKeysOnX11, EscClosesTheUpdateCheckWhileItsPageHasTheFocus)
{
    // A closed port: the program's own page for a load that failed.
    frmCheckForUpdates& window = DefaultInstance<frmCheckForUpdates>::get();
    window.Form_Load(QStringLiteral("http://127.0.0.1:9/"), QStringLiteral("LSA101"), QStringLiteral("2.0"));
    bool pageFocused = false;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        pageFocused = focusOnPage(window, *window.web1);
        keyboard.press({XKeyboard::kEscape});
        closed = waitFor([&] { return !window.isVisible(); }, 3000);
        if (!closed)
            window.cmdExit->click();
    });
    window.exec();
    DefaultInstance<frmCheckForUpdates>::discard(&window);
    ASSERT_TRUE(pageFocused);
    EXPECT_TRUE(closed);
}

TEST_F(WindowKeysOnX11, EscClosesTheQuestionSheetWhileItsPageHasTheFocus)
{
    ExamBankFixture bank;
    bank.category(1).questions(1, 2, 1);
    ExamSession session;
    session.launch.gAppTitle = QStringLiteral("Ziduver Sheet");
    session.launch.gQuizConnStr = bank.connectionString();
    session.launch.gQuizExamDbPath = bank.path();
    session.launch.gQuizFontName = QStringLiteral("DejaVu Sans");
    session.launch.gQuizFontSize = 12;
    for (int code = 1; code <= 2; ++code)
        session.msflex.addQuestion(code, 1);
    frmoffLineQuestions sheet(session);
    sheet.show();
    ASSERT_TRUE(waitFor([&] { return !sheet.pageHtml().isEmpty(); }, 10000));
    ASSERT_TRUE(focusOnPage(sheet, *sheet.www1));
    keyboard.press({XKeyboard::kEscape});
    EXPECT_TRUE(waitFor([&] { return !sheet.isVisible(); }, 3000));
}

// ---- Enter and Return on a focused push button ----

constexpr unsigned long kReturn = 0xff0d;
constexpr unsigned long kKeypadEnter = 0xff8d;
constexpr unsigned long kShift = 0xffe1;

// Brings a window up and gives the focus to one of its controls.
::testing::AssertionResult focusOn(QWidget& window, QWidget& control)
{
    if (!waitFor([&] { return window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed(); },
                 10000))
        return ::testing::AssertionFailure() << "the window did not come up";
    window.activateWindow();
    if (!waitFor([&] { return focused(window); }, 5000))
        return ::testing::AssertionFailure() << "the window did not get the focus";
    control.setFocus(Qt::TabFocusReason);
    if (!waitFor([&] { return control.hasFocus(); }, 5000))
        return ::testing::AssertionFailure() << "the control did not take the focus";
    return ::testing::AssertionSuccess();
}

// A window that is no dialog (as the login and main windows are) and a
// dialog whose focused button is not its default one (as the
// administration window's are): Enter and the keypad's Enter press the
// focused button once; a line edit and a multi-line editor keep their Enter,
// Shift+Enter presses nothing, and a disabled button takes nothing.
TEST_F(WindowKeysOnX11, EnterPressesTheFocusedButtonAndLeavesTextBoxesTheirs)
{
    PressFocusedButtonsWithEnter();
    QWidget window;
    window.resize(500, 300);
    auto* field = new QLineEdit(&window);
    field->setGeometry(10, 10, 200, 30);
    auto* editor = new QPlainTextEdit(&window);
    editor->setGeometry(10, 50, 200, 100);
    auto* button = new QPushButton(QStringLiteral("Press"), &window);
    button->setGeometry(250, 10, 100, 30);
    int pressed = 0, returned = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++pressed; });
    QObject::connect(field, &QLineEdit::returnPressed, [&] { ++returned; });
    window.show();

    ASSERT_TRUE(focusOn(window, *button));
    keyboard.press({kReturn});
    EXPECT_EQ(pressed, 1);
    keyboard.press({kKeypadEnter});
    EXPECT_EQ(pressed, 2);
    keyboard.press({kShift, kReturn});
    EXPECT_EQ(pressed, 2) << "Shift+Enter is another key";

    ASSERT_TRUE(focusOn(window, *field));
    keyboard.press({kReturn});
    EXPECT_EQ(returned, 1);
    ASSERT_TRUE(focusOn(window, *editor));
    keyboard.press({kReturn});
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("\n")) << "a new line";
    EXPECT_EQ(pressed, 2);

    // A dialog: the focused button, not the default one.
    QDialog dialog;
    auto* defaultButton = new QPushButton(QStringLiteral("OK"), &dialog);
    defaultButton->setGeometry(10, 10, 100, 30);
    defaultButton->setDefault(true);
    auto* other = new QPushButton(QStringLiteral("Other"), &dialog);
    other->setGeometry(120, 10, 100, 30);
    other->setAutoDefault(false);
    int defaultPressed = 0, otherPressed = 0;
    QObject::connect(defaultButton, &QPushButton::clicked, [&] { ++defaultPressed; });
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherPressed; });
    dialog.show();
    ASSERT_TRUE(focusOn(dialog, *other));
    keyboard.press({kReturn});
    EXPECT_EQ(otherPressed, 1);
    EXPECT_EQ(defaultPressed, 0);
    other->setEnabled(false);
    keyboard.press({kReturn});
    EXPECT_EQ(otherPressed, 1);
}

// The program's own windows: the message box answers with the focused
// button, the administration window's Close closes it, and the login
// window's Start logs in (and is refused without a login).
TEST_F(WindowKeysOnX11, EnterPressesTheFocusedButtonOfTheProgramsWindows)
{
    PressFocusedButtonsWithEnter();
    {
        frmMessageBox box(QStringLiteral("Do you want to end exam?"), QStringLiteral("Ziduver"), YesNo);
        bool pressedNo = false;
        QTimer::singleShot(0, [&] {
            pressedNo = focusOn(box, *box.lblCaption[1]);
            keyboard.press({kReturn});
            if (box.isVisible())
                box.done(0);
        });
        box.exec();
        ASSERT_TRUE(pressedNo);
        EXPECT_EQ(box.answer(), ResultNoOrCancel) << "the focused No, not Yes";
    }

    RecordingUiHooks ui;
    TempSettings settings;
    ExamDbFixture fixture(home);
    fixture.createDataExam(QStringLiteral("exam1"), QStringLiteral("exam1.qzr"));
    {
        SystemDatabase().addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")});
    }
    gLogin.gAppName = QStringLiteral("Ziduver");
    gLogin.gUserCode = QStringLiteral("0");
    bool closed = false;
    QTimer::singleShot(0, [&] {
        frmAdminPref* window = frmAdminPref::current();
        if (!window) {
            ADD_FAILURE() << "the administration window did not load: " << ui.messageTexts().join('|').toStdString();
            return;
        }
        EXPECT_TRUE(focusOn(*window, *window->Command2));
        keyboard.press({kReturn});
        closed = waitFor([&] { return !window->isVisible(); }, 3000);
        if (!closed)
            window->done(QDialog::Rejected);
    });
    frmAdminPref::showModal(nullptr);
    EXPECT_TRUE(closed);
    settle(50);

    home.copyLook();
    home.write(QStringLiteral("setup.xml"), startupSetupXml());
    resetStartupState();
    MainWindowLink::wire([](const QString&) {});
    FakeStartupEnvironment environment;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin) << ui.messageTexts().join('|').toStdString();
    ASSERT_TRUE(frmDBSel::showLogin()) << ui.messageTexts().join('|').toStdString();
    frmDBSel& login = frmDBSel::instance();
    ui.clear();
    ASSERT_TRUE(focusOn(login, *login.Command1));
    keyboard.press({kReturn});
    EXPECT_FALSE(ui.messages().empty()) << "Start ran the login";
    login.hide();
    MainWindowLink::wire({});
}

TEST_F(WindowKeysOnX11, AltAndALetterOrF10OpenTheDrawnMenuWhereverTheFocusIs)
{
    QWidget host;
    host.resize(700, 400);
    auto* field = new QLineEdit(&host);
    field->setGeometry(100, 200, 200, 30);
    WidgetDrawnMenu* menu = WidgetDrawnMenu::attach(&host, QPoint(10, 8), DrawnMenuSetup{});
    host.show();
    ASSERT_TRUE(waitFor([&] { return host.windowHandle() && host.windowHandle()->isExposed(); }, 10000));
    host.activateWindow();
    ASSERT_TRUE(waitFor([&] { return focused(host); }, 5000));
    field->setFocus();
    settle(100);

    keyboard.press({XKeyboard::kAlt, 'h'});
    EXPECT_EQ(menu->openPullDown(), 4) << "Help";
    EXPECT_TRUE(field->hasFocus()) << "the focus stays where it was";
    keyboard.press({XKeyboard::kDown});
    EXPECT_TRUE(menu->lblMenu[1]->hovered()) << "the keys work the open pull-down";
    keyboard.press({XKeyboard::kAlt, 's'});
    EXPECT_EQ(menu->openPullDown(), 2) << "History";
    keyboard.press({XKeyboard::kEscape});
    EXPECT_EQ(menu->openPullDown(), -1);
    EXPECT_TRUE(field->text().isEmpty()) << "no key reached the text box";

    keyboard.press({XKeyboard::kF10});
    EXPECT_EQ(menu->openPullDown(), 0) << "File";
    EXPECT_TRUE(menu->lblMenu[0]->hovered());
    keyboard.press({XKeyboard::kF10});
    EXPECT_EQ(menu->openPullDown(), -1);
}

} // namespace
