#include "platform/browser/BrowserEngine.h"

#include "platform/browser/PageGuard.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <unistd.h>

void prepareBrowserEngine()
{
    // The engine refuses to start as root inside its sandbox.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX") && geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Views collect the script heap of the pages they dropped (see
    // BrowserView): the engine collects it only under memory pressure, so a
    // long exam would grow by every page shown.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--expose-gc")) {
        if (!flags.isEmpty())
            flags += ' ';
        flags += "--js-flags=--expose-gc";
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }
    page_guard::prepareEngine();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
