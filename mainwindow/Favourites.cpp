#include "mainwindow/Favourites.h"

#include "foundation/Settings.h"

FavouriteList initialFavourites()
{
    return {FavouriteEntry{QStringLiteral("-"), QString(), true}};
}

FavouriteTexts favouriteTexts(const FavouriteList& favourites)
{
    FavouriteTexts texts;
    for (size_t i = 1; i < favourites.size(); ++i) {
        if (!favourites[i].visible)
            continue;
        texts.captions += favourites[i].caption + QStringLiteral("[CAP]");
        texts.tags += favourites[i].tag + QStringLiteral("[TAG]");
    }
    return texts;
}

QString loginSection(const QString& loginId)
{
    QString section;
    section.reserve(loginId.size());
    for (const QChar c : loginId) {
        if (c == QLatin1Char('%'))
            section += QStringLiteral("%25");
        else if (c == QLatin1Char('/'))
            section += QStringLiteral("%2F");
        else if (c == QLatin1Char('\\'))
            section += QStringLiteral("%5C");
        else
            section += c;
    }
    return section;
}

bool storeFavourites(const QString& loginId, const FavouriteList& favourites)
{
    const FavouriteTexts texts = favouriteTexts(favourites);
    const QString section = loginSection(loginId);
    const bool captions = SaveRegistrySetting(section, QStringLiteral("MenuItemsCaption"), texts.captions);
    const bool tags = SaveRegistrySetting(section, QStringLiteral("MenuItemsTag"), texts.tags);
    return captions && tags;
}
