#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder and an exam folder beside a folder outside both, laid
// down once per fuzz run: a few documents and pictures inside, a program, and
// symbolic links that lead out.
class FuzzFolders {
public:
    FuzzFolders();
    // Canonical paths.
    QString program() const { return m_program; }
    QString exam() const { return m_exam; }
    QString outside() const { return m_outside; }

private:
    QTemporaryDir m_root;
    QString m_program;
    QString m_exam;
    QString m_outside;
};

// The one set of folders of this fuzz run.
const FuzzFolders& fuzzFolders();
