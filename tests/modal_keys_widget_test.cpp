#include "platform/ui/ModalKeys.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QShortcut>
#include <QShortcutEvent>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A button's key clicks it a moment later, as it draws itself pressed.
void settle()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// A window with a button mnemonic, an action and a shortcut object, and a
// modal dialog over it holding a button of its own and owning a window.
struct WindowBehindAModal {
    QWidget window;
    QPushButton* endExam = new QPushButton(QStringLiteral("&End Exam"), &window);
    QAction* endAction = new QAction(QStringLiteral("End"), &window);
    QShortcut* nextKey = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    QDialog sheet{&window};
    QPushButton* sheetPrint = new QPushButton(QStringLiteral("&Print"), &sheet);
    QWidget ownedBySheet{&sheet, Qt::Window};
    QPushButton* ownedButton = new QPushButton(QStringLiteral("&Go"), &ownedBySheet);
    int clicks = 0;

    WindowBehindAModal()
    {
        window.addAction(endAction);
        QObject::connect(endExam, &QPushButton::clicked, [this] { ++clicks; });
        window.show();
        sheet.setWindowModality(Qt::ApplicationModal);
    }
};

TEST(ModalKeys, ShortcutsOfAWindowBehindAModalOneAreBlockedAndTheModalsOwnAreNot)
{
    WindowBehindAModal f;
    // Nothing modal: nothing blocked.
    EXPECT_FALSE(shortcutIsBlocked(f.endExam, QApplication::activeModalWidget()));

    f.sheet.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &f.sheet);
    const QWidget* modal = QApplication::activeModalWidget();
    const struct {
        const char* name;
        const QObject* receiver;
        bool blocked;
    } cases[] = {
        {"a button mnemonic behind", f.endExam, true},
        {"an action behind", f.endAction, true},
        {"a shortcut object behind", f.nextKey, true},
        {"the window behind itself", &f.window, true},
        {"the modal's own button", f.sheetPrint, false},
        {"a window the modal owns", f.ownedButton, false},
        {"no window at all", qApp, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shortcutIsBlocked(c.receiver, modal), c.blocked) << c.name;

    // The blocking window as the windows themselves say it.
    EXPECT_EQ(modalWindowOver(&f.window), &f.sheet);
    EXPECT_EQ(modalWindowOver(&f.sheet), nullptr);
    EXPECT_EQ(modalWindowOver(&f.ownedBySheet), nullptr);
    f.sheet.hide();
    EXPECT_EQ(modalWindowOver(&f.window), nullptr);
    f.sheet.setWindowModality(Qt::WindowModal);
    f.sheet.show();
    QWidget stranger;
    stranger.show();
    EXPECT_EQ(modalWindowOver(&f.window), &f.sheet) << "a window-modal sheet blocks its owner";
    EXPECT_EQ(modalWindowOver(&stranger), nullptr) << "and no other window";
    f.sheet.hide();
}

// Delivered through the application, as the desktop's key reaches it: the
// blocked window's action does not run, the modal's does.
TEST(ModalKeys, TheFilterEatsOnlyTheBlockedWindowsShortcut)
{
    BlockShortcutsBehindModalWindows();
    WindowBehindAModal f;
    f.endAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_E));
    auto* sheetAction = new QAction(QStringLiteral("Print"), &f.sheet);
    sheetAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_P));
    f.sheet.addAction(sheetAction);
    int ended = 0;
    int printed = 0;
    QObject::connect(f.endAction, &QAction::triggered, [&] { ++ended; });
    QObject::connect(sheetAction, &QAction::triggered, [&] { ++printed; });
    f.sheet.show();

    QShortcutEvent behind(QKeySequence(Qt::ALT | Qt::Key_E), 0, false);
    QCoreApplication::sendEvent(f.endAction, &behind);
    QShortcutEvent own(QKeySequence(Qt::ALT | Qt::Key_P), 0, false);
    QCoreApplication::sendEvent(sheetAction, &own);
    settle();
    EXPECT_EQ(ended, 0) << "Alt+E behind the sheet does nothing";
    EXPECT_EQ(printed, 1) << "the sheet's own keys work";

    f.sheet.hide();
    QShortcutEvent afterwards(QKeySequence(Qt::ALT | Qt::Key_E), 0, false);
    QCoreApplication::sendEvent(f.endAction, &afterwards);
    settle();
    EXPECT_EQ(ended, 1) << "once the sheet is gone the key works again";
}

} // namespace
