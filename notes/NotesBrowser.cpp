#include "notes/NotesBrowser.h"
#include "foundation/LoginRules.h"

#include "foundation/ConnectionString.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/DisplayRoutines.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"

#include <QStringList>
#include <exception>

namespace notesbrowser {

namespace {

const QString kItemSeparator = QStringLiteral("|$|");

QString describe(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromLocal8Bit(error.what());
}

db::Connection openExam(const QString& path, const QString& password)
{
    return db::Connection::open(connectionString(path.trimmed(), password));
}

// A whole number of a key ("" and anything else not a number read 0).
int number(const QString& text)
{
    return text.trimmed().toInt();
}

} // namespace

QString examKey(const QString& examName, const QString& path)
{
    return QStringLiteral("Exam-") + examName + kItemSeparator + QStringLiteral("Path-") + path;
}

QString categoryKey(int category, int index, const QString& path)
{
    return QStringLiteral("Category-") + QString::number(category) + kItemSeparator + QStringLiteral("Index-")
        + QString::number(index) + kItemSeparator + QStringLiteral("Path-") + path;
}

QString chapterKey(int chapter, int category, int index, const QString& path)
{
    return QStringLiteral("Chapter-") + QString::number(chapter) + kItemSeparator + QStringLiteral("Category-")
        + QString::number(category) + kItemSeparator + QStringLiteral("Index-") + QString::number(index)
        + kItemSeparator + QStringLiteral("Path-") + path;
}

QString getValue(const QString& name, const QString& source)
{
    const QString wanted = name.trimmed();
    if (source.isEmpty() || !source.trimmed().contains(wanted))
        return QString();
    for (const QString& item : source.split(kItemSeparator)) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        const QString itemName = dash < 0 ? item : item.left(dash);
        if (itemName == name)
            return dash < 0 ? QString() : item.mid(dash + 1);
    }
    return QString();
}

QString FirstLine(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n'))
            return text.left(i);
    return text;
}

void appendExamNodes(std::vector<TreeNode>& nodes, const QString& examName, const QString& path,
                     const std::vector<ExamBank::TreeCategory>& categories)
{
    const int exam = int(nodes.size());
    nodes.push_back({examName, QString::fromLatin1(kExamTag), examKey(examName, path), -1});
    for (const ExamBank::TreeCategory& category : categories) {
        const int categoryNode = int(nodes.size());
        nodes.push_back({category.description, QString::fromLatin1(kCategoryTag),
                         categoryKey(category.code, categoryNode + 1, path), exam});
        for (const ExamBank::TreeChapter& chapter : category.chapters) {
            const int index = int(nodes.size()) + 1;
            nodes.push_back({chapter.description, QString::fromLatin1(kChapterTag),
                             chapterKey(chapter.code, category.code, index, path), categoryNode});
        }
    }
}

Viewer viewerOfLogin()
{
    Viewer viewer;
    viewer.admin = isAdministratorLogin(gLogin.gLoginId);
    viewer.userCode = gLogin.gUserCode.trimmed().toInt();
    viewer.examName = gLogin.gExamDesc;
    viewer.examPath = gLogin.gExamDbPath;
    viewer.password = gStartup.gDbPassword;
    viewer.debugLog = gStartup.gDebug == 1;
    return viewer;
}

std::vector<ListedExam> listedExams(const Viewer& viewer, const std::vector<ListedExam>& attached)
{
    if (!viewer.admin)
        return {{viewer.examName, viewer.examPath}};
    std::vector<ListedExam> exams;
    for (const ListedExam& exam : attached)
        if (FileExists(exam.path.trimmed()))
            exams.push_back(exam);
    return exams;
}

bool FillExamsChaptersCategoriesInTree(std::vector<TreeNode>& nodes, const QString& path, const QString& examName,
                                       const QString& password, QStringList* problems)
{
    try {
        db::Connection exam = openExam(path, password);
        const std::vector<ExamBank::TreeCategory> categories = ExamBank(exam).categoryTree();
        appendExamNodes(nodes, examName, path, categories);
        return true;
    } catch (const std::exception& error) {
        WriteLog(describe(error) + QStringLiteral(":FillExamsChaptersCategoriesInTree:frmViewNote:Parameters :") + path
                 + QLatin1Char(',') + examName + QLatin1Char(' ') + logDate());
        if (problems)
            problems->append(commandFailureText(QStringLiteral("The categories of the exam %1 could not be read.")
                                                    .arg(examName),
                                                DatabaseFile::exam(path), error));
        return false;
    }
}

std::vector<ListedExam> treeExams(const Viewer& viewer, QStringList* problems)
{
    std::vector<ListedExam> attached;
    if (viewer.admin) {
        try {
            SystemDatabase system;
            for (const SystemDatabase::AttachedExam& exam : system.examsByCode())
                attached.push_back({exam.description, exam.path});
        } catch (const std::exception& error) {
            WriteLog(describe(error) + QStringLiteral(":FillCategoryinTreeView:frmViewNote:") + logDate());
            if (problems)
                problems->append(commandFailureText(QStringLiteral("The list of attached exams could not be read."),
                                                    DatabaseFile::system(), error));
        }
    }
    return listedExams(viewer, attached);
}

std::vector<TreeNode> FillCategoryinTreeView(const Viewer& viewer)
{
    std::vector<TreeNode> nodes;
    for (const ListedExam& exam : treeExams(viewer))
        FillExamsChaptersCategoriesInTree(nodes, exam.path, exam.name, viewer.password);
    return nodes;
}

std::vector<UserEntry> FillUsersInCombo(QStringList* problems)
{
    std::vector<UserEntry> users{{QString::fromLatin1(kAllUsers), std::nullopt}};
    try {
        SystemDatabase system;
        for (const SystemDatabase::Profile& profile : system.listedProfiles())
            users.push_back({profile.login, profile.code});
    } catch (const std::exception& error) {
        WriteLog(describe(error) + QStringLiteral(":FillUsersInCombo:frmViewNote:") + logDate());
        if (problems)
            problems->append(commandFailureText(QStringLiteral("The list of users could not be read."),
                                                DatabaseFile::system(), error));
    }
    return users;
}

NotesQuery notesQuery(const Viewer& viewer, const QString& key, const QString& tag, const QString& userText,
                      std::optional<int> chosenUserCode)
{
    NotesQuery query;
    query.path = getValue(QStringLiteral("Path"), key).trimmed();
    const QString user = userText.isEmpty() ? QString::fromLatin1(kAllUsers) : userText;
    if (!viewer.admin)
        query.filter.userCode = viewer.userCode;
    else if (user != QLatin1String(kAllUsers))
        query.filter.userCode = chosenUserCode.value_or(0);
    if (tag == QLatin1String(kCategoryTag)) {
        query.filter.category = number(getValue(QStringLiteral("Category"), key));
    } else if (tag == QLatin1String(kChapterTag)) {
        query.filter.category = number(getValue(QStringLiteral("Category"), key));
        query.filter.chapter = number(getValue(QStringLiteral("Chapter"), key));
    }
    return query;
}

std::vector<NoteRow> listNotes(db::Connection& exam, const NotesQuery& query)
{
    const std::vector<UserNotesTable::Note> notes = UserNotesTable(exam).listedNotes(query.filter);
    const int category = query.filter.category.value_or(0);
    const int chapter = query.filter.chapter.value_or(0);
    std::vector<NoteRow> rows;
    rows.reserve(notes.size());
    for (const UserNotesTable::Note& note : notes)
        rows.push_back(
            {note.questCode, note.examDate, FirstLine(note.text), note.id, category, chapter, query.path, note.text});
    return rows;
}

std::vector<NoteRow> ShowNotes(const NotesQuery& query, const QString& password, QStringList* problems)
{
    try {
        db::Connection exam = openExam(query.path, password);
        return listNotes(exam, query);
    } catch (const std::exception& error) {
        WriteLog(describe(error) + QStringLiteral(":ShowNotes:frmViewNote: ") + logDateTime());
        if (problems)
            problems->append(commandFailureText(QStringLiteral("The notes could not be read."),
                                                DatabaseFile::exam(query.path), error));
        return {};
    }
}

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

} // namespace notesbrowser
