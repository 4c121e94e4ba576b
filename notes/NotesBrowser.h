#pragma once

#include "foundation/ExamBank.h"
#include "foundation/UserNotesTable.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The notes browser's rules: the tree of exams, categories and chapters,
// the keys its nodes carry, the user choice, and the notes listed for a node
// and a user. The window only shows what these give.
namespace notesbrowser {

// Node tags.
inline constexpr const char* kExamTag = "Exam";
inline constexpr const char* kCategoryTag = "Category";
inline constexpr const char* kChapterTag = "Chapter";
// The first entry of the administrator's user list: every user's notes.
inline constexpr const char* kAllUsers = "<All>";

// ---- node keys: name-value items joined by "|$|", each "name-value" ----
QString examKey(const QString& examName, const QString& path);
QString categoryKey(int category, int index, const QString& path);
QString chapterKey(int chapter, int category, int index, const QString& path);

// The value of the item called `name` in a key: everything after the first
// "-" of the item, so a value that holds "-" (a path, a negative code) comes
// back whole. "" when the key is empty or no item has that name.
QString getValue(const QString& name, const QString& source);

// The text before the first line break (CR LF, or a bare CR or LF of an older
// note); the whole text when it has none.
QString FirstLine(const QString& text);

// ---- the tree ----
struct TreeNode {
    QString text;
    QString tag; // kExamTag, kCategoryTag or kChapterTag
    QString key;
    int parent = -1; // index of the parent node in the list; -1 for an exam
};

// Appends an exam node and its categories and chapters (in stored order).
// Node indexes in the keys count every node of the tree from 1.
void appendExamNodes(std::vector<TreeNode>& nodes, const QString& examName, const QString& path,
                     const std::vector<ExamBank::TreeCategory>& categories);

// An exam the tree lists.
struct ListedExam {
    QString name;
    QString path;
};

// Who is looking: the administrator browses every exam and every user.
struct Viewer {
    bool admin = false;
    int userCode = 0;      // the logged-in user
    QString examName;      // the exam logged into
    QString examPath;      // its database
    QString password;      // the database password
    bool debugLog = false; // the debug flag is 1
};
// The viewer as the shared state has it: the administrator is the login
// "ADMIN" (any case).
Viewer viewerOfLogin();

// The exams in the tree: for the administrator every attached exam whose
// file exists (in the order given), for any other user the exam logged into.
std::vector<ListedExam> listedExams(const Viewer& viewer, const std::vector<ListedExam>& attached);

// FillExamsChaptersCategoriesInTree: reads the exam's categories and chapters
// and appends its nodes. A database that cannot be read is logged (whatever
// the debug flag) and adds nothing; false then, with the message that says
// which exam and why appended to problems.
bool FillExamsChaptersCategoriesInTree(std::vector<TreeNode>& nodes, const QString& path, const QString& examName,
                                       const QString& password, QStringList* problems = nullptr);

// The exams of the viewer's tree; the administrator's attached exams come
// from the system database (by code), and an error there is logged and
// lists none (its message appended to problems).
std::vector<ListedExam> treeExams(const Viewer& viewer, QStringList* problems = nullptr);
// FillCategoryinTreeView: the whole tree, exam after exam.
std::vector<TreeNode> FillCategoryinTreeView(const Viewer& viewer);

// ---- the user choice ----
struct UserEntry {
    QString login;
    std::optional<int> code; // nullopt for "<All>"
};
// FillUsersInCombo: "<All>", then every user but the administrator (by
// code). An error is logged and leaves "<All>" alone (its message appended
// to problems).
std::vector<UserEntry> FillUsersInCombo(QStringList* problems = nullptr);

// ---- the notes listed ----
struct NoteRow {
    int questCode = 0;
    QDate date;
    QString firstLine;
    qint64 noteId = 0;
    int category = 0; // of the node chosen; 0 for an exam node
    int chapter = 0;  // of the node chosen; 0 unless a chapter node
    QString path;     // the exam database of the node chosen
    QString text;     // the whole note
};

// Whose notes, and where: what a node and a user choice select.
struct NotesQuery {
    QString path;
    UserNotesTable::ListFilter filter;
};
// The user text "" counts as "<All>"; the chosen code is the list entry's at
// the user choice. Anyone but the administrator sees only his own notes.
NotesQuery notesQuery(const Viewer& viewer, const QString& key, const QString& tag, const QString& userText,
                      std::optional<int> chosenUserCode);

// The rows of the notes of a query, by Qn_NoteID. Database errors reach the
// caller (db::DbError).
std::vector<NoteRow> listNotes(db::Connection& exam, const NotesQuery& query);
// ShowNotes: opens the query's exam and lists its notes; an error is logged
// (whatever the debug flag) and gives the rows read so far (none), with its
// message appended to problems.
std::vector<NoteRow> ShowNotes(const NotesQuery& query, const QString& password, QStringList* problems = nullptr);

// The date column: "dd/mm/yyyy"; "" for a note without a day.
QString dateText(const QDate& date);

} // namespace notesbrowser
