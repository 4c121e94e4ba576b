#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder of its own for one test: set as the program folder while
// the object lives, removed afterwards.
class TempHome {
public:
    TempHome();
    // A folder whose name starts with `namePrefix` (any characters).
    explicit TempHome(const QString& namePrefix);
    ~TempHome();

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const;
    // Writes a text file below the folder (folders are created).
    void write(const QString& name, const QByteArray& content) const;
    // Copies a file of the sample installation (below sample/) to a name
    // below the folder.
    void copySample(const QString& sampleName, const QString& name) const;
    // The skin, icon and login pictures that the test setup.xml names.
    void copyLook() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
