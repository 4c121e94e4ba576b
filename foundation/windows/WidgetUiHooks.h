#pragma once

#include "foundation/UiHooks.h"

// The screen behind the logic's message boxes, HTML messages and hourglass.
class WidgetUiHooks : public UiHooks {
public:
    int messageBox(const QString& text, const QString& title, int style, QObject* owner) override;
    void htmlMessage(const QString& page) override;
    void setBusy(bool busy) override;
    void processEvents() override;

private:
    int m_busyDepth = 0;
};
