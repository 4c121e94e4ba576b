#include "tests/support/TempHome.h"

#include "foundation/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempHome::TempHome() : m_previous(programFolder())
{
    setProgramFolder(m_dir.path());
}

TempHome::~TempHome()
{
    setProgramFolder(m_previous);
}

QString TempHome::file(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

void TempHome::write(const QString& name, const QByteArray& content) const
{
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(content);
}
