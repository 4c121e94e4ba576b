#include "admin/AdminTexts.h"

#include "platform/db/DbError.h"

QString describeError(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromUtf8(error.what());
}
