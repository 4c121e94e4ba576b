#pragma once

#include "mainwindow/WebLinks.h"

#include <QString>
#include <vector>

// The drawn menu of the main window: five pull-downs whose rows are commands
// or, in the "Notes" pull-down, the exam's first-level web links.

inline constexpr int kPullDownCount = 5;
// Every row, of a pull-down and of a second-level list, is this high.
inline constexpr int kMenuRowHeight = 26;

// What a row runs.
enum class MenuCommand {
    None, // a caption no command carries
    ChangeExam,
    PrintSetup,
    Exit,
    SelectFont,
    AdminPreferences,
    ExamDetails,
    HistoricalAnalysis,
    ClearHistory,
    Notes,
    ContactUs,
    Credits,
    About,
    CheckForUpdate,
    Help,
    WebLinks,
    LosScoreCard,
};
// A command's caption and a caption's command, from one table.
MenuCommand commandForCaption(const QString& caption);
QString menuCaption(MenuCommand command);

// What the rows depend on, fixed when the main window loads.
struct MenuInputs {
    // The enabled states of the window's Clear History and Admin
    // Preferences items (see menuRightsEnabled); the drawn rows follow them.
    bool clearHistoryEnabled = false;
    bool adminPreferencesEnabled = false;
    // gLogin.gShowAdminPref: 0 disables "Admin Preferences" whatever the rights.
    short showAdminPref = 0;
    // The exam database holds learning objectives (rows in Qe_LOS).
    bool hasLearningObjectives = false;
    // First-level web links exist; the exam has a comment text.
    bool hasWebLinks = false;
    bool hasComment = false;
};

// The administrator's items are enabled for the administrator (login
// "ADMIN" in any case) and, in single-user mode, for everyone; in multi-user
// mode other users do not get them.
bool menuRightsEnabled(const QString& loginId, bool multiUser);

// A row of a pull-down.
struct MenuRow {
    QString caption;
    // A link row's Ql_SerNo as text; "" for a command row.
    QString tag;
    bool enabled = true;
    // A link row whose link has a second-level list shows its icon.
    bool iconVisible = false;
    // What a command row runs; the caption only shows it.
    MenuCommand command = MenuCommand::None;
};

// The rows of pull-down n (0 to 4) in order. Pull-down 3 lists the given
// first-level links after "Notes" when the inputs say links exist.
std::vector<MenuRow> pullDownRows(int pullDown, const MenuInputs& inputs, const std::vector<WebLinkRow>& links = {});

// The height of a pull-down or second-level list of that many rows.
inline int menuListHeight(int rows)
{
    return rows * kMenuRowHeight;
}

// The pull-down's look is painted from its source picture: a top strip, a
// middle strip repeated down the list and a bottom strip, each this high.
inline constexpr int kMenuStripHeight = 24;
inline constexpr int kMenuTopStripY = 0;
inline constexpr int kMenuMiddleStripY = 24;
inline constexpr int kMenuBottomStripY = 260;
// The source picture must be at least this high to hold the three strips.
inline constexpr int kMenuPictureMinHeight = kMenuBottomStripY + kMenuStripHeight;

// One copy of a strip: from source row sourceY to target row targetY.
struct StripCopy {
    int sourceY = 0;
    int targetY = 0;
    bool operator==(const StripCopy&) const = default;
};
// DrawMenu for a list of that height: the top strip at 0, the middle strip at
// 24, 48, ... while above the height, then the bottom strip over the last
// middle strip.
std::vector<StripCopy> menuStripCopies(int height);

// The menu's pointer rule: once the pointer has left every part of the open
// menu (the top pictures, the pull-down, the second-level list), the menu
// closes.
struct MenuPointer {
    bool overTopPictures = false;
    bool overPullDown = false;
    bool overSubList = false;
};
inline bool menuShouldClose(const MenuPointer& pointer)
{
    return !pointer.overTopPictures && !pointer.overPullDown && !pointer.overSubList;
}
