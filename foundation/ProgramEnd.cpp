#include "foundation/ProgramEnd.h"

namespace {
bool& endingFlag()
{
    static bool ending = false;
    return ending;
}
} // namespace

bool programEnding()
{
    return endingFlag();
}

void setProgramEnding(bool ending)
{
    endingFlag() = ending;
}
