#include "foundation/Settings.h"

#include "foundation/ProgramFolder.h"

#include <QFile>
#include <QSettings>
#include <QStringList>

namespace {

QStringList readLines(const QString& file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        throw SettingError(SettingError::FileNotFound, QStringLiteral("File not found: %1").arg(file));
    QString content = QString::fromUtf8(input.readAll());
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);
    QStringList lines = content.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    // A file saved with Windows line ends reads like a Unix one.
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

// Leading characters of the first collected line that stand before the
// opening tag.
QString indentationOf(const QString& text)
{
    int i = 0;
    while (i < text.size() && text[i].unicode() <= 32)
        ++i;
    return text.left(i);
}

} // namespace

QString TrimLeadingControlChars(const QString& text)
{
    int i = 0;
    while (i < text.size() && text[i].unicode() < 32)
        ++i;
    return text.mid(i);
}

QString ReadXmlValue(const QString& settingsFile, const QString& key, bool trimIndent)
{
    const QStringList parts = key.split(QLatin1Char('/'));
    if (parts.size() < 2)
        return QString();

    int index = 0;
    const int lastIndex = int(parts.size()) - 1;
    QString currentTag = parts[0];
    bool found = false;
    QString collected;

    const QStringList lines = readLines(settingsFile);
    for (const QString& line : lines) {
        const QString probe = line.trimmed().toUpper();
        const QString tag = currentTag.trimmed().toUpper();
        if (probe.contains(QLatin1Char('<') + tag + QLatin1Char('>'))) {
            if (index < lastIndex)
                currentTag = parts[++index];
            else
                found = true;
        }
        if (found)
            collected += line + QStringLiteral("\r\n");
        if (probe.contains(QStringLiteral("</") + currentTag.trimmed().toUpper() + QLatin1Char('>')))
            break;
    }

    const int openingTagLength = int(currentTag.size()) + 2;
    int start;
    int length;
    const QString indentation = indentationOf(collected);
    if (indentation.contains(QLatin1Char(' '))) {
        // Indented with blanks: the value is cut out after the whole
        // indentation rather than a fixed number of characters.
        collected.remove(0, indentation.size());
        start = openingTagLength;
        length = int(collected.size()) - 2 * openingTagLength - 3;
    } else if (trimIndent) {
        collected = TrimLeadingControlChars(collected);
        start = openingTagLength;
        length = int(collected.size()) - 2 * openingTagLength - 3;
    } else {
        start = openingTagLength + 3;
        length = int(collected.size()) - 2 * openingTagLength - 6;
    }
    if (length < 0 || !found)
        throw SettingError(SettingError::InvalidArgument,
                           QStringLiteral("Invalid procedure call or argument (setting %1)").arg(key), key);
    return collected.mid(start, length);
}

QString ReadSetting(const QString& key, bool& trimIndent)
{
    const QString path = key;
    return ReadXmlValue(programFile(QStringLiteral("setup.xml")), path, trimIndent);
}

QString ReadSetting(const QString& key)
{
    bool trimIndent = true;
    return ReadSetting(key, trimIndent);
}

namespace {

QString registryKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

QSettings programStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ziduver"), QStringLiteral("Ziduver"));
}

} // namespace

QString GetRegistrySetting(const QString& section, const QString& key, const QString& fallback)
{
    const QSettings store = programStore();
    return store.value(registryKey(section, key), fallback).toString();
}

bool SaveRegistrySetting(const QString& section, const QString& key, const QString& value)
{
    QSettings store = programStore();
    store.setValue(registryKey(section, key), value);
    store.sync();
    return store.status() == QSettings::NoError;
}
