#include "foundation/LinkTargets.h"
#include "foundation/Messages.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/links/AdminPreferencesLink.h"
#include "mainwindow/links/HistoricalAnalysisLink.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "mainwindow/links/LosScoreCardLink.h"
#include "mainwindow/links/NotesBrowserLink.h"
#include "mainwindow/windows/WidgetDrawnMenu.h"
#include "platform/db/Connection.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingLinkOpener.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"
#include "tests/support/TempSettings.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QShortcut>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

void hover(QWidget* widget)
{
    const QPointF local(4, 4);
    QEnterEvent enter(local, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &enter);
}

void click(QWidget* widget)
{
    const QPointF local(6, 6);
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void key(QWidget* widget, int code)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

void leave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

QStringList shownCaptions(const WidgetDrawnMenu& menu)
{
    QStringList list;
    for (const WidgetMenuRow* row : menu.lblMenu)
        if (row->isVisible())
            list << row->text() + (row->isEnabled() ? QString() : QStringLiteral(" (off)"));
    return list;
}

// A bare window carries the menu, as the main window does.
class DrawnMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        gLogin.gAppName = gLogin.gAppTitle = QStringLiteral("Ziduver");
        gLogin.gLoginId = QStringLiteral("ALICE");
        gLogin.gUserPassword = QStringLiteral("PW1");
        gLogin.gUserCode = QStringLiteral("7");
        gLogin.gExamConnStr = bank.connectionString();
        AdminPreferencesLink::wire(nullptr);
        HistoricalAnalysisLink::wire(nullptr);
        LosScoreCardLink::wire(nullptr);
        NotesBrowserLink::wire(nullptr);
        LoginWindowLink::wire([this](const QString& login, const QString& password) {
            handedBack << login + QLatin1Char('/') + password;
        });
        installLinkOpener(&opener);
        host = std::make_unique<QWidget>();
        host->resize(800, 600);
        host->show();
        // The pointer away from the window unless a case puts it elsewhere.
        QCursor::setPos(host->mapToGlobal(QPoint(700, 500)));
    }
    void TearDown() override
    {
        host.reset();
        installLinkOpener(nullptr);
        LoginWindowLink::wire(nullptr);
        settle(10);
        resetStartupState();
        resetMainWindowShared();
    }

    WidgetDrawnMenu* attach(MenuInputs inputs = {}, MenuLook look = {})
    {
        DrawnMenuSetup setup;
        setup.inputs = inputs;
        setup.look = look;
        setup.pullDownPicture = QPixmap(home.file(QStringLiteral("Icons/menuBgroundold.jpg")));
        setup.rowIcon = QPixmap(home.file(QStringLiteral("Icons/arrow.jpg")));
        setup.unloadForChangeExam = [this] {
            ++unloads;
            host->hide();
        };
        setup.endProgram = [this] { ++ends; };
        return WidgetDrawnMenu::attach(host.get(), QPoint(10, 8), setup);
    }

    TempHome home;
    TempSettings settings;
    ExamBankFixture bank;
    RecordingUiHooks ui;
    RecordingOpener opener;
    std::unique_ptr<QWidget> host;
    QStringList handedBack;
    int unloads = 0;
    int ends = 0;
};

} // namespace

TEST_F(DrawnMenuTest, HoverOpensAPullDownBelowItsPictureAndSwitchesBetweenThem)
{
    WidgetDrawnMenu* menu = attach();
    ASSERT_EQ(menu->parentWidget(), host.get());
    EXPECT_EQ(menu->pos(), QPoint(10, 8));
    EXPECT_FALSE(menu->Picture1->isVisible());
    EXPECT_EQ(menu->openPullDown(), -1);

    hover(menu->image5[2]);
    EXPECT_EQ(menu->openPullDown(), 2);
    ASSERT_TRUE(menu->Picture1->isVisible());
    EXPECT_EQ(menu->Picture1->parentWidget(), host.get()) << "over the window's content, never a popup";
    EXPECT_EQ(shownCaptions(*menu), (QStringList{"Historical Analysis", "Clear History (off)"}));
    const QPoint below = menu->image5[2]->mapTo(host.get(), QPoint(0, menu->image5[2]->height()));
    EXPECT_EQ(menu->Picture1->pos(), below);
    EXPECT_EQ(menu->Picture1->height(), 2 * kMenuRowHeight);

    // Hovering the same picture again leaves the pull-down as it is.
    menu->lblMenu_MouseMove(0);
    hover(menu->image5[2]);
    EXPECT_TRUE(menu->lblMenu[0]->hovered());

    hover(menu->image5[0]);
    EXPECT_EQ(menu->openPullDown(), 0);
    EXPECT_EQ(shownCaptions(*menu), (QStringList{"Change Exam", "Check for Update", "Exit"}));
    EXPECT_FALSE(menu->lblMenu[0]->hovered()) << "a new pull-down starts without a hovered row";
    EXPECT_EQ(menu->Picture1->height(), 3 * kMenuRowHeight);
    EXPECT_GE(menu->lblMenu.size(), 3u);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(DrawnMenuTest, RowsFollowTheRightsAndADisabledRowDoesNotReact)
{
    MenuInputs user; // multi-user mode, not the administrator
    user.showAdminPref = 1;
    WidgetDrawnMenu* menu = attach(user);
    hover(menu->image5[1]);
    EXPECT_EQ(shownCaptions(*menu), (QStringList{"Select Font", "Admin Preferences (off)"}));
    click(menu->lblMenu[1]);
    EXPECT_TRUE(ui.messages().empty()) << "visible but inert";
    EXPECT_EQ(menu->openPullDown(), 1);

    hover(menu->image5[2]);
    click(menu->lblMenu[1]); // Clear History, disabled too
    EXPECT_TRUE(ui.messages().empty());
    host.reset();

    // The administrator: the row opens the administration window's link,
    // which says it comes later, after the pull-down has closed.
    host = std::make_unique<QWidget>();
    host->show();
    MenuInputs admin = user;
    admin.clearHistoryEnabled = admin.adminPreferencesEnabled = true;
    menu = attach(admin);
    hover(menu->image5[1]);
    ASSERT_TRUE(menu->lblMenu[1]->isEnabled());
    click(menu->lblMenu[1]);
    EXPECT_EQ(menu->openPullDown(), -1);
    EXPECT_FALSE(menu->Picture1->isVisible());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Admin Preferences comes with a later version.")});
}

TEST_F(DrawnMenuTest, RowsOfLaterWindowsSayTheyComeLaterWithoutTouchingTheDatabase)
{
    MenuInputs inputs;
    inputs.hasLearningObjectives = true;
    // Any database access would fail on this.
    gLogin.gExamConnStr = QStringLiteral("DBQ=") + home.file(QStringLiteral("none.qzr")) + ";";
    WidgetDrawnMenu* menu = attach(inputs);
    hover(menu->image5[2]);
    EXPECT_EQ(shownCaptions(*menu), (QStringList{"Historical Analysis", "Clear History (off)", "LOS Score Card"}));
    EXPECT_EQ(menu->Picture1->height(), 3 * kMenuRowHeight) << "taller with the score card";
    click(menu->lblMenu[0]);
    hover(menu->image5[2]);
    click(menu->lblMenu[2]);
    hover(menu->image5[3]);
    EXPECT_EQ(shownCaptions(*menu), QStringList{QStringLiteral("Notes")});
    click(menu->lblMenu[0]);
    EXPECT_EQ(ui.messageTexts(),
              (QStringList{QStringLiteral("Historical Analysis comes with a later version."),
                           QStringLiteral("LOS Score Card comes with a later version."),
                           QStringLiteral("Notes comes with a later version.")}));
}

TEST_F(DrawnMenuTest, OwnersOfTheWindowsOpenedAreTheMainWindow)
{
    std::vector<QWidget*> owners;
    QStringList printFonts;
    gMain.gFontFace = QStringLiteral("Serif");
    HistoricalAnalysisLink::wire([&](QWidget* owner) { owners.push_back(owner); });
    NotesBrowserLink::wire([&](QWidget* owner, const QString& printFontFace) {
        owners.push_back(owner);
        printFonts << printFontFace;
    });
    auto* inner = new QWidget(host.get());
    inner->setGeometry(20, 20, 600, 400);
    inner->show();
    DrawnMenuSetup setup;
    WidgetDrawnMenu* menu = WidgetDrawnMenu::attach(inner, QPoint(0, 0), setup);
    hover(menu->image5[2]);
    click(menu->lblMenu[0]);
    hover(menu->image5[3]);
    click(menu->lblMenu[0]);
    EXPECT_EQ(owners, (std::vector<QWidget*>{host.get(), host.get()}));
    EXPECT_EQ(printFonts, QStringList{"Serif"}) << "the notes print in the question font";
    HistoricalAnalysisLink::wire(nullptr);
    NotesBrowserLink::wire(nullptr);
}

TEST_F(DrawnMenuTest, ClearHistoryRowAsksAndClearsForTheUser)
{
    bank.category(1).questions(1, 2, 1);
    bank.progress(7, 1, ExamBankFixture::Verdict::Right).progress(8, 1, ExamBankFixture::Verdict::Wrong);
    MenuInputs inputs;
    inputs.clearHistoryEnabled = true;
    WidgetDrawnMenu* menu = attach(inputs);
    hover(menu->image5[2]);
    ui.answerNext(ResultYes);
    click(menu->lblMenu[1]);
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].text, QStringLiteral("History cleared......"));
    EXPECT_EQ(ui.messages()[0].owner, host.get());
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Progress")).toInt(), 1);
}

TEST_F(DrawnMenuTest, ChangeExamUnloadsTheWindowThenHandsTheUserBack)
{
    WidgetDrawnMenu* menu = attach();
    hover(menu->image5[0]);
    click(menu->lblMenu[0]);
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(handedBack, QStringList{QStringLiteral("ALICE/PW1")});
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(settings.fileText(), QString()) << "no favourites written on the way";
}

TEST_F(DrawnMenuTest, ExitEndsAtOnceAndStoresNothing)
{
    WidgetDrawnMenu* menu = attach();
    hover(menu->image5[0]);
    click(menu->lblMenu[2]);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(handedBack.isEmpty());
    EXPECT_EQ(settings.fileText(), QString());

    // The window's own unload stores the favourites (none: both values empty).
    EXPECT_TRUE(menu->storeFavourites());
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("ALICE"), QStringLiteral("MenuItemsCaption"), QStringLiteral("-")),
              QString());
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("ALICE"), QStringLiteral("MenuItemsTag"), QStringLiteral("-")),
              QString());
}

TEST_F(DrawnMenuTest, LinkRowsOpenTheirTargetOrTheirListLevelWithTheRow)
{
    ExamBankWriter& w = bank.writer();
    w.addUserLink({1, 0, QStringLiteral("Kernel docs"), QStringLiteral("https://www.kernel.org/doc/")});
    w.addUserLink({40000, 0, QStringLiteral("Resources"), std::nullopt});
    for (int i = 0; i < 15; ++i)
        w.addUserLink(
            {100 + i, 40000, QStringLiteral("Resource %1").arg(i), QStringLiteral("https://r.example/%1").arg(i)});
    MenuInputs inputs;
    inputs.hasWebLinks = true;
    WidgetDrawnMenu* menu = attach(inputs);

    hover(menu->image5[3]);
    EXPECT_EQ(shownCaptions(*menu), (QStringList{"Notes", "Kernel docs", "Resources"}));
    EXPECT_EQ(menu->Picture1->height(), 3 * kMenuRowHeight);
    EXPECT_FALSE(menu->imgSubmenu[1]->isVisible()) << "no list, no icon";
    EXPECT_TRUE(menu->imgSubmenu[2]->isVisible());

    // The row with a list opens it level with itself; the first twelve show.
    menu->lblMenu_MouseMove(2);
    click(menu->lblMenu[2]);
    ASSERT_TRUE(menu->Picture2->isVisible());
    EXPECT_EQ(menu->subRows().size(), size_t(kSubListRowLimit));
    EXPECT_EQ(menu->Picture2->height(), kSubListRowLimit * kMenuRowHeight);
    EXPECT_EQ(menu->Picture2->y(), menu->Picture1->y() + menu->lblMenu[2]->y());
    EXPECT_GE(menu->Picture2->x(), menu->Picture1->geometry().right() - 1);
    EXPECT_TRUE(opener.opened.empty());

    // Moving within the same row keeps the list; another row hides it.
    menu->lblMenu_MouseMove(2);
    EXPECT_TRUE(menu->Picture2->isVisible());
    menu->lblMenu_MouseMove(1);
    EXPECT_FALSE(menu->Picture2->isVisible());
    EXPECT_EQ(menu->openPullDown(), 3);

    // A second-level row opens its link and closes the menu.
    click(menu->lblMenu[2]);
    ASSERT_TRUE(menu->Picture2->isVisible());
    menu->lblSubMenu_MouseMove(3);
    EXPECT_TRUE(menu->lblSubMenu[3]->hovered());
    click(menu->lblSubMenu[3]);
    EXPECT_EQ(menu->openPullDown(), -1);
    EXPECT_FALSE(menu->Picture2->isVisible());

    // A row without a list opens its target at once.
    hover(menu->image5[3]);
    click(menu->lblMenu[1]);
    EXPECT_EQ(opener.opened,
              (std::vector<QUrl>{QUrl(QStringLiteral("https://r.example/3")),
                                 QUrl(QStringLiteral("https://www.kernel.org/doc/"))}));
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(DrawnMenuTest, FlagWithoutLinksLeavesNotesAlone)
{
    MenuInputs inputs;
    inputs.hasWebLinks = true; // but the table is empty
    WidgetDrawnMenu* menu = attach(inputs);
    hover(menu->image5[3]);
    EXPECT_EQ(shownCaptions(*menu), QStringList{QStringLiteral("Notes")});
    EXPECT_FALSE(menu->setup().inputs.hasWebLinks);
    EXPECT_EQ(menu->Picture1->height(), kMenuRowHeight);
}

TEST_F(DrawnMenuTest, PointerLeavingEveryPartClosesTheMenuAfterAMoment)
{
    WidgetDrawnMenu* menu = attach();
    hover(menu->image5[4]);
    ASSERT_EQ(menu->openPullDown(), 4);

    // From the picture into the pull-down: it stays.
    QCursor::setPos(menu->Picture1->mapToGlobal(QPoint(10, 10)));
    leave(menu->image5[4]);
    settle(WidgetDrawnMenu::kCloseDelayMs + 100);
    EXPECT_EQ(menu->openPullDown(), 4);

    // Off every part: it closes, and forgets the pull-down.
    QCursor::setPos(host->mapToGlobal(QPoint(700, 500)));
    leave(menu->Picture1);
    EXPECT_EQ(menu->openPullDown(), 4) << "not at once";
    settle(WidgetDrawnMenu::kCloseDelayMs + 100);
    EXPECT_EQ(menu->openPullDown(), -1);
    EXPECT_FALSE(menu->Picture1->isVisible());

    hover(menu->image5[4]);
    EXPECT_EQ(menu->openPullDown(), 4) << "the same picture opens it again";
}

TEST_F(DrawnMenuTest, EscAClickElsewhereDeactivationAndModalWindowsCloseTheMenu)
{
    WidgetDrawnMenu* menu = attach();
    auto* content = new QLabel(QStringLiteral("content"), host.get());
    content->setGeometry(300, 300, 100, 30);
    content->show();

    hover(menu->image5[0]);
    key(content, Qt::Key_Escape);
    EXPECT_EQ(menu->openPullDown(), -1) << "Esc wherever the focus is in the window";

    hover(menu->image5[0]);
    click(menu->Picture1); // inside the menu: stays
    EXPECT_EQ(menu->openPullDown(), 0);
    click(content);
    EXPECT_EQ(menu->openPullDown(), -1);

    hover(menu->image5[0]);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(host.get(), &deactivate);
    EXPECT_EQ(menu->openPullDown(), -1);

    hover(menu->image5[0]);
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    EXPECT_EQ(menu->openPullDown(), -1);
    dialog.hide();

    hover(menu->image5[0]);
    host->hide();
    EXPECT_EQ(menu->openPullDown(), -1);
}

TEST_F(DrawnMenuTest, KeyboardOpensMovesAndRunsRows)
{
    WidgetDrawnMenu* menu = attach();
    menu->setFocus();
    key(menu, Qt::Key_Down);
    ASSERT_EQ(menu->openPullDown(), 0);
    EXPECT_TRUE(menu->lblMenu[0]->hovered());
    key(menu, Qt::Key_Down);
    EXPECT_TRUE(menu->lblMenu[1]->hovered());
    EXPECT_FALSE(menu->lblMenu[0]->hovered());
    key(menu, Qt::Key_Up);
    key(menu, Qt::Key_Up);
    EXPECT_TRUE(menu->lblMenu[2]->hovered()) << "wraps round";

    // Right moves to the next pull-down, past a disabled row.
    key(menu, Qt::Key_Right);
    EXPECT_EQ(menu->openPullDown(), 1);
    key(menu, Qt::Key_Down);
    EXPECT_TRUE(menu->lblMenu[0]->hovered()) << "Admin Preferences is skipped";
    key(menu, Qt::Key_Left);
    EXPECT_EQ(menu->openPullDown(), 0);

    // Enter runs the row: Check for Update asks first.
    home.write(QStringLiteral("setup.xml"),
               "<?xml version=\"1.0\"?>\n<SetupInfo>\n\t<GeneralSettings>\n"
               "\t\t<UpdateMessage>Ask?</UpdateMessage>\n"
               "\t</GeneralSettings>\n</SetupInfo>\n");
    key(menu, Qt::Key_Down);
    ui.answerNext(ResultNoOrCancel);
    key(menu, Qt::Key_Return);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Ask?"));
    EXPECT_EQ(ui.messages()[0].style, OkCancel);
    EXPECT_EQ(menu->openPullDown(), -1);

    key(menu, Qt::Key_Return);
    EXPECT_EQ(menu->openPullDown(), 0);
    key(menu, Qt::Key_Escape);
    EXPECT_EQ(menu->openPullDown(), -1);
}

// The window's shortcut for a key sequence, or null.
QShortcut* shortcutFor(QWidget* window, const QKeySequence& keys)
{
    for (QShortcut* shortcut : window->findChildren<QShortcut*>())
        if (shortcut->key() == keys)
            return shortcut;
    return nullptr;
}

TEST_F(DrawnMenuTest, AltAndTheUnderlinedLetterOrF10OpenAPullDownAsAMenuBarDoes)
{
    WidgetDrawnMenu* menu = attach();
    auto* content = new QLabel(QStringLiteral("content"), host.get());
    content->setFocusPolicy(Qt::StrongFocus);
    content->show();
    content->setFocus();
    QStringList letters;
    for (int i = 0; i < kPullDownCount; ++i) {
        const QChar letter = QLatin1Char(WidgetDrawnMenu::kTopKeys[size_t(i)]);
        EXPECT_TRUE(menu->image5[size_t(i)]->caption().contains(letter, Qt::CaseInsensitive)) << i;
        letters << letter;
        QShortcut* shortcut = shortcutFor(host.get(), QKeySequence(Qt::ALT | Qt::Key(letter.unicode())));
        ASSERT_NE(shortcut, nullptr) << "Alt+" << letter.toLatin1();
        EXPECT_EQ(shortcut->context(), Qt::WindowShortcut) << "wherever the focus is in the window";
        emit shortcut->activated();
        EXPECT_EQ(menu->openPullDown(), i);
        EXPECT_TRUE(menu->lblMenu[0]->hovered()) << "its first row chosen";
    }
    letters.removeDuplicates();
    EXPECT_EQ(letters.size(), kPullDownCount) << "one letter per pull-down";
    EXPECT_EQ(shortcutFor(host.get(), QKeySequence(Qt::ALT | Qt::Key_E)), nullptr) << "Alt+E starts an exam";
    EXPECT_EQ(shortcutFor(host.get(), QKeySequence(Qt::ALT | Qt::Key_X)), nullptr) << "Alt+X ends the program";

    // The keys then work the open pull-down while the focus stays put.
    key(content, Qt::Key_Down);
    EXPECT_TRUE(menu->lblMenu[1]->hovered());
    key(content, Qt::Key_Escape);
    EXPECT_EQ(menu->openPullDown(), -1);
    EXPECT_TRUE(content->hasFocus() || !host->isActiveWindow());

    // F10 opens the first pull-down and closes the open one.
    QShortcut* f10 = shortcutFor(host.get(), QKeySequence(Qt::Key_F10));
    ASSERT_NE(f10, nullptr);
    emit f10->activated();
    EXPECT_EQ(menu->openPullDown(), 0);
    EXPECT_TRUE(menu->lblMenu[0]->hovered());
    emit f10->activated();
    EXPECT_EQ(menu->openPullDown(), -1);
}

TEST_F(DrawnMenuTest, KeyboardEntersAndLeavesTheSecondLevelList)
{
    bank.writer().addUserLink({1, 0, QStringLiteral("Resources"), std::nullopt});
    bank.writer().addUserLink({2, 1, QStringLiteral("First"), QStringLiteral("https://first.example/")});
    bank.writer().addUserLink({3, 1, QStringLiteral("Second"), QStringLiteral("https://second.example/")});
    MenuInputs inputs;
    inputs.hasWebLinks = true;
    WidgetDrawnMenu* menu = attach(inputs);
    hover(menu->image5[3]);
    key(menu, Qt::Key_Down);
    key(menu, Qt::Key_Down);
    ASSERT_TRUE(menu->lblMenu[1]->hovered());
    key(menu, Qt::Key_Right);
    ASSERT_TRUE(menu->Picture2->isVisible());
    EXPECT_TRUE(menu->lblSubMenu[0]->hovered());
    key(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->Picture2->isVisible());
    EXPECT_EQ(menu->openPullDown(), 3) << "Esc leaves the list first";
    key(menu, Qt::Key_Return);
    ASSERT_TRUE(menu->Picture2->isVisible());
    key(menu, Qt::Key_Down);
    key(menu, Qt::Key_Return);
    EXPECT_EQ(opener.opened, std::vector<QUrl>{QUrl(QStringLiteral("https://second.example/"))});
    EXPECT_EQ(menu->openPullDown(), -1);
}

// Another program holding the exam: the links pull-down, a link's list and
// Credits say what could not be read, on which file and why in the program's
// words. The pull-down still opens with "Notes", and the links are read again
// at the next opening, once the file is free.
TEST_F(DrawnMenuTest, UnderAnotherProgramsLockTheMenuSaysWhatCouldNotBeRead)
{
    bank.writer().addUserLink({1, 0, QStringLiteral("Resources"), std::nullopt});
    bank.writer().addUserLink({2, 1, QStringLiteral("First"), QStringLiteral("https://first.example/")});
    ExamBankWriter::ExamRow exam;
    exam.code = QStringLiteral("EX1");
    exam.comment = QStringLiteral("Thanks.");
    bank.writer().addExam(exam);
    MenuInputs inputs;
    inputs.hasWebLinks = true;
    inputs.hasComment = true;
    WidgetDrawnMenu* menu = attach(inputs);
    const QString why = QStringLiteral("\r\nThe exam database ") + bank.path()
        + QStringLiteral(" is in use by another program.\r\nClose the other program that uses it, then try again.");
    db::Connection other = db::Connection::openFile(bank.path());

    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    hover(menu->image5[3]);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The web links could not be read.") + why});
    EXPECT_EQ(menu->openPullDown(), 3);
    EXPECT_EQ(shownCaptions(*menu), QStringList{QStringLiteral("Notes")});
    other.exec(QStringLiteral("ROLLBACK"));
    menu->hideMenu();
    hover(menu->image5[3]);
    EXPECT_EQ(shownCaptions(*menu), (QStringList{"Notes", "Resources"})) << "read again once free";

    ui.clear();
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    click(menu->lblMenu[1]);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The web links could not be read.") + why});
    EXPECT_FALSE(menu->Picture2->isVisible());

    ui.clear();
    hover(menu->image5[4]);
    ASSERT_EQ(shownCaptions(*menu), (QStringList{"Contact us", "About", "Credits", "Help"}));
    menu->lblMenu_Click(2);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The credits could not be read.") + why});
    other.exec(QStringLiteral("ROLLBACK"));
}

TEST_F(DrawnMenuTest, RowColoursComeFromSetupWithThePaletteForInvalidOnes)
{
    WidgetDrawnMenu* menu = attach({}, {QStringLiteral("H00000080"), QStringLiteral("&H00FF0000"), QString()});
    hover(menu->image5[0]);
    EXPECT_EQ(menu->lblMenu[0]->foreColour(), QColor(0x80, 0, 0));
    menu->lblMenu_MouseMove(0);
    EXPECT_EQ(menu->lblMenu[0]->foreColour(), QColor(0, 0, 0xFF));
    menu->lblMenu_MouseMove(1);
    EXPECT_EQ(menu->lblMenu[0]->foreColour(), QColor(0x80, 0, 0)) << "the row left gets its colour back";
    host.reset();

    host = std::make_unique<QWidget>();
    host->show();
    menu = attach({}, {QStringLiteral("bad"), QStringLiteral(""), QString()});
    hover(menu->image5[0]);
    EXPECT_EQ(menu->lblMenu[0]->foreColour(), menu->palette().color(QPalette::WindowText));
    menu->lblMenu_MouseMove(0);
    EXPECT_EQ(menu->lblMenu[0]->foreColour(), menu->palette().color(QPalette::Highlight));
}

TEST_F(DrawnMenuTest, PullDownIsPaintedFromThePictureStrips)
{
    // Top strip red, middle strip green, bottom strip blue.
    QImage picture(120, 284, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 120, 24, Qt::red);
    painter.fillRect(0, 24, 120, 236, Qt::green);
    painter.fillRect(0, 260, 120, 24, Qt::blue);
    painter.end();
    QDir().mkpath(home.file(QStringLiteral("Icons")));
    ASSERT_TRUE(picture.save(home.file(QStringLiteral("Icons/menuBgroundold.jpg")), "PNG"));

    WidgetDrawnMenu* menu = attach();
    hover(menu->image5[0]); // three rows: 78 pixels
    ASSERT_TRUE(menu->Picture1->hasPicture());
    const QImage shown = menu->Picture1->grab().toImage();
    ASSERT_EQ(shown.height(), 78);
    auto colourAt = [&](int y) { return QColor(shown.pixel(shown.width() - 2, y)); };
    EXPECT_EQ(colourAt(2), QColor(Qt::red));
    EXPECT_EQ(colourAt(30), QColor(Qt::green));
    EXPECT_EQ(colourAt(60), QColor(Qt::green));
    EXPECT_EQ(colourAt(75), QColor(Qt::blue)) << "the bottom strip over the last middle strip";
}
