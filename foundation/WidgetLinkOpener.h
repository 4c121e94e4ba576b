#pragma once

#include "foundation/LinkTargets.h"

// Opens URLs with the desktop's handler for them (the web browser, the mail
// program, the document's viewer).
class WidgetLinkOpener : public LinkOpener {
public:
    bool openUrl(const QUrl& url) override;
};

// The opener installed (tests install one that records), else the desktop's.
LinkOpener& linkOpenerInForce();
