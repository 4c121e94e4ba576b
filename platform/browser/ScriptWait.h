#pragma once

#include <QString>
#include <QVariant>

#include <functional>

class QWebEnginePage;

// Runs a script in the main world of a page and waits for its result in a
// local event loop (user input is held back meanwhile). onResult is called
// whenever the result arrives, also after the wait has timed out, so a
// result that carries data is never dropped. Returns whether it arrived in
// time.
bool runScriptAndWait(QWebEnginePage* page, const QString& script, int timeoutMs,
                      std::function<void(const QVariant&)> onResult);

// Waits in a local event loop until done() holds or the time is up; done()
// is checked after every pass of the loop.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);
