#include "exam/frmZiduver.h"

#include "exam/ClockRandomSource.h"
#include "exam/frmLoading.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/WidgetSkinning.h"
#include "platform/ui/ActivationSource.h"
#include "platform/ui/DefaultInstance.h"
#include "platform/ui/WindowControls.h"

#include "platform/browser/BrowserView.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <iterator>

namespace {

// The window's lengths are laid down at 15 units a pixel.
constexpr int px(int units)
{
    return units / 15;
}

// Question texts are stored as HTML; only their line breaks need turning
// into line-break tags.
QString questionHtml(const QString& text)
{
    QString html = text.trimmed();
    html.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    html.replace(QLatin1Char('\r'), QLatin1String("<br>"));
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return html;
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
// Take a break hidden, the clock reading "Time Elapsed").
struct ModeControls {
    ExamMode mode;
    const char* captionSuffix;
    bool countDown; // the clock counts down and says "Time Remaining"
    Set previousShown, previousEnabled, previousMenu;
    Set markBox, breakBox, feedbackBox;
    Set answerButtons; // Show Answer, Instruction, Reset
    Set explanation, examReview, markedButton, endExam;
    Set noteTools, reviewTool; // toolbar: View Note and Add Note; Review
    Set examMenus;             // answer key, status, history, add note, feedback
    Set feedbackMenu;
};

constexpr Set K = Set::Keep, On = Set::On, Off = Set::Off;
// clang-format off
constexpr ModeControls kModeControls[] = {
    // mode              suffix                       down  prev shown/en/menu  mark brk  fdbk answer expl review marked end   notes revw menus fdbkMenu
    {ExamMode::Simulated, ", Mode : Simulated",       true,  On, Off, On,       On,  On,  Off, Off,   Off, K,     K,     On,   Off,  K,   Off,  K},
    {ExamMode::Test,      ", Mode : Pretest",         false, On, Off, On,       Off, K,   Off, Off,   Off, Off,   Off,   On,   Off,  Off, Off,  K},
    {ExamMode::Practice,  ", Mode : Adaptive Drills", false, K,  Off, K,        Off, K,   K,   K,     On,  K,     K,     K,    K,    K,   K,    On},
    // Any other mode word (the adaptive one): a count-down without a caption suffix.
    {ExamMode::Other,     "",                         true,  K,  K,   K,        On,  On,  K,   Off,   Off, K,     K,     K,    K,    K,   K,    K},
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
        window.unloadAndReturn();
        return;
    }
    window.show();
    window.raise();
    window.activateWindow();
}

frmZiduver::frmZiduver() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmZiduver"));
    buildControls();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmZiduver::onFocusWindowChanged);
    // Ending the desktop session closes the exam without a question.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [] { setProgramEnding(true); });
}

frmZiduver::~frmZiduver() = default;

void frmZiduver::buildControls()
{
    // Top band: toolbar, review gauge and the question counter.
    frimTop = new QFrame(this);
    frimTop->setObjectName(QStringLiteral("frimTop"));
    frimTop->setFixedHeight(px(975));
    auto* top = new QHBoxLayout(frimTop);
    top->setContentsMargins(8, 4, 8, 4);
    const char* const toolbarNames[] = {"ToolbarPrint",  "ToolbarViewNote", "ToolbarAddNote",
                                        "ToolbarReview", "ToolbarEndExam",  "ToolbarHelp"};
    const char* const toolbarCaptions[] = {"Print", "View Note", "Add Note", "Review", "End Exam", "Help"};
    for (int i = 0; i < 6; ++i) {
        tbar[size_t(i)] = new QPushButton(QString::fromLatin1(toolbarCaptions[i]), frimTop);
        tbar[size_t(i)]->setObjectName(QString::fromLatin1(toolbarNames[i]));
        tbar[size_t(i)]->setFocusPolicy(Qt::NoFocus);
        top->addWidget(tbar[size_t(i)]);
    }
    top->addStretch();
    picGauge = new QFrame(frimTop);
    picGauge->setObjectName(QStringLiteral("picGauge"));
    lblReview = new QLabel(picGauge);
    lblReview->setObjectName(QStringLiteral("lblReview"));
    auto* gauge = new QHBoxLayout(picGauge);
    gauge->addWidget(lblReview);
    top->addWidget(picGauge);
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
    Label2->hide();
    auto* frame1 = new QVBoxLayout(Frame1);
    frame1->addWidget(lblQno);
    top->addWidget(Frame1);

    // Question area: the question page, with the scenario page laid over it
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

    // Bottom band: navigation and answer buttons, the check boxes, the clock.
    fraFooter = new QFrame(this);
    fraFooter->setObjectName(QStringLiteral("fraFooter"));
    fraFooter->setFixedHeight(px(1035));
    auto* footer = new QHBoxLayout(fraFooter);
    footer->setContentsMargins(8, 4, 8, 4);
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
    checks->addWidget(Check1);
    checks->addWidget(chkShowresult);
    checks->addWidget(chkBreak);
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

    fraAltert = new QFrame(this);
    fraAltert->setObjectName(QStringLiteral("fraAltert"));
    fraAltert->hide();
    picMarked = new QFrame(this);
    picMarked->setObjectName(QStringLiteral("picMarked"));
    picMarked->hide();

    auto action = [this](const char* name, const char* caption) {
        auto* a = new QAction(QString::fromLatin1(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuPrev = action("mnuPrev", "&Previous");
    mnuCheatKey = action("mnuCheatKey", "Show &Answer Key");
    mnuCheatKey->setCheckable(true);
    mnuStatus = action("mnuStatus", "&Status");
    mnuHistory = action("mnuHistory", "&History");
    mnuAddNote = action("mnuAddNote", "Add &Note");
    mnuShowResult = action("mnuShowResult", "Show &Feedback");

    auto* layout = new QVBoxLayout(this);
    // The window takes the screen's size, never the bands' wish: on a narrow
    // screen the bands squeeze their buttons rather than push the window
    // (and End Exam) past the screen's edge.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(2);
    layout->addWidget(frimTop);
    layout->addWidget(ViewAnswer, 1);
    layout->addWidget(fraFooter);

    connect(cmdNext, &QPushButton::clicked, this, &frmZiduver::cmdNext_Click);
    connect(cmdPrev, &QPushButton::clicked, this, &frmZiduver::cmdPrev_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmZiduver::cmdReset_Click);
    connect(cmdEndExam, &QPushButton::clicked, this, &frmZiduver::cmdEndExam_Click);
    connect(tbar[4], &QPushButton::clicked, this, &frmZiduver::cmdEndExam_Click);
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
    session.gReviewMode = false;

    if (session.launch.gQuizQuestionCount == 0) {
        ShowMessage(QuestionSetBuilder::noQuestionsText(), gLogin.gAppName, OneButton, this);
        return false;
    }
    session.EndDeclined = false;

    m_loading = std::make_unique<frmLoading>();
    m_loading->show();
    QApplication::processEvents();

    www1->writeHtml(QString());
    lblExamTimer->setText(QString::number(session.launch.gQuizHours).trimmed() + QLatin1Char(':')
                          + QString::number(session.launch.gQuizMinutes - 1).trimmed() + QStringLiteral(":00"));
    lblExamTimer->show();

    try {
        if (!session.ExamConn.isOpen())
            session.openExamConnection(session.launch.gQuizConnStr);
    } catch (const std::exception& error) {
        hideLoading();
        ShowMessage(QString::fromUtf8(error.what()), gLogin.gAppName, OneButton, this);
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
    if (session.questionCount() == 1) {
        cmdNext->setEnabled(false);
        cmdPrev->setEnabled(false);
    }
    showQuestionAt(1);
    hideLoading();
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
    if (controls.countDown) {
        lblBalTime->setText(QStringLiteral("Time Remaining"));
    }
    apply(controls.previousShown, [this](bool on) { cmdPrev->setVisible(on); });
    apply(controls.previousEnabled, [this](bool on) { cmdPrev->setEnabled(on); });
    apply(controls.previousMenu, [this](bool on) { mnuPrev->setEnabled(on); });
    apply(controls.markBox, [this](bool on) { Check1->setVisible(on); });
    apply(controls.breakBox, [this](bool on) { chkBreak->setVisible(on); });
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
        tbar[1]->setEnabled(on);
        tbar[2]->setEnabled(on);
    });
    apply(controls.reviewTool, [this](bool on) { tbar[3]->setEnabled(on); });
    apply(controls.examMenus, [this](bool on) {
        for (QAction* a : {mnuCheatKey, mnuStatus, mnuHistory, mnuAddNote, mnuShowResult})
            a->setEnabled(on);
    });
    apply(controls.feedbackMenu, [this](bool on) { mnuShowResult->setEnabled(on); });
    setWindowTitle(caption);
}

void frmZiduver::showQuestionAt(int row)
{
    if (row < 1 || row > session.questionCount())
        return;
    session.CurrentQuestion = row;
    if (row > session.QuestionsReached)
        session.QuestionsReached = row;
    Label2->setText(session.msflex.text(row, colQuestCode));
    lblQno->setText(QStringLiteral("%1 of %2").arg(row).arg(session.questionCount()));
    ShowQuestion(session.msflex.questionCode(row), session.msflex.choiceOrder(row), false);
    if (session.questionCount() > 1) {
        cmdNext->setEnabled(row < session.questionCount());
        if (session.mode != ExamMode::Test)
            cmdPrev->setEnabled(row > 1);
    }
}

void frmZiduver::ShowQuestion(int questCode, int, bool)
{
    session.gQuestCode = questCode;
    QString text;
    try {
        if (const std::optional<ExamBank::QuestionHead> head = ExamBank(session.ExamConn).questionHead(questCode)) {
            text = head->text;
            session.gQuestType = head->type;
            session.gInteractiveCode = head->interactiveCode;
        }
    } catch (const std::exception& error) {
        text = QString::fromUtf8(error.what());
    }
    const QString family =
        session.launch.gQuizFontName.isEmpty() ? QStringLiteral("Verdana") : session.launch.gQuizFontName;
    const QString page = QStringLiteral("<html><head><style>body { font-family: '%1'; font-size: %2px; margin: 18px; "
                                        "color: #1d2733; } .code { color: #6b7785; font-size: 85%; }</style></head>"
                                        "<body><div class=code>Question %3</div><p>%4</p></body></html>")
                             .arg(family.toHtmlEscaped())
                             .arg(qMax(session.launch.gQuizFontSize, 10) + 2)
                             .arg(questCode)
                             .arg(questionHtml(text));
    const QString folder = QFileInfo(session.launch.gQuizExamDbPath).absolutePath();
    www1->writeHtml(page, QUrl::fromLocalFile(folder + QLatin1Char('/')));
}

void frmZiduver::cmdNext_Click()
{
    cmdNext->setEnabled(false);
    showQuestionAt(session.CurrentQuestion + 1);
}

void frmZiduver::cmdPrev_Click()
{
    cmdPrev->setEnabled(false);
    showQuestionAt(session.CurrentQuestion - 1);
}

void frmZiduver::cmdReset_Click()
{
    showQuestionAt(session.CurrentQuestion);
}

void frmZiduver::cmdEndExam_Click()
{
    session.SkipActivateGuard = true;
    const short answer = ShowMessage(QStringLiteral("Do you want to end exam?"), gLogin.gAppName, YesNo, this);
    session.SkipActivateGuard = false;
    if (answer != ResultYes) {
        session.EndDeclined = true;
        return;
    }
    session.EndDeclined = false;
    session.ExamAborted = true;
    unloadAndReturn();
}

void frmZiduver::unload()
{
    if (m_modalDepth > 0) {
        m_unloadRequested = true;
        return;
    }
    unloadAndReturn();
}

int frmZiduver::runModal(QDialog& dialog)
{
    // The box over the exam window clears the guard, so that the return
    // of the focus after it is no unexpected activation.
    gGuard.gExamWindowActive = false;
    ++m_modalDepth;
    const int result = dialog.exec();
    --m_modalDepth;
    if (m_modalDepth == 0 && m_discardAfterModal) {
        DefaultInstance<frmZiduver>::discard(this);
        return result;
    }
    if (m_modalDepth == 0 && m_unloadRequested) {
        m_unloadRequested = false;
        QTimer::singleShot(0, this, &frmZiduver::unloadAndReturn);
    }
    return result;
}

void frmZiduver::unloadAndReturn()
{
    if (m_unloading)
        return;
    hideLoading();
    m_unloading = true;
    session.SkipActivateGuard = true;
    session.closeExamConnection();
    hide();
    close();
    ReturnToMainWindowLink::open();
}

void frmZiduver::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
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
    if (focused && focused == windowHandle() && previous && previous != focused && !m_firstShow)
        Form_Activate();
}

void frmZiduver::Form_Activate()
{
    if (m_unloading)
        return;
    if (session.SkipActivateGuard) {
        session.SkipActivateGuard = false;
    } else if (!gGuard.gExamWindowActive) {
        gGuard.gExamWindowActive = true;
    } else {
        unloadAndReturn();
        return;
    }
    if (session.launch.gQuizQuestionCount == 0 || session.ExamAborted) {
        unloadAndReturn();
        return;
    }
    if (!session.gReviewGoto)
        cmdReset_Click();
}

void frmZiduver::closeEvent(QCloseEvent* event)
{
    // Closing from code, or because the program or the session ends, asks
    // nothing; only the user's own close request does.
    if (m_unloading || session.SkipActivateGuard || programEnding()) {
        m_unloading = true;
        session.closeExamConnection();
        hideLoading();
        event->accept();
    } else {
        // A close request from the user asks to end the exam.
        cmdEndExam_Click();
        if (session.EndDeclined) {
            event->ignore();
            return;
        }
        event->accept();
    }
    // A closed window is no longer the running exam at once; it is deleted
    // only later, and never under a modal call of its own.
    if (m_modalDepth > 0) {
        DefaultInstance<frmZiduver>::forget(this);
        m_discardAfterModal = true;
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
    // The window, its frame included, covers the screen less a margin at the
    // bottom (px(750)); geometry() is the part inside the frame.
    const QRect area = screen->geometry();
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
