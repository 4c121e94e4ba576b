#include "foundation/WidgetLinkOpener.h"

#include "foundation/frmDbMessage.h"
#include "platform/browser/BrowserView.h"
#include "platform/pages/ServedFiles.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QWidget>

bool WidgetLinkOpener::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool WidgetLinkOpener::showPage(const QUrl& url, const QString& examFolder, QObject* owner)
{
    if (!url.isLocalFile())
        return false;
    // The chosen exam's folder is the one served: its pages pass the
    // sanitizer, its pictures show, another exam's files do not.
    if (!examFolder.isEmpty())
        servedPageFiles().setExamFolder(examFolder);
    auto* parent = qobject_cast<QWidget*>(owner);
    frmDbMessage window(QString(), parent ? parent->window() : nullptr);
    window.setWindowTitle(QFileInfo(url.toLocalFile()).fileName());
    window.resize(820, 600);
    window.www1->navigate(url);
    window.exec();
    return true;
}

LinkOpener& linkOpenerInForce()
{
    static WidgetLinkOpener desktop;
    if (LinkOpener* installed = installedLinkOpener())
        return *installed;
    return desktop;
}
