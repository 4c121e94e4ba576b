#include "foundation/windows/WidgetPageDialogs.h"

#include "foundation/DebugLog.h"
#include "platform/browser/BrowserPage.h"

void installPageDialogs()
{
    BrowserPage::setDialogLog([](const QString& kind, const QString& text) {
        WriteLog(QStringLiteral("A page's %1 was not shown: %2 : PageDialog : Date/Time :").arg(kind, text.left(200))
                 + logDateTime());
    });
}
