#pragma once

#include "foundation/LinkTargets.h"

#include <QString>

class QObject;

// The menu commands that need no window of their own. Messages go through
// the program's message box, owned by the main window.

// What Clear History came to.
enum class ClearHistoryOutcome { Declined, Cleared, Failed };
// Clear History (mnuclearHistory_Click): asks "All Previous examination history will be
// cleared!" / "Do you want to Continue ?" (Yes/No); on Yes removes every
// progress row of the user (gLogin.gUserCode) from the exam database
// (gLogin.gExamConnStr) and says "History cleared......". A database error
// is logged and shown instead, and nothing is removed.
ClearHistoryOutcome clearUserHistory(QObject* owner);

// Check for Update: asks the UpdateMessage text of setup.xml with Ok and
// Cancel; true on Ok (the update-check window opens then).
bool confirmUpdateCheck(QObject* owner);

// Contact us (mnuHelpContact_Click): opens the ContactUs target of setup.xml.
void openContact(LinkOpener& opener, QObject* owner);
// OpenWebLink: opens the target of the exam's link with that serial number
// (nothing for a missing link or an empty target). A database error is
// logged and shown.
void OpenWebLink(int serialNumber, LinkOpener& opener, QObject* owner);
