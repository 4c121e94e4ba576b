#pragma once

// What the exam window's source files share: their includes, the window's
// unit of length and the helpers every command runs through.
#include "exam/windows/frmZiduver.h"


#include "exam/AnswerCheck.h"
#include "exam/ClockRandomSource.h"
#include "exam/ExamClock.h"
#include "exam/ExamHelp.h"
#include "exam/ExamKeys.h"
#include "exam/ExamNavigation.h"
#include "exam/HelpWindows.h"
#include "exam/PageLock.h"
#include "exam/QuestionDisplay.h"
#include "exam/QuestionPage.h"
#include "exam/VerdictNote.h"
#include "exam/links/AddNoteLink.h"
#include "exam/links/ExamReviewLink.h"
#include "exam/links/PreviousNotesLink.h"
#include "exam/links/QuestionSheetLink.h"
#include "exam/links/ResultWindowLink.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/WidgetActionButton.h"
#include "exam/windows/WidgetExamHelp.h"
#include "exam/windows/frmLoading.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/ProgramFolder.h"
#include "foundation/QuestionsHeadTable.h"
#include "foundation/SharedState.h"
#include "foundation/UserNotesTable.h"
#include "foundation/WindowLink.h"
#include "foundation/WindowTag.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/db/DbError.h"
#include "platform/ui/ActivationSource.h"
#include "platform/ui/DefaultInstance.h"
#include "platform/ui/WindowControls.h"

#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWindow>
#include <algorithm>
#include <iterator>

// The window's lengths are laid down at 15 units a pixel.
inline constexpr int px(int units)
{
    return units / 15;
}

template <typename Handler> void frmZiduver::command(const char* name, Handler&& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        WriteLog(text + QStringLiteral(" : ") + QLatin1String(name) + QStringLiteral(" : frmZiduver : Date/Time :")
                 + logDateTime());
        // A database's failure in the program's words; SQLite's text stays in the log.
        showFailure(dynamic_cast<const db::DbError*>(&error)
                        ? commandFailureText(QStringLiteral("The command could not be completed."),
                                             DatabaseFile::exam(examDatabasePath()), error)
                        : text);
    } catch (...) {
        WriteLog(QStringLiteral("Unknown error : ") + QLatin1String(name)
                 + QStringLiteral(" : frmZiduver : Date/Time :") + logDateTime());
        ShowMessage(QStringLiteral("Unknown error"), gLogin.gAppName, OneButton, this);
    }
}

template <typename Call> auto frmZiduver::modalCall(Call&& call)
{
    ++m_modalDepth;
    const auto done = qScopeGuard([this] { endModalCall(); });
    return call();
}

template <typename Handler> void frmZiduver::ToolbarClick(Handler&& handler)
{
    if (run.busy() || session.ExamAborted)
        return;
    gGuard.gExamWindowActive = false;
    const bool clockWasRunning = Timer1->isEnabled();
    command("ToolbarClick", handler);
    if (closing() || run.ending() || session.ExamAborted)
        return;
    // The clock goes on only when it ran before the command, and never in
    // review mode, after its end or during a break.
    if (clockWasRunning && !gReviewMode() && !session.TimeOver && !run.in(ExamRun::Phase::Paused)
        && !run.in(ExamRun::Phase::PickingMarked))
        Timer1->setEnabled(true);
}
