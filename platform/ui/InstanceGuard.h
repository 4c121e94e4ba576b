#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

class QLocalServer;

// Keeps a second copy of the program from running on the same program
// folder: a lock file in the folder, plus a local server name so that a copy
// whose lock file is unusable still finds the running one.
class InstanceGuard {
public:
    explicit InstanceGuard(const QString& programFolder);
    ~InstanceGuard();

    // True when another copy holds the folder. The first call takes the lock
    // for this copy when it is free.
    bool anotherInstanceRunning();

private:
    QString m_serverName;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    bool m_checked = false;
    bool m_other = false;
};
