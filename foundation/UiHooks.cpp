#include "foundation/UiHooks.h"

namespace {

class SilentHooks : public UiHooks {
public:
    int messageBox(const QString&, const QString&, int style, QObject*) override { return style; }
    void htmlMessage(const QString&) override { }
    void setBusy(bool) override { }
    void processEvents() override { }
};

UiHooks*& current()
{
    static SilentHooks silent;
    static UiHooks* hooks = &silent;
    return hooks;
}

} // namespace

UiHooks& uiHooks()
{
    return *current();
}

void installUiHooks(UiHooks* hooks)
{
    static SilentHooks silent;
    current() = hooks ? hooks : &silent;
}
