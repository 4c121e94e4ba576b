#include "tests/support/TempSettings.h"

#include <QFile>
#include <QSettings>

TempSettings::TempSettings()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

TempSettings::~TempSettings()
{
    // Away from the folder that is about to go: a store written afterwards
    // lands in a folder of its own again, never the user's.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path() + QStringLiteral("-gone"));
}

QString TempSettings::fileText() const
{
    QFile file(m_dir.filePath(QStringLiteral("Ziduver/Ziduver.ini")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
