#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class BrowserPage;

// Carries the pages' window.status assignments to C++. The engine ignores
// window.status, so a script injected into every document (sub-frames too)
// redefines it: each assignment is queued in the top document and a short
// console message tells us to read the queue back. Reading takes the queue
// away in the page, so every report arrives exactly once, in the order of
// the assignments. A frame that cannot reach the top document sends its
// text over the console message itself.
//
// Every page written or navigated to starts a new generation; the generation
// is compiled into the injected script, and reports of an older generation
// (from a page being replaced) are dropped.
class StatusChannel : public QObject {
    Q_OBJECT
public:
    explicit StatusChannel(BrowserPage* page);

    // Call before the page is replaced by a new one.
    void beginPage();
    int generation() const { return m_generation; }

    // Makes pending reports arrive now: blurs the focused element of every
    // frame (its onblur/onchange handlers report), then reads the queue back
    // and delivers what it holds before returning. False on timeout; the
    // reports still arrive later then.
    bool flush(int timeoutMs);

    // Script expression that is true once the current generation's document
    // exists and has finished loading.
    QString currentPageLoadedExpression() const;

signals:
    void statusText(const QString& text);

private:
    void onConsoleMessage(const QString& message);
    void readQueue();
    void deliver(const QVariant& result);
    void installScript();

    BrowserPage* m_page;
    int m_generation = 0;
};
