#include "foundation/Settings.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kSetup = "<SetupInfo>\n"
                          "\t<GeneralSettings>\n"
                          "\t\t<AppName>Ziduver</AppName>\n"
                          "\t\t<debug>1</debug>\n"
                          "\t\t<OpenDatabaseErrorMsg>Line one\n"
                          "\t\t\tLine two\n"
                          "\t\tLine three</OpenDatabaseErrorMsg>\n"
                          "\t\t<WithAttr kind=\"x\">never</WithAttr>\n"
                          "\t\t<BLANKED>  two blanks inside</BLANKED>\n"
                          "\t</GeneralSettings>\n"
                          "\t<MainMenuSettings>\n"
                          "\t\t<AppName>Menu name</AppName>\n"
                          "\t\t<EngineModeDescriptions>\n"
                          "\t\t\t<Pretest>A short test over every category.</Pretest>\n"
                          "\t\t\t<Simulated>Timed, like the real exam\n"
                          "\t\t\tsecond line</Simulated>\n"
                          "\t\t</EngineModeDescriptions>\n"
                          "\t</MainMenuSettings>\n"
                          "</SetupInfo>\n";

struct Case {
    const char* key;
    bool trimIndent;
    const char* expected;
};

class SettingsReader : public ::testing::TestWithParam<Case> { };

TEST_P(SettingsReader, ReadsValuesAsLaidOut)
{
    for (const QByteArray& variant :
         {kSetup, QByteArray(kSetup).replace("\n", "\r\n"), QByteArray("\xEF\xBB\xBF") + kSetup}) {
        TempHome home;
        home.write(QStringLiteral("setup.xml"), variant);
        bool trim = GetParam().trimIndent;
        EXPECT_EQ(ReadSetting(QString::fromLatin1(GetParam().key), trim), QString::fromUtf8(GetParam().expected))
            << GetParam().key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SettingsReader,
    ::testing::Values(
        Case{"SetupInfo/GeneralSettings/debug", true, "1"}, Case{"setupinfo/generalsettings/APPNAME", true, "Ziduver"},
        // Path parts are matched in order: the second AppName is under MainMenuSettings.
        Case{"SetupInfo/MainMenuSettings/AppName", true, "Menu name"},
        Case{"SetupInfo/GeneralSettings/OpenDatabaseErrorMsg", true, "Line one\r\n\t\t\tLine two\r\n\t\tLine three"},
        Case{"SetupInfo/GeneralSettings/BLANKED", true, "  two blanks inside"},
        Case{"SetupInfo/MainMenuSettings/EngineModeDescriptions/Pretest", false, "A short test over every category."},
        Case{"SetupInfo/MainMenuSettings/EngineModeDescriptions/Simulated", false,
             "Timed, like the real exam\r\n\t\t\tsecond line"},
        Case{"SetupInfo/MainMenuSettings/EngineModeDescriptions/Pretest", true, "A short test over every category."}),
    [](const ::testing::TestParamInfo<Case>& info) {
        QString name = QString::fromLatin1(info.param.key).section(QLatin1Char('/'), -1);
        return name.toStdString() + (info.param.trimIndent ? "_trimmed" : "_threeTabs") + "_"
            + std::to_string(info.index);
    });

TEST(SettingsReaderErrors, MissingKeysAttributesAndFiles)
{
    TempHome home;
    home.write(QStringLiteral("setup.xml"), kSetup);
    for (const char* key :
         {"SetupInfo/GeneralSettings/Nothing", "SetupInfo/GeneralSettings/WithAttr", "SetupInfo/Nowhere/debug"}) {
        try {
            ReadSetting(QString::fromLatin1(key));
            ADD_FAILURE() << key << " read without error";
        } catch (const SettingError& error) {
            EXPECT_EQ(error.code(), SettingError::InvalidArgument) << key;
        }
    }
    // A path without "/" gives "" without opening the file, even when there is none.
    TempHome empty;
    EXPECT_EQ(ReadSetting(QStringLiteral("debug")), QString());
    try {
        ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/debug"));
        ADD_FAILURE() << "read without setup.xml";
    } catch (const SettingError& error) {
        EXPECT_EQ(error.code(), SettingError::FileNotFound);
    }
}

TEST(SettingsReaderErrors, BlankIndentedValuesReadCorrectly)
{
    TempHome home;
    home.write(QStringLiteral("setup.xml"),
               "<SetupInfo>\n  <GeneralSettings>\n    <debug>1</debug>\n      <Pretest>Three blanks</Pretest>\n"
               "  </GeneralSettings>\n</SetupInfo>\n");
    EXPECT_EQ(ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/debug")), QStringLiteral("1"));
    bool trim = false;
    EXPECT_EQ(ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/Pretest"), trim), QStringLiteral("Three blanks"));
}

TEST(SettingsReaderErrors, TrimLeadingControlCharsStopsAtTheFirstBlank)
{
    EXPECT_EQ(TrimLeadingControlChars(QStringLiteral("\t\t\r\n <x>")), QStringLiteral(" <x>"));
    EXPECT_EQ(TrimLeadingControlChars(QStringLiteral("\t\t")), QString());
}

} // namespace
