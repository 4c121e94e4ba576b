#include "notes/windows/frmViewNote.h"

#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/UiHooks.h"
#include "foundation/windows/WidgetSkinning.h"
#include "notes/NotesGridModel.h"
#include "notes/NotesReport.h"
#include "notes/windows/frmEditNote.h"
#include "notes/windows/frmNotePrinter.h"
#include "platform/ui/WholeTextTips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Grid column widths in pixels; the date gets what its "dd/mm/yyyy" needs
// in the program's font.
constexpr int kQuestCodeWidth = 47;
constexpr int kDateWidth = 84;
constexpr int kNotesWidth = 165;
constexpr int kListsSpacing = 8; // between the tree and the notes

} // namespace

frmViewNote::frmViewNote(QWidget* owner, const QString& printFontFace)
    : QDialog(owner), m_viewer(notesbrowser::viewerOfLogin()), m_printFontFace(printFontFace)
{
    buildControls();
    Form_Load();
    // The tree as wide as its names where the screen has room (the window
    // grows with it); narrower, a cut name reads whole as its tip. The notes
    // keep their share (3 to the tree's 2) beside a wide tree: the window
    // grows for them too, as far as the screen allows.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const int room = screen->availableGeometry().width();
        const int tree = std::min(contentWidthOf(grdChapters), room * 2 / 5);
        grdChapters->setMinimumWidth(tree);
        const QMargins margins = layout()->contentsMargins();
        const int wanted = tree * 5 / 2 + margins.left() + margins.right() + kListsSpacing;
        resize(std::max(width(), std::min(room, wanted)), height());
    }
}

void frmViewNote::buildControls()
{
    setObjectName(QStringLiteral("frmViewNote"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    cmbUser = new QComboBox(this);
    cmbUser->setObjectName(QStringLiteral("cmbUser"));

    grdChapters = new QTreeWidget(this);
    grdChapters->setObjectName(QStringLiteral("grdChapters"));
    grdChapters->setHeaderHidden(true);
    grdChapters->setColumnCount(1);
    ShowWholeTextTips(grdChapters);

    m_grid = new NotesGridModel(this);
    grdViewNotes = new QTableView(this);
    grdViewNotes->setObjectName(QStringLiteral("grdViewNotes"));
    grdViewNotes->setModel(m_grid);
    grdViewNotes->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdViewNotes->setSelectionMode(QAbstractItemView::SingleSelection);
    grdViewNotes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdViewNotes->setWordWrap(false);
    grdViewNotes->verticalHeader()->hide();
    grdViewNotes->verticalHeader()->setDefaultSectionSize(grdViewNotes->fontMetrics().height() + 6);
    grdViewNotes->horizontalHeader()->setStretchLastSection(false);
    grdViewNotes->setColumnWidth(NotesGridModel::colQuestCode, kQuestCodeWidth);
    grdViewNotes->setColumnWidth(NotesGridModel::colDate, kDateWidth);
    grdViewNotes->setColumnWidth(NotesGridModel::colNotes, kNotesWidth);
    // The notes take the width the grid has left; a note cut short reads
    // whole as its tip.
    grdViewNotes->horizontalHeader()->setSectionResizeMode(NotesGridModel::colNotes, QHeaderView::Stretch);
    ShowWholeTextTips(grdViewNotes);
    for (int column = NotesGridModel::colNoteId; column < NotesGridModel::columnCount_; ++column)
        grdViewNotes->setColumnHidden(column, true);

    fraExportOptions = new QGroupBox(QStringLiteral("Export Options"), this);
    fraExportOptions->setObjectName(QStringLiteral("fraExportOptions"));
    chkPrintQA = new QCheckBox(QStringLiteral("Correct Answer(s)"), fraExportOptions);
    chkPrintQA->setObjectName(QStringLiteral("chkPrintQA"));
    chkExplanaton = new QCheckBox(QStringLiteral("Explanation"), fraExportOptions);
    chkExplanaton->setObjectName(QStringLiteral("chkExplanaton"));
    auto* options = new QHBoxLayout(fraExportOptions);
    options->addWidget(chkPrintQA);
    options->addWidget(chkExplanaton);
    options->addStretch();

    cmdViewCurrent = new QPushButton(QStringLiteral("Export Notes"), this);
    cmdViewCurrent->setObjectName(QStringLiteral("cmdViewCurrent"));
    cmdExit = new QPushButton(QStringLiteral("&Close"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    for (QPushButton* button : {cmdViewCurrent, cmdExit})
        button->setAutoDefault(false);

    connect(grdChapters, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { grdChapters_NodeClick(current); });
    connect(cmbUser, &QComboBox::currentIndexChanged, this, &frmViewNote::cmbUser_Change);
    connect(grdViewNotes, &QTableView::doubleClicked, this, &frmViewNote::grdViewNotes_DblClick);
    connect(cmdViewCurrent, &QPushButton::clicked, this, &frmViewNote::cmdViewCurrent_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmViewNote::cmdExit_Click);

    auto* lists = new QHBoxLayout;
    lists->setSpacing(kListsSpacing);
    lists->addWidget(grdChapters, 2);
    lists->addWidget(grdViewNotes, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(fraExportOptions, 1);
    bottom->addWidget(cmdViewCurrent, 0, Qt::AlignBottom);
    bottom->addWidget(cmdExit, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(2);
    layout->addWidget(cmbUser, 0, Qt::AlignLeft);
    layout->addLayout(lists, 1);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    cmbUser->setMinimumWidth(200);
    resize(640, 460);
}

void frmViewNote::showBrowser(QWidget* owner, const QString& printFontFace)
{
    // On the heap: an owner that goes while the window is open takes it along.
    QPointer<frmViewNote> window = new frmViewNote(owner, printFontFace);
    window->exec();
    delete window.data();
}

void frmViewNote::Form_Load()
{
    setWindowTitle(gLogin.gAppName + QStringLiteral(" - View Notes"));
    skinWindow(this);
    m_problems.clear();
    if (m_viewer.admin) {
        cmbUser->show();
        FillUsersInCombo();
    } else {
        cmbUser->hide();
    }
    FillCategoryinTreeView();
    // What could not be read is said, not shown as no notes.
    if (!m_problems.isEmpty())
        ShowMessage(m_problems.join(QStringLiteral("\r\n\r\n")), gLogin.gAppName, OneButton, this);
    m_problems.clear();
    if (!m_items.empty()) {
        const QSignalBlocker blocker(grdChapters);
        grdChapters->setCurrentItem(m_items.front());
        m_items.front()->setExpanded(true);
    }
    if (cmbUser->isVisibleTo(this) && cmbUser->count() > 0) {
        const QSignalBlocker blocker(cmbUser);
        cmbUser->setCurrentIndex(0);
    }
    m_grid->setRows({});
    if (!m_items.empty())
        grdChapters_NodeClick(m_items.front());
}

void frmViewNote::FillUsersInCombo()
{
    const QSignalBlocker blocker(cmbUser);
    cmbUser->clear();
    for (const notesbrowser::UserEntry& user : notesbrowser::FillUsersInCombo(&m_problems))
        cmbUser->addItem(user.login, user.code ? QVariant(*user.code) : QVariant());
}

void frmViewNote::FillCategoryinTreeView()
{
    BusyPointer busy;
    for (const notesbrowser::ListedExam& exam : notesbrowser::treeExams(m_viewer, &m_problems))
        FillExamsChaptersCategoriesInTree(exam.path, exam.name);
}

void frmViewNote::FillExamsChaptersCategoriesInTree(const QString& path, const QString& examName)
{
    const size_t first = m_nodes.size();
    notesbrowser::FillExamsChaptersCategoriesInTree(m_nodes, path, examName, m_viewer.password, &m_problems);
    const QSignalBlocker blocker(grdChapters);
    for (size_t i = first; i < m_nodes.size(); ++i) {
        const notesbrowser::TreeNode& node = m_nodes[i];
        auto* item =
            node.parent < 0 ? new QTreeWidgetItem(grdChapters) : new QTreeWidgetItem(m_items[size_t(node.parent)]);
        item->setText(0, node.text);
        item->setData(0, kTagRole, node.tag);
        item->setData(0, kKeyRole, node.key);
        if (node.parent < 0) {
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
        }
        m_items.push_back(item);
    }
    // Nodes are expanded as added.
    for (size_t i = first; i < m_items.size(); ++i)
        m_items[i]->setExpanded(true);
}

std::optional<int> frmViewNote::chosenUserCode() const
{
    const QVariant code = cmbUser->currentData();
    if (!code.isValid())
        return std::nullopt;
    return code.toInt();
}

QTreeWidgetItem* frmViewNote::selectedNode() const
{
    return grdChapters->currentItem();
}

void frmViewNote::ShowNotes(const QString& key, const QString& tag, const QString& user)
{
    BusyPointer busy;
    if (QTreeWidgetItem* node = selectedNode())
        node->setExpanded(true);
    m_query = notesbrowser::notesQuery(m_viewer, key, tag, user, chosenUserCode());
    QStringList problems;
    m_grid->setRows(notesbrowser::ShowNotes(m_query, m_viewer.password, &problems));
    if (!problems.isEmpty())
        ShowMessage(problems.join(QStringLiteral("\r\n\r\n")), gLogin.gAppName, OneButton, this);
}

void frmViewNote::refreshNotes()
{
    grdChapters_NodeClick(selectedNode());
}

void frmViewNote::grdChapters_NodeClick(QTreeWidgetItem* node)
{
    if (!node)
        return;
    ShowNotes(node->data(0, kKeyRole).toString(), node->data(0, kTagRole).toString(), cmbUser->currentText());
    node->setExpanded(true);
}

void frmViewNote::cmbUser_Change()
{
    refreshNotes();
}

void frmViewNote::grdViewNotes_DblClick()
{
    const int row = grdViewNotes->currentIndex().row();
    if (m_grid->rowCount() < 1 || row < 0)
        return;
    QTreeWidgetItem* node = selectedNode();
    frmEditNote::Note note;
    note.nodeText = node ? node->text(0) : QString();
    note.examCode = gLogin.gExamCode;
    note.examPath = m_grid->text(row, NotesGridModel::colPath).trimmed();
    note.noteId = m_grid->text(row, NotesGridModel::colNoteId).toLongLong();
    note.questCode = m_grid->text(row, NotesGridModel::colQuestCode).toInt();
    note.text = m_grid->text(row, NotesGridModel::colWholeNote);

    QPointer<frmEditNote> editor = new frmEditNote(this);
    editor->setNote(note);
    editor->setRefresh([this] { refreshNotes(); });
    editor->exec();
    delete editor.data();
}

void frmViewNote::cmdViewCurrent_Click()
{
    if (m_grid->rowCount() < 1) {
        ShowMessage(QStringLiteral("Notes not available"), gLogin.gAppName, OneButton, this);
        WriteLog(QStringLiteral("Notes Not Available :cmdViewCurrent_Click:FrmViewNote: ") + logDateTime());
        return;
    }
    notesreport::NotesReportRequest request = notesreport::exportRequest(m_grid->rows(), m_query.filter.userCode);
    request.answers = chkPrintQA->checkState() != Qt::Unchecked;
    request.explanation = chkExplanaton->checkState() == Qt::Checked;
    request.fontFace = m_printFontFace;
    frmNotePrinter::showPrinter(request, this);
}

void frmViewNote::cmdExit_Click()
{
    reject();
}
