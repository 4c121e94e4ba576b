#pragma once

#include "notes/NotesBrowser.h"

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

class NotesGridModel;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QModelIndex;
class QPushButton;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

// The notes browser: a tree of exams with their categories and chapters
// beside the notes of the node chosen. A user sees his own notes in the exam
// he logged into; the administrator every attached exam whose file exists,
// per user or "<All>". A double click edits a note; "Export Notes" prints
// the notes listed.
class frmViewNote : public QDialog {
    Q_OBJECT
public:
    // Export Notes prints in printFontFace.
    explicit frmViewNote(QWidget* owner = nullptr, const QString& printFontFace = QString());

    // The main window's entry: a new browser, shown modally over owner;
    // returns when it closes.
    static void showBrowser(QWidget* owner, const QString& printFontFace);

    QComboBox* cmbUser; // user names, first "<All>"; each entry holds its user code
    QTreeWidget* grdChapters;
    QTableView* grdViewNotes;
    QGroupBox* fraExportOptions; // "Export Options"
    QCheckBox* chkPrintQA;       // "Correct Answer(s)"
    QCheckBox* chkExplanaton;    // "Explanation"
    QPushButton* cmdViewCurrent; // "Export Notes"
    QPushButton* cmdExit;        // "&Close"

    NotesGridModel* notes() const { return m_grid; }
    // The user code of the entry chosen in cmbUser; nullopt for "<All>".
    std::optional<int> chosenUserCode() const;

    // Adds one exam with its categories and chapters to the tree.
    void FillExamsChaptersCategoriesInTree(const QString& path, const QString& examName);
    // Refills the grid for a node and a user choice.
    void ShowNotes(const QString& key, const QString& tag, const QString& user);
    // The same for the node selected and the user chosen (after an edit).
    void refreshNotes();

    void grdChapters_NodeClick(QTreeWidgetItem* node);
    void cmbUser_Change();
    void grdViewNotes_DblClick();
    void cmdViewCurrent_Click();
    void cmdExit_Click();

    // Where a node keeps its tag and key.
    static constexpr int kTagRole = Qt::UserRole;
    static constexpr int kKeyRole = Qt::UserRole + 1;

private:
    void buildControls();
    void Form_Load();
    void FillCategoryinTreeView();
    QStringList m_problems; // what the window could not read while it loads
    void FillUsersInCombo();
    QTreeWidgetItem* selectedNode() const;

    notesbrowser::Viewer m_viewer;
    NotesGridModel* m_grid;
    std::vector<notesbrowser::TreeNode> m_nodes; // every node of the tree, in the order added
    std::vector<QTreeWidgetItem*> m_items;       // the tree's item of each
    notesbrowser::NotesQuery m_query;            // of the rows listed
    QString m_printFontFace;
};
