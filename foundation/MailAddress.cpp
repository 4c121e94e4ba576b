#include "foundation/MailAddress.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

QString decoded(const QString& encoded)
{
    return QUrl::fromPercentEncoding(encoded.toUtf8());
}

bool hasControl(const QString& text, bool lineBreaksAllowed)
{
    for (const QChar c : text) {
        const bool lineBreak = c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t');
        if ((c.unicode() < 0x20 || c.unicode() == 0x7F) && !(lineBreaksAllowed && lineBreak))
            return true;
    }
    return false;
}

// Text that a mail program decoding once more would read as a further
// field: a separator, or an escape left after decoding.
bool hidesField(const QString& text)
{
    static const QRegularExpression escape(QStringLiteral("%[0-9A-Fa-f]{2}"));
    return text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('&')) || escape.match(text).hasMatch();
}

// Addresses, comma-separated; none may carry a header separator.
bool isPlainAddressList(const QString& addresses)
{
    static const QString separators = QStringLiteral("?;&=#%");
    for (const QChar c : addresses)
        if (separators.contains(c))
            return false;
    return !hasControl(addresses, false);
}

} // namespace

QUrl plainMailAddress(const QUrl& mailto)
{
    if (mailto.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) != 0 || !mailto.authority().isEmpty()
        || mailto.hasFragment())
        return QUrl();
    const QString addresses = decoded(mailto.path(QUrl::FullyEncoded));
    if (!isPlainAddressList(addresses))
        return QUrl();
    QString rebuilt = QStringLiteral("mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(addresses, "@,+"));

    static const QStringList textFields = {QStringLiteral("to"), QStringLiteral("cc"), QStringLiteral("bcc"),
                                           QStringLiteral("subject"), QStringLiteral("body")};
    QStringList fields;
    const QString query = mailto.query(QUrl::FullyEncoded);
    if (query.contains(QLatin1Char(';')))
        return QUrl();
    for (const QString& item : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        const QString key = decoded(item.left(equals)).toLower();
        const QString value = equals < 0 ? QString() : decoded(item.mid(equals + 1));
        if (!textFields.contains(key) || hidesField(value))
            return QUrl();
        const bool addressField =
            key == QLatin1String("to") || key == QLatin1String("cc") || key == QLatin1String("bcc");
        if (addressField ? !isPlainAddressList(value) : hasControl(value, key == QLatin1String("body")))
            return QUrl();
        fields << key + QLatin1Char('=')
                + QString::fromLatin1(QUrl::toPercentEncoding(value, addressField ? "@,+" : ""));
    }
    if (!fields.isEmpty())
        rebuilt += QLatin1Char('?') + fields.join(QLatin1Char('&'));
    return QUrl(rebuilt, QUrl::StrictMode);
}
