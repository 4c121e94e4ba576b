#include "foundation/WindowTag.h"

#include <QObject>
#include <QVariant>

namespace {
constexpr const char* kTagProperty = "Tag";
}

void setWindowTag(QObject* window, const QString& tag)
{
    if (window)
        window->setProperty(kTagProperty, tag);
}

QString windowTag(const QObject* window)
{
    return window ? window->property(kTagProperty).toString() : QString();
}
