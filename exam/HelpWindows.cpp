// Placeholder until the help windows land.
#include "exam/HelpWindows.h"

#include "foundation/WindowLink.h"

void showQuestionInstructions(const ExamSession&, QWidget*, const QString&)
{
    ShowMessage(windowComesLaterText(QStringLiteral("The instructions window")), gLogin.gAppName, OneButton);
}

void showQuestionExplanation(const ExamSession&, QWidget*, const QString&)
{
    ShowMessage(windowComesLaterText(QStringLiteral("The explanation window")), gLogin.gAppName, OneButton);
}
