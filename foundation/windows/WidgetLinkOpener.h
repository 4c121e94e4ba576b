#pragma once

#include "foundation/LinkTargets.h"

// Opens URLs with the desktop's handler for them (the web browser, the mail
// program, the document's viewer).
class WidgetLinkOpener : public LinkOpener {
public:
    bool openUrl(const QUrl& url) override;
    // In the page window of the program (frmDbMessage), as a scenario page
    // is shown: through the program's page addresses and the sanitizer.
    bool showPage(const QUrl& url, const QString& examFolder, QObject* owner) override;
};

// The opener installed (tests install one that records), else the desktop's.
LinkOpener& linkOpenerInForce();
