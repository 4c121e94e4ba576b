#include "tools/mkdata/SampleInstallation.h"

#include "foundation/Schema.h"
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
template <typename Build>
void buildDatabase(const QString& path, Build&& build)
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

    const QString content = QString::fromUtf8(readFile(QDir(source).filePath(QStringLiteral("sample-exam.sql"))));
    ExamIdentity identity;
    buildDatabase(QDir(folder).filePath(QLatin1String(sample::kExamFile)), [&](db::Connection& exam) {
        schema::createExamDatabase(exam, schema::ExamLayout::Current);
        db::Transaction transaction(exam);
        exam.execScript(content);
        transaction.commit();
        identity.code = exam.scalar(QStringLiteral("SELECT Qe_ExamCode FROM Qe_Exam ORDER BY rowid LIMIT 1")).toString();
    });
    if (identity.code.isEmpty())
        fail(QStringLiteral("The sample exam has no Qe_Exam row"));
    return identity;
}

struct Account {
    QString login, password, first, middle, last, email, add1, add2, state, zip, phone;
};

qint64 addUser(db::Connection& system, const Account& a)
{
    system.exec(QStringLiteral("INSERT INTO Bq_User (Qu_LoginId, Qu_Password, qu_first_name, qu_middle_name, "
                               "qu_last_name, qu_email, qu_add1, qu_add2, qu_state, qu_zip, qu_phone) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {a.login, a.password, a.first, a.middle, a.last, a.email, a.add1, a.add2, a.state, a.zip, a.phone});
    return system.lastInsertId();
}

const Account kAdmin{QLatin1String(sample::kAdminLogin), QLatin1String(sample::kAdminPassword),
                     QStringLiteral("Administrator"), QString(), QString(), QStringLiteral("admin@ziduver.example"),
                     QString(), QString(), QString(), QString(), QString()};
const Account kStudent{QLatin1String(sample::kUserLogin), QLatin1String(sample::kUserPassword),
                       QStringLiteral("Sam"), QStringLiteral("J."), QStringLiteral("Student"),
                       QStringLiteral("sam.student@ziduver.example"), QStringLiteral("12 Harbour Road"),
                       QString(), QStringLiteral("Wellington"), QStringLiteral("6011"),
                       QStringLiteral("+64 4 555 0142")};

void writeSystemDatabase(const QString& home, const ExamIdentity& exam)
{
    qint64 studentCode = 0;
    buildDatabase(QDir(home).filePath(QStringLiteral("Ziduver.QZR")), [&](db::Connection& system) {
        schema::createSystemDatabase(system);
        db::Transaction transaction(system);
        addUser(system, kAdmin);
        studentCode = addUser(system, kStudent);
        system.exec(QStringLiteral("INSERT INTO Bq_User_vs_Exams (Bue_User, Bue_Exam, Bue_HaveRight) VALUES (?, ?, 1)"),
                    {studentCode, exam.code});
        system.exec(QStringLiteral("INSERT INTO Bq_Ziduver_Reg_Det (BQ_Multiuser) VALUES (1)"));
        // Used only when the administrator switches to single-user mode.
        system.exec(QStringLiteral("INSERT INTO Bq_DefaultUser (loginid, Password) VALUES (?, ?)"),
                    {kStudent.login, kStudent.password});
        transaction.commit();
    });

    // The exam database keeps its own copy of each user who has a right to it.
    const QString examPath = QDir(home).filePath(QStringLiteral("Data/%1/%2")
                                                     .arg(QLatin1String(sample::kExamFolder),
                                                          QLatin1String(sample::kExamFile)));
    db::Connection examDb = db::Connection::openFile(examPath);
    db::Transaction transaction(examDb);
    examDb.exec(QStringLiteral("INSERT INTO Qe_User (Qu_UserCode, Qu_LoginId, Qu_Password, qu_first_name, "
                               "qu_middle_name, qu_last_name, qu_email, Qu_HaveRight) VALUES (?, ?, ?, ?, ?, ?, ?, 1)"),
                {studentCode, kStudent.login, kStudent.password, kStudent.first, kStudent.middle, kStudent.last,
                 kStudent.email});
    transaction.commit();
}

} // namespace

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
    copyFolder(QDir(source).filePath(QStringLiteral("Icons")), QDir(home).filePath(QStringLiteral("Icons")));

    buildDatabase(QDir(home).filePath(QStringLiteral("DataSkeleton.SKL")),
                  [](db::Connection& skeleton) { schema::createExamDatabase(skeleton, schema::ExamLayout::Current); });
    const ExamIdentity exam = writeSampleExam(home);
    writeSystemDatabase(home, exam);
}
