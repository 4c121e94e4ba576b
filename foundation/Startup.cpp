#include "foundation/Startup.h"

#include "foundation/ConnectionString.h"
#include "foundation/DebugLog.h"
#include "foundation/HotKeySettings.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/ErrorWords.h"
#include "platform/db/Transaction.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace {

const char* const kModule = ":QmodPublic: Date/Time :";

void debugLine(const QString& text, const QString& when)
{
    if (gStartup.gDebug == 1)
        WriteLog(text + QLatin1String(kModule) + when);
}

// A start-up error: the message names the problem for the built-in text shown
// when the configured failure text could not be read yet.
struct StartupFailure {
    QString description;
    int number;
};

QString readSetting(const char* key)
{
    return ReadSetting(QString::fromLatin1(key));
}

// The configured failure text speaks of files that cannot be read or
// written; a file in use, a full disk or a damaged file is named for what it
// is instead. The file and its cause follow in either case.
QString systemDatabaseProblem(const QString& failureText, const db::DbError& error)
{
    // The message is a page: the folder's name is data, escaped as text.
    const QString problem
        = db::problemInWords(QStringLiteral("The system database"), gStartup.gSysDbPath, error).toHtmlEscaped();
    switch (error.sqliteCode() & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_FULL:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_INTERRUPT:
    case SQLITE_IOERR:
        return QStringLiteral("The program cannot start.\r\n") + problem;
    default:
        return failureText + QStringLiteral("\r\n") + problem;
    }
}

} // namespace

void StartupEnvironment::testSystemDatabaseWrite(db::Connection& test)
{
    try {
        db::proveWritable(test);
    } catch (const db::DbError& error) {
        // Another copy is writing it: the file can be written.
        if (error.errorClass() == db::ErrorClass::Busy)
            return;
        throw;
    }
}

double valOf(const QString& text)
{
    static const QRegularExpression leadingNumber(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?"));
    const auto match = leadingNumber.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0.0;
}

bool convertCInt(const QString& text, short& value)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || number < -32768.5 || number > 32767.5)
        return false;
    value = short(std::nearbyint(number)); // the default rounding mode is to even
    return true;
}

short GetScreenMode(int widthPixels)
{
    switch (widthPixels) {
    case 1024:
        return 1;
    case 800:
        return 2;
    case 640:
        return 3;
    default:
        ShowMessage(QStringLiteral("This application may not work properly with your current graphical settings. "
                                   "It is optimised for 1024x768 / 800x600  resolution. For better performance "
                                   "change to any of these settings."),
                    gLogin.gAppName, OneButton, nullptr);
        return 1;
    }
}

bool GetTypeofApplication()
{
    SystemDatabase system;
    bool multiUser = true;
    // A row whose flag is not set (0 or NULL) makes a single-user installation.
    if (const std::optional<bool> flag = system.multiUserFlag(); flag && !*flag) {
        multiUser = false;
        const std::optional<SystemDatabase::DefaultUser> user = system.defaultUser();
        gStartup.gDefaultLoginId = user ? user->login : QString();
        gStartup.gDefaultPassword = user ? user->password : QString();
    }
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("Single userid : GetTypeofApplication: ") + gStartup.gDefaultLoginId + QLatin1Char(':')
                 + logDate());
    return multiUser;
}

StartupResult Main(StartupEnvironment& environment)
{
    QString failureText;
    bool failureTextRead = false;
    try {
        gStartup.gDisplayBits = 0;
        gStartup.gSkinFile = readSetting("SetupInfo/GeneralSettings/ActiveSkinFile");

        if (environment.isLargeFontsMode()) {
            ShowDbMessage(readSetting("SetupInfo/GeneralSettings/DPIMessage"));
            return StartupResult::Refused;
        }

        failureText = readSetting("SetupInfo/GeneralSettings/OpenDatabaseErrorMsg");
        failureTextRead = true;

        gStartup.gBlockRightClick = short(valOf(readSetting("SetupInfo/GeneralSettings/BlockRightClick")));
        const QString debugSetting = readSetting("SetupInfo/GeneralSettings/debug");
        if (!convertCInt(debugSetting, gStartup.gDebug))
            throw StartupFailure{QStringLiteral("Type mismatch (debug setting \"%1\")").arg(debugSetting), 13};
        debugLine(QStringLiteral("Reached Main: main "), logDateTime());

        if (environment.anotherInstanceRunning())
            return StartupResult::AlreadyRunning;

        gStartup.gDbPassword = QString::fromLatin1(kDatabasePassword);
        debugLine(QStringLiteral("Pasword set: main "), logDateTime());

        gStartup.gSysDbPath = programFile(QStringLiteral("Ziduver.QZR"));
        gStartup.gSysConnStr = connectionString(gStartup.gSysDbPath, gStartup.gDbPassword);
        debugLine(QStringLiteral("Before setting: main "), logDateTime());

        {
            // Opened once as a test; a missing file is never created here.
            db::Connection test = db::Connection::open(gStartup.gSysConnStr);
            // One the user may not write passes every read and would fail
            // only in the login window's rebuild of the exam list.
            environment.testSystemDatabaseWrite(test);
            debugLine(QStringLiteral("Connect with db success and settings information gathered from registry: main "),
                      logDate());

            debugLine(QStringLiteral("Gathering Screen mode information: main "), logDate());
            gStartup.gScreenMode = GetScreenMode(environment.screenWidthPixels());
            debugLine(QStringLiteral("Gathered Screen mode information: main "), logDate());

            gStartup.gMultiUser = GetTypeofApplication();
            debugLine(QStringLiteral("Type of application is ")
                          + (gStartup.gMultiUser ? QStringLiteral("True") : QStringLiteral("False")),
                      logDate());
        }
        // The administrator's answer hot key holds from one run to the next.
        readBackHotKey();
        return StartupResult::ShowLogin;
    } catch (const SettingError& error) {
        if (gStartup.gDebug == 1)
            WriteLog(error.message() + QStringLiteral("  ") + QString::number(error.code()) + QStringLiteral(" : main ")
                     + QLatin1String(kModule) + logDate());
        ShowDbMessage(failureTextRead ? failureText
                                      : QStringLiteral("The program cannot start: ") + error.message().toHtmlEscaped()
                              + QStringLiteral("\r(setup.xml in ") + programFolder().toHtmlEscaped()
                              + QStringLiteral(")"));
    } catch (const db::DbError& error) {
        if (gStartup.gDebug == 1)
            WriteLog(error.message() + QStringLiteral("  ") + QString::number(error.sqliteCode())
                     + QStringLiteral(" : main ") + QLatin1String(kModule) + logDate());
        ShowDbMessage(systemDatabaseProblem(failureText, error));
    } catch (const std::exception& error) {
        if (gStartup.gDebug == 1)
            WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : main ") + QLatin1String(kModule) + logDate());
        ShowDbMessage(failureTextRead ? failureText : QString::fromUtf8(error.what()).toHtmlEscaped());
    } catch (const StartupFailure& failure) {
        if (gStartup.gDebug == 1)
            WriteLog(failure.description + QStringLiteral("  ") + QString::number(failure.number)
                     + QStringLiteral(" : main ") + QLatin1String(kModule) + logDate());
        ShowDbMessage(failureText);
    }
    return StartupResult::Refused;
}

int startupExitStatus(StartupResult result)
{
    return result == StartupResult::Refused ? 1 : 0;
}
