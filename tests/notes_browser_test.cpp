#include "foundation/SharedState.h"
#include "notes/NotesBrowser.h"
#include "notes/NotesGridModel.h"
#include "platform/db/Connection.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/NotesInstallation.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using namespace notesbrowser;

namespace {

TEST(NoteKeys, ValuesComeBackWholeByName)
{
    const QString path = QStringLiteral("/data/Net-Plus-2/exam-two.qzr");
    const QString chapter = chapterKey(10, 1, 4, path);
    EXPECT_EQ(chapter, QStringLiteral("Chapter-10|$|Category-1|$|Index-4|$|Path-/data/Net-Plus-2/exam-two.qzr"));
    struct Case {
        QString key;
        const char* name;
        QString value;
    };
    const Case cases[] = {
        {chapter, "Chapter", QStringLiteral("10")},
        {chapter, "Category", QStringLiteral("1")},
        {chapter, "Index", QStringLiteral("4")},
        {chapter, "Path", path}, // not cut at its "-"
        {chapter, "Exam", QString()},
        {chapter, "Cat", QString()}, // part of a name is no name
        {chapter, "path", QString()},
        {categoryKey(-3, 2, path), "Category", QStringLiteral("-3")},
        {examKey(QStringLiteral("Net-Plus"), path), "Exam", QStringLiteral("Net-Plus")},
        {examKey(QStringLiteral("Net-Plus"), path), "Path", path},
        {QString(), "Path", QString()},
        {QStringLiteral("Path"), "Path", QString()},
        {QStringLiteral("Path-"), "Path", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString() + " / " + c.name);
        EXPECT_EQ(getValue(QString::fromLatin1(c.name), c.key), c.value);
    }
}

TEST(NoteKeys, FirstLineEndsAtAnyLineBreak)
{
    struct Case {
        const char* text;
        const char* first;
    };
    const Case cases[] = {
        {"one\r\ntwo", "one"},
        {"one\ntwo", "one"},
        {"one\rtwo", "one"},
        {"\r\nsecond", ""},
        {"no break", "no break"},
        {"", ""},
        {"  blank  \r\n", "  blank  "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstLine(QString::fromUtf8(c.text)), QString::fromUtf8(c.first)) << c.text;
}

class NotesBrowserTest : public ::testing::Test {
protected:
    void TearDown() override { resetStartupState(); }

    // "question:first line" per listed note.
    QStringList listed(const NotesQuery& query)
    {
        QStringList rows;
        for (const NoteRow& row : ShowNotes(query, gStartup.gDbPassword))
            rows << QString::number(row.questCode) + QLatin1Char(':') + row.firstLine;
        return rows;
    }
    // The first node with the text, of the exam with the given name.
    TreeNode node(const std::vector<TreeNode>& nodes, const QString& examName, const QString& text)
    {
        int exam = -1;
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].parent < 0)
                exam = nodes[i].text == examName ? int(i) : -1;
            if (exam >= 0 && nodes[i].text == text)
                return nodes[i];
        }
        ADD_FAILURE() << "no node " << text.toStdString();
        return {};
    }
    // Notes of every user in both exams, a question at a time.
    void addNotes()
    {
        db.note(db.one(), db.alice, 101, QStringLiteral("alice 101\r\nmore of it"));
        db.note(db.one(), db.bob, 101, QStringLiteral("bob 101"));
        db.note(db.one(), db.alice, 102, QStringLiteral("alice 102"));
        db.note(db.one(), db.bob, 103, QStringLiteral("bob 103"));
        db.note(db.one(), db.alice, 201, QStringLiteral("alice 201"), QDate());
        db.note(db.two(), db.alice, 101, QStringLiteral("alice two 101"));
        db.note(db.two(), db.carol, 102, QStringLiteral("carol two 102"));
    }

    TempHome home;
    NotesInstallation db{home};
};

TEST_F(NotesBrowserTest, AUserSeesHisExamsTreeAndTheAdministratorEveryExamWhoseFileExists)
{
    db.logInAs(QStringLiteral("alice"), db.alice);
    const std::vector<TreeNode> own = FillCategoryinTreeView(viewerOfLogin());
    QStringList shown;
    for (const TreeNode& n : own)
        shown << QStringLiteral("%1|%2|%3|%4").arg(n.text, n.tag, n.key).arg(n.parent);
    const QString p = db.onePath;
    EXPECT_EQ(shown,
              (QStringList{
                  QStringLiteral("Exam One|Exam|Exam-Exam One|$|Path-%1|-1").arg(p),
                  QStringLiteral("Routing|Category|Category-1|$|Index-2|$|Path-%1|0").arg(p),
                  QStringLiteral("Static|Chapter|Chapter-10|$|Category-1|$|Index-3|$|Path-%1|1").arg(p),
                  QStringLiteral("Dynamic|Chapter|Chapter-11|$|Category-1|$|Index-4|$|Path-%1|1").arg(p),
                  QStringLiteral("Switching|Category|Category-2|$|Index-5|$|Path-%1|0").arg(p),
              }));

    db.logInAs(QStringLiteral("Admin"), 0);
    const Viewer admin = viewerOfLogin();
    EXPECT_TRUE(admin.admin);
    QStringList exams;
    const std::vector<TreeNode> all = FillCategoryinTreeView(admin);
    for (const TreeNode& n : all)
        if (n.parent < 0)
            exams << n.text + QLatin1Char('|') + getValue(QStringLiteral("Path"), n.key);
    // By exam code; the exam whose file is gone is left out.
    EXPECT_EQ(exams, (QStringList{QStringLiteral("Exam One|") + db.onePath, QStringLiteral("Net-Plus|") + db.twoPath}));
    // Node indexes go on over the whole tree.
    EXPECT_EQ(getValue(QStringLiteral("Index"), node(all, QStringLiteral("Net-Plus"), QStringLiteral("Copper")).key),
              QStringLiteral("8"));
}

TEST_F(NotesBrowserTest, UsersListOffersEveryoneButTheAdministrator)
{
    QStringList users;
    for (const UserEntry& user : FillUsersInCombo())
        users << user.login + QLatin1Char(':') + (user.code ? QString::number(*user.code) : QStringLiteral("-"));
    EXPECT_EQ(users,
              (QStringList{QStringLiteral("<All>:-"), QStringLiteral("alice:%1").arg(db.alice),
                           QStringLiteral("bob:%1").arg(db.bob), QStringLiteral("carol:%1").arg(db.carol)}));
}

TEST_F(NotesBrowserTest, AUserSeesOnlyHisOwnNotesPerNode)
{
    addNotes();
    db.logInAs(QStringLiteral("alice"), db.alice);
    const Viewer viewer = viewerOfLogin();
    const std::vector<TreeNode> tree = FillCategoryinTreeView(viewer);
    const auto query = [&](const QString& text, const QString& user = QString()) {
        const TreeNode n = node(tree, QStringLiteral("Exam One"), text);
        // A user text of anyone else, or "<All>", changes nothing for him.
        return listed(notesQuery(viewer, n.key, n.tag, user, db.bob));
    };
    EXPECT_EQ(query(QStringLiteral("Exam One")), (QStringList{"101:alice 101", "102:alice 102", "201:alice 201"}));
    EXPECT_EQ(query(QStringLiteral("Exam One"), QStringLiteral("bob")), query(QStringLiteral("Exam One")));
    // A category holds its own questions (chapter 0) and its chapters'.
    EXPECT_EQ(query(QStringLiteral("Routing")), (QStringList{"101:alice 101", "102:alice 102"}));
    EXPECT_EQ(query(QStringLiteral("Static")), QStringList{"102:alice 102"});
    EXPECT_EQ(query(QStringLiteral("Dynamic")), QStringList{});
    EXPECT_EQ(query(QStringLiteral("Switching")), QStringList{"201:alice 201"});
}

TEST_F(NotesBrowserTest, TheAdministratorListsOneUserOrEveryUserInAnyExam)
{
    addNotes();
    db.logInAs(QStringLiteral("Admin"), 0);
    const Viewer viewer = viewerOfLogin();
    const std::vector<TreeNode> tree = FillCategoryinTreeView(viewer);
    const auto query = [&](const QString& exam, const QString& text, const QString& user, std::optional<int> code) {
        const TreeNode n = node(tree, exam, text);
        return listed(notesQuery(viewer, n.key, n.tag, user, code));
    };
    const QString one = QStringLiteral("Exam One");
    EXPECT_EQ(query(one, one, QStringLiteral("<All>"), std::nullopt),
              (QStringList{"101:alice 101", "101:bob 101", "102:alice 102", "103:bob 103", "201:alice 201"}));
    EXPECT_EQ(query(one, one, QString(), std::nullopt), query(one, one, QStringLiteral("<All>"), std::nullopt))
        << "no user text counts as every user";
    EXPECT_EQ(query(one, one, QStringLiteral("bob"), db.bob), (QStringList{"101:bob 101", "103:bob 103"}));
    EXPECT_EQ(query(one, QStringLiteral("Routing"), QStringLiteral("<All>"), std::nullopt),
              (QStringList{"101:alice 101", "101:bob 101", "102:alice 102", "103:bob 103"}));
    EXPECT_EQ(query(one, QStringLiteral("Dynamic"), QStringLiteral("alice"), db.alice), QStringList{});
    EXPECT_EQ(query(one, QStringLiteral("Routing"), QStringLiteral("carol"), db.carol), QStringList{});

    // The exam whose path holds "-": its own notes, though question codes
    // repeat Exam One's.
    const QString two = QStringLiteral("Net-Plus");
    EXPECT_EQ(query(two, two, QStringLiteral("<All>"), std::nullopt),
              (QStringList{"101:alice two 101", "102:carol two 102"}));
    EXPECT_EQ(query(two, QStringLiteral("Copper"), QStringLiteral("carol"), db.carol),
              QStringList{"102:carol two 102"});
}

TEST_F(NotesBrowserTest, GridRowsCarryTheNoteTheNodeAndTheWholeText)
{
    addNotes();
    db.logInAs(QStringLiteral("Admin"), 0);
    const Viewer viewer = viewerOfLogin();
    const std::vector<TreeNode> tree = FillCategoryinTreeView(viewer);
    NotesGridModel grid;

    const TreeNode chapter = node(tree, QStringLiteral("Net-Plus"), QStringLiteral("Copper"));
    grid.setRows(ShowNotes(notesQuery(viewer, chapter.key, chapter.tag, QString(), std::nullopt), viewer.password));
    ASSERT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.text(0, NotesGridModel::colQuestCode), QStringLiteral("102"));
    EXPECT_EQ(grid.text(0, NotesGridModel::colDate), QStringLiteral("01/03/2024"));
    EXPECT_EQ(grid.text(0, NotesGridModel::colNoteId), QStringLiteral("2"));
    EXPECT_EQ(grid.text(0, NotesGridModel::colCategory), QStringLiteral("1"));
    EXPECT_EQ(grid.text(0, NotesGridModel::colChapter), QStringLiteral("10"));
    EXPECT_EQ(grid.text(0, NotesGridModel::colPath), db.twoPath);
    EXPECT_EQ(grid.headerData(0, Qt::Horizontal).toString(), QStringLiteral("QNo"));
    EXPECT_EQ(grid.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Notes"));

    const TreeNode exam = node(tree, QStringLiteral("Exam One"), QStringLiteral("Exam One"));
    grid.setRows(ShowNotes(notesQuery(viewer, exam.key, exam.tag, QStringLiteral("alice"), db.alice), viewer.password));
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.text(0, NotesGridModel::colNotes), QStringLiteral("alice 101"));
    EXPECT_EQ(grid.text(0, NotesGridModel::colWholeNote), QStringLiteral("alice 101\r\nmore of it"));
    EXPECT_EQ(grid.text(0, NotesGridModel::colCategory), QStringLiteral("0"));
    EXPECT_EQ(grid.text(0, NotesGridModel::colChapter), QStringLiteral("0"));
    EXPECT_EQ(grid.text(2, NotesGridModel::colDate), QString()) << "a note without a day";
}

TEST_F(NotesBrowserTest, AnExamThatCannotBeReadIsLoggedAndListsNothing)
{
    db.logInAs(QStringLiteral("alice"), db.alice, db.missingPath, QStringLiteral("EX3"), QStringLiteral("Gone"));
    removeDebugLog();
    EXPECT_TRUE(FillCategoryinTreeView(viewerOfLogin()).empty());
    NotesQuery query;
    query.path = db.missingPath;
    EXPECT_TRUE(ShowNotes(query, gStartup.gDbPassword).empty());
    const QString log = readDebugLog();
    EXPECT_TRUE(log.contains(QStringLiteral(":FillExamsChaptersCategoriesInTree:frmViewNote:Parameters :")
                             + db.missingPath + QStringLiteral(",Gone")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral(":ShowNotes:frmViewNote:"))) << log.toStdString();
}

// Another program holding a file: each read says which data could not be
// read, on which file, why and what to do, instead of listing nothing.
TEST_F(NotesBrowserTest, AReadThatFailsSaysWhichDataAndWhy)
{
    db.logInAs(QStringLiteral("Admin"), 0);
    const Viewer admin = viewerOfLogin();
    NotesQuery query;
    query.path = db.onePath;
    const QString system = db::Connection::pathFromConnectionString(gStartup.gSysConnStr);
    const std::pair<QString, std::function<QStringList()>> reads[] = {
        {db.onePath,
         [&] {
             QStringList problems;
             std::vector<TreeNode> nodes;
             EXPECT_FALSE(FillExamsChaptersCategoriesInTree(nodes, db.onePath, QStringLiteral("Exam One"),
                                                            admin.password, &problems));
             return problems;
         }},
        {db.onePath,
         [&] {
             QStringList problems;
             EXPECT_TRUE(ShowNotes(query, admin.password, &problems).empty());
             return problems;
         }},
        {system,
         [&] {
             QStringList problems;
             EXPECT_EQ(FillUsersInCombo(&problems).size(), 1u);
             return problems;
         }},
        {system,
         [&] {
             QStringList problems;
             EXPECT_TRUE(treeExams(admin, &problems).empty());
             return problems;
         }},
    };
    for (const auto& [path, read] : reads) {
        SCOPED_TRACE(path.toStdString());
        db::Connection other = db::Connection::openFile(path);
        other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        const QStringList problems = read();
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].contains(path + QStringLiteral(" is in use by another program.\r\n"
                                                               "Close the other program that uses it, then try again.")))
            << problems[0].toStdString();
        EXPECT_FALSE(problems[0].contains(QStringLiteral("locked")));
        other.exec(QStringLiteral("ROLLBACK"));
    }
}

} // namespace
