#pragma once

#include "foundation/ExamBank.h"

#include <QString>

// What a question's page is built from: the question's head row, the answer
// recorded for it, the launch record's font and paths, and the window's
// state. The page builders read nothing else.
struct PageInputs {
    int questCode = 0;
    ExamBank::QuestionHead head;
    QString recordedAnswer;   // column 2 of the question's row of the per-question list (gUserAnswer)
    int choiceOrder = 0;      // the row's choice-order variant (last column)
    bool showAnswer = false;  // the right answer is drawn on the page
    bool reviewMode = false;  // gReviewMode
    QString fontName;         // gQuizFontName
    int fontSize = 0;         // gQuizFontSize; pages write fontSize + 2 "px"
    QString examDbPath;       // gQuizExamDbPath: "images" lies beside it
    QString programFolder;    // where interactive.js, new.js, main.html and the tree pages live
    bool blockRightClick = false;  // gBlockRightClick == 1
    bool verdictKept = false;      // the right answer was shown on this visit: the page says the verdict stands
};

// A built page and the answer state that goes with it.
struct BuiltPage {
    QString html;             // the page to write into the question view; empty for a tree question
    bool treePage = false;    // show programFolder/main.html, which frames the two tree pages
    QString leftHtm;          // tree question: the content of left.htm
    QString questionHtm;      // tree question: the content of Question.htm
    QString pageAnswer;       // PageAnswer after the page is built
    QString rightAnswer;      // gRightAnswer after the page is built
};

// Builds the page of a question: the page frame with the question text and
// the answer area of its type. Database errors reach the caller.
BuiltPage buildQuestionPage(ExamBank& bank, const PageInputs& inputs);

// Writes a tree question's left.htm and Question.htm into the program folder
// (UTF-8 with a byte-order mark), each whole or not at all; false when a file
// cannot be written, with the message that says so in problem.
bool writeTreePages(const QString& programFolder, const BuiltPage& page, QString* problem = nullptr);
