#include "mainwindow/windows/frmCheckForUpdates.h"

#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "mainwindow/UpdateCheck.h"
#include "platform/browser/BrowserView.h"
#include "platform/ui/DefaultInstance.h"
#include "platform/ui/WindowControls.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

void frmCheckForUpdates::showModal(const QString& productId, const QString& productVersion, QWidget* owner)
{
    frmCheckForUpdates& window = DefaultInstance<frmCheckForUpdates>::get();
    window.setParent(owner, window.windowFlags());
    window.Form_Load(QString::fromLatin1(kUpdateServerAddress), productId, productVersion);
    window.exec();
    DefaultInstance<frmCheckForUpdates>::discard(&window);
}

frmCheckForUpdates* frmCheckForUpdates::find()
{
    return DefaultInstance<frmCheckForUpdates>::find();
}

frmCheckForUpdates::frmCheckForUpdates() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmCheckForUpdates"));
    setModal(true);
    web1 = new BrowserView(this);
    web1->setObjectName(QStringLiteral("web1"));
    cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setDefault(true);
    connect(cmdExit, &QPushButton::clicked, this, &frmCheckForUpdates::cmdExit_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(web1, 1);
    layout->addLayout(buttons);
    resize(640, 480);
    // Esc closes it as it closes About and Credits, its page focused or not.
    CloseOnEscape(this);
}

void frmCheckForUpdates::Form_Load(const QString& serverAddress, const QString& productId,
                                   const QString& productVersion)
{
    // The skin, and the window icon from the icon folder.
    skinWindow(this);
    setWindowTitle(gLogin.gAppTitle);
    web1->navigate(
        QUrl(updateCheckUrl(serverAddress, gLogin.gEngineType, gLogin.gEngineVersion, productId, productVersion),
             QUrl::TolerantMode));
}

void frmCheckForUpdates::cmdExit_Click()
{
    done(QDialog::Accepted);
}
