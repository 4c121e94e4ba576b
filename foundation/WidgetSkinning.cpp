#include "foundation/WidgetSkinning.h"

#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "platform/ui/Skin.h"

#include <QFileInfo>
#include <QIcon>
#include <QWidget>

void skinWindow(QWidget* window)
{
    Skin skin;
    if (!gSkinFile.isEmpty() && skin.LoadSkin(programFile(gSkinFile)))
        skin.ApplySkin(window);
    const QString icon = programFile(gIconPath + QStringLiteral("/icon1.ico"));
    if (!gIconPath.isEmpty() && QFileInfo::exists(icon))
        window->setWindowIcon(QIcon(icon));
}
