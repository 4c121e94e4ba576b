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

    // The boxes a page's alert(), confirm() and prompt() open. The program
    // routes them through its own message box; an unset entry falls back to
    // the engine's own box.
    struct Dialogs {
        std::function<void(const QString& text)> alert;
        std::function<bool(const QString& text)> confirm;
        std::function<bool(const QString& text, const QString& defaultValue, QString* result)> prompt;
    };
    static void setDialogs(Dialogs dialogs);

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
};
