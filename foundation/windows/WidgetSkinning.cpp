#include "foundation/windows/WidgetSkinning.h"

#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "platform/ui/Skin.h"

#include <QFileInfo>
#include <QIcon>
#include <QWidget>

QStringList skinWindow(QWidget* window)
{
    QStringList missing;
    Skin skin;
    const QString skinFile = programFile(gStartup.gSkinFile);
    if (!gStartup.gSkinFile.isEmpty() && skin.LoadSkin(skinFile))
        skin.ApplySkin(window);
    else
        missing << skinFile;
    const QString icon = programFile(gLogin.gIconPath + QStringLiteral("/icon1.ico"));
    if (!gLogin.gIconPath.isEmpty() && QFileInfo::exists(icon))
        window->setWindowIcon(QIcon(icon));
    else
        missing << icon;
    return missing;
}
