// With no window manager to hand the keyboard on, a window that closes
// gives it back to the window it was opened over.
#include "platform/ui/FocusHandback.h"
#include "tests/support/EventWaits.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

namespace {

bool focused(const QWidget& window)
{
    return window.windowHandle() && QGuiApplication::focusWindow() == window.windowHandle();
}

::testing::AssertionResult shownWithFocus(QWidget& window)
{
    window.show();
    if (!waitFor([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, 10000))
        return ::testing::AssertionFailure() << "the window did not come up";
    window.activateWindow();
    if (!waitFor([&] { return focused(window); }, 5000))
        return ::testing::AssertionFailure() << "the window did not get the focus";
    return ::testing::AssertionSuccess();
}

// Closes the modal window on top once it holds the focus.
void closeWhenFocused(QWidget* owner)
{
    QTimer::singleShot(50, owner, [owner] {
        QWidget* top = QApplication::activeModalWidget();
        if (!top || top == owner || !focused(*top)) {
            closeWhenFocused(owner);
            return;
        }
        top->close();
    });
}

class FocusHandbackOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xServerUnavailable().isEmpty())
            GTEST_SKIP() << xServerUnavailable().toStdString();
        HandFocusBackWhenWindowsClose();
    }
};

TEST_F(FocusHandbackOnX11, TheWindowUnderAClosedDialogGetsTheKeysBack)
{
    QWidget main;
    auto* field = new QLineEdit(&main);
    (new QVBoxLayout(&main))->addWidget(field);
    main.resize(400, 300);
    ASSERT_TRUE(shownWithFocus(main));

    const struct {
        const char* what;
        std::function<void()> run;
    } cases[] = {
        {"a message box",
         [&] {
             QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("text"), QMessageBox::Ok,
                             &main);
             closeWhenFocused(&main);
             box.exec();
         }},
        {"a modal dialog",
         [&] {
             QDialog dialog(&main);
             dialog.resize(200, 100);
             closeWhenFocused(&main);
             dialog.exec();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.run();
        EXPECT_TRUE(waitFor([&] { return focused(main); }, 3000)) << "the keys went nowhere";
    }
}

// A message box over a modal dialog gives the keys back to the dialog, and
// the dialog's close gives them back to the window under it.
TEST_F(FocusHandbackOnX11, NestedWindowsHandTheKeysBackOneByOne)
{
    QWidget main;
    main.resize(400, 300);
    ASSERT_TRUE(shownWithFocus(main));
    QDialog dialog(&main);
    dialog.resize(300, 200);
    bool dialogFocusedAgain = false;
    QTimer::singleShot(0, &dialog, [&] {
        ASSERT_TRUE(waitFor([&] { return focused(dialog); }, 5000));
        QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("text"), QMessageBox::Ok,
                        &dialog);
        closeWhenFocused(&dialog);
        box.exec();
        dialogFocusedAgain = waitFor([&] { return focused(dialog); }, 3000);
        dialog.close();
    });
    dialog.exec();
    EXPECT_TRUE(dialogFocusedAgain);
    EXPECT_TRUE(waitFor([&] { return focused(main); }, 3000));
}

} // namespace
