#include "foundation/ExamBankWriter.h"
#include "foundation/Messages.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "mainwindow/windows/WidgetDrawnMenu.h"
#include "mainwindow/windows/WidgetMenuAttachment.h"
#include "mainwindow/windows/frmmain.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"
#include "tests/support/TempSettings.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

void hover(QWidget* widget)
{
    const QPointF local(4, 4);
    QEnterEvent enter(local, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &enter);
}

// The main window as the program loads it, with the drawn menu attached.
class MenuAttachmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        resetMainWindowShared();
        gStartup.gMultiUser = true;
        gLogin.gAppName = gLogin.gAppTitle = QStringLiteral("Ziduver");
        gLogin.gLoginId = QStringLiteral("ALICE");
        gLogin.gUserCode = QStringLiteral("7");
        gLogin.gUserPassword = QStringLiteral("PW1");
        gLogin.gShowAdminPref = 1;
        gLogin.gExamDesc = QStringLiteral("Exam One");
        gLogin.gExamDbPath = bank.path();
        gLogin.gExamConnStr = bank.connectionString();
        home.write(QStringLiteral("setup.xml"),
                   "<?xml version=\"1.0\"?>\n<SetupInfo>\n\t<GeneralSettings>\n"
                   "\t\t<DefaultFontFace>DejaVu Sans</DefaultFontFace>\n"
                   "\t</GeneralSettings>\n\t<MainMenuSettings>\n\t\t<Forecolor>H003A2E1F</Forecolor>\n"
                   "\t\t<ForecolorSelected>H00C46F0B</ForecolorSelected>\n\t</MainMenuSettings>\n</SetupInfo>\n");
        ExamBankWriter::ExamRow row;
        row.code = QStringLiteral("EX1");
        row.simulatedMinutes = 60;
        row.simulatedPassScore = 70;
        row.simulatedQuestions = 4;
        row.comment = QStringLiteral("Credits text");
        bank.writer().addExam(row);
        bank.category(1).questions(1, 6, 1);
        bank.progress(7, 1, ExamBankFixture::Verdict::Right);
        bank.writer().addUserLink({1, 0, QStringLiteral("Docs"), QStringLiteral("https://example.org/")});
        LoginWindowLink::wire([this](const QString& login, const QString& password) {
            handedBack << login + QLatin1Char('/') + password;
        });
        frmmain::setProgramEnd([this] { ++programEnds; });
        frmmain::setMenuAttacher(&attachDrawnMenu);
    }
    void TearDown() override
    {
        frmmain::unload();
        settle(10);
        frmmain::setMenuAttacher(nullptr);
        frmmain::setProgramEnd(nullptr);
        LoginWindowLink::wire(nullptr);
        resetMainWindowShared();
        resetStartupState();
    }

    frmmain& shown()
    {
        frmmain& window = frmmain::instance();
        window.showForExam(QStringLiteral("Exam One"));
        return window;
    }
    WidgetDrawnMenu* menuOf(frmmain& window) { return window.menuArea()->findChild<WidgetDrawnMenu*>(); }

    TempHome home;
    TempSettings settings;
    ExamBankFixture bank;
    RecordingUiHooks ui;
    QStringList handedBack;
    int programEnds = 0;
};

} // namespace

TEST_F(MenuAttachmentTest, LoadAttachesTheMenuWithWhatTheLoadFound)
{
    frmmain& window = shown();
    WidgetDrawnMenu* menu = menuOf(window);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(window.findChildren<WidgetDrawnMenu*>().size(), 1);
    EXPECT_EQ(menu->Picture1->parentWidget(), &window) << "the lists lie over the window";

    // A user in multi-user mode: the administrator's rows are off.
    hover(menu->image5[2]);
    ASSERT_GE(menu->rows().size(), 2u);
    EXPECT_FALSE(menu->rows()[1].enabled);
    EXPECT_FALSE(window.cmdClearHistory->isEnabled());
    hover(menu->image5[3]);
    ASSERT_EQ(menu->rows().size(), 2u) << "Notes and the exam's link";
    EXPECT_EQ(menu->rows()[1].caption, QStringLiteral("Docs"));
    hover(menu->image5[4]);
    EXPECT_EQ(menu->rows().size(), 4u) << "with Credits: the exam has a comment";
    EXPECT_EQ(menu->lblMenu[0]->foreColour(), QColor(0x1F, 0x2E, 0x3A)) << "the setup.xml colour";
}

TEST_F(MenuAttachmentTest, StoredFontIsReadBackAtTheLoad)
{
    ASSERT_TRUE(SaveRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontName"), QStringLiteral("Serif")));
    ASSERT_TRUE(SaveRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontSize"), QStringLiteral("16")));
    shown();
    EXPECT_EQ(gMain.gFontFace, QStringLiteral("Serif"));
    EXPECT_EQ(gMain.gFontSize, 16.0);
}

TEST_F(MenuAttachmentTest, ClearHistoryButtonRunsTheMenuCommand)
{
    gLogin.gLoginId = QStringLiteral("ADMIN");
    gLogin.gUserCode = QStringLiteral("7");
    frmmain& window = shown();
    ASSERT_TRUE(window.cmdClearHistory->isEnabled());
    ui.answerNext(ResultNoOrCancel);
    window.cmdClearHistory->click();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.startsWith(QStringLiteral("All Previous examination history will be cleared!")));
    EXPECT_EQ(ui.messages()[0].owner, &window);
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt(), 1);
}

TEST_F(MenuAttachmentTest, ClosingStoresTheFavouritesChangeExamAndExitStoreNothing)
{
    // Change Exam from the menu: unloaded, the user handed back, nothing stored.
    frmmain& first = shown();
    const QPointer<frmmain> alive(&first);
    WidgetDrawnMenu* menu = menuOf(first);
    hover(menu->image5[0]);
    menu->lblMenu_Click(0);
    EXPECT_EQ(handedBack, QStringList{QStringLiteral("ALICE/PW1")});
    EXPECT_FALSE(frmmain::exists());
    EXPECT_EQ(programEnds, 0);
    settle(10);
    EXPECT_FALSE(alive);
    EXPECT_EQ(settings.fileText(), QString());

    // Exit from the menu: the program's end, nothing stored.
    frmmain& second = shown();
    menu = menuOf(second);
    hover(menu->image5[0]);
    menu->lblMenu_Click(2);
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(settings.fileText(), QString());

    // Closing the window: the favourites (none) stored, then the end.
    second.close();
    EXPECT_EQ(programEnds, 2);
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("ALICE"), QStringLiteral("MenuItemsCaption"), QStringLiteral("-")),
              QString());
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("ALICE"), QStringLiteral("MenuItemsTag"), QStringLiteral("-")),
              QString());
}
