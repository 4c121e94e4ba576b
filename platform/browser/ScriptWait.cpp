#include "platform/browser/ScriptWait.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>

namespace {

struct Pending {
    bool arrived = false;
    QEventLoop* loop = nullptr;
};

} // namespace

bool runScriptAndWait(QWebEnginePage* page, const QString& script, int timeoutMs,
                      std::function<void(const QVariant&)> onResult)
{
    // The callback may come after this function has returned: it only
    // touches the shared state, never this frame.
    auto pending = std::make_shared<Pending>();
    page->runJavaScript(script, QWebEngineScript::MainWorld,
                        [pending, onResult = std::move(onResult)](const QVariant& result) {
                            if (onResult)
                                onResult(result);
                            pending->arrived = true;
                            if (pending->loop)
                                pending->loop->quit();
                        });
    if (!pending->arrived) {
        QEventLoop loop;
        pending->loop = &loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        pending->loop = nullptr;
    }
    return pending->arrived;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}
