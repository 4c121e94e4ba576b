#include "exam/QuestionDisplay.h"

#include "platform/pages/FileLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

QString questionErrorPage(const QString& reason, const QString& fontName, int fontSize)
{
    const QString family = fontName.isEmpty() ? QStringLiteral("Verdana") : fontName;
    return QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body topmargin=0>"
                          "<p style=\"font-family: %1; font-size:%2px; color: #8b1a1a\">"
                          "This question cannot be shown.</p>"
                          "<p style=\"font-family: %1; font-size:%2px\">%3</p></body></html>")
        .arg(family.toHtmlEscaped())
        .arg(fontSize + 2)
        .arg(reason.toHtmlEscaped());
}

QString examFolder(const QString& examDbPath)
{
    QString path = examDbPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(path).absolutePath();
}

QString scenarioFilePath(const QString& examDbPath, const QString& storedPath)
{
    QString relative = storedPath.trimmed();
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString folder = examFolder(examDbPath);
    const QString found = findFileIgnoringCase(folder, QStringLiteral("Scenario/") + relative);
    if (!found.isEmpty())
        return found;
    // A stored name never reaches outside the scenario folder.
    QStringList parts;
    for (const QString& part : relative.split(QLatin1Char('/')))
        if (!part.isEmpty() && part != QLatin1String(".") && part != QLatin1String(".."))
            parts << part;
    return QDir(folder).filePath(QStringLiteral("Scenario/") + parts.join(QLatin1Char('/')));
}

bool scenarioStaysInExamFolder(const QString& examDbPath, const QString& scenarioPath)
{
    if (QFileInfo(scenarioPath).canonicalFilePath().isEmpty())
        return true; // a missing page shows as missing
    return realPathInside(scenarioPath, examFolder(examDbPath));
}
