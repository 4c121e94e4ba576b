#include "exam/windows/frmLoading.h"

#include "foundation/windows/WidgetSkinning.h"

#include <QLabel>
#include <QVBoxLayout>

frmLoading::frmLoading() : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmLoading"));
    auto* label = new QLabel(QStringLiteral("Loading questions, please wait..."), this);
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(label);
    skinWindow(this);
    adjustSize();
}
