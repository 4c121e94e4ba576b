#include "exam/windows/frmMoreHelp.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/browser/BrowserView.h"
#include "platform/pages/ServedFiles.h"
#include "platform/ui/DefaultInstance.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

frmMoreHelp& frmMoreHelp::load(const Question& question, QWidget* owner)
{
    if (frmMoreHelp* previous = loaded())
        previous->unload();
    frmMoreHelp& window = DefaultInstance<frmMoreHelp>::get();
    if (owner)
        window.setParent(owner, window.windowFlags() | Qt::Dialog);
    window.m_question = question;
    window.Form_Load();
    return window;
}

frmMoreHelp* frmMoreHelp::loaded()
{
    return DefaultInstance<frmMoreHelp>::find();
}

void frmMoreHelp::unload()
{
    hide();
    Form_QueryUnload();
    DefaultInstance<frmMoreHelp>::discard(this);
}

frmMoreHelp::frmMoreHelp() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmMoreHelp"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(640, 480);

    www2 = new BrowserView(this);
    www2->setObjectName(QStringLiteral("www2"));
    cmdBack = new QPushButton(QStringLiteral("&Back"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setEnabled(false);
    cmdOK = new QPushButton(QStringLiteral("&Close"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdBack, &QPushButton::clicked, this, &frmMoreHelp::cmdBack_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(www2, &BrowserView::navigationComplete, this, &frmMoreHelp::www2_NavigateComplete2);

    // The view takes the window's whole width less a small margin; the two
    // buttons sit on one line below it, centred.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdOK);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 5, 6);
    layout->addWidget(www2, 1);
    layout->addLayout(buttons);
}

void frmMoreHelp::Form_Load()
{
    skinWindow(this);
    setStyleSheet(styleSheet() + QStringLiteral("\n#frmMoreHelp { background-color: rgb(218, 218, 218); }"));
    www2->setContextMenuBlocked(gStartup.gBlockRightClick == 1);
    www2->navigate(QStringLiteral("about:blank"));
    LoadExplanation();
    setWindowTitle(gLogin.gAppTitle + QStringLiteral(" - Explanation"));
}

void frmMoreHelp::LoadExplanation()
{
    try {
        if (!m_exam.isOpen())
            m_exam = db::Connection::open(m_question.connectionString);
        ExamBank bank(m_exam);
        // No row: the view stays blank.
        if (const std::optional<ExamBank::QuestionHead> head = bank.questionHead(m_question.questCode))
            ShowExplanation(head->explanation);
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(":LoadExplanation: frmMoreHelp: Date/Time :")
                 + logDateTime());
        ShowMessage(commandFailureText(QStringLiteral("The explanation could not be read."),
                                       DatabaseFile::exam(m_exam.isOpen() ? m_exam.path() : m_question.examDbPath), error),
                    gLogin.gAppName, OneButton, this);
    }
}

void frmMoreHelp::ShowExplanation(const QString& text)
{
    BuildExplanationHtml(text);
}

void frmMoreHelp::BuildExplanationHtml(const QString& text)
{
    ExplanationInputs inputs;
    inputs.explanation = text;
    inputs.fontName = m_question.fontName;
    inputs.fontSize = m_question.fontSize;
    inputs.examDbPath = m_question.examDbPath;
    inputs.programFolder = programFolder();
    inputs.blockRightClick = gStartup.gBlockRightClick == 1;
    m_explanationHtml = ::BuildExplanationHtml(inputs);
    QString problem;
    if (writeExplanationFile(programFolder(), m_explanationHtml, &problem)) {
        servedPageFiles().addPrivateFile(explanationFilePath(programFolder()));
        www2->navigate(QUrl::fromLocalFile(explanationFilePath(programFolder())));
        return;
    }
    // The page still shows, only without its file.
    reportError(problem, "BuildExplanationHtml");
    www2->writeHtml(m_explanationHtml, QUrl::fromLocalFile(programFolder() + QLatin1Char('/')));
}

void frmMoreHelp::www2_NavigateComplete2(const QUrl& url)
{
    cmdBack->setEnabled(!url.toString().contains(QLatin1String("about:blank")));
}

void frmMoreHelp::cmdBack_Click()
{
    // Nowhere to go back to: the explanation is written again.
    if (!www2->goBack()) {
        rewriteExplanation();
        return;
    }
    www2->waitForLoad();
    if (www2->locationUrl() == QLatin1String("about:blank"))
        rewriteExplanation();
}

void frmMoreHelp::rewriteExplanation()
{
    www2->writeHtml(explanationRewritePage(m_explanationHtml), QUrl::fromLocalFile(programFolder() + QLatin1Char('/')));
    cmdBack->setEnabled(false);
}

void frmMoreHelp::reportError(const QString& text, const char* procedure)
{
    WriteLog(text + QLatin1Char(':') + QLatin1String(procedure) + QStringLiteral(": frmMoreHelp: Date/Time :")
             + logDateTime());
    ShowMessage(text, gLogin.gAppName, OneButton, this);
}

void frmMoreHelp::Form_QueryUnload()
{
    m_exam.close();
}

void frmMoreHelp::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    QDialog::closeEvent(event);
}

void frmMoreHelp::done(int result)
{
    Form_QueryUnload();
    QDialog::done(result);
}
