// A database path through the connection string every part of the program
// builds and the database layer's reading of it: the same path comes back,
// whatever characters it holds.
#include "foundation/ConnectionString.h"
#include "fuzz/support/FailWith.h"
#include "platform/db/Connection.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    // The first line is the path, the rest the password.
    const QByteArray input(bytes, qsizetype(size));
    const qsizetype newline = input.indexOf('\n');
    const QString path = QString::fromUtf8(input.left(newline));
    const QString password = newline < 0 ? QString() : QString::fromUtf8(input.mid(newline + 1));
    // A file's path on this system is any text without NUL.
    if (path.isEmpty() || path.contains(QChar(0)))
        return 0;
    for (const QString& text : {connectionString(path, password), checkConnectionString(path, password)}) {
        const QString back = db::Connection::pathFromConnectionString(text);
        if (back != path)
            failWith("the path came back as \"" + back.toStdString() + "\" from " + text.toStdString(), bytes, size);
    }
    return 0;
}
