#include "foundation/windows/WidgetDisplayRoutines.h"

#include "foundation/DisplayRoutines.h"

#include <QFontMetrics>
#include <QWidget>

int GetCharsPerLine(const QWidget* window, const QWidget* control)
{
    if (!window || !control)
        return -1;
    return charsPerLine(control->width(), QFontMetrics(window->font()).averageCharWidth());
}
