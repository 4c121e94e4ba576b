#include "foundation/ProgramEnd.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {
bool& endingFlag()
{
    static bool ending = false;
    return ending;
}

std::vector<EndingSave*>& openSaves()
{
    static std::vector<EndingSave*> saves;
    return saves;
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

EndingSave::EndingSave(std::function<void()> save) : m_save(std::move(save))
{
    openSaves().push_back(this);
}

EndingSave::~EndingSave()
{
    std::vector<EndingSave*>& saves = openSaves();
    saves.erase(std::remove(saves.begin(), saves.end(), this), saves.end());
}

void runEndingSaves()
{
    // A save may close its window, which takes its entry away: each entry is
    // looked up again before it runs.
    for (;;) {
        const std::vector<EndingSave*>& saves = openSaves();
        const auto pending =
            std::find_if(saves.rbegin(), saves.rend(), [](const EndingSave* save) { return bool(save->m_save); });
        if (pending == saves.rend())
            return;
        const std::function<void()> save = std::exchange((*pending)->m_save, {});
        save();
    }
}
