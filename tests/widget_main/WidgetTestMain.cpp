#include "platform/browser/BrowserEngine.h"

#include <QApplication>
#include <gtest/gtest.h>

// Window tests run offscreen with one application object for the whole run.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").isEmpty())
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    prepareBrowserEngine();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
