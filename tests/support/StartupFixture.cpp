#include "tests/support/StartupFixture.h"

#include "foundation/ExamDiscovery.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"

void resetStartupState()
{
    resetSharedState();
    gMessage = {};
    gDiscovery = {};
}

QByteArray startupSetupXml(const SetupChanges& changes)
{
    std::vector<std::pair<QString, std::optional<QString>>> keys = {
        {QStringLiteral("AppName"), QString::fromLatin1(kStartupAppName)},
        {QStringLiteral("ActiveSkinFile"), QStringLiteral("Skin/Ziduver.qss")},
        {QStringLiteral("DPIMessage"), QString::fromLatin1(kStartupDpiText)},
        {QStringLiteral("OpenDatabaseErrorMsg"), QString::fromLatin1(kStartupFailureText)},
        {QStringLiteral("BlockRightClick"), QStringLiteral("1")},
        {QStringLiteral("debug"), QStringLiteral("0")},
        {QStringLiteral("IconPath"), QStringLiteral(" Icons ")},
        {QStringLiteral("EngineType"), QStringLiteral("Desktop")},
        {QStringLiteral("EngineVersion"), QStringLiteral("1.0")},
        {QStringLiteral("ShowAdminPref"), QStringLiteral("1")},
    };
    for (const auto& [key, value] : changes) {
        bool known = false;
        for (auto& entry : keys)
            if (entry.first == key) {
                entry.second = value;
                known = true;
            }
        if (!known)
            keys.emplace_back(key, value);
    }
    QByteArray xml = "<?xml version=\"1.0\"?>\n<SetupInfo>\n\t<GeneralSettings>\n";
    for (const auto& [key, value] : keys)
        if (value)
            xml += "\t\t<" + key.toUtf8() + '>' + value->toUtf8() + "</" + key.toUtf8() + ">\n";
    xml += "\t</GeneralSettings>\n</SetupInfo>\n";
    return xml;
}

void FakeStartupEnvironment::testSystemDatabaseWrite(db::Connection& test)
{
    ++writeChecks;
    if (systemDatabaseReadOnly)
        test.execScript(QStringLiteral("PRAGMA query_only = ON"));
    StartupEnvironment::testSystemDatabaseWrite(test);
}
