#include "exam/CategoryMap.h"

int CategoryMap::categoryOf(int questCode) const
{
    const auto it = m_map.find(questCode);
    return it == m_map.end() ? 0 : it->second;
}
