#include "platform/browser/WrittenPage.h"

#include <QRegularExpression>

namespace written_page {

namespace {

// What QWebEnginePage::setHtml puts in front of the encoded page.
constexpr qsizetype kDataPrefix = sizeof("data:text/html;charset=UTF-8,") - 1;
// The engine's limit on URL length, less a margin.
constexpr qsizetype kUrlLimit = 2 * 1024 * 1024 - 1024;

bool unreserved(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~';
}

} // namespace

bool fitsInDataUrl(const QByteArray& utf8)
{
    qsizetype length = kDataPrefix;
    if (length + utf8.size() > kUrlLimit)
        return false;
    for (char c : utf8) {
        length += unreserved(c) ? 1 : 3;
        if (length > kUrlLimit)
            return false;
    }
    return true;
}

QByteArray fileContent(const QString& html, const QUrl& baseUrl)
{
    QString page = html;
    if (baseUrl.isValid() && !baseUrl.isEmpty()) {
        QString href = baseUrl.toString(QUrl::FullyEncoded);
        href.replace(QLatin1Char('&'), QLatin1String("&amp;")).replace(QLatin1Char('"'), QLatin1String("&quot;"));
        const QString base = QStringLiteral("<base href=\"%1\">").arg(href);
        static const QRegularExpression head(QStringLiteral("<head(\\s[^>]*)?>"),
                                             QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression doctype(QStringLiteral("^\\s*<!doctype[^>]*>"),
                                                QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch inHead = head.match(page);
        const QRegularExpressionMatch afterDoctype = doctype.match(page);
        if (inHead.hasMatch())
            page.insert(inHead.capturedEnd(), base);
        else if (afterDoctype.hasMatch())
            page.insert(afterDoctype.capturedEnd(), base);
        else
            page.prepend(base);
    }
    return QByteArray("\xEF\xBB\xBF") + page.toUtf8();
}

} // namespace written_page
