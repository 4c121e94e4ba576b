#include "tests/support/TempHome.h"

#include "foundation/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempHome::TempHome() : m_previous(programFolder())
{
    setProgramFolder(m_dir.path());
}

TempHome::TempHome(const QString& namePrefix)
    : m_dir(QDir(QDir::tempPath()).filePath(namePrefix + QStringLiteral("XXXXXX"))), m_previous(programFolder())
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

void TempHome::copySample(const QString& sampleName, const QString& name) const
{
    QFile in(QDir(QStringLiteral(ZIDUVER_SAMPLE_DIR)).filePath(sampleName));
    if (in.open(QIODevice::ReadOnly))
        write(name, in.readAll());
}

void TempHome::copyLook() const
{
    copySample(QStringLiteral("ziduver.qss"), QStringLiteral("Skin/Ziduver.qss"));
    copySample(QStringLiteral("checkmark.png"), QStringLiteral("Skin/checkmark.png"));
    for (const char* icon : {"icon1.ico", "LoginBgMultUser.jpg", "LoginBgSglUser.jpg"})
        copySample(QStringLiteral("Icons/") + QLatin1String(icon), QStringLiteral("Icons/") + QLatin1String(icon));
}
