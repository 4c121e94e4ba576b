#pragma once

#include <QStringList>

class QWidget;

// Loads the program's skin (program folder and gStartup.gSkinFile) and applies it to a
// window, with the program icon from the icon folder. A missing skin or icon
// leaves the window plain; it never stops the window from showing. Returns
// the files that could not be loaded (skin first, then icon), for windows
// that report them.
QStringList skinWindow(QWidget* window);
