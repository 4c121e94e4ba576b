#include "platform/browser/PageGuard.h"

#include "platform/browser/ScriptText.h"
#include "platform/pages/ExamPictures.h"
#include "platform/pages/HtmlSanitizer.h"
#include "platform/pages/PageAddress.h"
#include "platform/pages/ServedFiles.h"

#include <QBuffer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace {

class PageSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        if (job->requestMethod() != "GET") {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        // A load the program started has no initiator; a page's own
        // requests (frames, pictures) carry the page's origin.
        const bool programLoad = job->initiator().isEmpty();
        const ServedFiles::Found found = servedPageFiles().find(job->requestUrl(), programLoad);
        if (!found) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        // Checked before a byte is read: a FIFO, a device or a huge file of
        // an exam's folder is refused as a missing one.
        QString refusal;
        QByteArray content = ServedFiles::read(found, &refusal);
        if (!refusal.isEmpty()) {
            qWarning("%s", qUtf8Printable(refusal));
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        const QByteArray type = ServedFiles::contentType(found.path);
        if (type == "text/html") {
            if (found.origin == ServedFiles::Origin::Exam) {
                // An exam's page is a stranger's file: what it says is kept,
                // nothing it could run, written out behind the policy.
                SanitizeRules rules;
                rules.pictures = examFolderPictures(servedPageFiles().examFolder(), QFileInfo(found.path).path());
                content = html_sanitizer::document(content, rules, pagePolicyHead());
            } else {
                content = withPagePolicy(content);
            }
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(content);
        buffer->open(QIODevice::ReadOnly);
        job->reply(type, buffer);
    }
};

bool isLocalScheme(const QString& scheme)
{
    return scheme == page_address::scheme() || scheme == QLatin1String("data") || scheme == QLatin1String("blob")
        || scheme == QLatin1String("about");
}

// The last line of defence below the page policy: whatever a page's mark-up
// finds to load, a page of the program reaches only the program's scheme.
class PageRequestFilter : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QString scheme = info.requestUrl().scheme().toLower();
        if (scheme == QLatin1String("file")) {
            info.block(true);
            return;
        }
        if (isLocalScheme(scheme))
            return;
        // A web page the program opened may load its own parts; a page of
        // the program (or of no origin) reaches nothing outside.
        const QString from = info.initiator().scheme().toLower();
        if (from == QLatin1String("http") || from == QLatin1String("https"))
            return;
        const bool askedByProgram =
            info.initiator().isEmpty() && info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame;
        if (!askedByProgram)
            info.block(true);
    }
};

// Runs in a world of its own, out of reach of the page's scripts: a click
// (or Enter) by the user on a link is stopped and reported to the program.
// The address reported is the one the link had when the user pressed the
// button (or the key): a page's script that changes the address, or puts
// another link under the pointer, before the click arrives changes nothing
// but the click, which then reports nothing. Scripted clicks are not the
// user's and are left to the navigation rules, which refuse them.
const char* const kLinkScript = R"JS(
(function () {
  'use strict';
  var PREFIX = @PREFIX@;
  var pressed = null; // { link, href, byPointer } of the user's last press
  function linkOf(node) {
    for (; node; node = node.parentNode) {
      var tag = node.tagName ? String(node.tagName).toUpperCase() : '';
      if ((tag === 'A' || tag === 'AREA') && node.hasAttribute('href')) return node;
    }
    return null;
  }
  function sameDocument(href) {
    var here = String(location.href).split('#')[0];
    return href.split('#')[0] === here && href.indexOf('#') >= 0;
  }
  function press(e, byPointer) {
    var link = linkOf(e.target);
    pressed = link ? { link: link, href: String(link.href), byPointer: byPointer } : null;
  }
  // The pointer's press comes first, and a page may keep the mouse's from
  // coming at all: the mouse's press of the same link keeps what it found.
  function onPointerDown(e) {
    if (e.isTrusted && e.button === 0) press(e, true);
  }
  function onMouseDown(e) {
    if (!e.isTrusted || e.button !== 0) return;
    if (pressed && pressed.byPointer && pressed.link === linkOf(e.target)) pressed.byPointer = false;
    else press(e, false);
  }
  function onKeyDown(e) {
    if (e.isTrusted && e.key === 'Enter') press(e, false);
  }
  function onClick(e) {
    if (!e.isTrusted) return;
    var link = linkOf(e.target);
    if (!link) return;
    var href = String(link.href);
    if (/^javascript:/i.test(href) || sameDocument(href)) return;
    e.preventDefault();
    if (e.type !== 'click' || e.button !== 0) return;
    var was = pressed;
    pressed = null;
    if (was && was.link === link && !/^javascript:/i.test(was.href) && !sameDocument(was.href))
      console.log(PREFIX + was.href);
  }
  window.addEventListener('pointerdown', onPointerDown, true);
  window.addEventListener('mousedown', onMouseDown, true);
  window.addEventListener('keydown', onKeyDown, true);
  window.addEventListener('click', onClick, true);
  window.addEventListener('auxclick', onClick, true);
})();
)JS";

// Peer-to-peer connections, WebTransport and workers reach the network
// without a URL request the filter sees: their constructors are taken from
// every frame that loads a document before its scripts run. (What truly
// holds is that no stranger's script runs at all; this is a second wall.)
const char* const kNoPeerScript = R"JS(
(function () {
  ['RTCPeerConnection', 'webkitRTCPeerConnection', 'RTCIceTransport', 'RTCDataChannel', 'WebTransport', 'Worker',
   'SharedWorker'].forEach(function (n) {
    try { Object.defineProperty(window, n, { value: undefined, writable: false, configurable: false }); } catch (e) {}
  });
})();
)JS";

QWebEngineScript injected(const QString& name, const QString& source, QWebEngineScript::ScriptWorldId world)
{
    QWebEngineScript script;
    script.setName(name);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(world);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(source);
    return script;
}

} // namespace

namespace page_guard {

void prepareEngine()
{
    QWebEngineUrlScheme scheme(page_address::scheme().toLatin1());
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Secure, so pages are secure contexts; not CORS-enabled, so no script
    // can fetch from it; no local access.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);

    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const QByteArray noUdp("--force-webrtc-ip-handling-policy=disable_non_proxied_udp");
    if (!flags.contains("webrtc-ip-handling-policy")) {
        if (!flags.isEmpty())
            flags += ' ';
        flags += noUdp;
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }
}

QString linkReportPrefix()
{
    static const QString prefix = QStringLiteral("\u0001ziduver-link-%1-%2\u0001")
                                      .arg(QRandomGenerator::system()->generate64(), 0, 36)
                                      .arg(QRandomGenerator::system()->generate64(), 0, 36);
    return prefix;
}

void installOn(QWebEngineProfile* profile)
{
    profile->installUrlSchemeHandler(page_address::scheme().toLatin1(), new PageSchemeHandler(profile));
    profile->setUrlRequestInterceptor(new PageRequestFilter(profile));

    QWebEngineSettings* settings = profile->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);

    QString links = QString::fromUtf8(kLinkScript);
    links.replace(QStringLiteral("@PREFIX@"), jsStringLiteral(linkReportPrefix()));
    profile->scripts()->insert(injected(QStringLiteral("ziduver-links"), links, QWebEngineScript::ApplicationWorld));
    profile->scripts()->insert(
        injected(QStringLiteral("ziduver-no-peer"), QString::fromUtf8(kNoPeerScript), QWebEngineScript::MainWorld));
}

} // namespace page_guard
