#include "foundation/windows/WidgetLinkOpener.h"

#include "foundation/windows/frmDbMessage.h"
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
    // Opened without a loop of its own: the click that asked for it comes
    // from a page, whose engine must go on to load this one.
    auto* window = new frmDbMessage(QString(), parent ? parent->window() : nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QFileInfo(url.toLocalFile()).fileName());
    window->resize(820, 600);
    window->www1->navigate(url);
    window->open();
    return true;
}

LinkOpener& linkOpenerInForce()
{
    static WidgetLinkOpener desktop;
    if (LinkOpener* installed = installedLinkOpener())
        return *installed;
    return desktop;
}
