#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFileInfo>

namespace page_address {

QString scheme()
{
    return QStringLiteral("ziduver");
}

QString host()
{
    return QStringLiteral("files");
}

QUrl forFile(const QString& localPath)
{
    QString path = QDir::cleanPath(QFileInfo(localPath).absoluteFilePath());
    // A folder keeps its closing "/", so relative references resolve inside it.
    if ((localPath.endsWith(QLatin1Char('/')) || localPath.endsWith(QLatin1Char('\\')))
        && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    QUrl url;
    url.setScheme(scheme());
    url.setHost(host());
    url.setPath(path);
    return url;
}

namespace {

// The address with the query and fragment of the URL it stands for.
QUrl withQueryAndFragment(QUrl address, const QUrl& from)
{
    if (from.hasQuery())
        address.setQuery(from.query(QUrl::FullyEncoded), QUrl::StrictMode);
    if (from.hasFragment())
        address.setFragment(from.fragment(QUrl::FullyEncoded), QUrl::StrictMode);
    return address;
}

} // namespace

QUrl fromUrl(const QUrl& url)
{
    if (!url.isLocalFile())
        return url;
    return withQueryAndFragment(forFile(url.toLocalFile()), url);
}

QUrl toFileUrl(const QUrl& url)
{
    const QString local = localPath(url);
    if (local.isEmpty())
        return url;
    const bool folder = url.path().endsWith(QLatin1Char('/')) && !local.endsWith(QLatin1Char('/'));
    return withQueryAndFragment(QUrl::fromLocalFile(folder ? local + QLatin1Char('/') : local), url);
}

bool isPageAddress(const QUrl& url)
{
    return url.scheme().compare(scheme(), Qt::CaseInsensitive) == 0
        && url.host().compare(host(), Qt::CaseInsensitive) == 0;
}

QString localPath(const QUrl& url)
{
    if (!isPageAddress(url))
        return QString();
    const QString path = url.path(QUrl::FullyDecoded);
    if (!path.startsWith(QLatin1Char('/')))
        return QString();
    return QDir::cleanPath(path);
}

} // namespace page_address
