#pragma once

class QWidget;

// Loads the program's skin (program folder and gSkinFile) and applies it to a
// window, with the program icon from the icon folder. A missing skin or icon
// leaves the window plain; it never stops the window from showing.
void skinWindow(QWidget* window);
