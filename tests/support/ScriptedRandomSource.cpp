#include "tests/support/ScriptedRandomSource.h"

double ScriptedRandomSource::rnd()
{
    ++m_drawCount;
    if (m_draws.empty())
        return m_fallback;
    const double draw = m_draws.front();
    m_draws.pop_front();
    return draw;
}
