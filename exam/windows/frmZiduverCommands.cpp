#include "exam/windows/frmZiduverParts.h"

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
    // A command can be chosen when the mode, review and the question's place
    // (Next and Previous) allow it, except during a break: the resume gives
    // back what they allow. A command chosen while a check or End Exam runs,
    // or after the end, is refused by the run itself, so that a button does
    // not flicker off under every check; under the alert and the marked
    // panel the bands are switched off as a whole.
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
    if (gReviewMode())
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
