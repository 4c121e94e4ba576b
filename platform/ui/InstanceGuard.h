#pragma once

#include <QString>

// Keeps a second copy of the program from running on the same program
// folder, on this machine, for this user. The guard is a lock held on a file
// in the user's runtime folder, named after the folder's canonical path: the
// system drops it when the copy that holds it ends, a copied program folder
// carries nothing of it, and the machines that share a folder each have
// their own.
class InstanceGuard {
public:
    explicit InstanceGuard(const QString& programFolder);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when another copy holds the folder. The first call takes the lock
    // for this copy when it is free; when the runtime folder cannot hold the
    // lock at all the program runs unguarded rather than not at all.
    bool anotherInstanceRunning();

    // True when a running copy holds the folder; takes nothing.
    static bool heldByARunningCopy(const QString& programFolder);
    // The lock file for a program folder.
    static QString lockPath(const QString& programFolder);

private:
    QString m_path;
    int m_fd = -1;
    bool m_checked = false;
    bool m_other = false;
};
