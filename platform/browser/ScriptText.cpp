#include "platform/browser/ScriptText.h"

#include <QJsonArray>
#include <QJsonDocument>

QString jsStringLiteral(const QString& text)
{
    // A one-element JSON array, less its brackets.
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}
