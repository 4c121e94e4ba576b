// An exam database from a stranger through the compatibility check, as
// discovery and the administration window run it: a file made from the input
// is refused or accepted, never crashes or hangs, and a refused file is left
// byte for byte as it was.
//
// An input that starts as an SQLite file is the file itself (a corrupt page,
// a strange header). Any other input is statements that change a current exam
// database (a strange column list, a generated column, a view), run one by one
// before the check; what could reach outside the file or run without end is
// left out, since the statements stand in for a file's contents only.
#include "foundation/ExamDiscovery.h"
#include "foundation/ReferenceSchema.h"
#include "foundation/SchemaCheck.h"
#include "fuzz/support/FailWith.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstddef>
#include <cstdint>

namespace {

struct Installation {
    TempHome home;
    ExamDbFixture fixture{home};
    ReferenceSchema reference = ReferenceSchema::loadFrom(fixture.referencePath());
    QByteArray currentExam = [this] {
        QFile file(fixture.createExam(QStringLiteral("template.qzr")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QString path = home.file(QStringLiteral("Data/Fuzz/fuzz.qzr"));
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Statements that change the file alone and end. A view's query is only
// stored, never run here.
bool fileOnlyStatement(const QString& statement)
{
    static const QRegularExpression outside(
        QStringLiteral("attach|vacuum|load_extension|pragma|fts|rtree|readfile|writefile|zeroblob|randomblob|printf|"
                       "format|replace|glob|like|char|hex"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression runsQuery(QStringLiteral("select|with|recursive|values|returning"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression change(QStringLiteral("^\\s*(create|alter|drop|insert|update|delete)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression view(QStringLiteral("^\\s*create\\s+(temp\\w*\\s+)?view\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (statement.size() > 2000 || !change.match(statement).hasMatch() || outside.match(statement).hasMatch())
        return false;
    return view.match(statement).hasMatch() || !runsQuery.match(statement).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Installation* installation = new Installation;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString& path = installation->path;
    static const bool folder = QDir().mkpath(QFileInfo(path).absolutePath());
    (void)folder;

    if (input.startsWith(QByteArray("SQLite format 3\0", 16))) {
        if (!writeAll(path, input))
            return 0;
    } else {
        if (!writeAll(path, installation->currentExam))
            return 0;
        try {
            db::Connection connection = db::Connection::openFile(path);
            int statements = 0;
            for (const QString& statement : QString::fromUtf8(input).split(QLatin1Char(';'))) {
                if (++statements > 16)
                    break;
                if (!fileOnlyStatement(statement))
                    continue;
                try {
                    connection.exec(statement);
                } catch (const db::DbError&) {
                }
            }
        } catch (const db::DbError&) {
            return 0;
        }
    }
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));

    const QByteArray before = readAll(path);
    gDiscovery = DiscoveryState();
    QString reason;
    const bool accepted = CompatibleDB(path, ShowEveryRefusal, installation->reference, nullptr, &reason);
    if (!accepted && readAll(path) != before)
        failWith("a refused file was written (" + reason.toStdString() + ")", input.constData(), size);
    QFile::remove(installation->home.file(QStringLiteral("debug.log")));
    return 0;
}
