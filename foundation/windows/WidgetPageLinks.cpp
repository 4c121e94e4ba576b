#include "foundation/windows/WidgetPageLinks.h"

#include "foundation/LinkTargets.h"
#include "foundation/windows/WidgetLinkOpener.h"
#include "platform/browser/BrowserView.h"

#include <QUrl>
#include <QWidget>

void installPageLinks()
{
    BrowserView::setLinkHandler([](const QUrl& url, QWidget* view) {
        QWidget* window = view ? view->window() : nullptr;
        openLinkTarget(url.toString(QUrl::FullyEncoded), LinkSource::PageLink, linkOpenerInForce(),
                       QStringLiteral("LinkClicked"), window, window ? window->objectName() : QString());
    });
}
