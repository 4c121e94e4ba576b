#include "exam/windows/frmZiduverParts.h"

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
    m_alertPassGranted = true;
    cmdNext_Click();
}

void frmZiduver::chkResult_Click()
{
    {
        const QSignalBlocker blocker(chkShowresult);
        chkShowresult->setChecked(chkResult->isChecked());
    }
    if (chkResult->isChecked() || chkShowresult->isChecked())
        m_alertPassGranted = false;
}

void frmZiduver::chkShowresult_Click()
{
    {
        const QSignalBlocker blocker(chkResult);
        chkResult->setChecked(chkShowresult->isChecked());
    }
    chkShowresult->setEnabled(true);
    if (chkShowresult->isChecked())
        m_alertPassGranted = false;
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
        if (!gReviewMode() && !session.TimeOver) {
            session.SkipActivateGuard = true;
            const short answer = ShowMessage(QStringLiteral("Do you want to end exam?"), gLogin.gAppName, YesNo, this);
            session.SkipActivateGuard = false;
            if (answer != ResultYes) {
                if (clockWasRunning && !gReviewMode())
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
        if (!gReviewMode()) {
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
        if (!gReviewMode() && !session.ExamAborted) {
            session.SkipActivateGuard = true;
            const short answer = ShowMessage(QString::fromLatin1(kReviewPrompt), gLogin.gAppName, YesNo, this);
            if (answer != ResultYes) {
                if (clockWasRunning)
                    Timer1->setEnabled(true);
                session.launch.gQuizQuestionCount = keptCount;
                if (keptCount == 1) {
                    allowAction(actNext, false);
                    allowAction(actPrev, false);
                }
                session.SkipActivateGuard = false;
                return;
            }
        }
        const bool wasInReview = gReviewMode();
        chkShowresult->hide();
        applyReviewControls();
        if (session.mode == ExamMode::Adaptive && !wasInReview) {
            session.launch.gQuizQuestionCount = session.CurrentQuestion;
            session.QuestionsReached = session.CurrentQuestion;
            lblQno->setText(questionCounterText(session.CurrentQuestion, session.launch.gQuizQuestionCount));
        }
        setRightAnswersShown(false);
        // The Question/Scenario tabs stay as the question on screen has them:
        // only a scenario question shows them.
        SkinToolbar();
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
        if (!gReviewMode()) {
            bool right = false;
            CheckAnswer(right);
            if (closing() || run.ending())
                return;
        }
        closeTaggedDialogs();
        session.gReviewLastIndex = session.launch.gQuizQuestionCount;
        lblExamTimer->setText(QStringLiteral("00:00"));
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
    if (clockRan && !gReviewMode() && !session.TimeOver)
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
            if (clockRan && !gReviewMode() && !session.TimeOver)
                Timer1->setEnabled(true);
        }
        chkBreak->setEnabled(true);
    });
}
