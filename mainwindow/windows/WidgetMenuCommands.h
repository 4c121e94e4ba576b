#pragma once

#include <QString>

class QWidget;
class WidgetExamHelp;

// The main window's command procedures that open windows, for the drawn
// menu and the window's buttons. Each window is modal over the owner (the
// main window) and is unloaded when it closes; windows that later versions
// bring say so through the program's message box.

void mnufont_Click(QWidget* owner);
void mnuviewPref_Click(QWidget* owner);
void mnuViewNote_Click(QWidget* owner);
// The button cmdNotes: the same as mnuViewNote_Click.
void mnuNotes_Click(QWidget* owner);
// The button cmdClearHistory and the menu row "Clear History".
void mnuclearHistory_Click(QWidget* owner);
void mnuhelpAbout_Click();
void mnuHelpContact_Click(QWidget* owner);
void showHistoricalAnalysis(QWidget* owner);
void showLosScoreCard(QWidget* owner);
// "Credits": the exam's comment in the credits window.
void showCredits(QWidget* owner);
// "Check for Update": asks first, then the update-check window.
void checkForUpdate(const QString& productId, const QString& productVersion, QWidget* owner);
// "Help": the help file of setup.xml (or the program's short help without
// one) in the program's own help window titled "Help", the one the exam
// window opens; a second Help brings the same window to the front.
WidgetExamHelp* showHelp(QWidget* owner);
