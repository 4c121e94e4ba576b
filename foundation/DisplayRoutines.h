#pragma once

#include <QString>

// True when the path exists and is not a folder. A missing path leaves an
// error line in debug.log (whatever the debug flag).
bool FileExists(const QString& path);

// Characters that fit on one line of a control: its width in pixels over the
// font's average character width in pixels, rounded half to even, less a
// margin of 5; -1 when the font's metrics are unknown (width 0 or less).
int charsPerLine(double widthPixels, int averageCharWidthPixels);

// Switching the display mode is left to the desktop on this platform: a
// depth of 0 (the only value the program passes) changes nothing, and so
// does any other.
void ChangeDisplayMode(short width, short height, short depth);
