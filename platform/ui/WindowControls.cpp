#include "platform/ui/WindowControls.h"

#include <QWidget>

void DisableCloseMenu(QWidget* window)
{
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::CustomizeWindowHint, true);
    window->setWindowFlag(Qt::WindowCloseButtonHint, false);
    if (visible)
        window->show();
}
