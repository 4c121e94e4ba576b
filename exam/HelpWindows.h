#pragma once

#include <QString>

class ExamSession;
class QWidget;

// The two help windows over the exam window, about the question on screen
// (the session's gQuestCode, gQuestType and gInteractiveCode). Each is
// modal and returns when the user closes it; a dialog given a tag carries it
// as its "Tag" property (see foundation/WindowTag.h).

// frmHelpSelectandPlace: how a question of the type on screen is answered.
void showQuestionInstructions(const ExamSession& session, QWidget* owner, const QString& tag = QString());
// frmMoreHelp: the explanation of the question on screen.
void showQuestionExplanation(const ExamSession& session, QWidget* owner, const QString& tag = QString());
