#include "app/WindowWiring.h"
#include "exam/ExamEnd.h"
#include "foundation/DebugLog.h"
#include "foundation/ProgramEnd.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/UiHooks.h"
#include "foundation/windows/WidgetPageDialogs.h"
#include "foundation/windows/WidgetPageLinks.h"
#include "foundation/windows/WidgetStartupEnvironment.h"
#include "foundation/windows/WidgetUiHooks.h"
#include "foundation/windows/frmDBSel.h"
#include "platform/browser/BrowserEngine.h"
#include "platform/ui/ButtonKeys.h"
#include "platform/ui/FocusHandback.h"
#include "platform/ui/ModalKeys.h"
#include "platform/ui/QuitSignals.h"
#include "platform/ui/ScreenPlacement.h"

#include <QApplication>
#include <QScopeGuard>

int main(int argc, char** argv)
{
    prepareBrowserEngine();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ziduver"));
    QApplication::setApplicationName(QStringLiteral("Ziduver"));
    // One window is hidden before the next is shown; the program ends when a
    // window says so.
    app.setQuitOnLastWindowClosed(false);
    KeepWindowsOnScreen();
    HandFocusBackWhenWindowsClose();
    PressFocusedButtonsWithEnter();
    BlockShortcutsBehindModalWindows();

    setProgramFolder(resolveProgramFolder(app.arguments(), qEnvironmentVariable("ZIDUVER_HOME"),
                                          QCoreApplication::applicationDirPath()));
    WidgetUiHooks hooks;
    installUiHooks(&hooks);
    // Whichever way main() returns, the hooks go before the object they point
    // at: the windows deleted with the application object may still use them.
    const auto uninstallHooks = qScopeGuard([] { installUiHooks(nullptr); });
    installPageDialogs();
    installPageLinks();
    // The end of the desktop session, a shut-down's signal or a closed
    // terminal ends a running exam as End Exam does, asking nothing: typed
    // notes are saved first, then the progress is written before the
    // program goes.
    const auto endExam = [] {
        setProgramEnding(true);
        runEndingSaves();
        ExamEnd::endRunningExam();
    };
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::requested, &app, [endExam] {
        endExam();
        // exit() leaves every running event loop, a modal window's too, and
        // makes every later one return at once, also before exec() runs;
        // quit() then closes the windows as a close of the program does.
        QCoreApplication::exit(0);
        QCoreApplication::quit();
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, endExam);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, endExam);

    wireWindows();
    WidgetStartupEnvironment environment(programFolder());
    // Asked to end before the event loop ran (while a start-up message was
    // shown): the program ends as asked, whatever the start-up came to.
    const StartupResult started = Main(environment);
    if (programEnding())
        return 0;
    if (started != StartupResult::ShowLogin)
        return startupExitStatus(started);
    // The login window refuses to go on when no exam can be attached.
    const bool loginShown = frmDBSel::showLogin();
    if (programEnding())
        return 0;
    if (!loginShown)
        return startupExitStatus(StartupResult::Refused);
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("frmDbSel loaded: main :QmodPublic: Date/Time :") + logDate());
    return app.exec();
}
