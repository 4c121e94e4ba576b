#pragma once

#include "foundation/Startup.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

// Readable QString values in failed expectations of these tests.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Puts the shared state back as it is when the program starts (every g*
// variable zero or empty): start-up, login, message and discovery state.
// Tests of start-up and login call it before each case, since the state
// otherwise carries over from one case to the next in one process.
void resetStartupState();

// A setup.xml laid out as shipped (tab-indented) with every key that start-up
// and the login window read. Each change sets a key of GeneralSettings to a
// value, or leaves it out of the file when the value is std::nullopt.
using SetupChanges = std::vector<std::pair<QString, std::optional<QString>>>;
QByteArray startupSetupXml(const SetupChanges& changes = {});

// The failure text of that setup.xml.
inline const char* const kStartupFailureText = "The exam database cannot be opened. Please reinstall.";
inline const char* const kStartupDpiText = "Please switch the display to small fonts.";
inline const char* const kStartupAppName = "Ziduver Test";

// The screen, the other running copies and whether the system database can
// be written, as a test sets them.
class FakeStartupEnvironment : public StartupEnvironment {
public:
    bool largeFonts = false;
    int width = 1024;
    bool secondCopy = false;
    int instanceChecks = 0;
    // The test connection refuses every write, as it does for a user without
    // write access (file modes do not stop root, who runs the tests in CI).
    bool systemDatabaseReadOnly = false;
    int writeChecks = 0;

    void testSystemDatabaseWrite(db::Connection& test) override;

    bool isLargeFontsMode() override { return largeFonts; }
    int screenWidthPixels() override { return width; }
    bool anotherInstanceRunning() override
    {
        ++instanceChecks;
        return secondCopy;
    }
};
