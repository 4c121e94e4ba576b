#include "mainwindow/windows/WidgetDrawnMenu.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetLinkOpener.h"
#include "mainwindow/MenuCommands.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "mainwindow/windows/WidgetMenuCommands.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QCoreApplication>
#include <exception>

// What the drawn menu's rows do: a command row runs its command, a link row
// its link or its second-level list, a favourite its target. Opening,
// closing and the keys are in WidgetDrawnMenu.cpp.

// ---- the rows' commands ----

void WidgetDrawnMenu::lblMenu_Click(int row)
{
    if (m_open < 0 || row < 0 || row >= int(m_rows.size()) || !m_rows[size_t(row)].enabled)
        return;
    const MenuRow chosen = m_rows[size_t(row)];
    if (!chosen.tag.isEmpty()) {
        // A link row: its second-level list, or its target.
        const int serialNumber = chosen.tag.toInt();
        if (chosen.iconVisible) {
            showSubList(row, serialNumber);
            return;
        }
        hideMenu();
        OpenWebLink(serialNumber, linkOpenerInForce(), owner());
        return;
    }
    runCommand(chosen.command);
}

void WidgetDrawnMenu::lblSubMenu_Click(int row)
{
    if (row < 0 || row >= int(m_subRows.size()))
        return;
    const int serialNumber = m_subRows[size_t(row)].serialNumber;
    hideMenu();
    OpenWebLink(serialNumber, linkOpenerInForce(), owner());
}

void WidgetDrawnMenu::mnuDynamicAddFavourite_Click(int index)
{
    if (index < 1 || index >= int(mnuDynamicAddFavourite.size()))
        return;
    openLinkTarget(mnuDynamicAddFavourite[size_t(index)].tag, LinkSource::Favourite, linkOpenerInForce(),
                   QStringLiteral("mnuDynamicAddFavourite_Click"), owner());
}

bool WidgetDrawnMenu::storeFavourites()
{
    if (::storeFavourites(gLogin.gLoginId, mnuDynamicAddFavourite))
        return true;
    WriteLog(QStringLiteral("The favourites could not be stored in the settings. : Form_Unload : frmMain ")
             + logDate());
    return false;
}

void WidgetDrawnMenu::runCommand(MenuCommand command)
{
    hideMenu();
    QWidget* window = owner();
    try {
        switch (command) {
        case MenuCommand::ChangeExam: {
            // The user goes back to the login window with his name and
            // password; the window is gone by then.
            const QString login = gLogin.gLoginId;
            const QString password = gLogin.gUserPassword;
            if (m_setup.unloadForChangeExam)
                m_setup.unloadForChangeExam();
            else if (window)
                window->hide();
            LoginWindowLink::open(login, password);
            return;
        }
        case MenuCommand::Exit:
            if (m_setup.endProgram) {
                m_setup.endProgram();
            } else {
                setProgramEnding(true);
                QCoreApplication::exit(0);
            }
            return;
        case MenuCommand::SelectFont:
            mnufont_Click(window);
            return;
        case MenuCommand::AdminPreferences:
            mnuviewPref_Click(window);
            return;
        case MenuCommand::HistoricalAnalysis:
            showHistoricalAnalysis(window);
            return;
        case MenuCommand::ClearHistory:
            mnuclearHistory_Click(window);
            return;
        case MenuCommand::Notes:
            mnuViewNote_Click(window);
            return;
        case MenuCommand::ContactUs:
            mnuHelpContact_Click(window);
            return;
        case MenuCommand::Credits:
            showCredits(window);
            return;
        case MenuCommand::About:
            mnuhelpAbout_Click();
            return;
        case MenuCommand::CheckForUpdate:
            checkForUpdate(m_setup.productId, m_setup.productVersion, window);
            return;
        case MenuCommand::Help:
            showHelp(window);
            return;
        case MenuCommand::LosScoreCard:
            showLosScoreCard(window);
            return;
        case MenuCommand::PrintSetup:
        case MenuCommand::ExamDetails:
        case MenuCommand::WebLinks:
        case MenuCommand::None:
            return;
        }
    } catch (const std::exception& error) {
        reportCommandError(QStringLiteral("The command could not be completed."), error, window);
    }
}

void WidgetDrawnMenu::reportCommandError(const QString& what, const std::exception& error, QWidget* owner)
{
    const QString text = QString::fromUtf8(error.what());
    WriteLog(text + QStringLiteral(" : lblMenu_Click : frmMain ") + logDate());
    const DatabaseFile exam = DatabaseFile::exam(db::Connection::pathFromConnectionString(gLogin.gExamConnStr));
    ShowMessage(dynamic_cast<const db::DbError*>(&error) ? commandFailureText(what, exam, error) : text,
                gLogin.gAppName, OneButton, owner);
}
