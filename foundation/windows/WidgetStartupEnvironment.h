#pragma once

#include "foundation/Startup.h"
#include "platform/ui/InstanceGuard.h"

// Start-up's view of the real screen and of other running copies.
class WidgetStartupEnvironment : public StartupEnvironment {
public:
    explicit WidgetStartupEnvironment(const QString& programFolder) : m_guard(programFolder) { }

    bool isLargeFontsMode() override;
    int screenWidthPixels() override;
    bool anotherInstanceRunning() override { return m_guard.anotherInstanceRunning(); }

private:
    InstanceGuard m_guard;
};
