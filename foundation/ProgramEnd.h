#pragma once

// Set once the program or the desktop session is ending: windows then close
// without asking the user anything.
bool programEnding();
void setProgramEnding(bool ending);
