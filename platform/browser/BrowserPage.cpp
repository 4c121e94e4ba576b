#include "platform/browser/BrowserPage.h"

#include "platform/browser/PageGuard.h"
#include "platform/pages/PageAddress.h"

#include <QWebEngineProfile>

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
        page_guard::installOn(p);
        return p;
    }();
    return profile;
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    const QString scheme = url.scheme().toLower();
    if (page_address::isPageAddress(url) || scheme == QLatin1String("about"))
        return true;
    // What the program itself asked for (a written page, a web page it
    // navigates to, back, reload) loads in the main frame; a page's own
    // navigation away from the program's pages does not: links the user
    // clicks reach the program's link rules instead.
    if (isMainFrame)
        return type == NavigationTypeTyped || type == NavigationTypeBackForward || type == NavigationTypeReload
            || (type == NavigationTypeRedirect
                && (scheme == QLatin1String("http") || scheme == QLatin1String("https")));
    // A frame of a web page the program opened may show the web.
    const QString shown = this->url().scheme().toLower();
    return (shown == QLatin1String("http") || shown == QLatin1String("https"))
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                           const QString& sourceId)
{
    static const QString linkPrefix = page_guard::linkReportPrefix();
    if (message.startsWith(linkPrefix)) {
        const QUrl link(message.mid(linkPrefix.size()), QUrl::StrictMode);
        if (link.isValid())
            emit linkActivated(link);
        return;
    }
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
