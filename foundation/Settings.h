#pragma once

#include <QString>
#include <stdexcept>

// Raised by the settings reader: a key that is not in setup.xml (or an
// element laid out so that no value can be cut out) is an invalid argument;
// a missing setup.xml is file-not-found.
class SettingError : public std::runtime_error {
public:
    enum Code { InvalidArgument = 5, FileNotFound = 53 };
    SettingError(Code code, const QString& message, const QString& key = {})
        : std::runtime_error(message.toStdString()), m_code(code), m_message(message), m_key(key)
    {
    }
    Code code() const { return m_code; }
    QString message() const { return m_message; }
    // The setting's slash path ("SetupInfo/GeneralSettings/debug"); "" for a missing file.
    QString key() const { return m_key; }
    // For the user: the setting or the file named for what it is.
    QString inWords() const
    {
        if (m_code == FileNotFound)
            return QStringLiteral("The settings file could not be read: ") + m_message;
        return QStringLiteral("The setting %1 is missing from setup.xml or has no value.").arg(m_key);
    }

private:
    Code m_code;
    QString m_message;
    QString m_key;
};

// The value of an element of setup.xml in the program folder, addressed by a
// slash path such as "SetupInfo/GeneralSettings/debug". trimIndent is true for
// every read but the main window's mode descriptions, whose elements stand
// after exactly three indentation characters.
QString ReadSetting(const QString& key, bool& trimIndent);
QString ReadSetting(const QString& key); // trimIndent = true

// The same, from a given file.
QString ReadXmlValue(const QString& settingsFile, const QString& key, bool trimIndent);

// The text without its leading characters of code below 32.
QString TrimLeadingControlChars(const QString& text);

// The program's own settings store: QSettings in INI form, user scope,
// organisation and application "Ziduver", one group per section. Values are
// text; a stored bool is the text "True" or "False".
QString GetRegistrySetting(const QString& section, const QString& key, const QString& fallback = {});
// False when the store could not be written.
bool SaveRegistrySetting(const QString& section, const QString& key, const QString& value);
