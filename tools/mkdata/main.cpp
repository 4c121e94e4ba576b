#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "tools/mkdata/ExamGenerator.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <exception>

namespace {

const char* const kUsage = "usage: ziduver-mkdata --home DIR [--force]\n"
                           "       ziduver-mkdata --static-files --home DIR\n"
                           "       ziduver-mkdata --generate-exam N --out FILE [--seed S]\n"
                           "\n"
                           "  --home DIR          write the sample installation into DIR: setup.xml, skin, icons,\n"
                           "                      pages, Ziduver.QZR, DataSkeleton.SKL and the sample exam in\n"
                           "                      Data/LinuxAdmin. An existing installation is left alone\n"
                           "                      unless --force is given.\n"
                           "  --static-files      with --home DIR: only copy the exam window's static pages and\n"
                           "                      scripts (main.html, interactive.js, new.js) into DIR, replacing\n"
                           "                      older copies; databases and settings are left alone.\n"
                           "  --generate-exam N   write a synthetic exam database of N questions to FILE\n"
                           "                      (never over an existing file); --seed picks the bank (default 1).\n"
                           "  --help              show this text.\n";

int usageError(const QString& message)
{
    std::fprintf(stderr, "ziduver-mkdata: %s\n%s", qPrintable(message), kUsage);
    return 2;
}

int failure(const QString& message)
{
    std::fprintf(stderr, "ziduver-mkdata: %s\n", qPrintable(message));
    return 1;
}

// The value after an option, or an empty string when the option is absent.
// A missing value is reported through ok.
QString optionValue(const QStringList& args, const QString& option, bool& ok)
{
    const int at = int(args.indexOf(option));
    if (at < 0)
        return QString();
    if (at + 1 >= args.size() || args[at + 1].startsWith(QLatin1String("--"))) {
        ok = false;
        return QString();
    }
    return args[at + 1];
}

int writeHome(const QString& home, bool force)
{
    if (QFileInfo::exists(QDir(home).filePath(QStringLiteral("Ziduver.QZR"))) && !force)
        return failure(QStringLiteral("%1 already holds a Ziduver installation (Ziduver.QZR); use --force to "
                                      "overwrite it")
                           .arg(QDir::toNativeSeparators(home)));
    writeSampleInstallation(home);
    std::printf("Sample installation written to %s\n", qPrintable(QDir::toNativeSeparators(home)));
    return 0;
}

int writeStaticFiles(const QString& home)
{
    writeStaticPageFiles(home);
    std::printf("Static pages and scripts written to %s\n", qPrintable(QDir::toNativeSeparators(home)));
    return 0;
}

int writeSyntheticExam(const QString& countText, const QString& out, const QString& seedText)
{
    bool ok = false;
    const int count = countText.toInt(&ok);
    if (!ok || count < 1)
        return usageError(
            QStringLiteral("--generate-exam needs a positive number of questions, not '%1'").arg(countText));
    unsigned seed = 1;
    if (!seedText.isEmpty()) {
        seed = seedText.toUInt(&ok);
        if (!ok)
            return usageError(QStringLiteral("--seed needs a non-negative number, not '%1'").arg(seedText));
    }
    if (out.isEmpty())
        return usageError(QStringLiteral("--generate-exam needs --out FILE"));
    if (QFileInfo::exists(out))
        return failure(QStringLiteral("%1 exists already; choose another file").arg(QDir::toNativeSeparators(out)));
    const QString folder = QFileInfo(out).absolutePath();
    if (!QDir().mkpath(folder))
        return failure(QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    try {
        db::Connection exam = db::Connection::create(out);
        schema::createExamDatabase(exam, schema::ExamLayout::Current);
        generateExam(exam, count, seed);
    } catch (...) {
        QFile::remove(out);
        throw;
    }
    std::printf("Synthetic exam of %d questions written to %s\n", count, qPrintable(QDir::toNativeSeparators(out)));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usageError(QStringLiteral("nothing to do"));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::printf("%s", kUsage);
        return 0;
    }
    static const QStringList known = {QStringLiteral("--home"),          QStringLiteral("--force"),
                                      QStringLiteral("--generate-exam"), QStringLiteral("--out"),
                                      QStringLiteral("--seed"),          QStringLiteral("--static-files")};
    for (int i = 0; i < args.size(); ++i) {
        if (!known.contains(args[i]))
            return usageError(QStringLiteral("unknown argument '%1'").arg(args[i]));
        if (args[i] != QLatin1String("--force") && args[i] != QLatin1String("--static-files"))
            ++i; // skip the option's value
    }

    bool ok = true;
    const QString home = optionValue(args, QStringLiteral("--home"), ok);
    const QString count = optionValue(args, QStringLiteral("--generate-exam"), ok);
    const QString out = optionValue(args, QStringLiteral("--out"), ok);
    const QString seed = optionValue(args, QStringLiteral("--seed"), ok);
    if (!ok)
        return usageError(QStringLiteral("an option is missing its value"));
    if (home.isEmpty() == count.isEmpty())
        return usageError(QStringLiteral("give either --home DIR or --generate-exam N --out FILE"));
    const bool staticFiles = args.contains(QStringLiteral("--static-files"));
    if (staticFiles && (home.isEmpty() || args.contains(QStringLiteral("--force"))))
        return usageError(QStringLiteral("--static-files goes with --home DIR alone"));

    try {
        if (home.isEmpty())
            return writeSyntheticExam(count, out, seed);
        return staticFiles ? writeStaticFiles(home) : writeHome(home, args.contains(QStringLiteral("--force")));
    } catch (const db::DbError& error) {
        return failure(error.message());
    } catch (const std::exception& error) {
        return failure(QString::fromLocal8Bit(error.what()));
    }
}
