#include "platform/ui/Skin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>

namespace {

// A picture the style sheet names by a relative path lies beside the skin
// file, wherever the program was started from.
QString withPicturesBeside(const QString& styleSheet, const QDir& folder)
{
    static const QRegularExpression reference(QStringLiteral(R"(url\(\s*(["']?)([^"')]+)\1\s*\))"));
    QString resolved;
    qsizetype copied = 0;
    QRegularExpressionMatchIterator matches = reference.globalMatch(styleSheet);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString path = match.captured(2).trimmed();
        const bool relative = !path.startsWith(QLatin1Char(':')) && QDir::isRelativePath(path)
            && QUrl(path).scheme().size() <= 1; // "c:" is no scheme
        if (!relative)
            continue;
        resolved += styleSheet.mid(copied, match.capturedStart() - copied);
        resolved += QStringLiteral("url(\"%1\")").arg(QDir::cleanPath(folder.absoluteFilePath(path)));
        copied = match.capturedEnd();
    }
    return resolved + styleSheet.mid(copied);
}

} // namespace

bool Skin::LoadSkin(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    m_styleSheet = withPicturesBeside(QString::fromUtf8(file.readAll()), QFileInfo(path).absoluteDir());
    return true;
}

void Skin::ApplySkin(QWidget* window) const
{
    if (window && !m_styleSheet.isEmpty())
        window->setStyleSheet(m_styleSheet);
}
