#pragma once

class QWidget;
class QWindow;

// Which windows of the program count as "another window" when the focus
// comes back to a guarded window. Popups, menus, tool tips and tool windows
// come and go with the guarded window itself and never count; nor does a
// window marked neutral (a non-modal help window beside the exam).
bool countsAsOtherProgramWindow(const QWindow* window);

// Marks a top-level window so that a return of the focus from it is never
// taken for a re-activation.
void markActivationNeutral(QWidget* window);
