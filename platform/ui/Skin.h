#pragma once

#include <QString>

class QWidget;

// The skin of a window: a Qt style sheet file named in setup.xml. LoadSkin
// reads it (pictures it names by a relative url() are the files beside it);
// ApplySkin gives a window (and its children) the look.
class Skin {
public:
    // False when the file cannot be read; the window keeps its plain look.
    bool LoadSkin(const QString& path);
    void ApplySkin(QWidget* window) const;
    QString styleSheet() const { return m_styleSheet; }

private:
    QString m_styleSheet;
};
