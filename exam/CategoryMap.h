#pragma once

#include <unordered_map>

// The category of each question of the running exam (`cboCategory`): the
// result window groups the exam's questions by it. Any 32-bit question
// code; a code never set maps to category 0.
class CategoryMap {
public:
    void clear() { m_map.clear(); }
    void set(int questCode, int catCode) { m_map[questCode] = catCode; }
    int categoryOf(int questCode) const;
    bool contains(int questCode) const { return m_map.count(questCode) != 0; }
    int size() const { return int(m_map.size()); }

private:
    std::unordered_map<int, int> m_map;
};
