#pragma once

#include <QString>

// How an exam runs. The main window names a mode by a letter, the exam
// window and its launch record by a word; both are read once into this.
enum class ExamMode {
    Practice,  // "P", "PRACTICE"
    Simulated, // "S", "SIMULATED"
    Test,      // "T", "TEST": the pretest
    Adaptive,  // "A", "ADAPTIVE"
    Other,     // any other word: each procedure takes its last branch
};

// The mode of a mode word, compared case-sensitively.
ExamMode examModeFromWord(const QString& word);
// The mode word; "" for Other.
QString examModeWord(ExamMode mode);
// The mode of a main-window letter; Other for any other text.
ExamMode examModeFromLetter(const QString& letter);
