#include "results/windows/frmoffLineQuestions.h"

#include "exam/ExamSession.h"
#include "exam/QuestionDisplay.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/UiHooks.h"
#include "foundation/WholeFile.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/browser/BrowserView.h"
#include "platform/browser/PagePrinter.h"
#include "platform/browser/WrittenPage.h"
#include "platform/db/Connection.h"
#include "platform/pages/ServedFiles.h"
#include "platform/ui/WindowControls.h"
#include "results/QuestionSheet.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

namespace {

const QString kReportTag = QStringLiteral(":CreateQuestReport:FrmOffLineQuestions:");

void logReportError(const QString& description)
{
    WriteLog(description + kReportTag + logDate());
}

} // namespace

frmoffLineQuestions::frmoffLineQuestions(const ExamSession& session, QWidget* owner)
    : QDialog(owner), m_launch(session.launch), m_list(session.msflex)
{
    setObjectName(QStringLiteral("frmoffLineQuestions"));
    setWindowTitle(m_launch.gAppTitle);

    www1 = new BrowserView(this);
    www1->setObjectName(QStringLiteral("www1"));

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    chkShowAnswer = new QCheckBox(QStringLiteral("Show Answer"), Picture1);
    chkShowAnswer->setObjectName(QStringLiteral("chkShowAnswer"));
    chkShowExplanation = new QCheckBox(QStringLiteral("Show Explanation"), Picture1);
    chkShowExplanation->setObjectName(QStringLiteral("chkShowExplanation"));
    cmdGenerate = new QPushButton(QStringLiteral("Generate"), Picture1);
    cmdGenerate->setObjectName(QStringLiteral("cmdGenerate"));
    Command1 = new QPushButton(QStringLiteral("Print"), Picture1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Exit"), Picture1);
    Command2->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* button : {cmdGenerate, Command1, Command2})
        button->setAutoDefault(false);

    auto* strip = new QHBoxLayout(Picture1);
    strip->setContentsMargins(8, 4, 8, 4);
    strip->addWidget(chkShowAnswer);
    strip->addWidget(chkShowExplanation);
    strip->addStretch();
    strip->addWidget(cmdGenerate);
    strip->addWidget(Command1);
    strip->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(www1, 1);
    layout->addWidget(Picture1);

    connect(cmdGenerate, &QPushButton::clicked, this, &frmoffLineQuestions::cmdGenerate_Click);
    connect(Command1, &QPushButton::clicked, this, &frmoffLineQuestions::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmoffLineQuestions::Command2_Click);
    connect(&PagePrinter::program(), &PagePrinter::printingFinished, this, &frmoffLineQuestions::onPrintingFinished);
    CloseOnEscape(this);

    skinWindow(this);
    QSize size(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize());
    resize(size);
}

void frmoffLineQuestions::showSheet(const ExamSession& session, QWidget* owner)
{
    frmoffLineQuestions dialog(session, owner);
    dialog.exec();
}

bool frmoffLineQuestions::printing() const
{
    return PagePrinter::program().isPrinting(*www1);
}

void frmoffLineQuestions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_opened)
        return;
    // Built once the window is up; later activations (the print dialog
    // closing among them) leave the page as it is.
    m_opened = true;
    QTimer::singleShot(0, this, &frmoffLineQuestions::CreateQuestReport);
}

void frmoffLineQuestions::CreateQuestReport()
{
    if (printing())
        return;
    BusyPointer busy;
    cmdGenerate->setEnabled(false);

    SheetOptions options;
    options.showAnswers = chkShowAnswer->isChecked();
    options.showExplanation = chkShowExplanation->isChecked();
    options.blockRightClick = sheetBlocksRightClick();
    options.fontName = m_launch.gQuizFontName;
    options.fontSize = m_launch.gQuizFontSize;
    options.examFolder = examFolder(m_launch.gQuizExamDbPath);
    options.debugLog = gStartup.gDebug == 1;
    SheetPage page;
    try {
        db::Connection exam = db::Connection::open(m_launch.gQuizConnStr);
        page = ::CreateQuestReport(exam, m_list, options);
    } catch (const std::exception& error) {
        // A sheet that could not be read is no sheet without questions.
        logReportError(QString::fromLocal8Bit(error.what()));
        cmdGenerate->setEnabled(true);
        ShowMessage(commandFailureText(QStringLiteral("The question sheet could not be made."),
                                       DatabaseFile::exam(m_launch.gQuizExamDbPath), error),
                    gLogin.gAppName, OneButton, this);
        return;
    }
    if (!page.hasQuestions) {
        cmdGenerate->setEnabled(true);
        ShowMessage(QStringLiteral("No Questions available"), gLogin.gAppName, OneButton, this);
        return;
    }

    m_page = page.html;
    www1->setContextMenuBlocked(options.blockRightClick);
    const QUrl base = QUrl::fromLocalFile(programFolder() + QLatin1Char('/'));
    const QString path = questionSheetPath();
    // The sheet shows the exam's pictures; the file is the window's own.
    servedPageFiles().setExamFolder(examFolder(m_launch.gQuizExamDbPath));
    const QString why = writeWholeFile(path, written_page::fileContent(m_page, base));
    if (why.isEmpty()) {
        servedPageFiles().addPrivateFile(path);
        www1->navigate(QUrl::fromLocalFile(path));
    } else {
        // The sheet still shows, only without its file.
        logReportError(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + why);
        www1->writeHtml(m_page, base);
        ShowMessage(fileWriteProblemText(QStringLiteral("The question sheet's page file could not be saved."), path, why),
                    gLogin.gAppName, OneButton, this);
    }
    cmdGenerate->setEnabled(true);
}

void frmoffLineQuestions::cmdGenerate_Click()
{
    CreateQuestReport();
}

void frmoffLineQuestions::Command1_Click()
{
    const auto report = [this](const QString& text) { ShowMessage(text, gLogin.gAppName, OneButton, this); };
    if (PagePrinter::program().ShowPrinter(*www1, this, report) == PagePrinter::Started::Printing && printing())
        setCommandsEnabled(false);
}

void frmoffLineQuestions::Command2_Click()
{
    if (deferCloseWhilePrinting())
        return;
    done(QDialog::Accepted);
}

void frmoffLineQuestions::setCommandsEnabled(bool enabled)
{
    cmdGenerate->setEnabled(enabled);
    Command1->setEnabled(enabled);
}

bool frmoffLineQuestions::deferCloseWhilePrinting()
{
    if (!printing())
        return false;
    m_closeWhenPrinted = true;
    Command2->setEnabled(false);
    return true;
}

void frmoffLineQuestions::onPrintingFinished(BrowserView* view, bool)
{
    if (view != www1)
        return;
    setCommandsEnabled(true);
    if (m_closeWhenPrinted) {
        m_closeWhenPrinted = false;
        Command2->setEnabled(true);
        done(QDialog::Accepted);
    }
}

void frmoffLineQuestions::closeEvent(QCloseEvent* event)
{
    if (deferCloseWhilePrinting()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmoffLineQuestions::reject()
{
    if (deferCloseWhilePrinting())
        return;
    QDialog::reject();
}
