#pragma once

#include <QString>

// The texts of the two help windows over the exam: the instructions for the
// type of the question on screen and the page of its explanation.

// The text box that shows a question type's instructions.
enum class InstructionBox { Multiple, Essay, FillInBlank, Interactive };

struct QuestionInstruction {
    InstructionBox box;
    QString settingKey; // the setup.xml path of its text
};

// Types 1 to 3 have their own text; every other type is read as interactive
// by its code: 1 ordered list, 2 tree, anything else select and place.
QuestionInstruction questionInstruction(int questType, int interactiveCode);

// The instruction text from setup.xml (indentation trimmed); "" when the key
// or the file is missing.
QString readInstructionText(const QString& settingKey);

// The letters A to Z (either case), blanks, CR and LF of a text, in order;
// then each pair of blanks becomes one, in one pass (four become two).
QString KeepLettersOnly(const QString& text);

// What the explanation page is built from.
struct ExplanationInputs {
    QString explanation;          // Qq_Explanation (Null read "")
    QString fontName;             // gQuizFontName
    int fontSize = 0;             // gQuizFontSize; the page writes fontSize + 2 "px"
    QString examDbPath;           // gQuizExamDbPath: "images" lies beside it
    QString programFolder;        // "[localpath]" stands for it
    bool blockRightClick = false; // gBlockRightClick == 1
};

// The explanation page: "No explanation given" for a blank text; image
// markers as on the question page; "[localpath]" as the program folder's
// file: URL (ending in "/"), every other character left as written; list
// tags in the page font; CR LF and CR as "<br>".
QString BuildExplanationHtml(const ExplanationInputs& inputs);

// The page written when Back has nowhere to go: the explanation again.
QString explanationRewritePage(const QString& explanationHtml);

// explanation.html in the program folder, written as UTF-8 (with a byte-order
// mark, so the view reads it as such), whole or not at all; false when it
// cannot be written, with the message that says so in problem.
bool writeExplanationFile(const QString& programFolder, const QString& html, QString* problem = nullptr);
QString explanationFilePath(const QString& programFolder);
