#include "platform/browser/BrowserPage.h"

#include "platform/browser/PageGuard.h"
#include "platform/pages/PageAddress.h"

#include <QWebEngineProfile>

namespace {
BrowserPage::DialogLog& dialogLog()
{
    static BrowserPage::DialogLog installed;
    return installed;
}

bool isWeb(const QString& scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}
} // namespace

void BrowserPage::setDialogLog(DialogLog log)
{
    dialogLog() = std::move(log);
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

void BrowserPage::expectProgramLoad(const QUrl& url)
{
    m_webPageShown = isWeb(url.scheme().toLower());
}

void BrowserPage::expectHistoryLoad()
{
    m_programLoadPending = true;
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    const QString scheme = url.scheme().toLower();
    if (isMainFrame) {
        // Loads through the program's interface arrive as typed; a page
        // cannot make one. A page's location change arrives as a link
        // clicked, a meta refresh and a framed page's top navigation as a
        // redirect: refused, and the page shown stays.
        if (type == NavigationTypeTyped)
            return true;
        if (type == NavigationTypeBackForward || type == NavigationTypeReload) {
            const bool asked = m_programLoadPending;
            m_programLoadPending = false;
            return asked;
        }
        return type == NavigationTypeRedirect && m_webPageShown && isWeb(scheme)
            && isWeb(this->url().scheme().toLower());
    }
    // Frames: the program's own pages frame its own files; a web page the
    // program opened may frame the web.
    if (scheme == QLatin1String("about"))
        return true;
    if (page_address::isPageAddress(url))
        return !m_webPageShown;
    return m_webPageShown && isWeb(scheme);
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

void BrowserPage::javaScriptAlert(const QUrl&, const QString& msg)
{
    if (dialogLog())
        dialogLog()(QStringLiteral("alert"), msg);
}

bool BrowserPage::javaScriptConfirm(const QUrl&, const QString& msg)
{
    if (dialogLog())
        dialogLog()(QStringLiteral("confirm"), msg);
    return false;
}

bool BrowserPage::javaScriptPrompt(const QUrl&, const QString& msg, const QString&, QString*)
{
    if (dialogLog())
        dialogLog()(QStringLiteral("prompt"), msg);
    return false;
}
