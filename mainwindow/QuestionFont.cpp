#include "mainwindow/QuestionFont.h"

#include "foundation/Settings.h"
#include "mainwindow/MainWindowShared.h"

#include <QRegularExpression>
#include <QSet>

namespace {

QString section()
{
    return QString::fromLatin1(kFontSection);
}

QString stored(const char* key)
{
    return GetRegistrySetting(section(), QString::fromLatin1(key));
}

QString flagText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool flagValue(const QString& text)
{
    return text.trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

} // namespace

QuestionFont questionFontAtLoad(const QString& defaultFace)
{
    QuestionFont font;
    font.face = defaultFace;
    font.size = 10.0;
    if (const QString face = stored("FontName"); !face.trimmed().isEmpty())
        font.face = face;
    if (const double size = fontSizeValue(stored("FontSize")); size > 0)
        font.size = size;
    font.bold = flagValue(stored("FontBold"));
    font.italic = flagValue(stored("FontItalic"));
    return font;
}

void applyStoredQuestionFont()
{
    const QuestionFont font = questionFontAtLoad(gMain.gFontFace);
    gMain.gFontFace = font.face;
    gMain.gFontSize = font.size;
    gMain.gFontBold = font.bold;
    gMain.gFontItalic = font.italic;
}

bool SetFontsSettings2Registry(const QString& face, const QString& sizeText, bool bold, bool italic)
{
    gMain.gFontFace = face;
    gMain.gFontSize = fontSizeValue(sizeText);
    gMain.gFontItalic = italic;
    gMain.gFontBold = bold;
    bool written = SaveRegistrySetting(section(), QStringLiteral("FontName"), face);
    written = SaveRegistrySetting(section(), QStringLiteral("FontSize"), sizeText) && written;
    written = SaveRegistrySetting(section(), QStringLiteral("FontItalic"), flagText(italic)) && written;
    written = SaveRegistrySetting(section(), QStringLiteral("FontBold"), flagText(bold)) && written;
    return written;
}

QString fontSizeText(double size)
{
    return QString::number(size, 'g', 6);
}

double fontSizeValue(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0.0;
}

QStringList fontFamilyNames(const QStringList& platformFamilies)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]\\s*$"));
    QStringList names;
    QSet<QString> seen;
    for (QString family : platformFamilies) {
        family.remove(foundry);
        family = family.trimmed();
        if (family.isEmpty() || seen.contains(family))
            continue;
        seen.insert(family);
        names << family;
    }
    return names;
}

QStringList fontSizeNames(const QList<int>& standardSizes)
{
    QStringList names;
    for (const int size : standardSizes)
        if (size > 0 && !names.contains(QString::number(size)))
            names << QString::number(size);
    return names;
}
