#include "platform/ui/InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

InstanceGuard::InstanceGuard(const QString& programFolder)
    : m_serverName(QStringLiteral("ziduver-")
                   + QString::fromLatin1(
                       QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1)
                           .toHex()
                           .left(16))),
      m_lock(QDir(programFolder).filePath(QStringLiteral(".ziduver.lock")))
{
    m_lock.setStaleLockTime(0);
}

InstanceGuard::~InstanceGuard() = default;

bool InstanceGuard::anotherInstanceRunning()
{
    if (m_checked)
        return m_other;
    m_checked = true;

    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    if (probe.waitForConnected(200)) {
        m_other = true;
        return true;
    }
    // A lock file that cannot be written (read-only folder) does not stop the
    // program; the local server still guards it.
    if (!m_lock.tryLock(0) && m_lock.error() == QLockFile::LockFailedError) {
        m_other = true;
        return true;
    }
    QLocalServer::removeServer(m_serverName);
    m_server = std::make_unique<QLocalServer>();
    m_server->listen(m_serverName);
    return false;
}
