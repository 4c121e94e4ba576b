#include "platform/ui/Skin.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

bool Skin::LoadSkin(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    m_styleSheet = QString::fromUtf8(file.readAll());
    return true;
}

void Skin::ApplySkin(QWidget* window) const
{
    if (window && !m_styleSheet.isEmpty())
        window->setStyleSheet(m_styleSheet);
}
