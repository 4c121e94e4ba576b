// Windows open whole on the screen's available area, their frames included.
#include "platform/ui/ScreenPlacement.h"
#include "tests/support/EventWaits.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(ScreenPlacement, AFrameOffTheAreaMovesTheLeastWayInAndShrinksOnlyWhereItMust)
{
    const QRect area(0, 0, 1024, 740); // a screen with a panel at the bottom
    const struct {
        const char* name;
        QRect frame;
        QRect placed;
    } cases[] = {
        {"inside stays", {100, 50, 600, 400}, {100, 50, 600, 400}},
        {"title bar above the screen", {0, -20, 1024, 718}, {0, 0, 1024, 718}},
        {"past the right and bottom edges", {700, 600, 500, 300}, {524, 440, 500, 300}},
        {"left of the screen", {-30, 10, 200, 100}, {0, 10, 200, 100}},
        {"taller than the area", {10, -5, 300, 900}, {10, 0, 300, 740}},
        {"larger both ways", {-10, -10, 1400, 1000}, {0, 0, 1024, 740}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placedOnScreen(c.frame, area), c.placed) << c.name;
    EXPECT_EQ(placedOnScreen(QRect(5, 5, 10, 10), QRect()), QRect(5, 5, 10, 10)) << "no screen: left alone";
}

TEST(ScreenPlacement, EveryWindowShownLandsOnTheAvailableArea)
{
    KeepWindowsOnScreen();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();

    QWidget above;
    above.setGeometry(area.left() + 40, area.top() - 60, 300, 200);
    QDialog large;
    large.setGeometry(area.right() - 100, area.top() + 30, area.width() + 200, area.height() / 2);
    above.show();
    large.show();
    for (QWidget* window : {static_cast<QWidget*>(&above), static_cast<QWidget*>(&large)})
        EXPECT_TRUE(waitFor([&] { return area.contains(window->frameGeometry()); }, 3000))
            << window->metaObject()->className();
    EXPECT_EQ(above.frameGeometry().top(), area.top()) << "moved down only";
    EXPECT_EQ(large.frameGeometry().width(), area.width());

    // Once placed, a window goes where its user or its program moves it.
    settle(1700);
    above.move(area.left() - 50, area.top() + 10);
    settle(200);
    EXPECT_LT(above.frameGeometry().left(), area.left()) << "left where it was moved";
    // Shown again, it is placed again.
    above.hide();
    above.show();
    EXPECT_TRUE(waitFor([&] { return area.contains(above.frameGeometry()); }, 3000));
}

} // namespace
