#include "platform/ui/ActivationSource.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace {

const char* const kNeutralProperty = "ziduverActivationNeutral";

const QWidget* widgetOf(const QWindow* window)
{
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == window)
            return widget;
    }
    return nullptr;
}

} // namespace

bool countsAsOtherProgramWindow(const QWindow* window)
{
    if (!window)
        return false;
    const Qt::WindowType type = window->type();
    if (type != Qt::Window && type != Qt::Dialog)
        return false;
    const QWidget* widget = widgetOf(window);
    return !(widget && widget->property(kNeutralProperty).toBool());
}

void markActivationNeutral(QWidget* window)
{
    window->setProperty(kNeutralProperty, true);
}
