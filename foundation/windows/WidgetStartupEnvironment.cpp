#include "foundation/windows/WidgetStartupEnvironment.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

bool WidgetStartupEnvironment::isLargeFontsMode()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    // Large fonts were exactly 120 pixels per inch; other settings run.
    return std::lround(screen->logicalDotsPerInchX() * screen->devicePixelRatio()) == 120;
}

int WidgetStartupEnvironment::screenWidthPixels()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 1024;
}
