#pragma once

#include <QString>

namespace db {
class Connection;
}

// What start-up needs to know of the machine it runs on; the real screen and
// instance lock in the program, fakes in tests.
class StartupEnvironment {
public:
    virtual ~StartupEnvironment() = default;
    // True when the desktop runs at 120 logical pixels per inch.
    virtual bool isLargeFontsMode() = 0;
    // Width of the screen in pixels.
    virtual int screenWidthPixels() = 0;
    // True when another copy of the program is already running (and this copy
    // must end without a word).
    virtual bool anotherInstanceRunning() = 0;
    // Proves on start-up's test connection that the system database can be
    // written (the program writes it at every start); raises db::DbError when
    // it cannot. Changes nothing.
    virtual void testSystemDatabaseWrite(db::Connection& test);
};

enum class StartupResult {
    ShowLogin,      // start-up succeeded: show the login window
    AlreadyRunning, // another copy runs on this folder: end quietly
    Refused,        // end the program (a refusal or failure was already shown)
};

// The exit status of a start that ends before the program runs: 0 for a
// second copy, which leaves quietly, and 1 for a start that was refused or
// failed, so that a script or a desktop launcher can tell.
int startupExitStatus(StartupResult result);

// The start-up road: settings, large-font refusal, second copy, the system
// database test, screen mode, single/multi-user mode and the stored answer
// hot key (readBackHotKey). Never exits the process; the caller acts on the
// result.
StartupResult Main(StartupEnvironment& environment);

// True for a multi-user installation; for a single-user one false, after
// loading the default user into gStartup.gDefaultLoginId and gStartup.gDefaultPassword.
bool GetTypeofApplication();

// 1 for 1024 pixels (and any unsupported width, after a warning), 2 for 800,
// 3 for 640.
short GetScreenMode(int widthPixels);

// The number of a setting: convertCInt rounds half to even (empty or
// non-numeric text, or one outside 16 bits, is an error); valOf takes the
// leading number of the text, 0 when there is none.
bool convertCInt(const QString& text, short& value);
double valOf(const QString& text);
