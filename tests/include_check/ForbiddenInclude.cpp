// Built only by the include-graph test, which expects the second include to
// be refused: the notes windows do not link the main window, so its headers
// are not there for them. The first include is of a library they do link,
// and must be found.
#include "notes/windows/frmViewNote.h"
#include "mainwindow/MainWindowShared.h"
