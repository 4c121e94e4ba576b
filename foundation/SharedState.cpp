#include "foundation/SharedState.h"

void resetSharedState()
{
    gStartup = {};
    gLogin = {};
    gAdmin = {};
    gGuard = {};
}
