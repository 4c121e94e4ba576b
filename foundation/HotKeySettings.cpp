#include "foundation/HotKeySettings.h"

#include "foundation/Settings.h"
#include "foundation/SharedState.h"

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kHotKey = QStringLiteral("HotKey");
const QString kCheatKeyEnabled = QStringLiteral("CheatKeyEnabled");

} // namespace

const std::array<HotKeyChoice, 7>& hotKeyChoices()
{
    static const std::array<HotKeyChoice, 7> choices = {{{"F1 Key", 112},
                                                         {"Num Lock", 144},
                                                         {"Scroll Lock", 145},
                                                         {"Page Up", 33},
                                                         {"Page Down", 34},
                                                         {"F2 Key", 113},
                                                         {"F3 Key", 114}}};
    return choices;
}

int hotKeyIndex(int keyCode)
{
    const auto& choices = hotKeyChoices();
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].keyCode == keyCode)
            return int(i);
    return -1;
}

bool saveHotKey(int index)
{
    if (index < 0 || index >= int(hotKeyChoices().size()))
        return true;
    const QString code = QString::number(hotKeyChoices()[size_t(index)].keyCode);
    gAdmin.gHotKey = code;
    return SaveRegistrySetting(kSection, kHotKey, code);
}

bool saveCheatKeyEnabled(bool enabled)
{
    gAdmin.gCheatKeyEnabled = enabled;
    return SaveRegistrySetting(kSection, kCheatKeyEnabled, enabled ? QStringLiteral("True") : QStringLiteral("False"));
}

void readBackHotKey()
{
    bool numeric = false;
    const int code = GetRegistrySetting(kSection, kHotKey).trimmed().toInt(&numeric);
    const bool valid = numeric && hotKeyIndex(code) >= 0;
    gAdmin.gHotKey = valid ? QString::number(code) : QString();
    gAdmin.gCheatKeyEnabled = valid
        && GetRegistrySetting(kSection, kCheatKeyEnabled).trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive)
            == 0;
}
