#include "results/windows/frmLOS.h"

#include "mainwindow/windows/WidgetCategoryTreeView.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/UiHooks.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/db/Connection.h"
#include "platform/ui/DefaultInstance.h"
#include "platform/ui/WholeTextTips.h"
#include "results/windows/frmHistoricalAnalysis.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

namespace {

const char* const kShowAllHint = "Show all LOSs addressed in the selected categories.";
const char* const kCompleteHint = "Show only LOSs(from the selected categories) where all of that LOS's "
                                  "corresponding questions have been answered correctly.";
const char* const kIncompleteHint = "Show only LOSs(from the selected categories) where all of that LOS's "
                                    "corresponding questions NOT been answered correctly.";

QLabel* plainLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QPushButton* button(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setMouseTracking(true);
    return b;
}

} // namespace

void frmLOS::showModal(QWidget* owner)
{
    frmLOS& window = load(owner);
    window.exec();
    window.unload();
}

frmLOS& frmLOS::load(QWidget* owner)
{
    DefaultInstance<frmLOS>::discard(DefaultInstance<frmLOS>::find());
    frmLOS& window = DefaultInstance<frmLOS>::get();
    if (owner)
        window.setParent(owner, window.windowFlags() | Qt::Dialog);
    window.Form_Load();
    // The list is read when the window opens (and after the historical
    // analysis closes), not at every activation.
    window.FillLOSList(0);
    return window;
}

frmLOS* frmLOS::loaded()
{
    return DefaultInstance<frmLOS>::find();
}

void frmLOS::unload()
{
    hide();
    DefaultInstance<frmLOS>::discard(this);
}

frmLOS::frmLOS() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmLOS"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    slCategory = plainLabel(QStringLiteral("Objective Categories"), QStringLiteral("slCategory"), Frame1);
    tvwCategory = new WidgetCategoryTreeView(Frame1);
    tvwCategory->setObjectName(QStringLiteral("tvwCategory"));
    connect(tvwCategory, &WidgetCategoryTreeView::nodeTicked, this, [this](int node, bool checked) {
        if (m_loading)
            return;
        m_card.tree.setChecked(node, checked);
        showItems(m_card.nodeChecked(node));
        tvwCategory->showChecks(m_card.tree);
    });
    connect(tvwCategory, &WidgetCategoryTreeView::nodeClicked, this, [this](int node) {
        if (m_loading)
            return;
        showItems(m_card.nodeClicked(node));
        tvwCategory->showChecks(m_card.tree);
    });
    auto* frame1Layout = new QVBoxLayout(Frame1);
    frame1Layout->addWidget(slCategory);
    frame1Layout->addWidget(tvwCategory, 1);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    slLOs = plainLabel(QStringLiteral("Learning Objectives"), QStringLiteral("slLOs"), Frame2);
    lvwLOS = new QListWidget(Frame2);
    lvwLOS->setObjectName(QStringLiteral("lvwLOS"));
    lvwLOS->setSelectionMode(QAbstractItemView::SingleSelection);
    fraInformation = new QGroupBox(QStringLiteral("Loading Information"), Frame2);
    fraInformation->setObjectName(QStringLiteral("fraInformation"));
    hbar = new QProgressBar(fraInformation);
    hbar->setObjectName(QStringLiteral("hbar"));
    hbar->setRange(0, 100);
    hbar->setValue(1);
    auto* informationLayout = new QVBoxLayout(fraInformation);
    informationLayout->addWidget(hbar);
    fraInformation->hide();
    auto* frame2Layout = new QVBoxLayout(Frame2);
    frame2Layout->addWidget(slLOs);
    frame2Layout->addWidget(fraInformation);
    frame2Layout->addWidget(lvwLOS, 1);

    Frame3 = new QGroupBox(QStringLiteral("FILTER"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    cmdShowall = button(QStringLiteral("Show All"), QStringLiteral("cmdShowall"), Frame3);
    cmdComplete = button(QStringLiteral("Complete"), QStringLiteral("cmdComplete"), Frame3);
    cmdIncomplete = button(QStringLiteral("Incomplete"), QStringLiteral("cmdIncomplete"), Frame3);
    connect(cmdShowall, &QPushButton::clicked, this, [this] { FillLOSList(1); });
    connect(cmdComplete, &QPushButton::clicked, this, [this] { FillLOSList(2); });
    connect(cmdIncomplete, &QPushButton::clicked, this, [this] { FillLOSList(3); });
    lblFilterHint = plainLabel(QStringLiteral("Hold mouse pointer over buttons for descriptions"),
                               QStringLiteral("lblFilterHint"), Frame3);
    auto* filterButtons = new QHBoxLayout;
    filterButtons->addWidget(cmdShowall);
    filterButtons->addWidget(cmdComplete);
    filterButtons->addWidget(cmdIncomplete);
    auto* frame3Layout = new QVBoxLayout(Frame3);
    frame3Layout->addLayout(filterButtons);
    frame3Layout->addWidget(lblFilterHint);

    fraPass = new QFrame(this);
    fraPass->setObjectName(QStringLiteral("fraPass"));
    fraPass->setCursor(Qt::PointingHandCursor);
    fraPass->installEventFilter(this);
    lblPassNote = plainLabel(QStringLiteral("*All data is from the current \"Pass\" only."),
                             QStringLiteral("lblPassNote"), fraPass);
    lblPassNote->setWordWrap(true);
    // The note is part of the frame's click area.
    lblPassNote->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* passLayout = new QVBoxLayout(fraPass);
    passLayout->addWidget(lblPassNote);

    cmdClose = button(QStringLiteral("CLose"), QStringLiteral("cmdClose"), this);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    picPopup = new QFrame(this);
    picPopup->setObjectName(QStringLiteral("picPopup"));
    picPopup->setFrameShape(QFrame::Box);
    lblMessage = plainLabel(QString(), QStringLiteral("lblMessage"), picPopup);
    lblMessage->setWordWrap(true);
    auto* popupLayout = new QVBoxLayout(picPopup);
    popupLayout->setContentsMargins(4, 3, 4, 3);
    popupLayout->addWidget(lblMessage);
    picPopup->hide();

    // Hints over the filter buttons; the frames and Close take them away.
    for (QWidget* watched :
         std::initializer_list<QWidget*>{cmdShowall, cmdComplete, cmdIncomplete, cmdClose, Frame1, Frame2, Frame3}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }

    auto* lists = new QHBoxLayout;
    lists->addWidget(Frame1, 2);
    lists->addWidget(Frame2, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Frame3);
    bottom->addWidget(fraPass, 1);
    bottom->addWidget(cmdClose, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);
    resize(760, 560);
}

void frmLOS::Form_Load()
{
    skinWindow(this);
    setStyleSheet(styleSheet()
                  + QStringLiteral("\n#frmLOS { background-color: rgb(248, 248, 248); }"
                                   "\n#picPopup { background-color: rgb(255, 255, 0); }"
                                   "\n#fraPass { background-color: rgb(0, 0, 255); }"
                                   "\n#lblPassNote { color: rgb(255, 255, 255); }"));
    setWindowTitle(gLogin.gAppName + QStringLiteral("- LOS Score Card"));
    pFillCategory();
}

void frmLOS::pFillCategory()
{
    std::vector<ExamBank::TreeCategory> categories;
    try {
        db::Connection exam = db::Connection::open(gLogin.gExamConnStr);
        categories = ExamBank(exam).categoryTree();
    } catch (const std::exception& error) {
        reportError(error, "pFillCategory");
    }
    m_card.fillTree(gLogin.gExamDesc, categories);

    tvwCategory->fill(m_card.tree);
    // The tree as wide as its names where the screen has room (the window
    // grows with it); narrower, a cut name reads whole as its tip.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        tvwCategory->setMinimumWidth(
            std::min(contentWidthOf(tvwCategory), screen->availableGeometry().width() * 2 / 5));
}

void frmLOS::FillLOSList(int mode)
{
    if (m_loading)
        return;
    if (mode != 0) {
        const LosFilter filter = mode == 2 ? LosFilter::Complete : mode == 3 ? LosFilter::Incomplete : LosFilter::All;
        showItems(m_card.list(filter));
        return;
    }
    m_loading = true;
    m_loadingValues.clear();
    showLoading(true);
    try {
        std::vector<ObjectiveTable::ScoreCardRow> rows;
        {
            db::Connection exam = db::Connection::open(gLogin.gExamConnStr);
            rows = ObjectiveTable(exam).scoreCardRows();
        }
        const std::vector<LosItem> items = m_card.load(rows, [this](int value) {
            if (!m_loadingValues.empty() && m_loadingValues.back() == value)
                return;
            m_loadingValues.push_back(value);
            hbar->setValue(value);
            // The bar is drawn while the list loads.
            for (int i = 0; i < 3; ++i)
                uiHooks().processEvents();
        });
        showItems(items);
    } catch (const std::exception& error) {
        // The list keeps what it had.
        reportError(error, "FillLOSList");
    }
    showLoading(false);
    m_loading = false;
}

void frmLOS::showItems(const std::vector<LosItem>& items)
{
    lvwLOS->clear();
    for (const LosItem& entry : items) {
        auto* item = new QListWidgetItem(entry.text, lvwLOS);
        item->setData(Qt::UserRole, entry.key);
        // The ticks only show: the user cannot change them.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
    }
}

void frmLOS::showLoading(bool loading)
{
    fraInformation->setVisible(loading);
    for (QWidget* shown : std::initializer_list<QWidget*>{slCategory, slLOs, lvwLOS, tvwCategory})
        shown->setVisible(!loading);
}

void frmLOS::fraPass_Click()
{
    frmHistoricalAnalysis::showModal(this);
    // Back from the analysis: the list is read again with the current ticks.
    FillLOSList(0);
}

void frmLOS::showHint(QPushButton* over)
{
    if (picPopup->isVisible())
        return;
    const char* text = over == cmdShowall ? kShowAllHint : over == cmdComplete ? kCompleteHint : kIncompleteHint;
    lblMessage->setText(QLatin1String(text));
    const int width = over == cmdShowall ? 200 : 260;
    lblMessage->setFixedWidth(width);
    picPopup->adjustSize();
    const QPoint corner = over->mapTo(this, QPoint(0, 0));
    picPopup->move(std::max(0, std::min(corner.x(), this->width() - picPopup->width())),
                   std::max(0, corner.y() - picPopup->height() - 4));
    picPopup->show();
    picPopup->raise();
}

bool frmLOS::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == fraPass && type == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && fraPass->rect().contains(mouse->position().toPoint())) {
            fraPass_Click();
            return true;
        }
    } else if (type == QEvent::MouseMove || type == QEvent::Enter) {
        if (watched == cmdShowall || watched == cmdComplete || watched == cmdIncomplete) {
            showHint(static_cast<QPushButton*>(watched));
        } else if (watched == cmdClose) {
            picPopup->hide();
        } else if (watched == Frame1 || watched == Frame2 || watched == Frame3) {
            // A move over a button that the button leaves to its frame is
            // still over the button: only the frame's own area hides the hint.
            bool overButton = false;
            if (type == QEvent::MouseMove) {
                const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
                QWidget* under = static_cast<QWidget*>(watched)->childAt(at);
                for (QPushButton* filter : {cmdShowall, cmdComplete, cmdIncomplete})
                    overButton = overButton || (under && (under == filter || filter->isAncestorOf(under)));
            }
            if (!overButton)
                picPopup->hide();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmLOS::reportError(const std::exception& error, const char* procedure)
{
    const QString text = QString::fromUtf8(error.what());
    WriteLog(text + QStringLiteral(" :") + QLatin1String(procedure) + QStringLiteral(":frmLOS") + logDate());
    ShowMessage(commandFailureText(QStringLiteral("The learning objectives could not be read."),
                                   DatabaseFile::exam(db::Connection::pathFromConnectionString(gLogin.gExamConnStr)),
                                   error),
                gLogin.gAppName, OneButton, this);
}
