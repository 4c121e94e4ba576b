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
// (from a page being replaced) are dropped. A request that leaves the shown
// document in place (a download, a failed navigation) would silence that
// document for good, so when a load ends without the new document having
// announced itself, the generation of the document still shown is accepted
// again.
class StatusChannel : public QObject {
    Q_OBJECT
public:
    explicit StatusChannel(BrowserPage* page);

    // Call before the page is replaced by a new one.
    void beginPage();
    // Call when the engine reports that loading has ended.
    void loadEnded();
    int generation() const { return m_generation; }
    // Whether the document of the last request has been created.
    bool newDocumentSeen() const { return m_newDocumentSeen; }

    // Makes pending reports arrive now: blurs the focused element of every
    // frame (its onblur/onchange handlers report), then reads the queue back
    // and delivers what it holds before returning. False on timeout; the
    // reports still arrive later then.
    bool flush(int timeoutMs);

    // Script expression that is true once the document of the last request
    // has finished loading.
    QString currentPageLoadedCheck() const;

signals:
    void statusText(const QString& text);

private:
    void onConsoleMessage(const QString& message);
    void readQueue();
    void deliver(const QVariant& result);
    void installScript();
    bool accepted(int generation) const;

    BrowserPage* m_page;
    int m_generation = 0;
    int m_stillShown = -1; // generation of a document a request left in place
    bool m_newDocumentSeen = false;
};
