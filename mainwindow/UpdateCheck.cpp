#include "mainwindow/UpdateCheck.h"

#include "foundation/TextRules.h"

#include <QUrl>

namespace {
QString encoded(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}
} // namespace

QString updateCheckUrl(const QString& serverAddress, const QString& engineType, const QString& engineVersion,
                       const QString& productId, const QString& productVersion)
{
    return serverAddress + QStringLiteral("checkversion.php") + QStringLiteral("?enginetype=")
        + encoded(trimBlanks(engineType)) + QStringLiteral("&engineversion=") + encoded(engineVersion)
        + QStringLiteral("&productid=") + encoded(productId) + QStringLiteral("&productversion=")
        + encoded(productVersion);
}
