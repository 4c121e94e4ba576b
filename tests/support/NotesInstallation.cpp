#include "tests/support/NotesInstallation.h"

#include "foundation/ExamBankWriter.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UserNotesTable.h"
#include "tests/support/TempHome.h"

namespace {

int addUser(SystemDatabase& system, const QString& login)
{
    SystemDatabase::NewUser user;
    user.login = login;
    user.password = login.toUpper();
    return system.addUser(user);
}

void addQuestion(ExamBankWriter& writer, int code, int category, int chapter)
{
    ExamBankWriter::QuestionRow row = ExamBankWriter::QuestionRow::multipleChoice(code);
    row.category = category;
    row.chapter = chapter;
    row.text = QStringLiteral("Question %1").arg(code);
    row.difficulty = 1;
    writer.addQuestion(row);
}

} // namespace

NotesInstallation::NotesInstallation(const TempHome& home) : m_install(home)
{
    ExamDbOptions first;
    first.examCode = QStringLiteral("EX1");
    first.examName = QStringLiteral("Exam One");
    onePath = m_install.createDataExam(QStringLiteral("Exam One"), QStringLiteral("one.qzr"), first);
    ExamDbOptions second;
    second.examCode = QStringLiteral("EX2");
    second.examName = QStringLiteral("Net-Plus");
    twoPath = m_install.createDataExam(QStringLiteral("Net-Plus-2"), QStringLiteral("exam-two.qzr"), second);
    missingPath = home.file(QStringLiteral("Data/Gone/gone.qzr"));

    m_one = db::Connection::openFile(onePath);
    ExamBankWriter w1(m_one);
    w1.addCategory({1, QStringLiteral("Routing"), false});
    w1.addCategory({2, QStringLiteral("Switching"), false});
    w1.addChapter({10, 1, QStringLiteral("Static"), false});
    w1.addChapter({11, 1, QStringLiteral("Dynamic"), false});
    addQuestion(w1, 101, 1, 0);
    addQuestion(w1, 102, 1, 10);
    addQuestion(w1, 103, 1, 11);
    addQuestion(w1, 201, 2, 0);

    m_two = db::Connection::openFile(twoPath);
    ExamBankWriter w2(m_two);
    w2.addCategory({1, QStringLiteral("Cabling"), false});
    w2.addChapter({10, 1, QStringLiteral("Copper"), false});
    addQuestion(w2, 101, 1, 0);
    addQuestion(w2, 102, 1, 10);

    db::Connection systemConnection = m_install.openSystem();
    SystemDatabase system(systemConnection);
    admin = addUser(system, QStringLiteral("Admin"));
    alice = addUser(system, QStringLiteral("alice"));
    bob = addUser(system, QStringLiteral("bob"));
    carol = addUser(system, QStringLiteral("carol"));
    system.addExam(twoPath, QStringLiteral("EX2"), QStringLiteral("Net-Plus"));
    system.addExam(missingPath, QStringLiteral("EX3"), QStringLiteral("Gone"));
    system.addExam(onePath, QStringLiteral("EX1"), QStringLiteral("Exam One"));
}

qint64 NotesInstallation::note(db::Connection& exam, int user, int questCode, const QString& text, const QDate& day)
{
    return UserNotesTable(exam).addNote(user, questCode, text, day);
}

void NotesInstallation::logInAs(const QString& login, int userCode)
{
    logInAs(login, userCode, onePath, QStringLiteral("EX1"), QStringLiteral("Exam One"));
}

void NotesInstallation::logInAs(const QString& login, int userCode, const QString& examPath, const QString& examCode,
                                const QString& examName)
{
    gLogin.gLoginId = login.trimmed().toUpper();
    gLogin.gUserCode = QString::number(userCode);
    gLogin.gExamDbPath = examPath;
    gLogin.gExamCode = examCode;
    gLogin.gExamDesc = examName;
    gLogin.gExamConnStr = QStringLiteral("DBQ=") + examPath + QLatin1Char(';');
}
