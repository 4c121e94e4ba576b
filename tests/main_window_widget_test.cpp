#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/ExamParameters.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/links/MainWindowLink.h"
#include "foundation/windows/frmDBSel.h"
#include "mainwindow/ExamLaunch.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/links/ExamWindowLink.h"
#include "mainwindow/links/LoginAgainLink.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "mainwindow/windows/WidgetCategoryTreeView.h"
#include "mainwindow/windows/WidgetPicture.h"
#include "mainwindow/windows/frmmain.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/StrangeFiles.h"
#include "tests/support/TempHome.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace {

void deleteDiscarded()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void click(QWidget* target, const QPoint& at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void clickCentre(QWidget* target)
{
    click(target, target->rect().center());
}

void key(QWidget* target, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(target, &release);
}

// Where a tree item's check box and its text are drawn.
QPoint checkBoxOf(QTreeWidget* tree, QTreeWidgetItem* item)
{
    QStyleOptionViewItem option;
    option.initFrom(tree->viewport());
    option.rect = tree->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    option.checkState = item->checkState(0);
    return tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree).center();
}

QPoint textOf(QTreeWidget* tree, QTreeWidgetItem* item)
{
    const QRect row = tree->visualItemRect(item);
    return QPoint(row.left() + 60, row.center().y());
}

// The main window is one instance; each case starts from whatever the
// earlier ones left, as the program does after a Change Exam. The bank has
// three categories: 1 with chapters 11 and 12, 2 with chapter 21, 3 alone.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMainWindowShared();
        gStartup.gMultiUser = true;
        gLogin.gAppName = gLogin.gAppTitle = QStringLiteral("Ziduver");
        gLogin.gIconPath = QStringLiteral("\\Icons");
        gLogin.gLoginId = QStringLiteral("ALICE");
        gLogin.gUserCode = QStringLiteral("7");
        gLogin.gUserPassword = QStringLiteral("PW1");
        gLogin.gExamDesc = QStringLiteral("Exam One");
        gLogin.gExamDbPath = bank.path();
        gLogin.gExamConnStr = bank.connectionString();
        ExamBankWriter::ExamRow row;
        row.code = QStringLiteral("EX1");
        row.simulatedMinutes = 60;
        row.simulatedPassScore = 70;
        row.simulatedQuestions = 20;
        bank.writer().addExam(row);
        bank.category(1).chapter(11, 1).chapter(12, 1).category(2).chapter(21, 2).category(3);
        bank.questions(1, 12, 1).questions(13, 6, 1, 1, 11).questions(19, 4, 1, 1, 12);
        bank.questions(23, 11, 2).questions(34, 3, 2, 1, 21).questions(37, 14, 3);
        LoginWindowLink::wire([this](const QString& login, const QString& password) {
            handedBack << login + QLatin1Char('/') + password;
        });
        LoginAgainLink::wire([this] { handedBack << QStringLiteral("login again"); });
        ExamWindowLink::wire([this](const ExamParameters& record) { launched.push_back(record); });
        frmmain::setProgramEnd([this] { ++programEnds; });
    }
    void TearDown() override
    {
        frmmain::unload();
        deleteDiscarded();
        LoginWindowLink::wire(nullptr);
        LoginAgainLink::wire(nullptr);
        ExamWindowLink::wire(nullptr);
        frmmain::setProgramEnd(nullptr);
        resetSharedState();
    }

    void copyPictures() const
    {
        for (const char* name : {"pretest.jpg", "adaptive.jpg", "simulated.jpg", "pretestButton.jpg",
                                 "practiceButton.jpg", "simulatedButton.jpg", "start.jpg", "exit.jpg", "startDim.jpg",
                                 "exitDim.jpg", "bgMainMenu.jpg", "menuBgroundold.jpg", "arrow.jpg", "icon1.ico"})
            home.copySample(QStringLiteral("Icons/") + QLatin1String(name),
                            QStringLiteral("Icons/") + QLatin1String(name));
    }

    frmmain& shown()
    {
        frmmain& window = frmmain::instance();
        window.showForExam(QStringLiteral("Exam One"));
        return window;
    }

    TempHome home;
    ExamBankFixture bank;
    RecordingUiHooks ui;
    QStringList handedBack;
    std::vector<ExamParameters> launched;
    int programEnds = 0;
};

TEST_F(MainWindowTest, ShownForTheExamThenChangeExamHandsTheUserBackAndUnloadsTheWindow)
{
    frmmain& window = shown();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.lblExamName->text(), QStringLiteral("Exam One"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Ziduver"));
    window.hide();
    window.showAgain();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.lblExamName->text(), QStringLiteral("Exam One")) << "shown again as it was left";

    const QPointer<frmmain> alive(&window);
    window.mnuExam->trigger();
    EXPECT_EQ(handedBack, QStringList({QStringLiteral("ALICE/PW1")}));
    EXPECT_FALSE(frmmain::exists()) << "unloaded at once";
    ASSERT_TRUE(alive) << "never deleted under its own handler";
    EXPECT_FALSE(alive->isVisible());
    EXPECT_TRUE(alive->ChangingExam);
    deleteDiscarded();
    EXPECT_FALSE(alive);

    // The next showing loads a new window.
    frmmain& next = frmmain::instance();
    EXPECT_FALSE(next.ChangingExam);
    EXPECT_TRUE(next.lblExamName->text().isEmpty());
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(programEnds, 0);
}

// A load that cannot read the exam database says so with the file named and
// asks whether to try again: Yes reads again, No goes back to the login
// window as at the start and leaves no main window; once the file is readable the window
// loads whole.
TEST_F(MainWindowTest, AFailedLoadGoesBackToTheLoginWindowOrLoadsAgainWhenAsked)
{
    const QString moved = bank.path() + QStringLiteral(".away");
    ASSERT_TRUE(QFile::rename(bank.path(), moved));
    ui.answerNext(ResultYes);
    ui.answerNext(ResultNoOrCancel);
    frmmain& failed = frmmain::instance();
    const QPointer<frmmain> alive(&failed);
    failed.showForExam(QStringLiteral("Exam One"));
    ASSERT_EQ(ui.messages().size(), 2u) << "asked again after the Yes";
    for (const RecordingUiHooks::Message& message : ui.messages()) {
        EXPECT_EQ(message.text, QStringLiteral("The exam could not be loaded.\r\nThe exam database ") + bank.path()
                                    + QStringLiteral(" could not be found.\r\n\r\nTry again?"));
        EXPECT_EQ(message.style, YesNo);
    }
    EXPECT_EQ(handedBack, QStringList({QStringLiteral("login again")})) << "back at the login window";
    EXPECT_FALSE(frmmain::exists());
    ASSERT_TRUE(alive);
    EXPECT_FALSE(alive->isVisible()) << "never a main window that cannot start";
    deleteDiscarded();
    EXPECT_EQ(programEnds, 0);

    ASSERT_TRUE(QFile::rename(moved, bank.path()));
    ui.clear();
    handedBack.clear();
    frmmain& window = shown();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(handedBack.isEmpty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_GT(window.tvwCategory->topLevelItemCount(), 0) << "the tree is filled";
    EXPECT_GT(window.lstQues->count(), 0);
}

TEST_F(MainWindowTest, UnloadFromAnotherWindowLeavesTheProgramRunningAndDeletesLater)
{
    frmmain& window = shown();
    const QPointer<frmmain> alive(&window);
    frmmain::unload();
    EXPECT_FALSE(frmmain::exists());
    ASSERT_TRUE(alive);
    EXPECT_TRUE(alive->ChangingExam) << "so that unloading does not end the program";
    EXPECT_FALSE(alive->isVisible());
    deleteDiscarded();
    EXPECT_FALSE(alive);
    frmmain::unload();
    EXPECT_FALSE(frmmain::exists()) << "unloading no window loads none";
    EXPECT_EQ(programEnds, 0);
}

TEST_F(MainWindowTest, LoadShowsThePretestWithItsPicturesAndTheTree)
{
    copyPictures();
    home.copySample(QStringLiteral("setup.xml"), QStringLiteral("setup.xml"));
    frmmain& window = shown();
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(window.Image3[2]->isVisible()) << "the pretest chosen";
    EXPECT_FALSE(window.Image3[3]->isVisible());
    EXPECT_TRUE(window.Image3[1]->isVisible() && window.Image2[1]->isVisible()) << "the other modes' buttons";
    for (WidgetPicture* picture : {window.Image3[0], window.Image3[1], window.Image3[2], window.Image3[3],
                                   window.Image2[0], window.Image2[1], window.Image6[0], window.Image6[2]})
        EXPECT_TRUE(picture->hasPicture()) << picture->objectName().toStdString();
    EXPECT_FALSE(window.pullDownPicture().isNull());
    EXPECT_GE(window.pullDownPicture().height(), 284) << "the pull-downs' bottom strip";
    EXPECT_FALSE(window.rowIconPicture().isNull());
    EXPECT_FALSE(window.tvwCategory->isEnabled());
    EXPECT_TRUE(window.frmTime->isVisible());
    EXPECT_TRUE(window.lblTimeAllowed->text().isEmpty());
    EXPECT_FALSE(window.lstQues->isEnabled());
    ASSERT_EQ(window.lstQues->count(), 33);
    EXPECT_EQ(window.lstQues->currentItem()->text(), QStringLiteral("33"));
    EXPECT_TRUE(window.lblAdaptive->toPlainText().startsWith(QStringLiteral("Pretest:")));
    EXPECT_TRUE(window.lblAdaptive->isReadOnly());
    EXPECT_EQ(window.tvwCategory->topLevelItemCount(), 1);
    QTreeWidgetItem* root = window.tvwCategory->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("Exam One"));
    EXPECT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(0)->child(1)->text(0), QStringLiteral("Chapter 12"));
    EXPECT_EQ(gMain.gFontFace, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(gMain.gMenuForeColor, QStringLiteral("H003A2E1F"));
    // In multi-user mode the user may not clear the history.
    EXPECT_FALSE(window.cmdClearHistory->isEnabled());
    EXPECT_FALSE(window.mnuviewPref->isEnabled());
    EXPECT_FALSE(window.menuInputs().administrator);
    EXPECT_FALSE(window.grab().isNull());

    // The simulated button: its time, count and the tree greyed.
    clickCentre(window.Image2[1]);
    EXPECT_TRUE(window.Image2[0]->isVisible());
    EXPECT_FALSE(window.Image3[2]->isVisible());
    EXPECT_TRUE(window.Option2->isChecked());
    EXPECT_EQ(window.lblTimeAllowed->text(), QStringLiteral("60"));
    EXPECT_EQ(window.lstQues->count(), 20);
    EXPECT_EQ(window.lstQues->currentItem()->text(), QStringLiteral("20"));
    EXPECT_TRUE(window.lblAdaptive->toPlainText().startsWith(QStringLiteral("Simulated Exam:")));
}

// The exam's logo is a stranger's file: a FIFO (whose plain open waits for
// ever), a socket, a folder or a sparse file of 3 GB in its place shows no
// logo, at once; a regular picture shows.
TEST_F(MainWindowTest, TheLogoIsShownOnlyFromABoundedRegularFile)
{
    const QString logo = QFileInfo(bank.path()).absolutePath() + QStringLiteral("/logo.jpg");
    QFile sample(QStringLiteral(ZIDUVER_SAMPLE_DIR "/Icons/start.jpg"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray picture = sample.readAll();
    const std::function<bool()> makers[] = {
        [&] { return strange_files::makeFifo(logo); },
        [&] { return strange_files::makeSocket(logo); },
        [&] { return strange_files::makeFolder(logo); },
        [&] { return strange_files::makeSparse(logo, picture); },
    };
    FifoWatchdog watchdog(QFileInfo(bank.path()).absolutePath(), 3);
    for (const auto& make : makers) {
        QFile::remove(logo);
        QDir(logo).removeRecursively();
        ASSERT_TRUE(make());
        frmmain& window = shown();
        EXPECT_TRUE(window.imgLogo->isHidden());
        frmmain::unload();
        deleteDiscarded();
    }
    EXPECT_FALSE(watchdog.fired()) << "the logo was opened in a way that waits";
    QDir(logo).removeRecursively();
    QFile::remove(logo);
    QFile regular(logo);
    ASSERT_TRUE(regular.open(QIODevice::WriteOnly));
    regular.write(picture);
    regular.close();
    EXPECT_FALSE(shown().imgLogo->isHidden()) << "a regular picture shows";
}

TEST_F(MainWindowTest, MissingPicturesAreDrawnFlatAndTheStartAndExitTwinsSwapOnHover)
{
    frmmain& window = shown();
    for (WidgetPicture* picture : {window.Image3[2], window.Image2[1], window.Image6[0], window.Image6[3]})
        EXPECT_FALSE(picture->hasPicture());
    EXPECT_FALSE(window.grab().isNull()) << "painted without its pictures";
    EXPECT_TRUE(window.Image6[2]->isVisible());
    EXPECT_FALSE(window.Image6[0]->isVisible());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(window.Image6[2], &enter);
    EXPECT_TRUE(window.Image6[0]->isVisible()) << "the highlighted Start in its place";
    EXPECT_FALSE(window.Image6[2]->isVisible());
    int hovered = 0;
    QObject::connect(&window, &frmmain::freeAreaHovered, [&hovered] { ++hovered; });
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    EXPECT_EQ(hovered, 1);
    EXPECT_TRUE(window.Image6[2]->isVisible()) << "the free area brings the normal pictures back";
    EXPECT_FALSE(window.Image6[0]->isVisible());

    // The captions of the options turn blue under the pointer.
    QApplication::sendEvent(window.Label9, &enter);
    EXPECT_TRUE(window.Label9->styleSheet().contains(QStringLiteral("#0000ff")));
    EXPECT_TRUE(window.Label7->styleSheet().contains(QStringLiteral("#000000")));

    // Exit ends the program at once; nothing is unloaded.
    int unloads = 0;
    QObject::connect(&window, &frmmain::unloading, [&unloads] { ++unloads; });
    clickCentre(window.Image6[3]);
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(unloads, 0);
    // Closing the window unloads it, and the program ends too.
    window.close();
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(programEnds, 2);
}

// A picture shown or hidden under the pointer gets its enter or leave at
// once (as after a message box closes over Start): each pair still ends with
// one picture drawn.
TEST_F(MainWindowTest, StartAndExitStayDrawnWhenTheirTwinsAreSwappedUnderThePointer)
{
    frmmain& window = shown();
    struct UnderThePointer : QObject {
        WidgetPicture* plain;
        WidgetPicture* highlighted;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (watched == plain && event->type() == QEvent::Show)
                emit plain->entered();
            if (watched == highlighted && event->type() == QEvent::Hide)
                emit highlighted->left();
            return false;
        }
    };
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        UnderThePointer pointer;
        pointer.plain = window.Image6[i + 2];
        pointer.highlighted = window.Image6[i];
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(pointer.plain, &enter);
        ASSERT_TRUE(pointer.highlighted->isVisible());
        pointer.plain->installEventFilter(&pointer);
        pointer.highlighted->installEventFilter(&pointer);
        emit pointer.highlighted->left();
        EXPECT_NE(pointer.plain->isVisible(), pointer.highlighted->isVisible()) << "one of the two is drawn";
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &move);
        EXPECT_NE(pointer.plain->isVisible(), pointer.highlighted->isVisible());
    }
}

TEST_F(MainWindowTest, BoxClickTextClickAndSpaceEachToggleOnce)
{
    frmmain& window = shown();
    clickCentre(window.Image3[1]);
    ASSERT_TRUE(window.tvwCategory->isEnabled());
    ASSERT_EQ(window.lstQues->count(), 0) << "practice starts with nothing ticked";
    int boxChanges = 0;
    QObject::connect(window.tvwCategory, &QTreeWidget::itemChanged, [&boxChanges] { ++boxChanges; });
    QTreeWidget* tree = window.tvwCategory;
    QTreeWidgetItem* category1 = window.itemOf(window.mode.tree.find(QStringLiteral("ID1")));
    QTreeWidgetItem* chapter21 = window.itemOf(window.mode.tree.find(QStringLiteral("21ID")));
    ASSERT_TRUE(category1 && chapter21);

    // A box click: its chapters and the root follow, the list counts 22.
    click(tree->viewport(), checkBoxOf(tree, category1));
    EXPECT_EQ(boxChanges, 1) << "the click hit the box";
    EXPECT_EQ(category1->checkState(0), Qt::Checked);
    EXPECT_EQ(category1->child(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(tree->topLevelItem(0)->checkState(0), Qt::Checked);
    ASSERT_EQ(window.lstQues->count(), 22);
    EXPECT_EQ(window.lstQues->currentItem()->text(), QStringLiteral("22"));

    // A text click toggles as the box does: chapter 21 ticks category 2.
    click(tree->viewport(), textOf(tree, chapter21));
    EXPECT_EQ(boxChanges, 1) << "a text click changes no box itself";
    EXPECT_EQ(chapter21->checkState(0), Qt::Checked);
    EXPECT_EQ(chapter21->parent()->checkState(0), Qt::Checked);
    EXPECT_EQ(window.lstQues->count(), 22 + 3 + 11);
    EXPECT_EQ(window.lstQues->currentItem()->text(), QStringLiteral("30"));

    // Space on the current item (chapter 21): unticked once, its category too.
    key(tree, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_EQ(boxChanges, 2);
    EXPECT_EQ(chapter21->checkState(0), Qt::Unchecked);
    EXPECT_EQ(chapter21->parent()->checkState(0), Qt::Unchecked);
    EXPECT_EQ(window.lstQues->count(), 22);

    // The next text click after a keyboard toggle is not swallowed.
    click(tree->viewport(), textOf(tree, chapter21));
    EXPECT_EQ(chapter21->checkState(0), Qt::Checked);
    EXPECT_EQ(window.lstQues->count(), 36);
    // A box click right after: once.
    click(tree->viewport(), checkBoxOf(tree, chapter21));
    EXPECT_EQ(chapter21->checkState(0), Qt::Unchecked);
    EXPECT_EQ(window.lstQues->count(), 22);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
}

// The controls that Tab (or Shift+Tab) visits from the focus now, once
// round the window, by name.
QStringList names(const std::vector<QWidget*>& widgets)
{
    QStringList list;
    for (const QWidget* widget : widgets)
        list << (widget ? widget->objectName() : QStringLiteral("<none>"));
    return list;
}

// The option buttons are one group, one stop (the arrows move within it):
// any of them stands for "options".
QStringList tabRound(QWidget& window, bool forward, const QStringList& group = {})
{
    std::vector<QWidget*> visited;
    QWidget* first = window.focusWidget();
    for (int i = 0; i < 40; ++i) {
        QWidget* focused = window.focusWidget();
        key(focused, forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        if (window.focusWidget() == first)
            break;
        visited.push_back(window.focusWidget());
    }
    visited.push_back(first);
    QStringList stops = names(visited);
    for (QString& stop : stops)
        if (group.contains(stop))
            stop = QStringLiteral("options");
    return stops;
}

TEST_F(MainWindowTest, EachOptionsCaptionSelectsItsOwnOption)
{
    frmmain& window = shown();
    clickCentre(window.Label7);
    EXPECT_TRUE(window.Option1->isChecked()) << "Adaptive Testing";
    EXPECT_EQ(window.mode.gExamModeCode, QStringLiteral("A"));
    clickCentre(window.Label10);
    EXPECT_TRUE(window.Option3->isChecked()) << "Practice Drills";
    EXPECT_EQ(window.mode.gExamModeCode, QStringLiteral("P"));
    clickCentre(window.Label9);
    EXPECT_TRUE(window.Option2->isChecked()) << "Simulated Exam";
    EXPECT_EQ(window.mode.gExamModeCode, QStringLiteral("S"));
}

TEST_F(MainWindowTest, TabAndShiftTabReachEveryControlAndStartAndExitShowTheirKeys)
{
    gStartup.gMultiUser = false; // Clear History enabled
    frmmain& window = shown();
    window.activateWindow();
    ASSERT_TRUE(waitFor([&] { return window.isActiveWindow(); }, 5000));
    clickCentre(window.Image3[1]); // practice: the tree and the count list take part
    window.Image3[3]->setFocus(Qt::TabFocusReason);
    const QStringList options = names({window.Option1, window.Option2, window.Option3});
    const QStringList expected = {"Image2_1",        "options",  "tvwCategory", "lblAdaptive", "lstQues",
                                  "cmdClearHistory", "cmdNotes", "Image6_2",    "Image6_3",    "Image3_3"};
    EXPECT_EQ(tabRound(window, true, options), expected);
    QStringList backwards(expected.rbegin() + 1, expected.rend());
    backwards << QStringLiteral("Image3_3");
    EXPECT_EQ(tabRound(window, false, options), backwards);

    // With the pointer over Start its highlighted twin stands in its place
    // and is the stop; the focus follows the twins as the pointer comes and goes.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(window.Image6[2], &enter);
    ASSERT_TRUE(window.Image6[0]->isVisible());
    window.cmdNotes->setFocus(Qt::TabFocusReason);
    key(window.cmdNotes, Qt::Key_Tab);
    EXPECT_EQ(names({window.focusWidget()}), names({window.Image6[0]}));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window.Image6[0], &leave);
    EXPECT_EQ(window.focusWidget(), window.Image6[2]) << "the focus stays on Start";
    EXPECT_TRUE(window.Image6[2]->keyboardFocus());
    QApplication::sendEvent(window.Image6[2], &enter);
    EXPECT_EQ(window.focusWidget(), window.Image6[0]);
    ui.clear();
    key(window.Image6[0], Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_EQ(ui.messageTexts(), QStringList({QStringLiteral("No questions selected. Can't Proceed")}))
        << "the keyboard starts from the highlighted Start too";

    // Their keys are shown under them and in their tips.
    auto* startKey = window.findChild<QLabel*>(QStringLiteral("lblStartKey"));
    auto* exitKey = window.findChild<QLabel*>(QStringLiteral("lblExitKey"));
    ASSERT_TRUE(startKey && exitKey);
    EXPECT_EQ(startKey->text(), QStringLiteral("Alt+E"));
    EXPECT_EQ(exitKey->text(), QStringLiteral("Alt+X"));
    EXPECT_TRUE(startKey->isVisible() && exitKey->isVisible());
    EXPECT_LT(qAbs(startKey->geometry().center().x() - window.Image6[2]->mapTo(&window, QPoint(60, 0)).x()), 4)
        << "under Start";
    EXPECT_EQ(window.Image6[2]->toolTip(), QStringLiteral("Start (Alt+E)"));
    EXPECT_EQ(window.Image6[3]->toolTip(), QStringLiteral("Exit (Alt+X)"));
}

TEST_F(MainWindowTest, StartHidesTheWindowOnlyForASureLaunch)
{
    frmmain& window = shown();
    // Practice with nothing ticked: refused, the window stays.
    clickCentre(window.Image3[1]);
    clickCentre(window.Image6[2]);
    EXPECT_EQ(ui.messageTexts(), QStringList({QStringLiteral("No questions selected. Can't Proceed")}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(launched.empty());

    // The administrator may not sit an exam.
    ui.clear();
    QTreeWidget* tree = window.tvwCategory;
    click(tree->viewport(), checkBoxOf(tree, window.itemOf(window.mode.tree.find(QStringLiteral("ID3")))));
    ASSERT_EQ(window.lstQues->count(), 14);
    gLogin.gLoginId = QStringLiteral("ADMIN");
    clickCentre(window.Image6[2]);
    EXPECT_EQ(ui.messageTexts(), QStringList({QStringLiteral("ADMIN user cannot write exam")}));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].owner, &window);
    EXPECT_TRUE(launched.empty());
    EXPECT_TRUE(window.isVisible());

    // Alt+E starts: 10 of the 14 questions of category 3.
    ui.clear();
    gLogin.gLoginId = QStringLiteral("ALICE");
    gGuard.gExamWindowActive = true;
    window.lstQues->setCurrentRow(4);
    QShortcut* start = nullptr;
    for (QShortcut* shortcut : window.findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::ALT | Qt::Key_E))
            start = shortcut;
    ASSERT_TRUE(start);
    emit start->activated();
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].gExamMode, QStringLiteral("PRACTICE"));
    EXPECT_EQ(launched[0].gQuizQuestionCount, 10);
    EXPECT_EQ(launched[0].gQuizUserName, QStringLiteral("ALICE"));
    EXPECT_FALSE(window.isVisible()) << "hidden for the exam";
    EXPECT_FALSE(gGuard.gExamWindowActive) << "the activation guard is cleared before the launch";
    EXPECT_TRUE(frmmain::exists()) << "it stays loaded for the return";
    EXPECT_EQ(CountSelectedQuestions(bank.conn()), 14) << "the ticked pool was saved";
}

TEST_F(MainWindowTest, TheButtonsSayTheirCommandsComeLaterUntilTheMenuSetsThem)
{
    gStartup.gMultiUser = false;
    frmmain& window = shown();
    ASSERT_TRUE(window.cmdClearHistory->isEnabled()) << "single-user mode";
    window.cmdClearHistory->click();
    window.cmdNotes->click();
    EXPECT_EQ(ui.messageTexts(),
              QStringList({QStringLiteral("Clear History comes with a later version."),
                           QStringLiteral("Notes comes with a later version.")}));
    int cleared = 0;
    window.clearHistoryCommand = [&cleared] { ++cleared; };
    window.cmdClearHistory->click();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(ui.messages().size(), 2u);
}

TEST_F(MainWindowTest, TheMenuAttachesAtEveryLoad)
{
    std::vector<frmmain::MenuInputs> attached;
    frmmain::setMenuAttacher([&attached](frmmain& window) {
        EXPECT_TRUE(window.menuArea()->isVisibleTo(&window));
        attached.push_back(window.menuInputs());
    });
    bank.writer().addLearningObjective({1, 1, 1, QStringLiteral("a"), QStringLiteral("b"), 0});
    bank.writer().addUserLink({6, 0, QStringLiteral("First level"), std::nullopt});
    bank.conn().exec(QStringLiteral("UPDATE Qe_Exam SET Qe_ExamComment = 'Thanks'"));
    gLogin.gLoginId = QStringLiteral("ADMIN");
    gLogin.gShowAdminPref = 1;
    shown();
    frmmain::unload();
    deleteDiscarded();
    gLogin.gLoginId = QStringLiteral("ALICE");
    bank.conn().exec(QStringLiteral("DELETE FROM Qe_UserLinks"));
    bank.conn().exec(QStringLiteral("UPDATE Qe_Exam SET Qe_ExamComment = '  '"));
    shown();
    frmmain::setMenuAttacher(nullptr);
    ASSERT_EQ(attached.size(), 2u);
    EXPECT_TRUE(attached[0].administrator);
    EXPECT_TRUE(attached[0].clearHistoryEnabled && attached[0].adminPreferencesEnabled);
    EXPECT_TRUE(attached[0].learningObjectives);
    EXPECT_EQ(attached[0].showAdminPref, 1);
    EXPECT_EQ(attached[0].examDescription, QStringLiteral("Exam One"));
    EXPECT_TRUE(attached[0].webLinks && attached[0].examComment);
    EXPECT_FALSE(attached[1].administrator);
    EXPECT_FALSE(attached[1].clearHistoryEnabled || attached[1].adminPreferencesEnabled) << "multi-user mode";
    EXPECT_FALSE(attached[1].webLinks || attached[1].examComment);
}

// From the login window of the sample installation to a practice drill and
// back to the main window, with the windows wired as the program wires them.
TEST(MainWindowFlow, LoginStartsAPracticeDrillAndTheEndOfTheExamShowsTheMainWindowAgain)
{
    resetStartupState();
    resetMainWindowShared();
    TempHome home;
    writeSampleInstallation(home.path());
    RecordingUiHooks ui;
    int programEnds = 0;
    frmmain::setProgramEnd([&programEnds] { ++programEnds; });
    MainWindowLink::wire([](const QString& description) { frmmain::instance().showForExam(description); });
    ReturnToMainWindowLink::wire([] { frmmain::instance().showAgain(); });
    ExamWindowLink::wire(&frmZiduver::launch);

    FakeStartupEnvironment environment;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin) << ui.htmlPages().join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(frmDBSel::showLogin()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    frmDBSel& login = frmDBSel::instance();
    login.txtUser->setText(QString::fromLatin1(sample::kUserLogin));
    login.txtPassWord->setText(QString::fromLatin1(sample::kUserPassword));
    key(login.txtPassWord, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ASSERT_TRUE(frmmain::exists()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    frmmain& window = frmmain::instance();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(window.lblExamName->text(), QString::fromLatin1(sample::kExamDesc));
    EXPECT_FALSE(window.imgLogo->isHidden()) << "the exam's logo";

    clickCentre(window.Image3[1]);
    click(window.tvwCategory->viewport(), checkBoxOf(window.tvwCategory, window.tvwCategory->topLevelItem(0)));
    ASSERT_EQ(window.lstQues->currentItem()->text(), QStringLiteral("30"));
    window.lstQues->setCurrentRow(window.lstQues->count() - 3); // 3 questions
    clickCentre(window.Image6[2]);
    ASSERT_TRUE(frmZiduver::running()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    settle();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(frmZiduver::running()->session.launch.gQuizQuestionCount, 3);
    EXPECT_EQ(frmZiduver::running()->lblQno->text(), QStringLiteral("1 of 3"));

    ui.answerNext(ResultYes);
    frmZiduver::running()->cmdEndExam_Click();
    settle();
    EXPECT_FALSE(frmZiduver::running());
    EXPECT_TRUE(window.isVisible()) << "shown again after the exam";
    EXPECT_TRUE(window.Image3[0]->isVisible()) << "as it was left";
    EXPECT_EQ(programEnds, 0);

    frmmain::unload();
    deleteDiscarded();
    MainWindowLink::wire(nullptr);
    ReturnToMainWindowLink::wire(nullptr);
    ExamWindowLink::wire(nullptr);
    frmmain::setProgramEnd(nullptr);
    resetSharedState();
}

} // namespace
