#include "exam/windows/frmZiduverParts.h"

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
    // The footer's commands. The menu's Next Question and Previous Question
    // are not these actions: the mode enables the menu's Previous where it
    // disables the button, and the menu's entries (as Enter does) run the
    // command whatever the button's state.
    actPrev = toolAction("actPrev", "&Previous");
    actNext = toolAction("actNext", "&Next");
    actShowAnswer = toolAction("actShowAnswer", "&Show Answer");
    actReset = toolAction("actReset", "&Reset");
    actExplanation = toolAction("actExplanation", "E&xplanation");
    actInstruction = toolAction("actInstruction", "&Instruction");
    actMarked = toolAction("actMarked", "Marked Questions");
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
    auto button = [this](const char* name, QAction* action, const char* caption = "") {
        auto* b = new WidgetActionButton(action, fraFooter, QString::fromLatin1(caption));
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    cmdPrev = button("cmdPrev", actPrev);
    cmdNext = button("cmdNext", actNext);
    cmdShowAnswer = button("cmdShowAnswer", actShowAnswer);
    cmdReset = button("cmdReset", actReset);
    cmdExplanation = button("cmdExplanation", actExplanation);
    cmdInstruction = button("cmdInstruction", actInstruction);
    cmdExamReview = button("cmdExamReview", actReview, "Re&view");
    cmdEndExam = button("cmdEndExam", actEndExam, "&End Exam");
    cmdMarked = button("cmdMarked", actMarked);
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
    for (QAction* a : {actPrint, actViewNote, actAddNote, actReview, actEndExam, actHelp, actPrev, actNext,
                       actShowAnswer, actReset, actExplanation, actInstruction, actMarked, mnuPrint, mnuCheatKey,
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

    connect(actNext, &QAction::triggered, this, &frmZiduver::cmdNext_Click);
    connect(actPrev, &QAction::triggered, this, &frmZiduver::cmdPrev_Click);
    connect(actReset, &QAction::triggered, this, &frmZiduver::cmdReset_Click);
    connect(actShowAnswer, &QAction::triggered, this, &frmZiduver::cmdShowAnswer_Click);
    connect(actExplanation, &QAction::triggered, this, &frmZiduver::cmdExplanation_Click);
    connect(actInstruction, &QAction::triggered, this, &frmZiduver::cmdInstruction_Click);
    connect(actMarked, &QAction::triggered, this, &frmZiduver::cmdMarked_Click);
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
    connect(actPrint, &QAction::triggered, this, [this] { ToolbarClick([this] { ToolbarPrint(); }); });
    connect(actViewNote, &QAction::triggered, this, [this] { ToolbarClick([this] { ToolbarViewNote(); }); });
    connect(actAddNote, &QAction::triggered, this, [this] { ToolbarClick([this] { ToolbarAddNote(); }); });
    // The footer's Review and End Exam run these too. The toolbar's frame
    // (the guard cleared, the clock given back) adds nothing to them: both
    // clear the guard (or their box does) and give the clock back themselves.
    connect(actReview, &QAction::triggered, this, [this] { ToolbarClick([this] { cmdExamReview_Click(); }); });
    connect(actEndExam, &QAction::triggered, this, [this] { ToolbarClick([this] { cmdEndExam_Click(); }); });
    connect(actHelp, &QAction::triggered, this, [this] { ToolbarClick([this] { showHelpWindow(); }); });
    // The mark box's click follows its value, also when the display sets it.
    connect(Check1, &QCheckBox::toggled, this, &frmZiduver::Check1_Click);
    connect(chkBreak, &QCheckBox::toggled, this, &frmZiduver::chkBreak_Click);
    connect(flexMarked, &QTableWidget::cellDoubleClicked, this, &frmZiduver::flexMarked_DblClick);
    connect(cmdVQuestion, &QPushButton::clicked, this, &frmZiduver::flexMarked_DblClick);
    connect(cmdClose, &QPushButton::clicked, this, &frmZiduver::cmdClose_Click);
    connect(mnuPrint, &QAction::triggered, this, &frmZiduver::mnuPrint_Click);
    connect(mnuAddNote, &QAction::triggered, this, &frmZiduver::mnuAddNote_Click);
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
        // The command buttons follow their actions, which the phase switches off.
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
