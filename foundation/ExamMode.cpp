#include "foundation/ExamMode.h"

#include <array>
#include <utility>

namespace {

struct ModeNames {
    ExamMode mode;
    const char* letter;
    const char* word;
};

constexpr std::array<ModeNames, 4> kModes{{
    {ExamMode::Practice, "P", "PRACTICE"},
    {ExamMode::Simulated, "S", "SIMULATED"},
    {ExamMode::Test, "T", "TEST"},
    {ExamMode::Adaptive, "A", "ADAPTIVE"},
}};

} // namespace

ExamMode examModeFromWord(const QString& word)
{
    for (const ModeNames& names : kModes)
        if (word == QLatin1String(names.word))
            return names.mode;
    return ExamMode::Other;
}

QString examModeWord(ExamMode mode)
{
    for (const ModeNames& names : kModes)
        if (names.mode == mode)
            return QString::fromLatin1(names.word);
    return QString();
}

ExamMode examModeFromLetter(const QString& letter)
{
    for (const ModeNames& names : kModes)
        if (letter == QLatin1String(names.letter))
            return names.mode;
    return ExamMode::Other;
}
