#pragma once

#include "exam/QuestionPage.h"
#include "foundation/ExamBank.h"

#include <QString>
#include <vector>

// The answer areas of the question page, one builder per question type. The
// names, values and handlers they write are what interactive.js and new.js
// bind to. Question and choice texts are HTML; every other text (a value, a
// box's content, a list option, from the bank or the user) is HTML-escaped,
// so the page shows (and its scripts report) it as stored.

// The one font of the generated pages and where their pictures are.
struct PageStyle {
    QString fontName;   // gQuizFontName
    int fontPx = 0;     // gQuizFontSize + 2
    QString examFolder; // the exam database's folder; "images" inside it
    // Style = "font-family: F; font-size:Npx"
    QString styleAttribute() const;
};
PageStyle pageStyleOf(const PageInputs& inputs);

// What a builder reads and the answer state it resets or presets.
struct AnswerContext {
    ExamBank& bank;
    const PageInputs& inputs;
    PageStyle style;
    QString pageAnswer;  // PageAnswer
    QString rightAnswer; // gRightAnswer
};

// Text without its trailing characters of code below 33.
QString TrimTrailingControlChars(const QString& text);
// Every CR LF becomes "<BR>" except inside "<PRE>" ... "</PRE>" blocks (an
// unclosed block runs to the end).
QString ConvertLineBreaks(const QString& text);
// "<LI", "</UL>" and "</OL>" (those spellings) carry the page font.
QString StyleListTags(const QString& html, const PageStyle& style);

// A question or choice text as the page shows it: trailing control
// characters cut, image markers as imagePrefix + "<img ...><br>", line
// breaks, collapsed breaks around list items, "<br>" at the end unless it
// ends with one, list tags in the page font.
QString markUpPageText(const QString& text, const PageStyle& style, const QString& imagePrefix);

// A choice's text as HTML: image markers as " <img ...><br>", line breaks,
// list tags in the page font, "<br>" at the end unless it ends with one.
// Empty on any error.
QString FormatChoiceText(const QString& text, const PageStyle& style);

// The right-answer text: kind 0 the right choices' sequence numbers, each
// followed by ", " (choices by sequence number); kind 1 the model answer;
// "" for any other kind.
QString GetRightAnswerText(int kind, const std::vector<ExamBank::Choice>& choices, const ExamBank::QuestionHead& head);
// At least two of the listed choices are right: check boxes, else radio
// buttons.
bool HasMultipleRightAnswers(const std::vector<ExamBank::Choice>& listed);
// True when one of the comma-terminated fields of answer, trimmed, is seq.
bool answerListsChoice(const QString& answer, int seq);

// The choices in the question's order, one row each, ticked and red per the
// window state; PageAnswer is reset to the choices drawn as the user's.
// Throws std::runtime_error for an eighth listed choice (labels run A to G).
QString BuildChoicesHtml(AnswerContext& context);
QString BuildChoiceRowHtml(AnswerContext& context, const ExamBank::Choice& choice, bool several, int row);
QString BuildEssayHtml(AnswerContext& context);
QString BuildFillInHtml(AnswerContext& context);
QString BuildSelectPlaceHtml(AnswerContext& context);
QString BuildOrderedListHtml(AnswerContext& context);

// A tree question's two frames.
struct TreePages {
    QString leftHtm;     // the answer frame
    QString questionHtm; // the question text
};
TreePages BuildTreeHtml(AnswerContext& context, const QString& questionText);
