#include "tests/x11_main/XvfbTestMain.h"

#include "platform/browser/BrowserEngine.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// Focus and activation rules only show on a real display: the offscreen
// platform never moves the focus for popups and dialogs. These tests start
// a private virtual X server and run on it with the xcb platform.
namespace {

QString g_unavailable;
pid_t g_server = -1;

// Starts Xvfb on a free display; returns the display number, or -1.
int startServer()
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    g_server = fork();
    if (g_server < 0)
        return -1;
    if (g_server == 0) {
        close(pipeFds[0]);
        const std::string fd = std::to_string(pipeFds[1]);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string number;
    pollfd waitFor{pipeFds[0], POLLIN, 0};
    while (poll(&waitFor, 1, 10000) > 0) {
        char c = 0;
        if (read(pipeFds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(pipeFds[0]);
    return number.empty() ? -1 : std::atoi(number.c_str());
}

void stopServer()
{
    if (g_server > 0) {
        kill(g_server, SIGTERM);
        waitpid(g_server, nullptr, 0);
        g_server = -1;
    }
}

} // namespace

QString xServerUnavailable()
{
    return g_unavailable;
}

int main(int argc, char** argv)
{
    bool listingOnly = false;
    for (int i = 1; i < argc; ++i)
        listingOnly = listingOnly || std::string(argv[i]) == "--gtest_list_tests";
    const int display = listingOnly ? -1 : startServer();
    if (display < 0) {
        stopServer();
        g_unavailable = QStringLiteral("no X server could be started (Xvfb missing or failing)");
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        qputenv("DISPLAY", QByteArray(":") + QByteArray::number(display));
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").isEmpty())
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    int status = 0;
    {
        prepareBrowserEngine();
        QApplication app(argc, argv);
        app.setQuitOnLastWindowClosed(false);
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    stopServer();
    return status;
}
