#pragma once

// Routes the alert(), confirm() and prompt() boxes of every page through the
// program's own message box, titled with the application title. The box
// clears the exam window's activation guard, as every box over it must.
void installPageDialogs();
