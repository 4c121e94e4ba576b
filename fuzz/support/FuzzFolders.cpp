#include "fuzz/support/FuzzFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void write(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QByteArray gifHeader()
{
    QByteArray b("GIF89a");
    b.append("\x10\x00\x08\x00\xF7\x00\x00", 7);
    return b;
}

} // namespace

FuzzFolders::FuzzFolders()
{
    const QString root = QFileInfo(m_root.path()).canonicalFilePath();
    m_program = root + QStringLiteral("/program");
    m_exam = root + QStringLiteral("/program/Data/Exam");
    m_outside = root + QStringLiteral("/outside");
    write(m_outside + QStringLiteral("/secret.png"), gifHeader());
    write(m_outside + QStringLiteral("/notes.htm"), "<p>outside</p>");
    write(m_program + QStringLiteral("/help.htm"), "<p>help</p>");
    write(m_program + QStringLiteral("/run.sh"), "#!/bin/sh\necho ran\n", true);
    write(m_program + QStringLiteral("/Doc.PDF"), "%PDF-1.4\n");
    write(m_exam + QStringLiteral("/images/pic.gif"), gifHeader());
    write(m_exam + QStringLiteral("/images/Mixed Case.PNG"), gifHeader());
    write(m_exam + QStringLiteral("/images/cut.png"), "\x89PN");
    write(m_exam + QStringLiteral("/guide.txt"), "a guide");
    write(m_exam + QStringLiteral("/tool.exe"), "MZ\x90");
    write(m_exam + QStringLiteral("/page.htm"), "#!/bin/sh\n");
    QFile::link(m_outside + QStringLiteral("/secret.png"), m_exam + QStringLiteral("/images/out.png"));
    QFile::link(m_outside + QStringLiteral("/notes.htm"), m_exam + QStringLiteral("/notes.htm"));
    QFile::link(m_outside, m_exam + QStringLiteral("/images/away"));
}

const FuzzFolders& fuzzFolders()
{
    static const FuzzFolders folders;
    return folders;
}
