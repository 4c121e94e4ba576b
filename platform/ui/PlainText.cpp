#include "platform/ui/PlainText.h"

#include <QRegularExpression>

QString plainTip(const QString& text)
{
    if (text.isEmpty())
        return text;
    // One paragraph of rich text that holds the text escaped: it reads as
    // written, spaces and line breaks kept, and nothing in it loads or links.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return QStringLiteral("<p style=\"white-space:pre-wrap\">")
        + text.toHtmlEscaped().replace(lineBreak, QStringLiteral("<br>")) + QStringLiteral("</p>");
}
