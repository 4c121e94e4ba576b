#include "mainwindow/MenuColour.h"

#include "foundation/Settings.h"

std::optional<MenuRgb> parseMenuColour(const QString& setting)
{
    QString text = setting.trimmed();
    bool hex = false;
    if (text.startsWith(QLatin1Char('&')))
        text.remove(0, 1);
    if (text.startsWith(QLatin1Char('H'), Qt::CaseInsensitive)) {
        hex = true;
        text.remove(0, 1);
        // The "long" type mark of a literal.
        if (text.endsWith(QLatin1Char('&')))
            text.chop(1);
    } else if (setting.trimmed().startsWith(QLatin1Char('&'))) {
        return std::nullopt;
    }
    if (text.isEmpty() || text.size() > (hex ? 8 : 10))
        return std::nullopt;
    for (const QChar c : text)
        if (!(hex ? (c.isDigit() || QStringLiteral("abcdefABCDEF").contains(c)) : c.isDigit()))
            return std::nullopt;
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok, hex ? 16 : 10);
    if (!ok || value > 0xFFFFFFu || (value >> 24) != 0)
        return std::nullopt;
    return MenuRgb{int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF)};
}

namespace {

QString settingOrEmpty(const char* key)
{
    try {
        return ReadSetting(QString::fromLatin1(key));
    } catch (const SettingError&) {
        return QString();
    }
}

} // namespace

MenuLook readMenuLook()
{
    return {settingOrEmpty("SetupInfo/MainMenuSettings/Forecolor"),
            settingOrEmpty("SetupInfo/MainMenuSettings/ForecolorSelected"),
            settingOrEmpty("SetupInfo/MainMenuSettings/MenuFontFace")};
}
