#pragma once

#include <QString>
#include <QTemporaryDir>

// Points the program's settings store (QSettings, INI, user scope) at a
// folder of its own while the object lives, so a test never reads or writes
// the settings of the user who runs it.
class TempSettings {
public:
    TempSettings();
    ~TempSettings();
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    // The settings file's text; "" before anything was stored.
    QString fileText() const;

private:
    QTemporaryDir m_dir;
};
