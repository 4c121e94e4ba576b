#include "platform/pages/UnreachablePage.h"

QString unreachablePage(const QString& address, const QString& reason)
{
    QString page = QStringLiteral("<html><head><title>Not available</title></head>"
                                  "<body style=\"font-family: sans-serif; margin: 24px\">"
                                  "<h3>This page could not be reached</h3><p>%1</p>")
                       .arg(address.toHtmlEscaped());
    if (!reason.trimmed().isEmpty())
        page += QStringLiteral("<p style=\"color: #555\">%1</p>").arg(reason.trimmed().toHtmlEscaped());
    return page + QStringLiteral("</body></html>");
}
