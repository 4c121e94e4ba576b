#include "foundation/windows/frmDbMessage.h"

#include "foundation/ProgramFolder.h"
#include "foundation/windows/WidgetSkinning.h"

#include "platform/browser/BrowserView.h"
#include <QHBoxLayout>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

frmDbMessage::frmDbMessage(const QString& page, QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmDbMessage"));
    setWindowTitle(QString());
    resize(520, 300);

    www1 = new BrowserView(this);
    www1->setObjectName(QStringLiteral("www1"));
    www1->setContextMenuBlocked(true);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(www1, 1);
    layout->addLayout(buttons);

    skinWindow(this);
    www1->writeHtml(page, QUrl::fromLocalFile(programFolder() + QLatin1Char('/')));
}
