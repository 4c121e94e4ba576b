#pragma once

#include <QString>
#include <QWebEnginePage>
#include <functional>

class QWebEngineProfile;

// The page behind every browser view. All pages share one off-the-record
// profile, guarded as PageGuard describes; console messages that carry the
// private prefix set by the status channel are handed over instead of being
// logged.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit BrowserPage(QObject* parent = nullptr);

    // The program's single profile (no cookies, cache or history on disk).
    static QWebEngineProfile* sharedProfile();

    void setConsolePrefix(const QString& prefix) { m_prefix = prefix; }

    // A page's alert(), confirm() and prompt() never open a window: a box a
    // page can raise again and again would lock the user in, and its answer
    // would go to the page. Each is handed to the log instead; confirm
    // answers no and prompt answers nothing.
    using DialogLog = std::function<void(const QString& kind, const QString& text)>;
    static void setDialogLog(DialogLog log);

    // Navigations of the main frame are the program's alone: it says which
    // load comes next (a written page, a file, a web page it opens itself,
    // back or reload) and every other navigation a page starts is refused
    // before any request. A web page the program opened may follow its own
    // redirects.
    void expectProgramLoad(const QUrl& url);
    void expectHistoryLoad();

signals:
    // A console message that started with the prefix, prefix removed.
    void prefixedConsoleMessage(const QString& message);
    // The user clicked a link of the page; it was not followed.
    void linkActivated(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;

private:
    QString m_prefix;
    bool m_programLoadPending = false; // a back, forward or reload the program asked for
    bool m_webPageShown = false;       // the program's last load was a web page
};
