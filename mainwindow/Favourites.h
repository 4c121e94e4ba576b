#pragma once

#include <QString>
#include <vector>

// The main window's favourites: the elements of its favourites list, element
// 0 a fixed separator that is never a favourite, the others each a caption
// shown and a target opened. Nothing in the program adds favourites; the
// list is stored when the window closes.
struct FavouriteEntry {
    QString caption;
    QString tag;         // the target
    bool visible = true; // only visible entries are stored
};
using FavouriteList = std::vector<FavouriteEntry>;
// The list as the window starts with it: the separator alone.
FavouriteList initialFavourites();

// The two texts stored: each visible favourite (from element 1, in order)
// gives its caption followed by "[CAP]" and its tag followed by "[TAG]".
struct FavouriteTexts {
    QString captions; // "MenuItemsCaption"
    QString tags;     // "MenuItemsTag"
};
FavouriteTexts favouriteTexts(const FavouriteList& favourites);

// The settings section of a login: "/" and "\" would nest sections, so they
// (and "%", which marks the encoding) are written %2F, %5C and %25.
QString loginSection(const QString& loginId);

// Writes both texts (also when empty) in the user's section of the settings
// store, captions first. False when the settings could not be written.
bool storeFavourites(const QString& loginId, const FavouriteList& favourites);
