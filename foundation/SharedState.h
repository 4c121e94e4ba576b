#pragma once

#include <QString>

// The state that start-up and login set and every window reads, grouped by
// its owner. Zero or empty at program start; resetSharedState() puts every
// group back so (tests use it between cases).

// Set by start-up.
struct StartupState {
    short gDebug = 0;           // 1 = write debug lines to debug.log
    short gBlockRightClick = 0; // 1 = generated pages block the right mouse button
    QString gSkinFile;          // skin file name below the program folder
    short gScreenMode = 0;      // 1 = 1024 wide (or unsupported), 2 = 800, 3 = 640
    short gDisplayBits = 0;     // colour depth restored at exit; 0 = leave the display alone
    QString gDbPassword;        // the database password, accepted and unused by SQLite
    QString gSysDbPath;         // program folder and "/Ziduver.QZR"
    QString gSysConnStr;        // connection string of the system database
    bool gMultiUser = false;    // true = users log in with login and password
    QString gDefaultLoginId;    // single-user installation: the default user
    QString gDefaultPassword;
};

// Set by the login window.
struct LoginState {
    QString gAppName;         // application title, title of every message box
    QString gAppTitle;        // copy of gAppName for window captions
    QString gIconPath;        // folder below the program folder with icons and pictures
    short gShowAdminPref = 0; // 0 disables the administration menu entry
    QString gEngineType;
    QString gEngineVersion;
    QString gExamCode;
    QString gExamDesc;
    QString gExamDbPath;
    QString gExamConnStr;
    QString gLoginId;      // trimmed and upper-cased
    QString gUserCode;     // numeric text; "0" for the administrator
    QString gUserPassword; // upper-cased
};

// Set by the administration window.
struct AdminSettings {
    QString gHotKey;
    bool gCheatKeyEnabled = false;
};

// The exam window's activation guard: cleared by every window about to be
// shown over the exam window, and by the program's message box.
struct WindowGuard {
    bool gExamWindowActive = false;
};

inline StartupState gStartup;
inline LoginState gLogin;
inline AdminSettings gAdmin;
inline WindowGuard gGuard;

// Every group of the shared state back to its start value.
void resetSharedState();

// The database password of every database.
inline constexpr const char* kDatabasePassword = "TORVILKE";
