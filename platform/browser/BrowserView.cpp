#include "platform/browser/BrowserView.h"

#include "platform/browser/BrowserPage.h"
#include "platform/browser/PageGuard.h"
#include "platform/browser/ScriptText.h"
#include "platform/browser/ScriptWait.h"
#include "platform/browser/StatusChannel.h"
#include "platform/browser/WrittenPage.h"
#include "platform/pages/PageAddress.h"
#include "platform/pages/ServedFiles.h"
#include "platform/pages/UnreachablePage.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>

namespace {

BrowserView::LinkHandler& linkHandler()
{
    static BrowserView::LinkHandler handler;
    return handler;
}

// A page address as the program gives it.
QUrl servedAddress(const QUrl& url)
{
    return page_address::fromUrl(url);
}

// A page written against a folder other than the program folder shows an
// exam's text: that folder is the exam's folder from now on, and the one
// before it is served no more.
QUrl examBaseAddress(const QUrl& baseUrl)
{
    const QUrl address = page_address::fromUrl(baseUrl);
    const QString path = page_address::localPath(address);
    if (!path.isEmpty())
        servedPageFiles().setExamFolder(address.path().endsWith(QLatin1Char('/')) ? path : QFileInfo(path).path());
    return address;
}

} // namespace

void BrowserView::setLinkHandler(LinkHandler handler)
{
    linkHandler() = std::move(handler);
}

BrowserView::BrowserView(QWidget* parent) : QWidget(parent)
{
    m_view = new QWebEngineView(this);
    m_page = new BrowserPage(m_view);
    m_view->setPage(m_page);
    m_channel = new StatusChannel(m_page);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    // The page menu offers only what touches no file and no address.
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, &BrowserView::showPageMenu);

    connect(m_channel, &StatusChannel::statusText, this, &BrowserView::statusTextChanged);
    connect(m_page, &QWebEnginePage::loadFinished, this, &BrowserView::onLoadFinished);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &BrowserView::onLoadingChanged);
    connect(m_view, &QWebEngineView::printFinished, this, &BrowserView::printFinished);
    connect(m_page, &QWebEnginePage::pdfPrintingFinished, this, &BrowserView::pdfPrintingFinished);
    connect(m_page, &BrowserPage::linkActivated, this, [this](const QUrl& url) {
        emit linkClicked(url);
        if (linkHandler())
            linkHandler()(url, this);
    });
}

BrowserView::~BrowserView() = default;

void BrowserView::beginLoad(LoadKind kind)
{
    m_channel->beginPage();
    m_loadKind = kind;
    m_lastRequest = kind;
    m_loadRequested = true;
}

void BrowserView::onLoadFinished(bool ok)
{
    // The engine reports one finish for loads that overlap, after the last.
    const LoadKind kind = m_loadKind;
    m_loadKind = LoadKind::None;
    m_loadRequested = false;
    m_channel->loadEnded();
    if (kind == LoadKind::Write)
        collectDroppedPages();
    emit loadFinished(ok);
    if (kind == LoadKind::None || kind == LoadKind::Navigate)
        emit navigationComplete(QUrl(locationUrl()));
}

void BrowserView::onLoadingChanged(const QWebEngineLoadingInfo& info)
{
    // The engine's error page for a load that failed shows the program's own
    // short page instead, saying what could not be reached; the address
    // stays the one asked for. A load given up for a newer one failed
    // nowhere.
    constexpr int kAborted = -3;
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || info.errorCode() == kAborted)
        return;
    const QString page = unreachablePage(page_address::toFileUrl(info.url()).toDisplayString(), info.errorString());
    const QString body = page.mid(page.indexOf(QLatin1String("<body")));
    m_page->runJavaScript(
        QStringLiteral("if (location.protocol === 'chrome-error:') {"
                       " document.documentElement.innerHTML = %1; document.title = 'Not available'; }")
            .arg(jsStringLiteral(QStringLiteral("<head></head>") + body)),
        QWebEngineScript::ApplicationWorld);
}

void BrowserView::collectDroppedPages()
{
    // Every tenth written page: often enough to keep a long exam flat,
    // seldom enough to cost nothing a user notices.
    constexpr int kPagesPerCollection = 10;
    if (++m_writtenSinceCollection < kPagesPerCollection)
        return;
    m_writtenSinceCollection = 0;
    m_page->runJavaScript(QStringLiteral("if (typeof gc === 'function') gc();"), QWebEngineScript::ApplicationWorld);
}

void BrowserView::writeHtml(const QString& html, const QUrl& baseUrl)
{
    beginLoad(LoadKind::Write);
    const QUrl base = examBaseAddress(baseUrl);
    m_page->expectProgramLoad(base);
    const QByteArray utf8 = withPagePolicy(html.toUtf8());
    if (written_page::fitsInDataUrl(utf8)) {
        m_page->setContent(utf8, QStringLiteral("text/html;charset=UTF-8"), base);
        return;
    }
    const QUrl file = writeToFile(html, base);
    if (file.isValid()) {
        m_page->load(servedAddress(file));
    } else {
        qWarning("BrowserView: cannot write a long page to a temporary file");
        m_page->setContent(utf8, QStringLiteral("text/html;charset=UTF-8"), base);
    }
}

QUrl BrowserView::writeToFile(const QString& html, const QUrl& baseUrl)
{
    if (!m_tempDir) {
        m_tempDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/ziduver-page-XXXXXX"));
        if (m_tempDir->isValid())
            servedPageFiles().addPrivateFolder(m_tempDir->path());
    }
    if (!m_tempDir->isValid())
        return {};
    const QString path = m_tempDir->filePath(QStringLiteral("page-%1.html").arg(++m_fileSerial));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    const QByteArray content = written_page::fileContent(html, baseUrl);
    if (file.write(content) != content.size() || !file.flush())
        return {};
    file.close();

    // Keep the long page shown before this one for GoBack, drop older ones.
    if (!m_previousFile.isEmpty())
        QFile::remove(m_previousFile);
    m_previousFile = m_fileUrl.toLocalFile();
    m_fileUrl = QUrl::fromLocalFile(path);
    m_fileBase = baseUrl;
    return m_fileUrl;
}

void BrowserView::navigate(const QString& urlOrPath)
{
    const QString text = urlOrPath.trimmed();
    if (text.isEmpty()) {
        navigate(QUrl(QStringLiteral("about:blank")));
        return;
    }
    const QUrl asUrl(text);
    // A scheme of one letter would be a drive, not a URL.
    if (asUrl.isValid() && asUrl.scheme().size() > 1)
        navigate(asUrl);
    else
        navigate(QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
}

void BrowserView::navigate(const QUrl& asked)
{
    const QUrl url = servedAddress(asked);
    if (url.scheme() == QLatin1String("javascript")) {
        m_page->runJavaScript(url.path(QUrl::FullyDecoded));
        return;
    }
    // A jump within the page shown keeps its document: no new generation,
    // and the engine reports no load.
    if (url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == m_page->url().adjusted(QUrl::RemoveFragment)) {
        m_page->load(url);
        return;
    }
    beginLoad(LoadKind::Navigate);
    m_page->expectProgramLoad(url);
    m_page->load(url);
}

void BrowserView::refresh()
{
    if (m_page->url().isEmpty())
        return; // nothing shown yet: nothing to reload
    beginLoad(LoadKind::Refresh);
    m_page->expectHistoryLoad();
    m_page->triggerAction(QWebEnginePage::Reload);
}

bool BrowserView::goBack()
{
    if (!m_page->history()->canGoBack())
        return false;
    beginLoad(LoadKind::Navigate);
    m_page->expectHistoryLoad();
    m_page->triggerAction(QWebEnginePage::Back);
    return true;
}

QString BrowserView::locationUrl() const
{
    const QUrl url = m_page->url();
    if (url.isEmpty())
        return QString();
    const QString local = page_address::localPath(url);
    if (!local.isEmpty() && local == m_fileUrl.toLocalFile() && m_fileBase.isValid() && !m_fileBase.isEmpty())
        return page_address::toFileUrl(m_fileBase).toString();
    // A page written without a base URL is a data: URL of the whole page.
    if (url.scheme() == QLatin1String("data"))
        return QStringLiteral("about:blank");
    return page_address::toFileUrl(url).toString();
}

bool BrowserView::waitForLoad(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    if (!waitUntil([this] { return !m_loadRequested; }, timeoutMs))
        return false;
    // The engine reports a finish a moment after the fact, so a finish of
    // the page before may be taken for that of the page asked for: the
    // document asked for must be there and complete. A written page always
    // makes one; a navigation may not (about:blank, a download).
    if (m_lastRequest != LoadKind::Write && !m_channel->newDocumentSeen())
        return true;
    const QString check = m_channel->currentPageLoadedCheck();
    for (;;) {
        bool arrived = false;
        const QVariant loaded = runScript(check, int(qMax<qint64>(1, deadline.remainingTime())), &arrived);
        if (arrived && loaded.toBool())
            return true;
        if (deadline.hasExpired())
            return false;
        waitUntil([] { return false; }, 10);
    }
}

void BrowserView::setContextMenuBlocked(bool blocked)
{
    m_view->setContextMenuPolicy(blocked ? Qt::NoContextMenu : Qt::CustomContextMenu);
}

void BrowserView::showPageMenu(const QPoint& at)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copy = m_page->action(QWebEnginePage::Copy);
    copy->setEnabled(m_page->hasSelection());
    menu->addAction(copy);
    menu->addAction(m_page->action(QWebEnginePage::SelectAll));
    menu->popup(m_view->mapToGlobal(at));
}

void BrowserView::print(QPrinter* printer)
{
    m_view->print(printer);
}

bool BrowserView::printAndWait(QPrinter* printer, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    if (!waitForLoad(timeoutMs))
        return false;
    auto result = std::make_shared<std::pair<bool, bool>>(false, false); // finished, ok
    const QMetaObject::Connection done = connect(m_view, &QWebEngineView::printFinished, this, [result](bool ok) {
        *result = {true, ok};
    });
    m_view->print(printer);
    waitUntil([result] { return result->first; }, int(qMax<qint64>(1, deadline.remainingTime())));
    disconnect(done);
    return result->first && result->second;
}

void BrowserView::printToPdf(const QString& filePath)
{
    m_page->printToPdf(filePath);
}

bool BrowserView::printToPdfAndWait(const QString& filePath, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    if (!waitForLoad(timeoutMs))
        return false;
    auto result = std::make_shared<std::pair<bool, bool>>(false, false); // finished, ok
    const QMetaObject::Connection done =
        connect(m_page, &QWebEnginePage::pdfPrintingFinished, this, [result](const QString&, bool ok) {
            *result = {true, ok};
        });
    m_page->printToPdf(filePath);
    waitUntil([result] { return result->first; }, int(qMax<qint64>(1, deadline.remainingTime())));
    disconnect(done);
    return result->first && result->second;
}

QVariant BrowserView::runScript(const QString& script, int timeoutMs, bool* arrived)
{
    auto result = std::make_shared<QVariant>();
    const bool inTime = runScriptAndWait(m_page, script, timeoutMs, [result](const QVariant& v) { *result = v; });
    if (arrived)
        *arrived = inTime;
    return *result;
}

bool BrowserView::flushStatus(int timeoutMs)
{
    return m_channel->flush(timeoutMs);
}
