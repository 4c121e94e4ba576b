#include "app/WindowWiring.h"
#include "exam/ExamEnd.h"
#include "foundation/DebugLog.h"
#include "foundation/ProgramEnd.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/UiHooks.h"
#include "foundation/WidgetPageDialogs.h"
#include "foundation/WidgetPageLinks.h"
#include "foundation/WidgetStartupEnvironment.h"
#include "foundation/WidgetUiHooks.h"
#include "foundation/frmDBSel.h"
#include "platform/browser/BrowserEngine.h"
#include "platform/ui/ButtonKeys.h"
#include "platform/ui/QuitSignals.h"
#include "platform/ui/ScreenPlacement.h"

#include <QApplication>

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
    PressFocusedButtonsWithEnter();

    setProgramFolder(resolveProgramFolder(app.arguments(), qEnvironmentVariable("ZIDUVER_HOME"),
                                          QCoreApplication::applicationDirPath()));
    WidgetUiHooks hooks;
    installUiHooks(&hooks);
    installPageDialogs();
    installPageLinks();
    // The end of the desktop session, a shut-down's signal or a closed
    // terminal ends a running exam as End Exam does, asking nothing; the
    // progress is written before the program goes.
    const auto endExam = [] {
        setProgramEnding(true);
        ExamEnd::endRunningExam();
    };
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::requested, &app, [endExam] {
        endExam();
        QCoreApplication::quit();
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, endExam);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, endExam);

    wireWindows();
    WidgetStartupEnvironment environment(programFolder());
    if (const StartupResult started = Main(environment); started != StartupResult::ShowLogin)
        return startupExitStatus(started);
    // The login window refuses to go on when no exam can be attached.
    if (!frmDBSel::showLogin())
        return startupExitStatus(StartupResult::Refused);
    // Asked to end before the event loop ran.
    if (programEnding())
        return 0;
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("frmDbSel loaded: main :QmodPublic: Date/Time :") + logDate());
    const int status = app.exec();
    installUiHooks(nullptr);
    return status;
}
