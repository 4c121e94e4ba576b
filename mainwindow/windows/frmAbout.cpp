#include "mainwindow/windows/frmAbout.h"

#include "foundation/DebugLog.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/browser/BrowserView.h"
#include "platform/pages/FileLookup.h"
#include "platform/ui/DefaultInstance.h"
#include "platform/ui/WindowControls.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
void debugLine(const char* text)
{
    if (gStartup.gDebug == 1)
        WriteLog(QString::fromLatin1(text) + logDate());
}
} // namespace

void frmAbout::showModal()
{
    frmAbout& window = DefaultInstance<frmAbout>::get();
    window.Form_Load();
    window.exec();
    DefaultInstance<frmAbout>::discard(&window);
}

frmAbout* frmAbout::find()
{
    return DefaultInstance<frmAbout>::find();
}

frmAbout::frmAbout() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    www1 = new BrowserView(this);
    www1->setObjectName(QStringLiteral("www1"));
    www1->setContextMenuBlocked(true);
    image1 = new QPushButton(QStringLiteral("&Close"), this);
    image1->setObjectName(QStringLiteral("image1"));
    image1->setDefault(true);
    connect(image1, &QPushButton::clicked, this, &frmAbout::image1_Click);
    CloseOnEscape(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(image1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(www1, 1);
    layout->addLayout(buttons);
}

void frmAbout::Form_Load()
{
    debugLine("Entering Form load:frmAbout");
    skinWindow(this);
    debugLine("Form Skinned Loading aboutus.html :Form_load:frmAbout");
    // The page found in any case; a missing one is asked for by its own name
    // so that the browser shows its error page.
    QString page = findFileIgnoringCase(programFolder(), QStringLiteral("aboutus.htm"));
    if (page.isEmpty())
        page = QDir(programFolder()).filePath(QStringLiteral("aboutus.htm"));
    www1->navigate(QUrl::fromLocalFile(page));
    setFixedSize(600, 460);
    setWindowTitle(gLogin.gAppName);
    debugLine("About us form loaded..:");
}

void frmAbout::image1_Click()
{
    debugLine("About us form unloaded..:");
    done(QDialog::Accepted);
}
