#pragma once

#include <QString>
#include <optional>

// A colour of the menu as setup.xml writes it: a colour literal of the form
// &H00BBGGRR ("H00BBGGRR" without the "&", or with it, an optional trailing
// "&", any case), or the same value in decimal. The bytes read blue, green,
// red from the top. A value that is not such a literal, or that names a
// system colour (a high byte other than 0), gives nullopt: the menu then keeps
// its own palette colour.
struct MenuRgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const MenuRgb&) const = default;
};
std::optional<MenuRgb> parseMenuColour(const QString& setting);

// The menu's look from setup.xml: the two fore colours and the font face.
// A key missing from setup.xml reads as "" (the palette colour, the default
// face).
struct MenuLook {
    QString foreColor;         // SetupInfo/MainMenuSettings/Forecolor
    QString foreColorSelected; // SetupInfo/MainMenuSettings/ForecolorSelected
    QString fontFace;          // SetupInfo/MainMenuSettings/MenuFontFace
};
MenuLook readMenuLook();
