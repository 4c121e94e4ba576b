#include "mainwindow/MenuCommands.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgressHistoryTable.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "mainwindow/WebLinks.h"
#include "platform/db/Connection.h"

#include <exception>
#include <stdexcept>

namespace {

// Logs an error of a command (always, as error handlers do) and shows it.
void reportError(const QString& text, const char* procedure, QObject* owner)
{
    WriteLog(text + QStringLiteral(" : ") + QLatin1String(procedure) + QStringLiteral(" : frmMain ") + logDate());
    ShowMessage(text, gLogin.gAppName, OneButton, owner);
}

// A setting a command reads; a key missing from setup.xml is reported and
// gives nullopt.
std::optional<QString> commandSetting(const char* key, const char* procedure, QObject* owner)
{
    try {
        return ReadSetting(QString::fromLatin1(key));
    } catch (const SettingError& error) {
        reportError(error.inWords(), procedure, owner);
        return std::nullopt;
    }
}

} // namespace

ClearHistoryOutcome clearUserHistory(QObject* owner)
{
    const QString question = QStringLiteral("All Previous examination history will be cleared!") + QChar(13)
        + QStringLiteral("Do you want to Continue ?");
    if (ShowMessage(question, gLogin.gAppName, YesNo, owner) != ResultYes)
        return ClearHistoryOutcome::Declined;
    try {
        bool numeric = false;
        const int userCode = gLogin.gUserCode.trimmed().toInt(&numeric);
        if (!numeric)
            throw std::runtime_error("The user code \"" + gLogin.gUserCode.toStdString() + "\" is not a number.");
        db::Connection exam = db::Connection::open(gLogin.gExamConnStr);
        ProgressHistoryTable(exam).clearUserHistory(userCode);
        exam.close();
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : mnuHistory_Click : frmMain ") + logDate());
        ShowMessage(commandFailureText(QStringLiteral("The history could not be cleared."),
                                       DatabaseFile::exam(db::Connection::pathFromConnectionString(gLogin.gExamConnStr)),
                                       error, DatabaseUse::Writing),
                    gLogin.gAppName, OneButton, owner);
        return ClearHistoryOutcome::Failed;
    }
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("History Cleared:mnuHistory_Click:frmMain") + logDate());
    ShowMessage(QStringLiteral("History cleared......"), gLogin.gAppName, OneButton, owner);
    return ClearHistoryOutcome::Cleared;
}

bool confirmUpdateCheck(QObject* owner)
{
    const std::optional<QString> text =
        commandSetting("SetupInfo/GeneralSettings/UpdateMessage", "lblMenu_Click", owner);
    if (!text)
        return false;
    return ShowMessage(*text, gLogin.gAppName, OkCancel, owner) == ResultOk;
}

void openContact(LinkOpener& opener, QObject* owner)
{
    if (const std::optional<QString> target =
            commandSetting("SetupInfo/GeneralSettings/ContactUs", "mnuHelpContact_Click", owner))
        openLinkTarget(*target, LinkSource::Contact, opener, QStringLiteral("mnuHelpContact_Click"), owner);
}

void OpenWebLink(int serialNumber, LinkOpener& opener, QObject* owner)
{
    std::optional<QString> target;
    try {
        target = webLinkTarget(gLogin.gExamConnStr, serialNumber);
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : OpenWebLink : frmMain ") + logDate());
        ShowMessage(commandFailureText(QStringLiteral("The web link could not be read."),
                                       DatabaseFile::exam(db::Connection::pathFromConnectionString(gLogin.gExamConnStr)),
                                       error),
                    gLogin.gAppName, OneButton, owner);
        return;
    }
    if (target)
        openLinkTarget(*target, LinkSource::WebLink, opener, QStringLiteral("OpenWebLink"), owner);
}
