#include "platform/pages/ServedFiles.h"

#include "platform/pages/FileLookup.h"
#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

struct Kind {
    const char* suffix;
    const char* contentType;
};

constexpr Kind kServedKinds[] = {
    {"html", "text/html"}, {"htm", "text/html"},    {"js", "text/javascript"}, {"css", "text/css"},
    {"gif", "image/gif"},  {"jpg", "image/jpeg"},   {"jpeg", "image/jpeg"},    {"png", "image/png"},
    {"bmp", "image/bmp"},  {"ico", "image/x-icon"},
};

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

ServedFiles& servedPageFiles()
{
    static ServedFiles files;
    return files;
}

void ServedFiles::addFolder(const QString& folder)
{
    // Pages are written with the same folders again and again: a folder
    // known by the name given costs no look-up on the disk.
    const QString given = withSlash(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    for (const Folder& known : m_folders)
        if (known.given == given)
            return;
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || !QFileInfo(canonical).isDir())
        return;
    m_folders.push_back({given, withSlash(canonical)});
}

QByteArray ServedFiles::contentType(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const Kind& kind : kServedKinds)
        if (suffix.compare(QLatin1String(kind.suffix), Qt::CaseInsensitive) == 0)
            return kind.contentType;
    return QByteArray();
}

bool ServedFiles::isServedKind(const QString& path)
{
    return !contentType(path).isEmpty();
}

QString ServedFiles::fileFor(const QUrl& address) const
{
    const QString asked = page_address::localPath(address);
    if (asked.isEmpty() || !isServedKind(asked))
        return QString();
    for (const Folder& folder : m_folders) {
        QString relative;
        if (asked.startsWith(folder.given))
            relative = asked.mid(folder.given.size());
        else if (asked.startsWith(folder.canonical))
            relative = asked.mid(folder.canonical.size());
        else
            continue;
        const QString found = findFileIgnoringCase(folder.canonical, relative);
        if (found.isEmpty())
            continue;
        // A symbolic link inside the folder must not lead out of it.
        const QString real = QFileInfo(found).canonicalFilePath();
        if (!real.isEmpty() && real.startsWith(folder.canonical) && isServedKind(real) && QFileInfo(real).isFile())
            return real;
    }
    return QString();
}

QString pagePolicyHead()
{
    return QStringLiteral(
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'self' 'unsafe-inline' 'unsafe-eval' "
        "data:; connect-src 'none'; object-src 'none'; worker-src 'none'; manifest-src 'none'; form-action 'none'; "
        "base-uri 'self'\"><meta http-equiv=\"x-dns-prefetch-control\" content=\"off\">");
}

QByteArray withPagePolicy(const QByteArray& html)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    qsizetype at = html.startsWith(bom) ? bom.size() : 0;
    // A doctype must stay first, or the page falls back to quirks mode.
    static const QRegularExpression doctype(QStringLiteral("^\\s*<!doctype[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString start = QString::fromLatin1(html.mid(at, 512));
    const QRegularExpressionMatch match = doctype.match(start);
    if (match.hasMatch())
        at += match.capturedEnd();
    QByteArray page = html;
    page.insert(at, pagePolicyHead().toUtf8());
    return page;
}
