#include "foundation/WidgetLinkOpener.h"

#include <QDesktopServices>

bool WidgetLinkOpener::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

LinkOpener& linkOpenerInForce()
{
    static WidgetLinkOpener desktop;
    if (LinkOpener* installed = installedLinkOpener())
        return *installed;
    return desktop;
}
