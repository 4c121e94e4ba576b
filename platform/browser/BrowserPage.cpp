#include "platform/browser/BrowserPage.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {
BrowserPage::Dialogs& dialogs()
{
    static BrowserPage::Dialogs installed;
    return installed;
}
} // namespace

void BrowserPage::setDialogs(Dialogs replacement)
{
    dialogs() = std::move(replacement);
}

BrowserPage::BrowserPage(QObject* parent) : QWebEnginePage(sharedProfile(), parent)
{
}

QWebEngineProfile* BrowserPage::sharedProfile()
{
    // Qt's default profile is off-the-record and outlives every page, so no
    // page can be left behind by a profile deleted first.
    static QWebEngineProfile* const profile = [] {
        QWebEngineProfile* p = QWebEngineProfile::defaultProfile();
        // Written pages have a file: base URL; their scripts, images and the
        // frames of the tree page are files beside the program.
        p->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        return p;
    }();
    return profile;
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                           const QString& sourceId)
{
    if (!m_prefix.isEmpty() && message.startsWith(m_prefix)) {
        emit prefixedConsoleMessage(message.mid(m_prefix.size()));
        return;
    }
    QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceId);
}

void BrowserPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    if (dialogs().alert)
        dialogs().alert(msg);
    else
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
}

bool BrowserPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    return dialogs().confirm ? dialogs().confirm(msg) : QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool BrowserPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                                   QString* result)
{
    return dialogs().prompt ? dialogs().prompt(msg, defaultValue, result)
                            : QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}
