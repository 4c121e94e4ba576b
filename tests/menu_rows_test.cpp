#include "mainwindow/MenuColour.h"
#include "mainwindow/MenuRows.h"
#include "mainwindow/WebLinks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <optional>

namespace {

QStringList captions(const std::vector<MenuRow>& rows)
{
    QStringList list;
    for (const MenuRow& row : rows)
        list << row.caption + (row.enabled ? QString() : QStringLiteral(" (off)"));
    return list;
}

struct RowCase {
    const char* name;
    MenuInputs inputs;
    int pullDown;
    QStringList expected;
};

MenuInputs inputsFor(const char* login, bool multiUser, short showAdminPref = 1)
{
    MenuInputs inputs;
    inputs.clearHistoryEnabled = inputs.adminPreferencesEnabled =
        menuRightsEnabled(QString::fromLatin1(login), multiUser);
    inputs.showAdminPref = showAdminPref;
    return inputs;
}

} // namespace

// The rows of each pull-down for each kind of user: the administrator's rows
// follow the rights and the ShowAdminPref switch, the optional rows their
// exam's data.
TEST(MenuRows, RowSetsFollowTheUserTheRightsAndTheExam)
{
    MenuInputs withObjectives = inputsFor("STUDENT", true);
    withObjectives.hasLearningObjectives = true;
    MenuInputs onlyClearHistory = inputsFor("STUDENT", true);
    onlyClearHistory.clearHistoryEnabled = true;
    MenuInputs withComment = inputsFor("STUDENT", true);
    withComment.hasComment = true;
    const std::vector<RowCase> cases = {
        {"file, anyone", inputsFor("STUDENT", true), 0, {"Change Exam", "Check for Update", "Exit"}},
        {"tools, administrator", inputsFor("ADMIN", true), 1, {"Select Font", "Admin Preferences"}},
        {"tools, administrator in any case", inputsFor("admin", true), 1, {"Select Font", "Admin Preferences"}},
        {"tools, administrator, switch off",
         inputsFor("ADMIN", true, 0),
         1,
         {"Select Font", "Admin Preferences (off)"}},
        {"tools, user in multi-user mode", inputsFor("STUDENT", true), 1, {"Select Font", "Admin Preferences (off)"}},
        {"tools, user in single-user mode", inputsFor("STUDENT", false), 1, {"Select Font", "Admin Preferences"}},
        {"tools, single-user, switch off",
         inputsFor("STUDENT", false, 0),
         1,
         {"Select Font", "Admin Preferences (off)"}},
        {"history, administrator", inputsFor("ADMIN", true), 2, {"Historical Analysis", "Clear History"}},
        {"history, user in multi-user mode",
         inputsFor("STUDENT", true),
         2,
         {"Historical Analysis", "Clear History (off)"}},
        {"history, user in single-user mode", inputsFor("STUDENT", false), 2, {"Historical Analysis", "Clear History"}},
        {"history with learning objectives",
         withObjectives,
         2,
         {"Historical Analysis", "Clear History (off)", "LOS Score Card"}},
        {"notes without links", inputsFor("STUDENT", true), 3, {"Notes"}},
        {"help without comment", inputsFor("STUDENT", true), 4, {"Contact us", "About", "Help"}},
        {"help with comment", withComment, 4, {"Contact us", "About", "Credits", "Help"}},
        {"no such pull-down", inputsFor("STUDENT", true), 5, {}},
        {"each row its own item's state", onlyClearHistory, 1, {"Select Font", "Admin Preferences (off)"}},
        {"each row its own item's state", onlyClearHistory, 2, {"Historical Analysis", "Clear History"}},
    };
    for (const RowCase& c : cases) {
        const std::vector<MenuRow> rows = pullDownRows(c.pullDown, c.inputs);
        EXPECT_EQ(captions(rows), c.expected) << c.name;
        for (const MenuRow& row : rows) {
            EXPECT_TRUE(row.tag.isEmpty()) << c.name;
            EXPECT_FALSE(row.iconVisible) << c.name;
        }
    }
}

TEST(MenuRows, NotesPullDownListsEveryFirstLevelLinkWithItsSerialNumberAsTag)
{
    MenuInputs inputs;
    std::vector<WebLinkRow> links;
    // More links than the old fourteen rows, and serial numbers above 16 bits.
    for (int i = 0; i < 20; ++i)
        links.push_back({QStringLiteral("Link %1").arg(i), 40000 + i, i % 3 == 0});

    EXPECT_EQ(captions(pullDownRows(3, inputs, links)), QStringList{QStringLiteral("Notes")})
        << "links shown only when the flag says they exist";

    inputs.hasWebLinks = true;
    const std::vector<MenuRow> rows = pullDownRows(3, inputs, links);
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(rows[0].caption, QStringLiteral("Notes"));
    EXPECT_TRUE(rows[0].tag.isEmpty());
    for (int i = 0; i < 20; ++i) {
        const MenuRow& row = rows[size_t(i + 1)];
        EXPECT_EQ(row.caption, QStringLiteral("Link %1").arg(i));
        EXPECT_EQ(row.tag, QString::number(40000 + i));
        EXPECT_EQ(row.iconVisible, i % 3 == 0);
        EXPECT_TRUE(row.enabled);
    }
    // Three links and "Notes": four rows; a full second-level list twelve.
    EXPECT_EQ(menuListHeight(4), 104);
    EXPECT_EQ(menuListHeight(kSubListRowLimit), 312);
}

TEST(MenuRows, EveryRowCaptionDispatchesToItsCommand)
{
    const std::vector<std::pair<const char*, MenuCommand>> table = {
        {"Change Exam", MenuCommand::ChangeExam},
        {"Print Setup", MenuCommand::PrintSetup},
        {"Exit", MenuCommand::Exit},
        {"Select Font", MenuCommand::SelectFont},
        {"Admin Preferences", MenuCommand::AdminPreferences},
        {"Exam Details", MenuCommand::ExamDetails},
        {"Historical Analysis", MenuCommand::HistoricalAnalysis},
        {"Clear History", MenuCommand::ClearHistory},
        {"Notes", MenuCommand::Notes},
        {"Contact us", MenuCommand::ContactUs},
        {"Credits", MenuCommand::Credits},
        {"About", MenuCommand::About},
        {"Check for Update", MenuCommand::CheckForUpdate},
        {"Help", MenuCommand::Help},
        {"Web Links", MenuCommand::WebLinks},
        {"LOS Score Card", MenuCommand::LosScoreCard},
        {"Contact Us", MenuCommand::None},
        {"exit", MenuCommand::None},
        {"", MenuCommand::None},
    };
    for (const auto& [caption, command] : table)
        EXPECT_EQ(commandForCaption(QString::fromLatin1(caption)), command) << caption;

    // Every caption a pull-down shows has a command.
    MenuInputs all;
    all.clearHistoryEnabled = all.adminPreferencesEnabled = all.hasLearningObjectives = all.hasComment = true;
    all.showAdminPref = 1;
    for (int n = 0; n < kPullDownCount; ++n)
        for (const MenuRow& row : pullDownRows(n, all)) {
            EXPECT_NE(row.command, MenuCommand::None) << row.caption.toStdString();
            EXPECT_EQ(menuCaption(row.command), row.caption) << "a row shows the command it runs";
        }

    // A link row runs its link, whatever its caption says.
    all.hasWebLinks = true;
    const std::vector<MenuRow> links =
        pullDownRows(3, all, {{QStringLiteral("Exit"), 7, false}, {QStringLiteral("Clear History"), 8, true}});
    ASSERT_EQ(links.size(), 3u);
    for (size_t i = 1; i < links.size(); ++i) {
        EXPECT_EQ(links[i].command, MenuCommand::None) << links[i].caption.toStdString();
        EXPECT_FALSE(links[i].tag.isEmpty());
    }
}

TEST(MenuRows, PullDownLookIsTopStripThenMiddleStripsThenBottomOverTheLast)
{
    using Copies = std::vector<StripCopy>;
    struct Case {
        int height;
        Copies copies;
    };
    const std::vector<Case> cases = {
        {26, {{0, 0}, {24, 24}, {260, 24}}},
        {48, {{0, 0}, {24, 24}, {260, 24}}},
        {52, {{0, 0}, {24, 24}, {24, 48}, {260, 48}}},
        {104, {{0, 0}, {24, 24}, {24, 48}, {24, 72}, {24, 96}, {260, 96}}},
        {24, {{0, 0}, {260, 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menuStripCopies(c.height), c.copies) << c.height;
    EXPECT_EQ(kMenuPictureMinHeight, 284);
}

TEST(MenuRows, MenuClosesOnlyWhenThePointerIsOverNoPart)
{
    EXPECT_TRUE(menuShouldClose({}));
    EXPECT_FALSE(menuShouldClose({true, false, false}));
    EXPECT_FALSE(menuShouldClose({false, true, false}));
    EXPECT_FALSE(menuShouldClose({false, false, true}));
}

// The colour literals of setup.xml, read blue-green-red from the top byte
// down; both forms the two hover handlers were given, and decimal.
TEST(MenuColour, LiteralsReadAsBlueGreenRed)
{
    using Rgb = std::optional<MenuRgb>;
    const std::vector<std::pair<const char*, Rgb>> table = {
        {"H003A2E1F", MenuRgb{0x1F, 0x2E, 0x3A}},
        {"&H003A2E1F", MenuRgb{0x1F, 0x2E, 0x3A}},
        {"&H003A2E1F&", MenuRgb{0x1F, 0x2E, 0x3A}},
        {"h00c46f0b", MenuRgb{0x0B, 0x6F, 0xC4}},
        {" H00FF0000 ", MenuRgb{0, 0, 255}},
        {"HFF", MenuRgb{255, 0, 0}},
        {"&H0", MenuRgb{0, 0, 0}},
        {"255", MenuRgb{255, 0, 0}},
        {"16711680", MenuRgb{0, 0, 255}},
        {"0", MenuRgb{0, 0, 0}},
        {"16777215", MenuRgb{255, 255, 255}},
        {"16777216", std::nullopt},
        {"&H8000000F", std::nullopt}, // a system colour
        {"H1000000", std::nullopt},
        {"H", std::nullopt},
        {"&H", std::nullopt},
        {"", std::nullopt},
        {"red", std::nullopt},
        {"#FF0000", std::nullopt},
        {"H00GG0000", std::nullopt},
        {"-255", std::nullopt},
        {"&255", std::nullopt},
        {"H000000FF0", std::nullopt},
    };
    for (const auto& [text, expected] : table)
        EXPECT_EQ(parseMenuColour(QString::fromLatin1(text)), expected) << text;
}

TEST(MenuColour, LookReadFromSetupAndEmptyWhenAKeyIsMissing)
{
    TempHome home;
    home.write(QStringLiteral("setup.xml"),
               "<?xml version=\"1.0\"?>\n<SetupInfo>\n\t<MainMenuSettings>\n"
               "\t\t<Forecolor>H003A2E1F</Forecolor>\n"
               "\t\t<MenuFontFace>DejaVu Sans</MenuFontFace>\n"
               "\t</MainMenuSettings>\n</SetupInfo>\n");
    const MenuLook look = readMenuLook();
    EXPECT_EQ(look.foreColor, QStringLiteral("H003A2E1F"));
    EXPECT_EQ(look.foreColorSelected, QString());
    EXPECT_EQ(look.fontFace, QStringLiteral("DejaVu Sans"));
}
