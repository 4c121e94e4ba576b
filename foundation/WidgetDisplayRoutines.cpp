#include "foundation/WidgetDisplayRoutines.h"

#include "foundation/DisplayRoutines.h"

#include <QFontMetrics>
#include <QWidget>

int GetCharsPerLine(const QWidget* window, const QWidget* control)
{
    if (!window || !control)
        return -1;
    // The rule was made in twips: 15 to a pixel.
    return charsPerLine(control->width() * 15.0, QFontMetrics(window->font()).averageCharWidth());
}
