#include "mainwindow/frmmain.h"

#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/WidgetSkinning.h"
#include "mainwindow/ExamLaunch.h"
#include "mainwindow/links/ExamWindowLink.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "platform/db/Connection.h"
#include "platform/ui/DefaultInstance.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmmain& frmmain::instance()
{
    return DefaultInstance<frmmain>::get();
}

bool frmmain::exists()
{
    return DefaultInstance<frmmain>::find() != nullptr;
}

void frmmain::unload()
{
    if (frmmain* window = DefaultInstance<frmmain>::find()) {
        window->ChangingExam = true;
        window->close();
        DefaultInstance<frmmain>::discard(window);
    }
}

void frmmain::showForExam(const QString& examDescription)
{
    lblExamName->setText(examDescription);
    setWindowTitle(gLogin.gAppTitle);
    showAgain();
}

void frmmain::showAgain()
{
    show();
    raise();
    activateWindow();
}

frmmain::frmmain() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(gLogin.gAppTitle);
    resize(640, 420);

    lblExamName = new QLabel(this);
    lblExamName->setObjectName(QStringLiteral("lblExamName"));
    QFont title = lblExamName->font();
    title.setPointSize(title.pointSize() + 6);
    title.setBold(true);
    lblExamName->setFont(title);
    lblExamName->setWordWrap(true);

    lblStatus = new QLabel(QStringLiteral("Choose how to practise:"), this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));

    cmdPretest = new QPushButton(QStringLiteral("&Pretest"), this);
    cmdSimulated = new QPushButton(QStringLiteral("&Simulated Exam"), this);
    cmdPractice = new QPushButton(QStringLiteral("P&ractice (all categories)"), this);
    mnuExam = new QPushButton(QStringLiteral("&Change Exam"), this);
    mnuExit = new QPushButton(QStringLiteral("E&xit"), this);
    for (QPushButton* button : {cmdPretest, cmdSimulated, cmdPractice, mnuExam, mnuExit})
        button->setMinimumHeight(36);

    connect(cmdPretest, &QPushButton::clicked, this, [this] { startExam(QStringLiteral("T")); });
    connect(cmdSimulated, &QPushButton::clicked, this, [this] { startExam(QStringLiteral("S")); });
    connect(cmdPractice, &QPushButton::clicked, this, [this] { startExam(QStringLiteral("P")); });
    connect(mnuExam, &QPushButton::clicked, this, &frmmain::mnuExam_Click);
    connect(mnuExit, &QPushButton::clicked, this, &QWidget::close);

    auto* modes = new QHBoxLayout;
    modes->addWidget(cmdPretest);
    modes->addWidget(cmdSimulated);
    modes->addWidget(cmdPractice);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(mnuExam);
    bottom->addWidget(mnuExit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    layout->setSpacing(18);
    layout->addWidget(lblExamName);
    layout->addWidget(lblStatus);
    layout->addLayout(modes);
    layout->addStretch();
    layout->addLayout(bottom);
    skinWindow(this);
}

void frmmain::startExam(const QString& modeLetter)
{
    const ExamMode mode = examModeFromLetter(modeLetter);
    ExamParameters record;
    if (gLogin.gLoginId == QLatin1String("ADMIN")) {
        ShowMessage(QStringLiteral("ADMIN user cannot write exam"), gLogin.gAppName, OneButton, this);
        return;
    }
    try {
        db::Connection exam = db::Connection::open(gLogin.gExamConnStr);
        ModeLimits limits = readSimulatedLimits(exam);
        int practiceCount = 0;
        if (mode == ExamMode::Test) {
            const QString refusal = notEnoughQuestions(exam);
            if (!refusal.isEmpty()) {
                ShowMessage(refusal, gLogin.gAppName, OneButton, this);
                return;
            }
            limits.maxQuestions = pretestTotal(exam);
        } else if (mode == ExamMode::Practice) {
            ExamBank(exam).selectAllCategories();
            ExamBank(exam).selectAllChapters();
            practiceCount = std::min(30, CountSelectedQuestions(exam));
        }
        if ((mode == ExamMode::Practice ? practiceCount : limits.maxQuestions) == 0) {
            ShowMessage(QStringLiteral("Select atleast one question"), gLogin.gAppName, OneButton, this);
            return;
        }
        record = fillExamParameters(mode, practiceCount, limits, QStringLiteral("Verdana"), 10);
    } catch (const std::exception& error) {
        ShowMessage(QString::fromUtf8(error.what()), gLogin.gAppName, OneButton, this);
        return;
    }
    gGuard.gExamWindowActive = false;
    hide();
    ExamWindowLink::open(record);
}

void frmmain::mnuExam_Click()
{
    ChangingExam = true;
    hide();
    // The current user goes back to the login window.
    LoginWindowLink::open(gLogin.gLoginId, gLogin.gUserPassword);
    DefaultInstance<frmmain>::discard(this);
}

void frmmain::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!ChangingExam)
        QApplication::quit();
}
