#include "exam/windows/frmZiduverParts.h"

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
    inputs.reviewMode = gReviewMode();
    inputs.fontName = session.launch.gQuizFontName;
    inputs.fontSize = session.launch.gQuizFontSize;
    inputs.examDbPath = session.launch.gQuizExamDbPath;
    inputs.programFolder = pageFolder();
    inputs.blockRightClick = gStartup.gBlockRightClick == 1;
    inputs.verdictKept = keepsEarlierVerdict(session.AnswerShownRow, row, gReviewMode());
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
        return !closing() && !session.TimeOver && !gReviewMode() && !run.in(ExamRun::Phase::Paused)
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
    if (gReviewMode())
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

void frmZiduver::setRightAnswersShown(bool shown)
{
    m_rightAnswersShown = shown;
    actShowAnswer->setText(shown ? QStringLiteral("&Hide Answer") : QStringLiteral("&Show Answer"));
    cmShowanswer1->setText(actShowAnswer->text());
}

void frmZiduver::resetShowAnswerToggle()
{
    if (m_rightAnswersShown) {
        setRightAnswersShown(false);
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

NavigationState navigationState(const ExamSession& session, bool reviewMode)
{
    NavigationState state;
    state.current = session.CurrentQuestion;
    state.reached = session.QuestionsReached;
    state.count = session.launch.gQuizQuestionCount;
    state.reviewMode = reviewMode;
    state.reviewLastIndex = session.gReviewLastIndex;
    return state;
}

} // namespace

void frmZiduver::cmdNext_Click()
{
    if (run.in(ExamRun::Phase::Checking))
        return;
    command("cmdNext_Click", [this] {
        allowAction(actNext, false);
        if (TabScenario->isVisible() && TabScenario->currentIndex() != 0)
            TabScenario->setCurrentIndex(0);
        if (!gReviewMode()) {
            bool right = false;
            if (!recordAnswerOnScreen(&right)) {
                // An answer that could not be recorded is not left behind.
                if (!closing())
                    allowAction(actNext, true);
                return;
            }
            // Once the right answer was shown the user knows it: no alert.
            if (session.mode == ExamMode::Practice && !right && session.AnswerShownRow != session.CurrentQuestion) {
                const AlertGate gate = wrongPracticeAnswer(chkResult->isChecked() || chkShowresult->isChecked(),
                                                           m_alertPassGranted, session.gAlertAction);
                if (gate.raisePanel)
                    ShowResultAlert();
                if (!gate.moveOn) {
                    allowAction(actNext, true);
                    return;
                }
            }
        }
        const NavigationMove move = nextMove(session.mode, navigationState(session, gReviewMode()));
        applyMove(move);
        resetShowAnswerToggle();
        if (move.prevTouched)
            allowAction(actPrev, move.prevEnabled);
        if (!move.showQuestion)
            return;
        showRow(session.msflex.questionCode(session.CurrentQuestion));
        Label2->setText(QString::number(session.msflex.questionCode(session.CurrentQuestion)));
        settleView();
        allowAction(actNext, move.nextEnabled);
        allowAction(actPrev, move.prevEnabled);
    });
}

void frmZiduver::cmdPrev_Click()
{
    if (run.in(ExamRun::Phase::Checking))
        return;
    command("cmdPrev_Click", [this] {
        allowAction(actPrev, false);
        resetShowAnswerToggle();
        if (!gReviewMode() && !recordAnswerOnScreen()) {
            if (!closing())
                allowAction(actPrev, true);
            return;
        }
        const NavigationMove move = previousMove(session.mode, navigationState(session, gReviewMode()));
        if (!move.showQuestion)
            return;
        applyMove(move);
        Label2->setText(session.msflex.text(session.CurrentQuestion, colQuestCode));
        showRow(session.msflex.questionCode(session.CurrentQuestion));
        settleView();
        allowAction(actPrev, move.prevEnabled);
        allowAction(actNext, move.nextEnabled);
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
        if (!m_rightAnswersShown) {
            if (!recordAnswerOnScreen())
                return;
            ShowRightAnsInViwer();
            setRightAnswersShown(true);
        } else {
            HideRightAnsInViwer();
            setRightAnswersShown(false);
        }
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
    if (!gReviewMode())
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
    const NavigationMove move = jumpMove(number, navigationState(session, gReviewMode()));
    session.CurrentQuestion = move.current;
    Label2->setText(session.msflex.text(session.CurrentQuestion, colQuestCode));
    SetModeCaptionAndControls(session.mode);
    // The mode's controls must not take back what review mode made usable.
    if (gReviewMode())
        applyReviewControls();
    showRow(questCode);
    settleView();
    allowAction(actPrev, move.prevEnabled);
    allowAction(actNext, move.nextEnabled);
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
