#include "exam/windows/frmZiduverParts.h"
#include "platform/ui/ModalKeys.h"

namespace {

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

    // A file that cannot be opened, or categories that cannot be read, are
    // not an exam without any.
    int categories = 0;
    try {
        if (!session.ExamConn.isOpen())
            session.openExamConnection(session.launch.gQuizConnStr);
        categories = session.openCategoryRows(session.mode);
    } catch (const std::exception& error) {
        hideLoading();
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : Form_Load : frmZiduver : Date/Time :")
                 + logDateTime());
        ShowMessage(commandFailureText(QStringLiteral("The exam could not be started."),
                                       DatabaseFile::exam(session.launch.gQuizExamDbPath), error),
                    gLogin.gAppName, OneButton, this);
        return false;
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
    apply(load.loadPrevEnabled, [this](bool on) { allowAction(actPrev, on); });
    apply(load.loadAnswerButtons, [this](bool on) {
        for (QPushButton* b : {cmdShowAnswer, cmdInstruction, cmdReset})
            b->setVisible(on);
    });
    apply(load.loadExplanation, [this](bool on) { cmdExplanation->setVisible(on); });
    SetModeCaptionAndControls(session.mode);
    if (session.launch.gQuizQuestionCount == 1) {
        allowAction(actNext, false);
        allowAction(actPrev, false);
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
        allowAction(actNext, false);
        allowAction(actPrev, false);
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
    apply(controls.previousEnabled, [this](bool on) { allowAction(actPrev, on); });
    apply(controls.previousMenu, [this](bool on) { allowAction(mnuPrev, on); });
    apply(controls.markBox, [this](bool on) { Check1->setVisible(on); });
    apply(controls.feedbackBox, [this](bool on) { chkShowresult->setVisible(on); });
    apply(controls.answerButtons, [this](bool on) {
        for (QAction* a : {actShowAnswer, actInstruction, actReset})
            allowAction(a, true);
        for (QPushButton* b : {cmdShowAnswer, cmdInstruction, cmdReset})
            b->setVisible(on);
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

QString frmZiduver::pageFolder() const
{
    return session.launch.gQuizAppPath.isEmpty() ? programFolder() : session.launch.gQuizAppPath;
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
    if (!gReviewMode() && !run.busy() && !session.ExamAborted) {
        bool right = false;
        CheckAnswer(right);
    }
    close();
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
    // A click on the window while a modal window lies over it (a window
    // manager hands it the focus all the same) is no return to the exam:
    // the modal window is still open and its closing is the return its
    // opener prepared the guard for.
    if (focused && focused == windowHandle() && modalWindowOver(this))
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
    if (session.launch.gQuizQuestionCount == 0 || session.ExamAborted || closing()) {
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
    // Behind a modal window (the question sheet, a message) the exam's keys
    // do nothing.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this && !modalWindowOver(this)) {
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
