#pragma once

#include <QString>

// The state that start-up and login set and every window reads. Zero or empty
// at program start; nothing resets it during a run.

// Set by start-up.
inline short gDebug = 0;            // 1 = write debug lines to debug.log
inline short gBlockRightClick = 0;  // 1 = generated pages block the right mouse button
inline QString gSkinFile;           // skin file name below the program folder
inline short gScreenMode = 0;       // 1 = 1024 wide (or unsupported), 2 = 800, 3 = 640
inline short gDisplayBits = 0;      // colour depth restored at exit; 0 = leave the display alone
inline QString gDbPassword;         // the database password, accepted and unused by SQLite
inline QString gSysDbPath;          // program folder and "/Ziduver.QZR"
inline QString gSysConnStr;         // connection string of the system database
inline bool gMultiUser = false;     // true = users log in with login and password
inline QString gDefaultLoginId;     // single-user installation: the default user
inline QString gDefaultPassword;

// Set by the login window.
inline QString gAppName;            // application title, title of every message box
inline QString gAppTitle;           // copy of gAppName for window captions
inline QString gIconPath;           // folder below the program folder with icons and pictures
inline short gShowAdminPref = 0;    // 0 disables the administration menu entry
inline QString gEngineType;
inline QString gEngineVersion;
inline QString gExamCode;
inline QString gExamDesc;
inline QString gExamDbPath;
inline QString gExamConnStr;
inline QString gLoginId;            // trimmed and upper-cased
inline QString gUserCode;           // numeric text; "0" for the administrator
inline QString gUserPassword;       // upper-cased

// Set by the administration window.
inline QString gHotKey;
inline bool gCheatKeyEnabled = false;

// The exam window's activation guard: cleared by every window about to be
// shown over the exam window.
inline bool gExamWindowActive = false;

// The database password of every database.
inline constexpr const char* kDatabasePassword = "TORVILKE";
