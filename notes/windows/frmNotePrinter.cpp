#include "notes/windows/frmNotePrinter.h"

#include "exam/QuestionDisplay.h"
#include "foundation/ConnectionString.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/UiHooks.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/browser/BrowserView.h"
#include "platform/browser/PagePrinter.h"
#include "platform/db/Connection.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

namespace {

QString describe(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromLocal8Bit(error.what());
}

} // namespace

frmNotePrinter::frmNotePrinter(const notesreport::NotesReportRequest& request, QWidget* owner)
    : QDialog(owner), m_request(request)
{
    setObjectName(QStringLiteral("frmNotePrinter"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    www1 = new BrowserView(this);
    www1->setObjectName(QStringLiteral("www1"));
    Command1 = new QPushButton(QStringLiteral("&Print"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Close"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* button : {Command1, Command2})
        button->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmNotePrinter::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmNotePrinter::Command2_Click);
    connect(&PagePrinter::program(), &PagePrinter::printingFinished, this, &frmNotePrinter::onPrintingFinished);

    // The buttons side by side at the bottom right, under the page.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addSpacing(7);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(26, 22, 20, 20);
    layout->setSpacing(12);
    layout->addWidget(www1, 1);
    layout->addLayout(buttons);

    Form_Load();
}

void frmNotePrinter::Form_Load()
{
    setWindowTitle(gLogin.gAppName + QStringLiteral(" - Print Notes"));
    QSize size(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize());
    resize(size);
    skinWindow(this);
    // After the skin, so that it does not cover the window's own colour.
    setStyleSheet(styleSheet() + QStringLiteral("\nQDialog#frmNotePrinter { background-color: rgb(248, 248, 248); }"));
    www1->navigate(QStringLiteral("about:blank"));
}

void frmNotePrinter::showPrinter(const notesreport::NotesReportRequest& request, QWidget* owner)
{
    frmNotePrinter dialog(request, owner);
    dialog.exec();
}

bool frmNotePrinter::printing() const
{
    return PagePrinter::program().isPrinting(*www1);
}

void frmNotePrinter::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_opened)
        return;
    // Built once the window is up, so the message of an empty report shows
    // over it; the print dialog closing leaves the page as it is.
    m_opened = true;
    QTimer::singleShot(0, this, &frmNotePrinter::CreateQuestReport);
}

void frmNotePrinter::CreateQuestReport()
{
    if (printing())
        return;
    m_noQuestions = false;
    m_page.clear();
    notesreport::NotesPage page;
    bool failed = false;
    {
        BusyPointer busy;
        try {
            db::Connection exam = db::Connection::open(connectionString(m_request.examPath, gStartup.gDbPassword));
            // A long printout says how far it is; a short one shows no box.
            QProgressDialog shown(QStringLiteral("Laying out the printout of %1 notes...")
                                      .arg(qulonglong(m_request.noteIds.size())),
                                  QString(), 0, 1, this);
            shown.setWindowTitle(gLogin.gAppName);
            shown.setWindowModality(Qt::WindowModal);
            shown.setMinimumDuration(500);
            shown.setAutoClose(false);
            shown.setAutoReset(false);
            page = notesreport::CreateQuestReport(exam, m_request, gStartup.gDebug == 1,
                                                  [&shown](qsizetype done, qsizetype total) {
                                                      shown.setMaximum(int(total));
                                                      shown.setValue(int(done));
                                                  });
        } catch (const std::exception& error) {
            failed = true;
            WriteLog(describe(error) + QStringLiteral(":CreateQuestReport:FrmNotePrinter") + logDate());
            ShowMessage(dynamic_cast<const db::DbError*>(&error)
                            ? commandFailureText(QStringLiteral("The notes printout could not be made."),
                                                 DatabaseFile::exam(m_request.examPath), error)
                            : describe(error),
                        gLogin.gAppName, OneButton, this);
        }
    }
    if (!failed && !page.hasQuestions) {
        m_noQuestions = true;
        if (gStartup.gDebug == 1)
            WriteLog(QStringLiteral("No Questions available") + logDate());
        ShowMessage(QStringLiteral("No Questions available"), gLogin.gAppName, OneButton, this);
    }
    if (page.hasQuestions) {
        m_page = page.html;
        www1->writeHtml(m_page, QUrl::fromLocalFile(examFolder(m_request.examPath) + QLatin1Char('/')));
    }
    // Without a page there is nothing to print; Close stays on.
    Command1->setEnabled(page.hasQuestions);
    m_reportDone = true;
}

void frmNotePrinter::Command1_Click()
{
    if (m_page.isEmpty())
        return;
    const auto report = [this](const QString& text) {
        WriteLog(text + QStringLiteral(":Command1_Click:FrmNotePrinter") + logDate());
        ShowMessage(text, gLogin.gAppName, OneButton, this);
    };
    PagePrinter& printer = PagePrinter::program();
    const PagePrinter::Started started =
        printer.hasDefaultPrinter() ? printer.printNow(*www1, report) : printer.ShowPrinter(*www1, this, report);
    if (started == PagePrinter::Started::Printing && printing())
        Command1->setEnabled(false);
}

void frmNotePrinter::Command2_Click()
{
    if (deferCloseWhilePrinting())
        return;
    done(QDialog::Accepted);
}

bool frmNotePrinter::deferCloseWhilePrinting()
{
    if (!printing())
        return false;
    m_closeWhenPrinted = true;
    Command2->setEnabled(false);
    return true;
}

void frmNotePrinter::onPrintingFinished(BrowserView* view, bool)
{
    if (view != www1)
        return;
    Command1->setEnabled(!m_page.isEmpty());
    if (m_closeWhenPrinted) {
        m_closeWhenPrinted = false;
        Command2->setEnabled(true);
        done(QDialog::Accepted);
    }
}

void frmNotePrinter::closeEvent(QCloseEvent* event)
{
    if (deferCloseWhilePrinting()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmNotePrinter::reject()
{
    if (deferCloseWhilePrinting())
        return;
    QDialog::reject();
}
