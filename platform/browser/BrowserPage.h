#pragma once

#include <QString>
#include <QWebEnginePage>

class QWebEngineProfile;

// The page behind every browser view. All pages share one off-the-record
// profile, and console messages that carry the private prefix set by the
// status channel are handed over instead of being logged.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit BrowserPage(QObject* parent = nullptr);

    // The program's single profile (no cookies, cache or history on disk).
    static QWebEngineProfile* sharedProfile();

    void setConsolePrefix(const QString& prefix) { m_prefix = prefix; }

signals:
    // A console message that started with the prefix, prefix removed.
    void prefixedConsoleMessage(const QString& message);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceId) override;

private:
    QString m_prefix;
};
