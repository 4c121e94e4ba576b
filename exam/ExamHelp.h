#pragma once

#include <QString>

// The program's help as the exam window's Help window shows it: the HTML
// file that setup.xml names (SetupInfo/GeneralSettings/Help) in the program
// folder, or a short help text of the program when it cannot be read.

// The help file's path, its name matched in any case; "" when setup.xml
// names none.
QString examHelpFile();
// The page to show.
QString examHelpPage();
// The short help text shown without a help file.
QString builtInHelpPage();
