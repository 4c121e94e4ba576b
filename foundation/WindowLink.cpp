#include "foundation/WindowLink.h"

QString windowComesLaterText(const QString& window)
{
    return window + QStringLiteral(" comes with a later version.");
}
