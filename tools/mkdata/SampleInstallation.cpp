#include "tools/mkdata/SampleInstallation.h"

#include "foundation/ExamBank.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/Schema.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace sample {

QString sourceFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("ZIDUVER_SAMPLE_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(ZIDUVER_SAMPLE_DIR) : fromEnvironment;
}

} // namespace sample

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        fail(QStringLiteral("Cannot create the folder %1").arg(path));
}

void copyFile(const QString& from, const QString& to)
{
    if (!QFileInfo(from).isFile())
        fail(QStringLiteral("Sample file missing: %1").arg(from));
    if (QFileInfo::exists(to) && !QFile::remove(to))
        fail(QStringLiteral("Cannot replace %1").arg(to));
    if (!QFile::copy(from, to))
        fail(QStringLiteral("Cannot copy %1 to %2").arg(from, to));
    // Copies keep the source's permissions; the program folder must stay
    // writable even when the sample comes from a read-only tree.
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
}

// Copies the plain files of one folder (not its sub-folders).
void copyFolder(const QString& from, const QString& to)
{
    makeFolder(to);
    const QDir source(from);
    if (!source.exists())
        fail(QStringLiteral("Sample folder missing: %1").arg(from));
    const QStringList names = source.entryList(QDir::Files, QDir::Name);
    for (const QString& name : names)
        copyFile(source.filePath(name), QDir(to).filePath(name));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Cannot read %1").arg(path));
    return file.readAll();
}

// A database is built beside its final place and moved there when complete,
// so a failure never leaves a half-filled database under the real name.
template <typename Build> void buildDatabase(const QString& path, Build&& build)
{
    const QString building = path + QStringLiteral(".building");
    QFile::remove(building);
    try {
        db::Connection connection = db::Connection::create(building);
        build(connection);
        connection.close();
    } catch (...) {
        QFile::remove(building);
        throw;
    }
    if (QFileInfo::exists(path) && !QFile::remove(path))
        fail(QStringLiteral("Cannot replace %1").arg(path));
    if (!QFile::rename(building, path))
        fail(QStringLiteral("Cannot move the new database to %1").arg(path));
}

struct ExamIdentity {
    QString code;
};

ExamIdentity writeSampleExam(const QString& home)
{
    const QString source = QDir(sample::sourceFolder()).filePath(QStringLiteral("exam"));
    const QString folder = QDir(home).filePath(QStringLiteral("Data/") + QLatin1String(sample::kExamFolder));
    makeFolder(folder);
    copyFolder(QDir(source).filePath(QStringLiteral("images")), QDir(folder).filePath(QStringLiteral("images")));
    copyFolder(QDir(source).filePath(QStringLiteral("Scenario")), QDir(folder).filePath(QStringLiteral("Scenario")));
    // The exam's logo, which the main window shows beside the exam's name.
    copyFile(QDir(source).filePath(QStringLiteral("logo.jpg")), QDir(folder).filePath(QStringLiteral("logo.jpg")));

    const QString content = QString::fromUtf8(readFile(QDir(source).filePath(QStringLiteral("sample-exam.sql"))));
    ExamIdentity identity;
    buildDatabase(QDir(folder).filePath(QLatin1String(sample::kExamFile)), [&](db::Connection& exam) {
        schema::createExamDatabase(exam, schema::ExamLayout::Current);
        db::Transaction transaction(exam);
        exam.execScript(content);
        transaction.commit();
        if (const std::optional<ExamBank::ExamIdentity> row = ExamBank(exam).examIdentity())
            identity.code = row->code.toString();
    });
    if (identity.code.isEmpty())
        fail(QStringLiteral("The sample exam has no Qe_Exam row"));
    return identity;
}

// Fields the sample leaves empty are stored as empty text, not NULL.
const SystemDatabase::NewUser kAdmin{QLatin1String(sample::kAdminLogin),
                                     QLatin1String(sample::kAdminPassword),
                                     QStringLiteral("Administrator"),
                                     QString(),
                                     QString(),
                                     QStringLiteral("admin@ziduver.example"),
                                     QString(),
                                     QString(),
                                     QString(),
                                     QString(),
                                     QString()};
const SystemDatabase::NewUser kStudent{QLatin1String(sample::kUserLogin),
                                       QLatin1String(sample::kUserPassword),
                                       QStringLiteral("Sam"),
                                       QStringLiteral("J."),
                                       QStringLiteral("Student"),
                                       QStringLiteral("sam.student@ziduver.example"),
                                       QStringLiteral("12 Harbour Road"),
                                       QString(),
                                       QStringLiteral("Wellington"),
                                       QStringLiteral("6011"),
                                       QStringLiteral("+64 4 555 0142")};

void writeSystemDatabase(const QString& home, const ExamIdentity& exam)
{
    int studentCode = 0;
    buildDatabase(QDir(home).filePath(QStringLiteral("Ziduver.QZR")), [&](db::Connection& connection) {
        schema::createSystemDatabase(connection);
        db::Transaction transaction(connection);
        SystemDatabase system(connection);
        system.addUser(kAdmin);
        studentCode = system.addUser(kStudent);
        system.addRight(studentCode, exam.code, true);
        system.addRegistration(true);
        // Used only when the administrator switches to single-user mode.
        system.addDefaultUser(kStudent.login, kStudent.password);
        transaction.commit();
    });

    // The exam database keeps its own copy of each user who has a right to it.
    const QString examPath = QDir(home).filePath(
        QStringLiteral("Data/%1/%2").arg(QLatin1String(sample::kExamFolder), QLatin1String(sample::kExamFile)));
    db::Connection examDb = db::Connection::openFile(examPath);
    db::Transaction transaction(examDb);
    ExamBankWriter(examDb).addUserCopy({studentCode, kStudent.login, *kStudent.firstName,
                                        *kStudent.middleName, *kStudent.lastName, *kStudent.email, true});
    transaction.commit();
}

} // namespace

void writeStaticPageFiles(const QString& home)
{
    if (home.trimmed().isEmpty())
        fail(QStringLiteral("No program folder given"));
    makeFolder(home);
    const QDir source(sample::sourceFolder());
    for (const char* name : {"main.html", "interactive.js", "new.js"})
        copyFile(source.filePath(QLatin1String(name)), QDir(home).filePath(QLatin1String(name)));
}

void writeSampleInstallation(const QString& home)
{
    if (home.trimmed().isEmpty())
        fail(QStringLiteral("No program folder given"));
    makeFolder(home);
    const QString source = sample::sourceFolder();
    // Every plain file at the top of the sample folder belongs in the program
    // folder (settings, skin, pages, and the static scripts and pages of the
    // exam window once they are there).
    for (const char* name : {"setup.xml", "ziduver.qss", "aboutus.htm", "ZiduverHelp.htm"})
        if (!QFileInfo(QDir(source).filePath(QLatin1String(name))).isFile())
            fail(QStringLiteral("Sample file missing: %1").arg(QDir(source).filePath(QLatin1String(name))));
    copyFolder(source, home);
    writeStaticPageFiles(home);
    copyFolder(QDir(source).filePath(QStringLiteral("Icons")), QDir(home).filePath(QStringLiteral("Icons")));

    buildDatabase(QDir(home).filePath(QStringLiteral("DataSkeleton.SKL")),
                  [](db::Connection& skeleton) { schema::createExamDatabase(skeleton, schema::ExamLayout::Current); });
    const ExamIdentity exam = writeSampleExam(home);
    writeSystemDatabase(home, exam);
}
