#include "exam/frmZiduver.h"

#include "exam/AnswerCheck.h"
#include "exam/ClockRandomSource.h"
#include "exam/ExamClock.h"
#include "exam/ExamHelp.h"
#include "exam/ExamKeys.h"
#include "exam/ExamNavigation.h"
#include "exam/HelpWindows.h"
#include "exam/PageLock.h"
#include "exam/QuestionDisplay.h"
#include "exam/QuestionPage.h"
#include "exam/VerdictNote.h"
#include "exam/WidgetActionButton.h"
#include "exam/WidgetExamHelp.h"
#include "exam/frmLoading.h"
#include "exam/links/AddNoteLink.h"
#include "exam/links/ExamReviewLink.h"
#include "exam/links/PreviousNotesLink.h"
#include "exam/links/QuestionSheetLink.h"
#include "exam/links/ResultWindowLink.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/ProgramFolder.h"
#include "foundation/QuestionsHeadTable.h"
#include "foundation/SharedState.h"
#include "foundation/UserNotesTable.h"
#include "foundation/WidgetSkinning.h"
#include "foundation/WindowLink.h"
#include "platform/db/DbError.h"
#include "foundation/WindowTag.h"
#include "platform/ui/ActivationSource.h"
#include "platform/ui/DefaultInstance.h"
#include "platform/ui/WindowControls.h"

#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWindow>
#include <algorithm>
#include <iterator>

namespace {

// The window's lengths are laid down at 15 units a pixel.
constexpr int px(int units)
{
    return units / 15;
}

// A control's setting in a mode: left as it is, or switched on or off.
enum class Set : char { Keep, On, Off };

template <typename Switch> void apply(Set setting, Switch&& turn)
{
    if (setting != Set::Keep)
        turn(setting == Set::On);
}

// What each mode shows, hides, enables and disables, from the window's
// design-time state (every button shown and enabled, Marked Questions and
// Take a break hidden, the clock reading "Time Elapsed"). The load's own
// settings come first; the caption and the mode's controls after them, and
// again at every jump to a question.
struct ModeControls {
    ExamMode mode;
    // The load.
    bool timeRemaining; // the clock says "Time Remaining"
    Set loadMarkBox, loadBreakBox, loadPrevShown, loadPrevEnabled;
    Set loadAnswerButtons; // Show Answer, Instruction, Reset: shown or hidden
    Set loadExplanation;
    // The caption and the mode's controls.
    const char* captionSuffix;
    Set previousShown, previousEnabled, previousMenu;
    Set markBox, feedbackBox;
    Set answerButtons; // Show Answer, Instruction, Reset: enabled, and shown or hidden
    Set explanation, examReview, markedButton, endExam;
    Set noteTools, reviewTool; // toolbar: View Note and Add Note; Review
    Set examMenus;             // answer key, status, history, add note, feedback
    Set feedbackMenu;
};

constexpr Set K = Set::Keep, On = Set::On, Off = Set::Off;
// clang-format off
constexpr ModeControls kModeControls[] = {
    // mode               remain mark brk  prev/en  answer expl  suffix                       prev shown/en/menu  mark fdbk answer expl review marked end   notes revw menus fdbkMenu
    {ExamMode::Simulated, true,  On,  On,  K,  K,   Off,   Off,  ", Mode : Simulated",       On,  Off, On,       K,   Off, Off,   K,   K,     K,     On,   Off,  K,   Off,  K},
    {ExamMode::Test,      false, Off, K,   Off, K,  Off,   Off,  ", Mode : Pretest",         On,  Off, On,       Off, Off, Off,   Off, Off,   Off,   On,   Off,  Off, Off,  K},
    {ExamMode::Practice,  false, K,   K,   K,  Off, K,     K,    ", Mode : Adaptive Drills", K,   K,   K,        Off, K,   K,     On,  K,     K,     K,    K,    K,   K,    On},
    // Any other mode word (the adaptive one): loaded as the simulated exam, without a caption suffix.
    {ExamMode::Other,     true,  On,  On,  K,  K,   Off,   Off,  "",                         K,   K,   K,        K,   K,   K,     K,   K,     K,     K,    K,    K,   K,    K},
};
// clang-format on

const ModeControls& modeControls(ExamMode mode)
{
    for (const ModeControls& controls : kModeControls)
        if (controls.mode == mode)
            return controls;
    return kModeControls[std::size(kModeControls) - 1];
}

} // namespace

frmZiduver* frmZiduver::running()
{
    return DefaultInstance<frmZiduver>::find();
}

void frmZiduver::launch(const ExamParameters& record)
{
    frmZiduver& window = DefaultInstance<frmZiduver>::get();
    window.session.launch = record;
    if (!window.Form_Load()) {
        // Nothing to run: back to the main window, which hid itself for the launch.
        window.end(ExamRun::EndReason::NothingToRun);
        return;
    }
    window.m_end.setQuietClose([&window] { window.closeForProgramEnd(); });
    window.show();
    window.raise();
    window.activateWindow();
}

frmZiduver::frmZiduver() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmZiduver"));
    buildControls();
    m_clock = makeTickSource();
    Timer1 = m_clock.get();
    connect(Timer1, &TickSource::tick, this, &frmZiduver::Timer1_Timer);
    // The window sees every key of its controls and of the page first.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmZiduver::onFocusWindowChanged);
}

frmZiduver::~frmZiduver()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void frmZiduver::buildControls()
{
    // Top band: toolbar, review gauge and the question counter.
    frimTop = new QFrame(this);
    frimTop->setObjectName(QStringLiteral("frimTop"));
    frimTop->setFixedHeight(px(975));
    auto* top = new QHBoxLayout(frimTop);
    top->setContentsMargins(8, 4, 8, 4);
    const auto toolAction = [this](const char* name, const char* caption) {
        auto* a = new QAction(QString::fromLatin1(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        addAction(a);
        return a;
    };
    // The toolbar's commands. Print and Add Note are not the menu's Print
    // and Add Note: the toolbar's Print stops the clock while the sheet is
    // open, and its Add Note opens the note window with the Tag "L" (closed
    // at time-over) and without the question's category and chapter.
    actPrint = toolAction("actPrint", "Print");
    actViewNote = toolAction("actViewNote", "View Note");
    actAddNote = toolAction("actAddNote", "Add Note");
    actReview = toolAction("actReview", "Review");
    actEndExam = toolAction("actEndExam", "End Exam");
    actHelp = toolAction("actHelp", "Help");
    const std::pair<const char*, QAction*> toolbar[] = {
        {"ToolbarPrint", actPrint},   {"ToolbarViewNote", actViewNote}, {"ToolbarAddNote", actAddNote},
        {"ToolbarReview", actReview}, {"ToolbarEndExam", actEndExam},   {"ToolbarHelp", actHelp},
    };
    for (size_t i = 0; i < tbar.size(); ++i) {
        tbar[i] = new WidgetActionButton(toolbar[i].second, frimTop);
        tbar[i]->setObjectName(QString::fromLatin1(toolbar[i].first));
        // Reached by Tab; a click leaves the focus where it is (on the page).
        tbar[i]->setFocusPolicy(Qt::TabFocus);
        top->addWidget(tbar[i]);
    }
    top->addStretch();
    picGauge = new QFrame(frimTop);
    picGauge->setObjectName(QStringLiteral("picGauge"));
    lblReview = new QLabel(QStringLiteral("Review Mode"), picGauge);
    lblReview->setObjectName(QStringLiteral("lblReview"));
    QFont reviewFont = lblReview->font();
    reviewFont.setBold(true);
    lblReview->setFont(reviewFont);
    auto* gauge = new QHBoxLayout(picGauge);
    gauge->setContentsMargins(6, 2, 6, 2);
    gauge->addWidget(lblReview);
    top->addWidget(picGauge);
    // Shown once review mode begins.
    picGauge->hide();
    lblReview->hide();
    Frame1 = new QFrame(frimTop);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFixedWidth(px(2385));
    lblQno = new QLabel(Frame1);
    lblQno->setObjectName(QStringLiteral("lblQno"));
    lblQno->setAlignment(Qt::AlignCenter);
    QFont counter = lblQno->font();
    counter.setBold(true);
    counter.setPointSize(counter.pointSize() + 2);
    lblQno->setFont(counter);
    Label2 = new QLabel(Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText); // the question's code as the exam stores it
    Label2->hide();
    auto* frame1 = new QVBoxLayout(Frame1);
    frame1->addWidget(lblQno);
    top->addWidget(Frame1);

    // The tab strip of scenario questions: the question, or the scenario
    // page in place of the question area.
    TabScenario = new QTabBar(this);
    TabScenario->setObjectName(QStringLiteral("TabScenario"));
    TabScenario->addTab(QStringLiteral("Question"));
    TabScenario->addTab(QStringLiteral("Scenario"));
    TabScenario->setExpanding(false);
    TabScenario->setDrawBase(false);
    TabScenario->hide();

    // Question area: the question page; the scenario page takes its place
    // when its tab is chosen. The page scrolls itself.
    ViewAnswer = new QScrollArea(this);
    ViewAnswer->setObjectName(QStringLiteral("ViewAnswer"));
    ViewAnswer->setWidgetResizable(true);
    ViewAnswer->setFrameShape(QFrame::NoFrame);
    Picture3 = new QWidget;
    Picture3->setObjectName(QStringLiteral("Picture3"));
    auto* pages = new QStackedLayout(Picture3);
    www1 = new BrowserView(Picture3);
    www1->setObjectName(QStringLiteral("www1"));
    // The scenario view is made when a scenario is first shown: a browser
    // view is costly and most exams never need it.
    ScenarioBroser = nullptr;
    pages->addWidget(www1);
    ViewAnswer->setWidget(Picture3);
    // The alert panel follows the question area it lies over.
    ViewAnswer->installEventFilter(this);

    // Bottom band: navigation and answer buttons, the check boxes, the clock.
    fraFooter = new QFrame(this);
    fraFooter->setObjectName(QStringLiteral("fraFooter"));
    fraFooter->setFixedHeight(px(1035));
    auto* footer = new QHBoxLayout(fraFooter);
    footer->setContentsMargins(6, 4, 6, 4);
    footer->setSpacing(4);
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), fraFooter);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    cmdPrev = button("cmdPrev", "&Previous");
    cmdNext = button("cmdNext", "&Next");
    cmdShowAnswer = button("cmdShowAnswer", "&Show Answer");
    cmdReset = button("cmdReset", "&Reset");
    cmdExplanation = button("cmdExplanation", "E&xplanation");
    cmdInstruction = button("cmdInstruction", "&Instruction");
    cmdExamReview = button("cmdExamReview", "Re&view");
    cmdEndExam = button("cmdEndExam", "&End Exam");
    cmdMarked = button("cmdMarked", "Marked Questions");
    cmdMarked->hide();
    auto* checks = new QVBoxLayout;
    Check1 = new QCheckBox(QStringLiteral("Mark Current Question"), fraFooter);
    Check1->setObjectName(QStringLiteral("Check1"));
    chkShowresult = new QCheckBox(QStringLiteral("Show Feedback"), fraFooter);
    chkShowresult->setObjectName(QStringLiteral("chkShowresult"));
    chkBreak = new QCheckBox(QStringLiteral("Take a break"), fraFooter);
    chkBreak->setObjectName(QStringLiteral("chkBreak"));
    chkBreak->hide();
    // The boxes keep their whole text; the footer's gaps and the clock give
    // way first when every button is shown on a narrow screen.
    for (QCheckBox* box : {Check1, chkShowresult, chkBreak}) {
        box->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        checks->addWidget(box);
    }
    Picture1 = new QFrame(fraFooter);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    // Its drawn width, but it may narrow with the buttons on a small screen
    // instead of lying over them.
    Picture1->setMaximumWidth(px(1590) + 20);
    Picture1->setStyleSheet(QStringLiteral("#Picture1 { background: rgb(248, 248, 248); border-radius: 4px; }"));
    lblBalTime = new QLabel(QStringLiteral("Time Elapsed"), Picture1);
    lblBalTime->setObjectName(QStringLiteral("lblBalTime"));
    lblBalTime->setAlignment(Qt::AlignCenter);
    lblExamTimer = new QLabel(Picture1);
    lblExamTimer->setObjectName(QStringLiteral("lblExamTimer"));
    lblExamTimer->setAlignment(Qt::AlignCenter);
    auto* clock = new QVBoxLayout(Picture1);
    clock->setContentsMargins(2, 2, 2, 2);
    clock->addWidget(lblBalTime);
    clock->addWidget(lblExamTimer);
    clock->addSpacerItem(new QSpacerItem(px(1590) + 16, 0, QSizePolicy::Preferred, QSizePolicy::Fixed));

    footer->addWidget(cmdPrev);
    footer->addWidget(cmdNext);
    footer->addLayout(checks);
    footer->addWidget(Picture1);
    footer->addStretch();
    for (QPushButton* b :
         {cmdShowAnswer, cmdReset, cmdExplanation, cmdInstruction, cmdExamReview, cmdMarked, cmdEndExam})
        footer->addWidget(b);

    // The practice alert, laid over the question area when raised.
    fraAltert = new QFrame(this);
    fraAltert->setObjectName(QStringLiteral("fraAltert"));
    fraAltert->setFrameShape(QFrame::StyledPanel);
    fraAltert->setAutoFillBackground(true);
    fraAltert->setStyleSheet(QStringLiteral("#fraAltert { background: rgb(255, 248, 225); border: 2px solid "
                                            "rgb(176, 52, 40); border-radius: 6px; }"));
    SkinLabel2 = new QLabel(QStringLiteral("Incorrect!"), fraAltert);
    SkinLabel2->setObjectName(QStringLiteral("SkinLabel2"));
    QFont heading = SkinLabel2->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 4);
    SkinLabel2->setFont(heading);
    SkinLabel2->setStyleSheet(QStringLiteral("color: rgb(176, 52, 40);"));
    auto alertButton = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), fraAltert);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    cmdTryAgain = alertButton("cmdTryAgain", "&Try Again");
    cmdLinks = alertButton("cmdLinks", "Explanation");
    cmShowanswer1 = alertButton("cmShowanswer1", "&Show Answer");
    cmdNextQuest = alertButton("cmdNextQuest", "Next Question");
    chkResult = new QCheckBox(QStringLiteral("Show result after wrong answer ?"), fraAltert);
    chkResult->setObjectName(QStringLiteral("chkResult"));
    auto* alert = new QVBoxLayout(fraAltert);
    alert->setContentsMargins(16, 12, 16, 12);
    alert->addWidget(SkinLabel2);
    auto* alertButtons = new QHBoxLayout;
    for (QPushButton* b : {cmdTryAgain, cmdLinks, cmShowanswer1, cmdNextQuest})
        alertButtons->addWidget(b);
    alert->addLayout(alertButtons);
    alert->addWidget(chkResult);
    fraAltert->hide();
    // The marked-questions panel, laid over the question area when opened.
    picMarked = new QFrame(this);
    picMarked->setObjectName(QStringLiteral("picMarked"));
    picMarked->setFrameShape(QFrame::StyledPanel);
    picMarked->setAutoFillBackground(true);
    picMarked->setStyleSheet(QStringLiteral("#picMarked { background: rgb(248, 248, 248); border: 2px solid "
                                            "rgb(11, 111, 196); border-radius: 6px; }"));
    lblMarkedCaption = new QLabel(QStringLiteral("Marked Questions"), picMarked);
    lblMarkedCaption->setObjectName(QStringLiteral("lblMarkedCaption"));
    QFont markedHeading = lblMarkedCaption->font();
    markedHeading.setBold(true);
    lblMarkedCaption->setFont(markedHeading);
    flexMarked = new QTableWidget(0, 3, picMarked);
    flexMarked->setObjectName(QStringLiteral("flexMarked"));
    flexMarked->setHorizontalHeaderLabels(MarkedList::headers());
    flexMarked->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    flexMarked->verticalHeader()->hide();
    flexMarked->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flexMarked->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexMarked->setSelectionMode(QAbstractItemView::SingleSelection);
    const std::vector<int> widths = MarkedList::columnWidths();
    for (int c = 0; c < 3; ++c)
        flexMarked->setColumnWidth(c, px(widths[size_t(c)]));
    flexMarked->setColumnHidden(0, true);
    flexMarked->setMinimumWidth(px(widths[1] + widths[2]) + 24);
    Label5 = new QLabel(QStringLiteral("Double Click to select"), picMarked);
    Label5->setObjectName(QStringLiteral("Label5"));
    cmdVQuestion = new QPushButton(QStringLiteral("View Question"), picMarked);
    cmdVQuestion->setObjectName(QStringLiteral("cmdVQuestion"));
    cmdClose = new QPushButton(QStringLiteral("Close"), picMarked);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    auto* markedLayout = new QVBoxLayout(picMarked);
    markedLayout->setContentsMargins(12, 10, 12, 10);
    markedLayout->addWidget(lblMarkedCaption);
    markedLayout->addWidget(flexMarked, 1);
    markedLayout->addWidget(Label5);
    auto* markedButtons = new QHBoxLayout;
    markedButtons->addWidget(cmdVQuestion);
    markedButtons->addWidget(cmdClose);
    markedLayout->addLayout(markedButtons);
    picMarked->hide();
    // The cover of the question area during a break: the question is not
    // shown while the clock stands.
    lblBreakCover = new QLabel(QStringLiteral("The exam is paused.\nUntick \"Take a break\" to go on."), this);
    lblBreakCover->setObjectName(QStringLiteral("lblBreakCover"));
    lblBreakCover->setAlignment(Qt::AlignCenter);
    lblBreakCover->setAutoFillBackground(true);
    lblBreakCover->setStyleSheet(
        QStringLiteral("#lblBreakCover { background: rgb(236, 240, 244); color: rgb(31, 46, 58); font-size: 16pt; }"));
    lblBreakCover->hide();

    auto action = [this](const char* name, const char* caption) {
        auto* a = new QAction(QString::fromLatin1(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuPrint = action("mnuPrint", "&Print");
    mnuPrintSetup = action("mnuPrintSetup", "Print &Setup");
    mnuExit = action("mnuExit", "E&xit");
    mnuCheatKey = action("mnuCheatKey", "Enable &Cheat Key");
    mnuCheatKey->setCheckable(true);
    mnuShowResult = action("mnuShowResult", "Show Result after wrong answer");
    mnuShowResult->setCheckable(true);
    mnuAddNote = action("mnuAddNote", "Add& Note");
    mnuNext = action("mnuNext", "&Next Question");
    mnuPrev = action("mnuPrev", "&Previous Question");
    mnuStatus = action("mnuStatus", "Exam &Status");
    mnuHistory = action("mnuHistory", "&History");
    mnuViewNote = action("mnuViewNote", "View Note");
    mnuAbout = action("mnuAbout", "About");
    for (QAction* a : {actPrint, actViewNote, actAddNote, actReview, actEndExam, actHelp, mnuPrint, mnuCheatKey,
                       mnuShowResult, mnuAddNote, mnuNext, mnuPrev})
        allowAction(a, true);
    // Items that have no command are shown, but cannot be chosen.
    for (QAction* a : {mnuPrintSetup, mnuExit, mnuStatus, mnuHistory, mnuViewNote, mnuAbout})
        allowAction(a, false);
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName(QStringLiteral("mnuBar"));
    QMenu* fileMenu = mnuBar->addMenu(QStringLiteral("&File"));
    fileMenu->addAction(mnuPrint);
    fileMenu->addAction(mnuPrintSetup);
    fileMenu->addSeparator();
    fileMenu->addAction(mnuExit);
    QMenu* optionMenu = mnuBar->addMenu(QStringLiteral("&Option"));
    for (QAction* a : {mnuCheatKey, mnuShowResult, mnuAddNote})
        optionMenu->addAction(a);
    optionMenu->addSeparator();
    optionMenu->addAction(mnuNext);
    optionMenu->addAction(mnuPrev);
    optionMenu->addSeparator();
    for (QAction* a : {mnuStatus, mnuHistory, mnuViewNote, mnuAbout})
        optionMenu->addAction(a);

    // F10 opens the first menu wherever the focus is in the window, as in
    // the main window; behind a modal window of the exam it does nothing.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    f10->setContext(Qt::WindowShortcut);
    connect(f10, &QShortcut::activated, this, [this] {
        if (mnuBar->isEnabled() && !mnuBar->actions().isEmpty()) {
            mnuBar->setFocus(Qt::ShortcutFocusReason);
            mnuBar->setActiveAction(mnuBar->actions().constFirst());
        }
    });

    auto* layout = new QVBoxLayout(this);
    // The window takes the screen's size, never the bands' wish: on a narrow
    // screen the bands squeeze their buttons rather than push the window
    // (and End Exam) past the screen's edge.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(2);
    layout->setMenuBar(mnuBar);
    layout->addWidget(frimTop);
    layout->addWidget(TabScenario);
    layout->addWidget(ViewAnswer, 1);
    layout->addWidget(fraFooter);

    // The question area itself takes no focus: its page does.
    ViewAnswer->setFocusPolicy(Qt::NoFocus);
    placePagesInTabOrder();

    connect(cmdNext, &QPushButton::clicked, this, &frmZiduver::cmdNext_Click);
    connect(cmdPrev, &QPushButton::clicked, this, &frmZiduver::cmdPrev_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmZiduver::cmdReset_Click);
    connect(cmdShowAnswer, &QPushButton::clicked, this, &frmZiduver::cmdShowAnswer_Click);
    connect(cmdExplanation, &QPushButton::clicked, this, &frmZiduver::cmdExplanation_Click);
    connect(mnuNext, &QAction::triggered, this, &frmZiduver::mnuNext_Click);
    connect(mnuPrev, &QAction::triggered, this, &frmZiduver::mnuPrev_Click);
    connect(TabScenario, &QTabBar::currentChanged, this,
            [this] { command("TabScenario_Click", [this] { TabScenario_Click(); }); });
    connect(www1, &BrowserView::statusTextChanged, this, &frmZiduver::www1_StatusTextChange);
    // A page that comes while the page must take no input is locked too.
    connect(www1, &BrowserView::loadFinished, this, [this] {
        placePagesInTabOrder();
        if (pageLocked())
            applyPageLock();
    });
    connect(cmdTryAgain, &QPushButton::clicked, this, &frmZiduver::cmdTryAgain_Click);
    connect(cmdLinks, &QPushButton::clicked, this, &frmZiduver::cmdLinks_Click);
    connect(cmShowanswer1, &QPushButton::clicked, this, &frmZiduver::cmShowanswer1_Click);
    connect(cmdNextQuest, &QPushButton::clicked, this, &frmZiduver::cmdNextQuest_Click);
    connect(chkResult, &QCheckBox::toggled, this, &frmZiduver::chkResult_Click);
    connect(chkShowresult, &QCheckBox::toggled, this, &frmZiduver::chkShowresult_Click);
    connect(cmdEndExam, &QPushButton::clicked, this, &frmZiduver::cmdEndExam_Click);
    connect(cmdExamReview, &QPushButton::clicked, this, &frmZiduver::cmdExamReview_Click);
    connect(cmdInstruction, &QPushButton::clicked, this, &frmZiduver::cmdInstruction_Click);
    connect(actPrint, &QAction::triggered, this, [this] { ToolbarClick([this] { ToolbarPrint(); }); });
    connect(actViewNote, &QAction::triggered, this, [this] { ToolbarClick([this] { ToolbarViewNote(); }); });
    connect(actAddNote, &QAction::triggered, this, [this] { ToolbarClick([this] { ToolbarAddNote(); }); });
    connect(actReview, &QAction::triggered, this, [this] { ToolbarClick([this] { cmdExamReview_Click(); }); });
    connect(actEndExam, &QAction::triggered, this, [this] { ToolbarClick([this] { cmdEndExam_Click(); }); });
    connect(actHelp, &QAction::triggered, this, [this] { ToolbarClick([this] { showHelpWindow(); }); });
    // The mark box's click follows its value, also when the display sets it.
    connect(Check1, &QCheckBox::toggled, this, &frmZiduver::Check1_Click);
    connect(chkBreak, &QCheckBox::toggled, this, &frmZiduver::chkBreak_Click);
    connect(cmdMarked, &QPushButton::clicked, this, &frmZiduver::cmdMarked_Click);
    connect(flexMarked, &QTableWidget::cellDoubleClicked, this, &frmZiduver::flexMarked_DblClick);
    connect(cmdVQuestion, &QPushButton::clicked, this, &frmZiduver::flexMarked_DblClick);
    connect(cmdClose, &QPushButton::clicked, this, &frmZiduver::cmdClose_Click);
    connect(mnuPrint, &QAction::triggered, this, &frmZiduver::mnuPrint_Click);
    connect(mnuAddNote, &QAction::triggered, this, &frmZiduver::mnuAddNote_Click);
}

bool frmZiduver::Form_Load()
{
    session.startValues(session.launch.mode());
    skinWindow(this);
    DisableCloseMenu(this);
    // The question font is for the question area; the bands keep their own
    // font, so that the buttons still fit the screen width with a large
    // question font.
    QFont questionFont = ViewAnswer->font();
    if (!session.launch.gQuizFontName.isEmpty())
        questionFont.setFamily(session.launch.gQuizFontName);
    if (session.launch.gQuizFontSize > 0)
        questionFont.setPointSize(session.launch.gQuizFontSize);
    ViewAnswer->setFont(questionFont);
    // Blocked right clicks block the view's own menu too: page scripts cannot.
    www1->setContextMenuBlocked(gStartup.gBlockRightClick == 1);
    session.gReviewMode = false;

    if (session.launch.gQuizQuestionCount == 0) {
        ShowMessage(QuestionSetBuilder::noQuestionsText(), gLogin.gAppName, OneButton, this);
        return false;
    }
    session.EndDeclined = false;

    m_loading = std::make_unique<frmLoading>();
    m_loading->show();
    QApplication::processEvents();
    InitMarkedGrid();

    www1->writeHtml(QString());
    lblExamTimer->setText(firstClockCaption(session.launch.gQuizHours, session.launch.gQuizMinutes));
    lblExamTimer->show();

    try {
        if (!session.ExamConn.isOpen())
            session.openExamConnection(session.launch.gQuizConnStr);
    } catch (const std::exception& error) {
        hideLoading();
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : Form_Load : frmZiduver : Date/Time :")
                 + logDateTime());
        ShowMessage(commandFailureText(QStringLiteral("The exam could not be started."),
                                       DatabaseFile::exam(session.launch.gQuizExamDbPath), error),
                    gLogin.gAppName, OneButton, this);
        return false;
    }
    int categories = 0;
    try {
        categories = session.openCategoryRows(session.mode);
    } catch (const std::exception&) {
        categories = 0;
    }
    if (categories <= 0) {
        hideLoading();
        ShowMessage(QStringLiteral("No Categories available"), gLogin.gAppName, OneButton, this);
        return false;
    }

    const ModeControls& load = modeControls(session.mode);
    if (load.timeRemaining)
        lblBalTime->setText(QStringLiteral("Time Remaining"));
    apply(load.loadMarkBox, [this](bool on) { Check1->setVisible(on); });
    apply(load.loadBreakBox, [this](bool on) { chkBreak->setVisible(on); });
    apply(load.loadPrevShown, [this](bool on) { cmdPrev->setVisible(on); });
    apply(load.loadPrevEnabled, [this](bool on) { cmdPrev->setEnabled(on); });
    apply(load.loadAnswerButtons, [this](bool on) {
        for (QPushButton* b : {cmdShowAnswer, cmdInstruction, cmdReset})
            b->setVisible(on);
    });
    apply(load.loadExplanation, [this](bool on) { cmdExplanation->setVisible(on); });
    SetModeCaptionAndControls(session.mode);
    if (session.launch.gQuizQuestionCount == 1) {
        cmdNext->setEnabled(false);
        cmdPrev->setEnabled(false);
    }

    ClockRandomSource random;
    const QuestionSetResult built =
        session.buildQuestionSet(session.mode, session.launch.gQuizUserCode, session.launch.gQuizQuestionCount, random);
    QApplication::processEvents();
    if (!built.ok) {
        // Never start on a partial or empty list.
        hideLoading();
        ShowMessage(built.message, gLogin.gAppName, OneButton, this);
        return false;
    }
    // The exam runs over the questions drawn.
    if (session.launch.gQuizQuestionCount == 1) {
        cmdNext->setEnabled(false);
        cmdPrev->setEnabled(false);
    }
    session.CurrentQuestion = 1;
    Label2->setText(session.msflex.text(1, colQuestCode));
    ShowQuestion(session.msflex.questionCode(1), session.msflex.choiceOrder(1), false);
    QApplication::processEvents();
    settleView();
    hideLoading();
    // The time runs from the first question on screen.
    Timer1->setEnabled(true);
    return true;
}

void frmZiduver::hideLoading()
{
    m_loading.reset();
}

void frmZiduver::SetModeCaptionAndControls(ExamMode mode)
{
    const ExamParameters& record = session.launch;
    QString caption = gStartup.gMultiUser
        ? record.gAppTitle + QStringLiteral(" [ ") + record.gQuizExamName + QStringLiteral(" ] , User : ")
            + record.gQuizUserName
        : record.gAppTitle + QStringLiteral(" [ ") + record.gQuizExamName + QStringLiteral(" ]  ");
    mnuCheatKey->setChecked(false);
    const ModeControls& controls = modeControls(mode);
    caption += QLatin1String(controls.captionSuffix);
    apply(controls.previousShown, [this](bool on) { cmdPrev->setVisible(on); });
    apply(controls.previousEnabled, [this](bool on) { cmdPrev->setEnabled(on); });
    apply(controls.previousMenu, [this](bool on) { allowAction(mnuPrev, on); });
    apply(controls.markBox, [this](bool on) { Check1->setVisible(on); });
    apply(controls.feedbackBox, [this](bool on) { chkShowresult->setVisible(on); });
    apply(controls.answerButtons, [this](bool on) {
        for (QPushButton* b : {cmdShowAnswer, cmdInstruction, cmdReset}) {
            b->setEnabled(true);
            b->setVisible(on);
        }
    });
    apply(controls.explanation, [this](bool on) { cmdExplanation->setVisible(on); });
    apply(controls.examReview, [this](bool on) { cmdExamReview->setVisible(on); });
    apply(controls.markedButton, [this](bool on) { cmdMarked->setVisible(on); });
    apply(controls.endExam, [this](bool on) { cmdEndExam->setVisible(on); });
    apply(controls.noteTools, [this](bool on) {
        allowAction(actViewNote, on);
        allowAction(actAddNote, on);
    });
    apply(controls.reviewTool, [this](bool on) { allowAction(actReview, on); });
    apply(controls.examMenus, [this](bool on) {
        for (QAction* a : {mnuCheatKey, mnuStatus, mnuHistory, mnuAddNote, mnuShowResult})
            allowAction(a, on);
    });
    apply(controls.feedbackMenu, [this](bool on) { allowAction(mnuShowResult, on); });
    setWindowTitle(caption);
}

template <typename Handler> void frmZiduver::command(const char* name, Handler&& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        WriteLog(text + QStringLiteral(" : ") + QLatin1String(name) + QStringLiteral(" : frmZiduver : Date/Time :")
                 + logDateTime());
        // A database's failure in the program's words; SQLite's text stays in the log.
        showFailure(dynamic_cast<const db::DbError*>(&error)
                        ? commandFailureText(QStringLiteral("The command could not be completed."),
                                             DatabaseFile::exam(examDatabasePath()), error)
                        : text);
    } catch (...) {
        WriteLog(QStringLiteral("Unknown error : ") + QLatin1String(name)
                 + QStringLiteral(" : frmZiduver : Date/Time :") + logDateTime());
        ShowMessage(QStringLiteral("Unknown error"), gLogin.gAppName, OneButton, this);
    }
}

template <typename Call> auto frmZiduver::modalCall(Call&& call)
{
    ++m_modalDepth;
    const auto done = qScopeGuard([this] { endModalCall(); });
    return call();
}

QString frmZiduver::pageFolder() const
{
    return session.launch.gQuizAppPath.isEmpty() ? programFolder() : session.launch.gQuizAppPath;
}

void frmZiduver::ShowQuestion(int questCode, int choiceOrder, bool showRightAnswers)
{
    run.questionShown();
    const int row = session.CurrentQuestion;
    const bool rowInList = row >= 1 && row <= session.questionCount();
    // A visit ends when another question comes on screen.
    if (session.AnswerShownRow != row)
        session.AnswerShownRow = 0;
    session.gUserAnswer = rowInList ? session.msflex.text(row, colUserAnswer) : QString();
    session.gInteractiveCode = 0;
    // A missing scenario is told once per arrival at a question, not at
    // every redraw of it.
    if (questCode != session.gQuestCode)
        m_scenarioMessageShownFor = -1;
    session.gQuestCode = questCode;
    // The counter always follows the move, so no page stays under the
    // counter of another question.
    lblQno->setText(questionCounterText(row, session.launch.gQuizQuestionCount));
    // The mark box shows the mark recorded for the row.
    if ((session.mode == ExamMode::Simulated || session.mode == ExamMode::Test) && rowInList)
        Check1->setChecked(session.msflex.number(row, colMarked) == 1);

    std::optional<ExamBank::QuestionHead> head;
    try {
        head = ExamBank(session.ExamConn).questionHead(questCode);
    } catch (const std::exception& error) {
        showQuestionError(questionReadProblem(error));
        return;
    }
    if (!head) {
        showQuestionError(QStringLiteral("Question %1 is not in the exam database.").arg(questCode));
        return;
    }
    session.gQuestType = head->type;
    if (session.gQuestType == 4)
        session.PageAnswer.clear();
    session.gInteractiveCode = head->interactiveCode;

    PageInputs inputs;
    inputs.questCode = questCode;
    inputs.head = *head;
    inputs.recordedAnswer = session.gUserAnswer;
    inputs.choiceOrder = choiceOrder;
    inputs.showAnswer = showRightAnswers;
    inputs.reviewMode = session.gReviewMode;
    inputs.fontName = session.launch.gQuizFontName;
    inputs.fontSize = session.launch.gQuizFontSize;
    inputs.examDbPath = session.launch.gQuizExamDbPath;
    inputs.programFolder = pageFolder();
    inputs.blockRightClick = gStartup.gBlockRightClick == 1;
    inputs.verdictKept = keepsEarlierVerdict(session.AnswerShownRow, row, session.gReviewMode);
    BuiltPage built;
    try {
        ExamBank bank(session.ExamConn);
        built = buildQuestionPage(bank, inputs);
    } catch (const std::exception& error) {
        showQuestionError(questionReadProblem(error));
        return;
    }
    if (built.treePage) {
        QString problem;
        if (!writeTreePages(inputs.programFolder, built, &problem)) {
            showQuestionError(problem);
            return;
        }
        session.PageAnswer = built.pageAnswer;
        session.gRightAnswer = built.rightAnswer;
        // Loaded as files, so that the reports of the answer frame reach the
        // window; loaded again, never refreshed, so the rewritten frames show.
        www1->navigate(QUrl::fromLocalFile(QDir(inputs.programFolder).filePath(QStringLiteral("main.html"))));
    } else {
        session.PageAnswer = built.pageAnswer;
        session.gRightAnswer = built.rightAnswer;
        www1->writeHtml(built.html, QUrl::fromLocalFile(examFolder(session.launch.gQuizExamDbPath) + QLatin1Char('/')));
    }

    try {
        showScenario(*head);
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : ShowQuestion : frmZiduver : Date/Time :")
                 + logDateTime());
    }
    www1->setFocus();
}

void frmZiduver::showFailure(const QString& text)
{
    const ClockHold hold(*Timer1, [this] {
        return !closing() && !session.TimeOver && !session.gReviewMode && !run.in(ExamRun::Phase::Paused)
            && !run.in(ExamRun::Phase::PickingMarked);
    });
    ShowMessage(text, gLogin.gAppName, OneButton, this);
}

QString frmZiduver::examDatabasePath() const
{
    return session.ExamConn.isOpen() ? session.ExamConn.path() : session.launch.gQuizExamDbPath;
}

QString frmZiduver::questionReadProblem(const std::exception& error) const
{
    WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : ShowQuestion : frmZiduver : Date/Time :")
             + logDateTime());
    return commandFailureText(QStringLiteral("The question could not be shown."),
                              DatabaseFile::exam(examDatabasePath()), error);
}

void frmZiduver::showQuestionError(const QString& reason)
{
    // Nothing on the screen to answer: the next check judges nothing, and
    // the answer of the page before is never judged against this code.
    session.gQuestType = 0;
    session.PageAnswer.clear();
    WriteLog(reason + QStringLiteral(" : ShowQuestion : frmZiduver : Date/Time :") + logDateTime());
    www1->writeHtml(questionErrorPage(reason, session.launch.gQuizFontName, session.launch.gQuizFontSize));
    TabScenario->hide();
    if (ScenarioBroser)
        ScenarioBroser->hide();
    ViewAnswer->show();
}

void frmZiduver::showScenario(const ExamBank::QuestionHead& head)
{
    if (!head.isScenario) {
        TabScenario->hide();
        if (ScenarioBroser)
            ScenarioBroser->hide();
        ViewAnswer->show();
        return;
    }
    const std::optional<QString> stored = ExamBank(session.ExamConn).scenarioPath(head.scenarioId);
    if (!stored) {
        // The box's return activates the window again, which shows the
        // question again: that redraw tells nothing more.
        if (m_scenarioMessageShownFor != session.gQuestCode) {
            m_scenarioMessageShownFor = session.gQuestCode;
            hideLoading();
            ShowMessage(QStringLiteral("Could not locate scenario."), gLogin.gAppName, OneButton, this);
        }
        return;
    }
    const QString scenario = scenarioFilePath(session.launch.gQuizExamDbPath, *stored);
    if (!scenarioStaysInExamFolder(session.launch.gQuizExamDbPath, scenario)) {
        if (m_scenarioMessageShownFor != session.gQuestCode) {
            m_scenarioMessageShownFor = session.gQuestCode;
            hideLoading();
            ShowMessage(QStringLiteral("The scenario page lies outside the exam's folder and is not shown."),
                        gLogin.gAppName, OneButton, this);
        }
        return;
    }
    scenarioView()->navigate(QUrl::fromLocalFile(scenario));
    TabScenario->show();
    {
        const QSignalBlocker blocker(TabScenario);
        TabScenario->setCurrentIndex(0);
    }
    // The question stays in front, the scenario loaded behind it.
    TabScenario_Click();
}

BrowserView* frmZiduver::scenarioView()
{
    if (!ScenarioBroser) {
        ScenarioBroser = new BrowserView(this);
        ScenarioBroser->setObjectName(QStringLiteral("ScenarioBroser"));
        ScenarioBroser->setContextMenuBlocked(gStartup.gBlockRightClick == 1);
        ScenarioBroser->hide();
        auto* main = static_cast<QVBoxLayout*>(layout());
        main->insertWidget(main->indexOf(ViewAnswer) + 1, ScenarioBroser, 1);
        connect(ScenarioBroser, &BrowserView::loadFinished, this, &frmZiduver::placePagesInTabOrder);
    }
    return ScenarioBroser;
}

void frmZiduver::TabScenario_Click()
{
    if (TabScenario->currentIndex() == 1) {
        scenarioView()->show();
        ViewAnswer->hide();
    } else {
        if (ScenarioBroser)
            ScenarioBroser->hide();
        ViewAnswer->show();
    }
}

void frmZiduver::www1_StatusTextChange(const QString& text)
{
    applyPageReport(session.PageAnswer, session.gQuestType, text);
}

frmZiduver::CheckRun frmZiduver::CheckAnswer(bool& right)
{
    if (session.gReviewMode)
        return CheckRun::Skipped;
    // The wait below runs timers: a command they start must not judge or
    // move while this check runs.
    if (!run.beginCheck())
        return CheckRun::Refused;
    CheckRun result = CheckRun::Failed;
    const auto done = qScopeGuard([this, &result] {
        run.finishCheck(result);
        // The time ran out while the page was read: the command that asked
        // for this check finishes first, then the exam goes into review.
        if (run.takeTimeOverDue())
            QTimer::singleShot(0, this, &frmZiduver::finishTimeOver);
    });

    const int row = session.CurrentQuestion;
    // The right answer was shown on this visit: what the page holds now is
    // the program's answer, never the user's; the verdict recorded before it
    // was shown stands.
    if (session.AnswerShownRow == row && row >= 1 && row <= session.questionCount()) {
        right = session.msflex.number(row, colCorrect) == 1;
        return result = CheckRun::Judged;
    }
    // Every report the page made so far, the one of a box that still has
    // the focus included, is in PageAnswer before it is judged.
    if (!www1->waitForLoad() || !www1->flushStatus())
        WriteLog(QStringLiteral("The question page did not answer in time : CheckAnswer : frmZiduver : Date/Time :")
                 + logDateTime());

    CheckInputs inputs;
    inputs.questCode = session.gQuestCode;
    inputs.questType = session.gQuestType;
    inputs.pageAnswer = session.PageAnswer;
    inputs.mode = session.mode;
    inputs.marked = Check1->isChecked();
    ExamBank bank(session.ExamConn);
    const CheckOutcome outcome = ::CheckAnswer(bank, session.msflex, row, inputs);
    if (outcome.userAnswerSet)
        session.gUserAnswer = outcome.userAnswer;
    right = outcome.right;
    if (!outcome.error.isEmpty()) {
        // The page and the answer on it stay as they are until it can be
        // checked: the failed result keeps it at the return to the window.
        if (!programEnding())
            showFailure(outcome.error);
        return result = CheckRun::Failed;
    }
    session.ExamScore = outcome.examScore;

    if (session.mode == ExamMode::Adaptive && session.ExamScore >= session.launch.gQuizPassScore) {
        session.ExamPassed = true;
        if (!programEnding())
            ShowMessage(QStringLiteral("You have passed the exam.\r\nThank You."), gLogin.gAppName, OneButton, this);
        result = CheckRun::Ended;
        end(ExamRun::EndReason::Passed);
        return result;
    }
    return result = CheckRun::Judged;
}

void frmZiduver::showRow(int questCode, bool showRightAnswers)
{
    ShowQuestion(questCode, session.msflex.choiceOrder(session.CurrentQuestion), showRightAnswers);
}

void frmZiduver::resetShowAnswerToggle()
{
    if (cmdShowAnswer->text() != QLatin1String("&Show Answer")) {
        cmdShowAnswer->setText(QStringLiteral("&Show Answer"));
        cmShowanswer1->setText(cmdShowAnswer->text());
        SkinToolbar();
    }
}

void frmZiduver::settleView()
{
    ViewAnswer->verticalScrollBar()->setValue(0);
}

void frmZiduver::applyMove(const NavigationMove& move)
{
    session.CurrentQuestion = move.current;
    session.QuestionsReached = move.reached;
}

namespace {

NavigationState navigationState(const ExamSession& session)
{
    NavigationState state;
    state.current = session.CurrentQuestion;
    state.reached = session.QuestionsReached;
    state.count = session.launch.gQuizQuestionCount;
    state.reviewMode = session.gReviewMode;
    state.reviewLastIndex = session.gReviewLastIndex;
    return state;
}

} // namespace

void frmZiduver::cmdNext_Click()
{
    if (run.in(ExamRun::Phase::Checking))
        return;
    command("cmdNext_Click", [this] {
        cmdNext->setEnabled(false);
        if (TabScenario->isVisible() && TabScenario->currentIndex() != 0)
            TabScenario->setCurrentIndex(0);
        if (!session.gReviewMode) {
            bool right = false;
            if (!recordAnswerOnScreen(&right)) {
                // An answer that could not be recorded is not left behind.
                if (!closing())
                    cmdNext->setEnabled(true);
                return;
            }
            // Once the right answer was shown the user knows it: no alert.
            if (session.mode == ExamMode::Practice && !right && session.AnswerShownRow != session.CurrentQuestion) {
                const AlertGate gate = wrongPracticeAnswer(chkResult->isChecked() || chkShowresult->isChecked(),
                                                           m_alertTag, session.gAlertAction);
                if (gate.raisePanel)
                    ShowResultAlert();
                if (!gate.moveOn) {
                    cmdNext->setEnabled(true);
                    return;
                }
            }
        }
        const NavigationMove move = nextMove(session.mode, navigationState(session));
        applyMove(move);
        resetShowAnswerToggle();
        if (move.prevTouched)
            cmdPrev->setEnabled(move.prevEnabled);
        if (!move.showQuestion)
            return;
        showRow(session.msflex.questionCode(session.CurrentQuestion));
        Label2->setText(QString::number(session.msflex.questionCode(session.CurrentQuestion)));
        settleView();
        cmdNext->setEnabled(move.nextEnabled);
        cmdPrev->setEnabled(move.prevEnabled);
    });
}

void frmZiduver::cmdPrev_Click()
{
    if (run.in(ExamRun::Phase::Checking))
        return;
    command("cmdPrev_Click", [this] {
        cmdPrev->setEnabled(false);
        resetShowAnswerToggle();
        if (!session.gReviewMode && !recordAnswerOnScreen()) {
            if (!closing())
                cmdPrev->setEnabled(true);
            return;
        }
        const NavigationMove move = previousMove(session.mode, navigationState(session));
        if (!move.showQuestion)
            return;
        applyMove(move);
        Label2->setText(session.msflex.text(session.CurrentQuestion, colQuestCode));
        showRow(session.msflex.questionCode(session.CurrentQuestion));
        settleView();
        cmdPrev->setEnabled(move.prevEnabled);
        cmdNext->setEnabled(move.nextEnabled);
    });
}

void frmZiduver::mnuNext_Click()
{
    cmdNext_Click();
}

void frmZiduver::mnuPrev_Click()
{
    cmdPrev_Click();
}

void frmZiduver::cmdReset_Click()
{
    // A redraw while a check reads the page would replace the answer
    // being judged.
    if (run.in(ExamRun::Phase::Checking))
        return;
    command("cmdReset_Click", [this] {
        showRow(session.gQuestCode);
        settleView();
        resetShowAnswerToggle();
    });
}

void frmZiduver::cmdShowAnswer_Click()
{
    if (run.in(ExamRun::Phase::Checking))
        return;
    command("cmdShowAnswer_Click", [this] {
        if (cmdShowAnswer->text() == QLatin1String("&Show Answer")) {
            if (!recordAnswerOnScreen())
                return;
            ShowRightAnsInViwer();
            cmdShowAnswer->setText(QStringLiteral("&Hide Answer"));
        } else {
            HideRightAnsInViwer();
            cmdShowAnswer->setText(QStringLiteral("&Show Answer"));
        }
        cmShowanswer1->setText(cmdShowAnswer->text());
        SkinToolbar();
    });
}

namespace {

// Whether show and hide answer redraw the question: every choice, essay and
// fill-in question, and the interactive kinds that have a right answer to
// draw. The kind is the one read when the question was shown.
bool redrawsWithAnswer(const ExamSession& session)
{
    switch (session.gQuestType) {
    case 1:
    case 2:
    case 3:
        return true;
    case 4:
        return session.gInteractiveCode >= 1 && session.gInteractiveCode <= 3;
    default:
        return false;
    }
}

} // namespace

void frmZiduver::ShowRightAnsInViwer()
{
    if (!redrawsWithAnswer(session))
        return;
    if (!session.gReviewMode)
        session.AnswerShownRow = session.CurrentQuestion;
    showRow(session.gQuestCode, true);
}

void frmZiduver::HideRightAnsInViwer()
{
    if (redrawsWithAnswer(session))
        showRow(session.gQuestCode, false);
}

void frmZiduver::ShowPreviousQuestion(int questCode, int number)
{
    const NavigationMove move = jumpMove(number, navigationState(session));
    session.CurrentQuestion = move.current;
    Label2->setText(session.msflex.text(session.CurrentQuestion, colQuestCode));
    SetModeCaptionAndControls(session.mode);
    // The mode's controls must not take back what review mode made usable.
    if (session.gReviewMode)
        applyReviewControls();
    showRow(questCode);
    settleView();
    cmdPrev->setEnabled(move.prevEnabled);
    cmdNext->setEnabled(move.nextEnabled);
}

void frmZiduver::cmdExplanation_Click()
{
    if (run.busy())
        return;
    command("cmdExplanation_Click", [this] {
        gGuard.gExamWindowActive = false;
        if (!recordAnswerOnScreen())
            return;
        settleView();
        modalCall([this] { showQuestionExplanation(session, this); });
        if (closing())
            return;
        settleView();
    });
}

void frmZiduver::cmdInstruction_Click()
{
    if (run.busy())
        return;
    command("cmdInstruction_Click", [this] {
        gGuard.gExamWindowActive = false;
        if (!recordAnswerOnScreen())
            return;
        // Only the four question types have instructions.
        if (session.gQuestType >= 1 && session.gQuestType <= 4) {
            modalCall([this] { showQuestionInstructions(session, this, QStringLiteral("L")); });
            if (closing())
                return;
        }
        // The question comes back as recorded, its right answers hidden.
        settleView();
        showRow(session.msflex.questionCode(session.CurrentQuestion));
        resetShowAnswerToggle();
        settleView();
    });
}

void frmZiduver::ShowResultAlert()
{
    if (!chkResult->isChecked() && !chkShowresult->isChecked())
        return;
    session.gAlertAction.clear();
    placeAlert();
    fraAltert->setEnabled(true);
    fraAltert->show();
    fraAltert->raise();
    frimTop->setEnabled(false);
    fraFooter->setEnabled(false);
    ViewAnswer->setEnabled(false);
    cmdTryAgain->setFocus();
}

void frmZiduver::lowerAlert()
{
    fraAltert->hide();
    frimTop->setEnabled(true);
    fraFooter->setEnabled(true);
    ViewAnswer->setEnabled(true);
}

void frmZiduver::placeAlert()
{
    // Over the middle of the question area.
    const QRect area = ViewAnswer->geometry();
    const QSize wanted = fraAltert->sizeHint().expandedTo(QSize(px(7200), 0)).boundedTo(area.size());
    fraAltert->setGeometry(
        QRect(QPoint(area.center().x() - wanted.width() / 2, area.top() + area.height() / 4), wanted));
}

void frmZiduver::cmdTryAgain_Click()
{
    lowerAlert();
    session.gAlertAction.clear();
    www1->setFocus();
}

void frmZiduver::cmdLinks_Click()
{
    session.gAlertAction.clear();
    lowerAlert();
    cmdExplanation_Click();
}

void frmZiduver::cmShowanswer1_Click()
{
    frimTop->setEnabled(true);
    fraFooter->setEnabled(true);
    ViewAnswer->setEnabled(true);
    session.gAlertAction.clear();
    cmdShowAnswer_Click();
    fraAltert->hide();
}

void frmZiduver::cmdNextQuest_Click()
{
    session.gAlertAction = QStringLiteral("NEXTQUESTION");
    lowerAlert();
    // One wrong answer may pass the check that Next runs again.
    m_alertTag = QStringLiteral("L");
    cmdNext_Click();
}

void frmZiduver::chkResult_Click()
{
    {
        const QSignalBlocker blocker(chkShowresult);
        chkShowresult->setChecked(chkResult->isChecked());
    }
    if (chkResult->isChecked() || chkShowresult->isChecked())
        m_alertTag.clear();
}

void frmZiduver::chkShowresult_Click()
{
    {
        const QSignalBlocker blocker(chkResult);
        chkResult->setChecked(chkShowresult->isChecked());
    }
    chkShowresult->setEnabled(true);
    if (chkShowresult->isChecked())
        m_alertTag.clear();
}

namespace {

const char* const kReviewPrompt = "Entering Review Mode will end your current exam and stop question grading.  Do "
                                  "you wish to proceed?";

} // namespace

void frmZiduver::cmdEndExam_Click()
{
    // Once: a second request while it runs (a double click, the button and
    // the toolbar, a tick inside the answer flush) or after the end does
    // nothing.
    if (session.ExamAborted || !run.beginEnd())
        return;
    bool ended = false;
    const auto declined = qScopeGuard([this, &ended] {
        if (!ended)
            run.endDeclined();
    });
    command("cmdEndExam_Click", [this, &ended] {
        if (!recordAnswerOnScreen()) {
            ended = closing();
            // An answer that could not be recorded keeps the exam on its
            // question, as a declined end does.
            session.EndDeclined = !ended;
            return;
        }
        const bool clockWasRunning = Timer1->isEnabled();
        Timer1->setEnabled(false);
        if (!session.gReviewMode && !session.TimeOver) {
            session.SkipActivateGuard = true;
            const short answer = ShowMessage(QStringLiteral("Do you want to end exam?"), gLogin.gAppName, YesNo, this);
            session.SkipActivateGuard = false;
            if (answer != ResultYes) {
                if (clockWasRunning && !session.gReviewMode)
                    Timer1->setEnabled(true);
                session.EndDeclined = true;
                return;
            }
        }
        ended = true;
        session.EndDeclined = false;
        m_end.writeProgress(ExamEnd::Asking::User, this);
        if (session.mode == ExamMode::Simulated || session.mode == ExamMode::Test) {
            session.ExamPassed = false;
            // The result reads the list while the exam window is still there.
            modalCall([this] { ResultWindowLink::open(session, this); });
        }
        session.ExamAborted = true;
        end(ExamRun::EndReason::EndExam);
    });
}

void frmZiduver::cmdExamReview_Click()
{
    if (run.busy() || run.in(ExamRun::Phase::ReviewList))
        return;
    command("cmdExamReview_Click", [this] {
        const int keptCount = session.launch.gQuizQuestionCount;
        gGuard.gExamWindowActive = false;
        const bool clockWasRunning = Timer1->isEnabled();
        Timer1->setEnabled(false);
        if (!session.gReviewMode) {
            // Review cuts the exam where the user got to: the question on
            // screen, or the last one reached when he went back from it (the
            // questions reached stay reviewable under a counter that fits).
            const int cut = std::max(session.CurrentQuestion, session.QuestionsReached);
            session.gReviewLastIndex = cut;
            session.launch.gQuizQuestionCount = cut;
            if (!recordAnswerOnScreen()) {
                if (closing())
                    return;
                // The answer on screen was not recorded: no review yet, the
                // exam goes on where it was.
                session.launch.gQuizQuestionCount = keptCount;
                if (clockWasRunning && !closing() && !session.TimeOver)
                    Timer1->setEnabled(true);
                return;
            }
        }
        if (!session.gReviewMode && !session.ExamAborted) {
            session.SkipActivateGuard = true;
            const short answer = ShowMessage(QString::fromLatin1(kReviewPrompt), gLogin.gAppName, YesNo, this);
            if (answer != ResultYes) {
                if (clockWasRunning)
                    Timer1->setEnabled(true);
                session.launch.gQuizQuestionCount = keptCount;
                if (keptCount == 1) {
                    cmdNext->setEnabled(false);
                    cmdPrev->setEnabled(false);
                }
                session.SkipActivateGuard = false;
                return;
            }
        }
        const bool wasInReview = session.gReviewMode;
        chkShowresult->hide();
        applyReviewControls();
        if (session.mode == ExamMode::Adaptive && !wasInReview) {
            session.launch.gQuizQuestionCount = session.CurrentQuestion;
            session.QuestionsReached = session.CurrentQuestion;
            lblQno->setText(questionCounterText(session.CurrentQuestion, session.launch.gQuizQuestionCount));
        }
        cmdShowAnswer->setText(QStringLiteral("&Show Answer"));
        cmShowanswer1->setText(cmdShowAnswer->text());
        // The Question/Scenario tabs stay as the question on screen has them:
        // only a scenario question shows them.
        SkinToolbar();
        session.gReviewMode = true;
        run.enterReview();
        // Review records nothing: the page on screen takes no input from now on.
        applyPageLock();
        picGauge->show();
        lblReview->show();
        chkBreak->setEnabled(false);
        Check1->setEnabled(false);
        if (isMinimized())
            showNormal();

        run.enter(ExamRun::Phase::ReviewList);
        const ReviewChoice choice = modalCall([this] { return ExamReviewLink::open(session, this); });
        run.leave(ExamRun::Phase::ReviewList);
        if (closing())
            return;
        if (choice.endExam) {
            end(ExamRun::EndReason::ReviewEnded);
            return;
        }
        const int count = session.questionCount();
        if (choice.goTo) {
            session.gReviewGoto = true;
            session.ReviewQuestionNo = std::clamp(choice.questionNo == 0 ? 1 : choice.questionNo, 1, count);
            ShowPreviousQuestion(session.msflex.questionCode(session.ReviewQuestionNo), session.ReviewQuestionNo);
            session.CurrentQuestion = session.ReviewQuestionNo;
        } else {
            // Closed without a choice: the question on screen stays, now
            // shown as review shows it.
            const int current = std::clamp(session.CurrentQuestion, 1, count);
            ShowPreviousQuestion(session.msflex.questionCode(current), current);
        }
        if (session.mode == ExamMode::Adaptive && !choice.goTo) {
            end(ExamRun::EndReason::ReviewEnded);
            return;
        }
        applyReviewControls();
        session.SkipActivateGuard = false;
    });
}

void frmZiduver::applyReviewControls()
{
    if (session.mode != ExamMode::Simulated)
        return;
    allowAction(actViewNote, true);
    allowAction(actAddNote, true);
    cmdExplanation->show();
    cmdShowAnswer->show();
}

void frmZiduver::Timer1_Timer()
{
    // A tick inside End Exam's answer check still counts: when it ends the
    // time, End Exam asks nothing and the exam ends without review.
    if (run.ended() || session.ExamAborted) {
        Timer1->setEnabled(false);
        return;
    }
    if (session.mode == ExamMode::Simulated) {
        const ClockTick tick = countDownTick(session.ClockSeconds, session.launch.gQuizMinutes);
        lblExamTimer->setText(tick.caption);
        if (tick.timeOver)
            timeIsOver();
    } else {
        lblExamTimer->setText(countUpTick(session.ClockSeconds, session.ClockMinutes).caption);
    }
}

void frmZiduver::timeIsOver()
{
    Timer1->setEnabled(false);
    session.TimeOver = true;
    // A tick inside an answer check: the check and its command finish first.
    if (run.timeRanOut())
        finishTimeOver();
}

void frmZiduver::finishTimeOver()
{
    if (run.ending() || session.ExamAborted || closing())
        return;
    command("Timer1_Timer", [this] {
        if (!session.gReviewMode) {
            bool right = false;
            CheckAnswer(right);
            if (closing() || run.ending())
                return;
        }
        closeTaggedDialogs();
        session.gReviewLastIndex = session.launch.gQuizQuestionCount;
        lblExamTimer->setText(QStringLiteral("00:00"));
        session.gReviewMode = true;
        run.enterReview();
        cmdExamReview_Click();
    });
}

void frmZiduver::closeTaggedDialogs()
{
    // Top-most first: a dialog's modal call returns only after every call
    // above it has returned. done() ends each call; the dialog itself is
    // deleted by its opener once its call has returned.
    QList<QPointer<QDialog>> closed;
    for (;;) {
        std::vector<QDialog*> open;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog && dialog->isVisible() && windowTag(dialog) == QLatin1String("L") && !closed.contains(dialog))
                open.push_back(dialog);
        }
        if (open.empty())
            return;
        const auto depth = [](const QWidget* w) {
            int n = 0;
            for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
                ++n;
            return n;
        };
        QDialog* top = nullptr;
        if (auto* active = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            active && std::find(open.begin(), open.end(), active) != open.end())
            top = active;
        else
            top = *std::max_element(open.begin(), open.end(),
                                    [&depth](QDialog* a, QDialog* b) { return depth(a) < depth(b); });
        closed.append(top);
        top->done(QDialog::Rejected);
    }
}

void frmZiduver::InitMarkedGrid()
{
    marked.InitMarkedGrid();
    showMarkedRows();
    cmdMarked->hide();
}

void frmZiduver::Check1_Click()
{
    if (Check1->isChecked())
        MarkQuestion();
    else
        UnmarkQuestion();
}

void frmZiduver::MarkQuestion()
{
    // The code of the question on screen; the hidden code label may still
    // hold the question before it while the display runs.
    marked.MarkQuestion(lblQno->text(), session.gQuestCode);
    showMarkedRows();
    cmdMarked->show();
}

void frmZiduver::UnmarkQuestion()
{
    marked.UnmarkQuestion(lblQno->text());
    showMarkedRows();
    if (!marked.hasMarks())
        cmdMarked->hide();
}

void frmZiduver::showMarkedRows()
{
    flexMarked->setRowCount(marked.rows() - 1);
    for (int row = 1; row < marked.rows(); ++row) {
        for (int col = 0; col < 3; ++col) {
            auto* item = new QTableWidgetItem(marked.text(row, col));
            item->setTextAlignment(Qt::AlignCenter);
            flexMarked->setItem(row - 1, col, item);
        }
    }
}

void frmZiduver::cmdMarked_Click()
{
    if (run.busy() || run.in(ExamRun::Phase::PickingMarked))
        return;
    if (!marked.hasMarks() || cmdMarked->isHidden())
        return;
    command("cmdMarked_Click", [this] {
        const bool clockRan = Timer1->isEnabled();
        Timer1->setEnabled(false);
        if (!recordAnswerOnScreen()) {
            // No panel: the clock goes on as it ran.
            if (!closing() && !session.TimeOver)
                Timer1->setEnabled(clockRan);
            return;
        }
        run.hold(ExamRun::Phase::PickingMarked, clockRan);
        frimTop->setEnabled(false);
        fraFooter->setEnabled(false);
        ViewAnswer->setEnabled(false);
        flexMarked->clearSelection();
        flexMarked->setCurrentCell(-1, -1);
        placeMarkedPanel();
        picMarked->show();
        picMarked->raise();
        applyPageLock();
        flexMarked->setFocus();
    });
}

void frmZiduver::flexMarked_DblClick()
{
    if (run.in(ExamRun::Phase::Checking) || !run.in(ExamRun::Phase::PickingMarked))
        return;
    // A row without a number, or no row chosen, shows nothing.
    const int number = marked.questionNumber(flexMarked->currentRow() + 1);
    if (number < 1 || number > session.questionCount())
        return;
    command("flexMarked_DblClick", [this, number] {
        ShowPreviousQuestion(session.msflex.questionCode(number), number);
        session.CurrentQuestion = number;
        lowerMarkedPanel();
        lblQno->setText(questionCounterText(session.CurrentQuestion, session.launch.gQuizQuestionCount));
    });
}

void frmZiduver::cmdClose_Click()
{
    lowerMarkedPanel();
}

void frmZiduver::lowerMarkedPanel()
{
    const bool clockRan = run.release(ExamRun::Phase::PickingMarked);
    picMarked->hide();
    frimTop->setEnabled(true);
    fraFooter->setEnabled(true);
    ViewAnswer->setEnabled(true);
    applyPageLock();
    // The clock goes on as it was when the panel opened; never after its
    // end or in review mode.
    if (clockRan && !session.gReviewMode && !session.TimeOver)
        Timer1->setEnabled(true);
}

void frmZiduver::placeMarkedPanel()
{
    const QRect area = ViewAnswer->geometry();
    const QSize wanted = picMarked->sizeHint().expandedTo(QSize(0, px(4800))).boundedTo(area.size());
    picMarked->setGeometry(QRect(
        QPoint(area.center().x() - wanted.width() / 2, area.top() + (area.height() - wanted.height()) / 3), wanted));
}

void frmZiduver::chkBreak_Click()
{
    if (run.busy()) {
        // A click inside an answer check changes nothing.
        const QSignalBlocker blocker(chkBreak);
        chkBreak->setChecked(!chkBreak->isChecked());
        return;
    }
    command("chkBreak_Click", [this] {
        const bool pausing = chkBreak->isChecked();
        if (!recordAnswerOnScreen()) {
            // The break did not start (or end): the box says what holds.
            if (!closing()) {
                const QSignalBlocker blocker(chkBreak);
                chkBreak->setChecked(!pausing);
            }
            return;
        }
        if (pausing && session.TimeOver) {
            // The time ran out during the check: no break any more.
            const QSignalBlocker blocker(chkBreak);
            chkBreak->setChecked(false);
            return;
        }
        const bool clockRan = pausing ? Timer1->isEnabled() : run.release(ExamRun::Phase::Paused);
        if (pausing)
            run.hold(ExamRun::Phase::Paused, clockRan);
        updateActionState();
        chkBreak->setVisible(true);
        coverQuestionForBreak(pausing);
        if (pausing) {
            holdControlsForBreak();
            Timer1->setEnabled(false);
        } else {
            restoreControlsAfterBreak();
            if (clockRan && !session.gReviewMode && !session.TimeOver)
                Timer1->setEnabled(true);
        }
        chkBreak->setEnabled(true);
    });
}

void frmZiduver::placePagesInTabOrder()
{
    // Tab goes round the whole window: the toolbar, the tabs of a scenario
    // question, the page (and the scenario page), then the footer. The
    // engine makes the widget that takes a page's focus when the page first
    // loads, so the chain is laid again whenever a page has loaded.
    std::vector<QWidget*> chain(tbar.begin(), tbar.end());
    chain.push_back(TabScenario);
    // A view hands its focus to its page: the view, the engine's view and
    // the page stand together, or Tab would come back to the page from
    // wherever the view stood.
    for (BrowserView* view : {www1, ScenarioBroser}) {
        if (!view)
            continue;
        chain.push_back(view);
        chain.push_back(view->view());
        QWidget* page = view->view()->focusProxy();
        if (page && page->window() == this)
            chain.push_back(page);
    }
    chain.insert(chain.end(),
                 {cmdPrev, cmdNext, Check1, chkShowresult, chkBreak, cmdShowAnswer, cmdReset, cmdExplanation,
                  cmdInstruction, cmdExamReview, cmdMarked, cmdEndExam});
    chain.erase(std::remove(chain.begin(), chain.end(), nullptr), chain.end());
    for (size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

bool frmZiduver::pageLocked() const
{
    return run.reviewing() || run.in(ExamRun::Phase::Paused) || run.in(ExamRun::Phase::PickingMarked);
}

void frmZiduver::applyPageLock()
{
    // The view's own switch (or the cover) holds at once; the page's
    // controls follow when its script has run.
    www1->page()->runJavaScript(pageLockScript(pageLocked()));
}

void frmZiduver::coverQuestionForBreak(bool pausing)
{
    // Nothing of the question, its scenario or its tabs can be read or
    // reached by mouse or keyboard while the clock stands.
    for (QWidget* area : {static_cast<QWidget*>(ViewAnswer), static_cast<QWidget*>(TabScenario)})
        area->setEnabled(!pausing);
    if (ScenarioBroser)
        ScenarioBroser->setEnabled(!pausing);
    if (pausing) {
        placeBreakCover();
        lblBreakCover->show();
        lblBreakCover->raise();
    } else {
        lblBreakCover->hide();
    }
    applyPageLock();
}

void frmZiduver::placeBreakCover()
{
    // Everything between the top band and the footer.
    const int top = frimTop->geometry().bottom() + 1;
    const int bottom = fraFooter->geometry().top() - 1;
    lblBreakCover->setGeometry(QRect(0, top, width(), std::max(0, bottom - top + 1)));
}

void frmZiduver::holdControlsForBreak()
{
    // Each control's own flag, not what its frame makes of it, is kept: the
    // resume gives back exactly what the break found, whatever the mode had
    // switched off. The menu bar goes off too, or its items would move on
    // while the clock stands.
    m_enabledBeforeBreak.clear();
    for (QWidget* control : findChildren<QWidget*>()) {
        // The toolbar follows its actions, which the phase switches off.
        if (control->window() != this || control == chkBreak || qobject_cast<WidgetActionButton*>(control))
            continue;
        const bool input = qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control)
            || qobject_cast<QLineEdit*>(control) || qobject_cast<QTextEdit*>(control)
            || qobject_cast<QPlainTextEdit*>(control)
            || (qobject_cast<QListView*>(control) && !qobject_cast<QTableView*>(control))
            || control == mnuBar;
        if (!input)
            continue;
        m_enabledBeforeBreak.emplace_back(control, control->isEnabledTo(control->parentWidget()));
        control->setEnabled(false);
        if (auto* option = qobject_cast<QRadioButton*>(control)) {
            const bool exclusive = option->autoExclusive();
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(exclusive);
        }
    }
}

void frmZiduver::restoreControlsAfterBreak()
{
    for (const auto& [control, enabled] : m_enabledBeforeBreak)
        if (control)
            control->setEnabled(enabled);
    m_enabledBeforeBreak.clear();
}

template <typename Handler> void frmZiduver::ToolbarClick(Handler&& handler)
{
    if (run.busy() || session.ExamAborted)
        return;
    gGuard.gExamWindowActive = false;
    const bool clockWasRunning = Timer1->isEnabled();
    command("ToolbarClick", handler);
    if (closing() || run.ending() || session.ExamAborted)
        return;
    // The clock goes on only when it ran before the command, and never in
    // review mode, after its end or during a break.
    if (clockWasRunning && !session.gReviewMode && !session.TimeOver && !run.in(ExamRun::Phase::Paused)
        && !run.in(ExamRun::Phase::PickingMarked))
        Timer1->setEnabled(true);
}

void frmZiduver::ToolbarPrint()
{
    Timer1->setEnabled(false);
    if (!recordAnswerOnScreen())
        return;
    modalCall([this] { QuestionSheetLink::open(session, this); });
}

void frmZiduver::ToolbarViewNote()
{
    if (!recordAnswerOnScreen())
        return;
    NoteWindowRequest request;
    request.launch = session.launch;
    request.questCode = session.gQuestCode;
    request.examName = session.launch.gQuizExamName;
    request.tag = QStringLiteral("L");
    try {
        request.notesText =
            UserNotesTable(session.ExamConn).questionNotesText(session.launch.gQuizUserCode, session.gQuestCode);
    } catch (const std::exception& error) {
        // Notes that could not be read are not shown as no notes.
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : ToolbarClick : frmZiduver : Date/Time :")
                 + logDateTime());
        showFailure(commandFailureText(QStringLiteral("The notes of this question could not be read."),
                                       DatabaseFile::exam(examDatabasePath()), error));
        return;
    }
    modalCall([this, &request] { PreviousNotesLink::open(request, this); });
}

void frmZiduver::ToolbarAddNote()
{
    if (!recordAnswerOnScreen())
        return;
    NoteWindowRequest request;
    request.launch = session.launch;
    request.questCode = session.gQuestCode;
    request.examName = session.launch.gQuizExamName;
    request.tag = QStringLiteral("L");
    modalCall([this, &request] { AddNoteLink::open(request, this); });
}

void frmZiduver::allowAction(QAction* action, bool allowed)
{
    const auto known = std::find_if(m_allowed.begin(), m_allowed.end(),
                                    [action](const std::pair<QAction*, bool>& entry) { return entry.first == action; });
    if (known == m_allowed.end())
        m_allowed.emplace_back(action, allowed);
    else
        known->second = allowed;
    updateActionState();
}

void frmZiduver::updateActionState()
{
    // A command can be chosen when the mode (and review) allow it, except
    // during a break: the resume gives back what the mode allows. A command
    // chosen while a check or End Exam runs, or after the end, is refused by
    // the run itself.
    const bool paused = run.in(ExamRun::Phase::Paused);
    for (const auto& [action, allowed] : m_allowed)
        action->setEnabled(allowed && !paused);
}

void frmZiduver::SkinToolbar()
{
    // The skin's rules follow the elements' names; a style sheet applies
    // live, so re-polishing picks up any state the rules depend on.
    std::vector<QWidget*> elements(tbar.begin(), tbar.end());
    elements.insert(elements.end(), {picGauge, lblReview, ViewAnswer, TabScenario});
    for (QWidget* element : elements) {
        element->style()->unpolish(element);
        element->style()->polish(element);
    }
}

void frmZiduver::showHelpWindow()
{
    if (!m_help)
        m_help = new WidgetExamHelp(this);
    m_help->showHelp(examHelpPage());
}

WidgetExamHelp* frmZiduver::helpWindow() const
{
    return m_help.data();
}

bool frmZiduver::recordAnswerOnScreen(bool* right)
{
    if (session.gReviewMode)
        return true;
    // An answer that could not be checked stays on screen and the command
    // stops: the user tries it again once the file is free.
    bool judgedRight = false;
    const bool goesOn = ExamRun::goesOn(CheckAnswer(judgedRight));
    if (right)
        *right = judgedRight;
    return goesOn;
}

void frmZiduver::CloseHelpWindow()
{
    if (m_help)
        m_help->close();
}

void frmZiduver::mnuPrint_Click()
{
    if (run.busy() || session.ExamAborted)
        return;
    command("mnuPrint_Click", [this] {
        gGuard.gExamWindowActive = false;
        // The sheet's return re-activates the window, which redraws the
        // question from the list: the answer on screen is recorded first.
        if (!recordAnswerOnScreen())
            return;
        modalCall([this] { QuestionSheetLink::open(session, this); });
    });
}

void frmZiduver::mnuAddNote_Click()
{
    if (run.busy() || session.ExamAborted)
        return;
    command("mnuAddNote_Click", [this] {
        gGuard.gExamWindowActive = false;
        if (!recordAnswerOnScreen())
            return;
        NoteWindowRequest request;
        request.launch = session.launch;
        request.questCode = session.gQuestCode;
        request.examName = session.launch.gQuizExamName;
        // The labels get the codes of the question on screen; without them
        // they stay as the dialog fills them.
        try {
            if (const auto placement = QuestionsHeadTable(session.ExamConn).placement(session.gQuestCode)) {
                if (placement->categoryCode)
                    request.categorySuffix = QStringLiteral(" - ") + QString::number(*placement->categoryCode);
                if (placement->chapterCode)
                    request.chapterSuffix = QStringLiteral(" - ") + QString::number(*placement->chapterCode);
            }
        } catch (const std::exception& error) {
            WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : mnuAddNote_Click : frmZiduver : Date/Time :")
                     + logDateTime());
        }
        modalCall([this, &request] { AddNoteLink::open(request, this); });
    });
}

bool frmZiduver::Form_KeyDown(QKeyEvent* event)
{
    if (run.ending() || session.ExamAborted)
        return false;
    KeyContext context;
    context.mode = session.mode;
    context.questType = session.gQuestType;
    context.alertShown = fraAltert->isVisible();
    context.paused = run.in(ExamRun::Phase::Paused);
    context.markedPanelShown = run.in(ExamRun::Phase::PickingMarked);
    context.cheatKeyEnabled = session.launch.gQuizCheatKeyEnabled;
    context.hotKeyCode = session.launch.gQuizHotKey;
    const KeyDecision decision = examKeyDown(event->key(), context);
    if (run.in(ExamRun::Phase::Checking))
        return decision.consumed;
    switch (decision.command) {
    case KeyCommand::Next:
        lowerAlert();
        session.gAlertAction.clear();
        cmdNext_Click();
        break;
    case KeyCommand::ShowAnswer:
        cmdShowAnswer_Click();
        break;
    case KeyCommand::CloseMarkedPanel:
        cmdClose_Click();
        break;
    case KeyCommand::None:
        break;
    }
    return decision.consumed;
}

bool frmZiduver::runAccelerator(const QKeyEvent* event)
{
    // A key the window's shortcuts did not take: the page with the focus
    // keeps Alt and a letter for itself. The window's own keys still work.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::AltModifier || event->isAutoRepeat())
        return false;
    const int key = event->key();
    if (!((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)))
        return false;
    const QKeySequence wanted(QKeyCombination(Qt::AltModifier, Qt::Key(key)));
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->window() == this && button->isVisible() && button->isEnabled()
            && QKeySequence::mnemonic(button->text()) == wanted) {
            button->setFocus(Qt::ShortcutFocusReason);
            button->animateClick();
            return true;
        }
    }
    if (mnuBar->isVisible() && mnuBar->isEnabled()) {
        for (QAction* menu : mnuBar->actions()) {
            if (menu->isEnabled() && QKeySequence::mnemonic(menu->text()) == wanted) {
                mnuBar->setFocus(Qt::ShortcutFocusReason);
                mnuBar->setActiveAction(menu);
                return true;
            }
        }
    }
    return false;
}

void frmZiduver::unload()
{
    end(ExamRun::EndReason::OtherWindow);
}

void frmZiduver::end(ExamRun::EndReason reason)
{
    if (run.end(reason, m_modalDepth > 0) != ExamRun::EndStep::Teardown)
        return;
    teardown();
    if (!ExamRun::returnsToMainWindow(reason))
        return;
    session.SkipActivateGuard = true;
    hide();
    close();
    ReturnToMainWindowLink::open();
}

void frmZiduver::teardown()
{
    hideLoading();
    Timer1->setEnabled(false);
    m_end.writeProgressBeforeClosing(this);
    CloseHelpWindow();
    session.closeExamConnection();
}

void frmZiduver::endModalCall()
{
    --m_modalDepth;
    if (m_modalDepth > 0)
        return;
    // Closed under the modal call: the window goes now that nothing of its
    // own runs any more.
    if (run.ended() && DefaultInstance<frmZiduver>::find() != this) {
        DefaultInstance<frmZiduver>::discard(this);
        return;
    }
    // Asked for under the modal call: it goes once the call has returned.
    if (const std::optional<ExamRun::EndReason> pending = run.pendingEnd())
        QTimer::singleShot(0, this, [this, reason = *pending] { end(reason); });
}

int frmZiduver::runModal(QDialog& dialog)
{
    // The box over the exam window clears the guard, so that the return
    // of the focus after it is no unexpected activation.
    gGuard.gExamWindowActive = false;
    return modalCall([&dialog] { return dialog.exec(); });
}

void frmZiduver::closeForProgramEnd()
{
    if (!session.gReviewMode && !run.busy() && !session.ExamAborted) {
        bool right = false;
        CheckAnswer(right);
    }
    close();
}

void frmZiduver::unloadAndReturn()
{
    end(ExamRun::EndReason::NothingToRun);
}

void frmZiduver::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (run.in(ExamRun::Phase::Loading)) {
        run.started();
        Form_Resize();
        QTimer::singleShot(0, this, &frmZiduver::Form_Activate);
    }
}

void frmZiduver::onFocusWindowChanged(QWindow* focused)
{
    // Menus, popups, tool tips and neutral windows come and go over the exam
    // without leaving it: the focus returning from them is no activation.
    if (focused && focused != windowHandle() && !countsAsOtherProgramWindow(focused))
        return;
    QWindow* previous = m_lastFocusWindow;
    m_lastFocusWindow = focused;
    // Only a return from another window of this program counts as an
    // activation; coming back from another application (no focus window in
    // between) never does.
    if (focused && focused == windowHandle() && previous && previous != focused && !run.in(ExamRun::Phase::Loading))
        Form_Activate();
}

void frmZiduver::Form_Activate()
{
    if (run.ended())
        return;
    if (session.SkipActivateGuard) {
        session.SkipActivateGuard = false;
    } else if (!gGuard.gExamWindowActive) {
        gGuard.gExamWindowActive = true;
    } else {
        end(ExamRun::EndReason::ActivationGuard);
        return;
    }
    if (session.launch.gQuizQuestionCount == 0 || session.ExamAborted) {
        end(ExamRun::EndReason::NothingToRun);
        return;
    }
    if (!session.gReviewGoto && !run.takeKeptPage())
        cmdReset_Click();
}

void frmZiduver::closeEvent(QCloseEvent* event)
{
    // Closing from code, or because the program or the session ends, asks
    // nothing; only the user's own close request does.
    if (run.ended() || session.SkipActivateGuard || programEnding()) {
        end(ExamRun::EndReason::WindowClosed);
        event->accept();
    } else if (run.ending()) {
        // End Exam runs already and closes the window itself.
        event->ignore();
        return;
    } else {
        // A close request from the user asks to end the exam.
        cmdEndExam_Click();
        if (session.EndDeclined) {
            CloseHelpWindow();
            event->ignore();
            return;
        }
        event->accept();
    }
    // A closed window is no longer the running exam at once; it is deleted
    // only later, and never under a modal call of its own.
    if (m_modalDepth > 0) {
        DefaultInstance<frmZiduver>::forget(this);
    } else {
        DefaultInstance<frmZiduver>::discard(this);
    }
}

void frmZiduver::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // An activation comes after the window manager has framed the window, so
    // the frame's size is known by then.
    if ((event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange) && !isMinimized())
        Form_Resize();
}

bool frmZiduver::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        if (Form_KeyDown(static_cast<QKeyEvent*>(event)))
            return true;
        if (runAccelerator(static_cast<QKeyEvent*>(event)))
            return true;
    }
    if (watched == ViewAnswer && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        if (fraAltert->isVisible())
            placeAlert();
        if (picMarked->isVisible())
            placeMarkedPanel();
        if (lblBreakCover->isVisible())
            placeBreakCover();
    }
    return QWidget::eventFilter(watched, event);
}

void frmZiduver::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmZiduver::Form_Resize()
{
    if (session.launch.gQuizQuestionCount == 0 || isMinimized() || m_resizing)
        return;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The window, its frame included, covers the screen's available area
    // (the screen less the desktop's panels) less a margin at the bottom
    // (px(750)); geometry() is the part inside the frame.
    const QRect area = screen->availableGeometry();
    const QRect wanted(area.left(), area.top(), area.width(), area.height() - px(750));
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QRect client = wanted.marginsRemoved(frame);
    if (inner != client) {
        m_resizing = true;
        setGeometry(client);
        m_resizing = false;
    }
}
