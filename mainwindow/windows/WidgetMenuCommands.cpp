#include "mainwindow/windows/WidgetMenuCommands.h"

#include "exam/ExamHelp.h"
#include "exam/windows/WidgetExamHelp.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetLinkOpener.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/MenuCommands.h"
#include "mainwindow/WebLinks.h"
#include "mainwindow/links/AdminPreferencesLink.h"
#include "mainwindow/links/HistoricalAnalysisLink.h"
#include "mainwindow/links/LosScoreCardLink.h"
#include "mainwindow/links/NotesBrowserLink.h"
#include "mainwindow/windows/frmAbout.h"
#include "mainwindow/windows/frmCheckForUpdates.h"
#include "mainwindow/windows/frmCredits.h"
#include "mainwindow/windows/frmFont.h"
#include "platform/db/Connection.h"

#include <QPointer>
#include <QWidget>
#include <exception>

void mnufont_Click(QWidget* owner)
{
    frmFont::showModal(owner);
}

void mnuviewPref_Click(QWidget* owner)
{
    AdminPreferencesLink::open(owner);
}

void mnuViewNote_Click(QWidget* owner)
{
    NotesBrowserLink::open(owner, gMain.gFontFace);
}

void mnuNotes_Click(QWidget* owner)
{
    mnuViewNote_Click(owner);
}

void mnuclearHistory_Click(QWidget* owner)
{
    clearUserHistory(owner);
}

void mnuhelpAbout_Click()
{
    frmAbout::showModal();
}

void mnuHelpContact_Click(QWidget* owner)
{
    openContact(linkOpenerInForce(), owner);
}

void showHistoricalAnalysis(QWidget* owner)
{
    HistoricalAnalysisLink::open(owner);
}

void showLosScoreCard(QWidget* owner)
{
    LosScoreCardLink::open(owner);
}

void showCredits(QWidget* owner)
{
    QString comment;
    try {
        comment = GetExamComment(gLogin.gExamConnStr);
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : GetExamComment : frmMain ") + logDate());
        ShowMessage(commandFailureText(QStringLiteral("The credits could not be read."),
                                       DatabaseFile::exam(db::Connection::pathFromConnectionString(gLogin.gExamConnStr)),
                                       error),
                    gLogin.gAppName, OneButton, owner);
        return;
    }
    frmCredits::showModal(comment, owner);
}

void checkForUpdate(const QString& productId, const QString& productVersion, QWidget* owner)
{
    if (confirmUpdateCheck(owner))
        frmCheckForUpdates::showModal(productId, productVersion, owner);
}

WidgetExamHelp* showHelp(QWidget* owner)
{
    // The exam window's help window, one per owner: the page is the
    // program's, shown by the program, whatever the desktop can open.
    static QPointer<WidgetExamHelp> help;
    if (!help || help->parentWidget() != owner) {
        if (help)
            help->close();
        help = new WidgetExamHelp(owner);
    }
    help->showHelp(examHelpPage());
    return help.data();
}
