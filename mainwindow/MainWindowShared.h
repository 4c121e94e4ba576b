#pragma once

#include <QString>

// The main window's module state that other windows read or change: the
// question font (the font window changes it, the start command copies it
// into the launch record), the menu's colours and font face from setup.xml,
// and the product identity for the update check. Set at each load of the
// main window.
struct MainWindowShared {
    QString gFontFace;
    double gFontSize = 10.0;
    bool gFontBold = false;
    bool gFontItalic = false;
    QString gMenuForeColor;         // hexadecimal colour literal without its leading "&"
    QString gMenuForeColorSelected; // the same, for the hovered row
    QString gMenuFontFace;
    QString gProductId;
    QString gProductVersion;
    bool gMainFlag = false; // true once a main window has loaded
};

inline MainWindowShared gMain;

// Back to the start values (tests use it between cases).
inline void resetMainWindowShared()
{
    gMain = {};
}
