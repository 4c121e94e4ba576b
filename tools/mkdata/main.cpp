#include "foundation/Schema.h"
#include "platform/db/Connection.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = args.indexOf(QStringLiteral("--home"));
    if (at < 0 || at + 1 >= args.size()) {
        std::fprintf(stderr, "usage: ziduver-mkdata --home DIR\n");
        return 2;
    }
    QDir().mkpath(args[at + 1]);
    auto system = db::Connection::create(QDir(args[at + 1]).filePath(QStringLiteral("Ziduver.QZR")));
    schema::createSystemDatabase(system);
    return 0;
}
