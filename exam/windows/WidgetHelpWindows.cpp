#include "exam/HelpWindows.h"

#include "exam/ExamSession.h"
#include "exam/windows/frmHelpSelectandPlace.h"
#include "exam/windows/frmMoreHelp.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/SharedState.h"
#include "foundation/WindowTag.h"

#include <QPointer>

namespace {

// Runs a help window modally over its owner; over the exam window through
// the exam's own modal call, so that an unload asked for meanwhile waits.
template <typename Window> void runHelpWindow(Window& window, QWidget* owner, const QString& tag)
{
    if (!tag.isEmpty())
        setWindowTag(&window, tag);
    const QPointer<Window> alive(&window);
    if (auto* exam = qobject_cast<frmZiduver*>(owner)) {
        exam->runModal(window);
    } else {
        gGuard.gExamWindowActive = false;
        window.exec();
    }
    if (alive)
        alive->unload();
}

} // namespace

void showQuestionInstructions(const ExamSession& session, QWidget* owner, const QString& tag)
{
    runHelpWindow(frmHelpSelectandPlace::load(session.gQuestType, session.gInteractiveCode, owner), owner, tag);
}

void showQuestionExplanation(const ExamSession& session, QWidget* owner, const QString& tag)
{
    frmMoreHelp::Question question;
    question.questCode = session.gQuestCode;
    question.connectionString = session.launch.gQuizConnStr;
    question.fontName = session.launch.gQuizFontName;
    question.fontSize = session.launch.gQuizFontSize;
    question.examDbPath = session.launch.gQuizExamDbPath;
    runHelpWindow(frmMoreHelp::load(question, owner), owner, tag);
}
