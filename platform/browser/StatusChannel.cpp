#include "platform/browser/StatusChannel.h"

#include "platform/browser/BrowserPage.h"
#include "platform/browser/ScriptText.h"
#include "platform/browser/ScriptWait.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

const QString kPrefix = QStringLiteral("\u0001ziduver-status\u0001");
const QString kScriptName = QStringLiteral("ziduver-status-channel");

// @PREFIX@ and @GEN@ are filled in per generation. The channel object is
// kept non-enumerable and read-only so page scripts do not trip over it.
const char* const kChannelScript = R"JS(
(function () {
  'use strict';
  var KEY = '__ziduverStatus', PREFIX = @PREFIX@, GEN = @GEN@;
  if (Object.prototype.hasOwnProperty.call(window, KEY)) return;

  function reachableTop() {
    try {
      if (window.top !== window && window.top[KEY]) return window.top[KEY];
    } catch (e) {}
    return null;
  }

  function blurFrame(w) {
    var i, d, a;
    try { for (i = 0; i < w.frames.length; i++) blurFrame(w.frames[i]); } catch (e) {}
    try {
      d = w.document;
      a = d.activeElement;
      if (a && a !== d.body && a !== d.documentElement && a.tagName !== 'IFRAME' &&
          a.tagName !== 'FRAME' && typeof a.blur === 'function') a.blur();
    } catch (e) {
      try { w.postMessage(PREFIX + 'blur', '*'); } catch (e2) {}
    }
  }

  var queue = [];
  var channel = {
    gen: GEN,
    push: function (text) {
      queue.push(text);
      if (queue.length === 1) console.log(PREFIX + 'N' + GEN);
    },
    take: function () {
      var q = queue;
      queue = [];
      return JSON.stringify({ g: GEN, r: q });
    },
    flush: function () {
      blurFrame(window);
      return channel.take();
    }
  };
  Object.defineProperty(window, KEY, { value: channel });

  var hub = window.top === window ? channel : reachableTop();
  var last = '';
  Object.defineProperty(window, 'status', {
    configurable: true,
    enumerable: true,
    get: function () { return last; },
    set: function (value) {
      last = String(value);
      if (hub) hub.push(last);
      else console.log(PREFIX + 'T' + GEN + ':' + last);
    }
  });
  window.addEventListener('message', function (e) {
    if (e.data === PREFIX + 'blur') blurFrame(window);
  });
  if (window.top === window) console.log(PREFIX + 'C' + GEN);
})();
)JS";

const QString kTakeCall = QStringLiteral("(function(){var c=window.__ziduverStatus;return c?c.take():'';})()");
const QString kFlushCall = QStringLiteral("(function(){var c=window.__ziduverStatus;return c?c.flush():'';})()");

} // namespace

StatusChannel::StatusChannel(BrowserPage* page) : QObject(page), m_page(page)
{
    m_page->setConsolePrefix(kPrefix);
    connect(m_page, &BrowserPage::prefixedConsoleMessage, this, &StatusChannel::onConsoleMessage);
    installScript();
}

void StatusChannel::beginPage()
{
    ++m_generation;
    m_stillShown = -1;
    m_newDocumentSeen = false;
    installScript();
}

void StatusChannel::loadEnded()
{
    if (m_newDocumentSeen)
        return;
    // Ask the document shown which generation it belongs to; adopt it only
    // if nothing has been asked for or created since.
    const int requested = m_generation;
    QPointer<StatusChannel> self(this);
    m_page->runJavaScript(QStringLiteral("(function(){var c=window.__ziduverStatus;return c?c.gen:-1;})()"),
                          QWebEngineScript::MainWorld, [self, requested](const QVariant& result) {
                              bool isNumber = false;
                              const int shown = result.toInt(&isNumber);
                              if (self && isNumber && self->m_generation == requested && !self->m_newDocumentSeen
                                  && shown >= 0 && shown < requested) {
                                  self->m_stillShown = shown;
                                  // Its queue may hold reports whose signal
                                  // was dropped meanwhile; until it is read,
                                  // it signals nothing new.
                                  self->readQueue();
                              }
                          });
}

bool StatusChannel::accepted(int generation) const
{
    return generation == m_generation || (m_stillShown >= 0 && generation == m_stillShown);
}

void StatusChannel::installScript()
{
    QWebEngineScriptCollection& scripts = m_page->scripts();
    for (const QWebEngineScript& old : scripts.find(kScriptName))
        scripts.remove(old);

    QString source = QString::fromUtf8(kChannelScript);
    source.replace(QStringLiteral("@PREFIX@"), jsStringLiteral(kPrefix));
    source.replace(QStringLiteral("@GEN@"), QString::number(m_generation));

    QWebEngineScript script;
    script.setName(kScriptName);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(source);
    scripts.insert(script);
}

QString StatusChannel::currentPageLoadedCheck() const
{
    return QStringLiteral("(function(){var c=window.__ziduverStatus;"
                          "return !!c && c.gen === %1 && document.readyState === 'complete';})()")
        .arg(m_generation);
}

void StatusChannel::onConsoleMessage(const QString& message)
{
    // "C<gen>": a top document was created; "N<gen>": the top document's
    // queue has something; "T<gen>:<text>": a report of a frame that cannot
    // reach the top document.
    if (message.startsWith(QLatin1Char('C'))) {
        if (message.mid(1).toInt() == m_generation) {
            m_newDocumentSeen = true;
            m_stillShown = -1;
        }
    } else if (message.startsWith(QLatin1Char('N'))) {
        if (accepted(message.mid(1).toInt()))
            readQueue();
    } else if (message.startsWith(QLatin1Char('T'))) {
        const qsizetype colon = message.indexOf(QLatin1Char(':'));
        if (colon > 1 && accepted(message.mid(1, colon - 1).toInt()))
            emit statusText(message.mid(colon + 1));
    }
}

void StatusChannel::readQueue()
{
    // Results of scripts run in one frame come back in the order they were
    // asked for, so successive reads deliver in order.
    QPointer<StatusChannel> self(this);
    m_page->runJavaScript(kTakeCall, QWebEngineScript::MainWorld, [self](const QVariant& result) {
        if (self)
            self->deliver(result);
    });
}

bool StatusChannel::flush(int timeoutMs)
{
    QPointer<StatusChannel> self(this);
    return runScriptAndWait(m_page, kFlushCall, timeoutMs, [self](const QVariant& result) {
        if (self)
            self->deliver(result);
    });
}

void StatusChannel::deliver(const QVariant& result)
{
    const QString json = result.toString();
    if (json.isEmpty())
        return;
    const QJsonObject taken = QJsonDocument::fromJson(json.toUtf8()).object();
    if (!accepted(taken.value(QLatin1String("g")).toInt(-1)))
        return;
    const QJsonArray reports = taken.value(QLatin1String("r")).toArray();
    const int generation = m_generation;
    QPointer<StatusChannel> self(this);
    for (const QJsonValue& report : reports) {
        emit statusText(report.toString());
        // A receiver may delete the view, or replace the page, which makes
        // the rest of these reports stale.
        if (!self || self->m_generation != generation)
            return;
    }
}
