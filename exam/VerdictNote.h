#pragma once

#include <QString>

// Once the right answer was shown on a question, what the user then does on
// its page is not judged: the verdict recorded before stands until another
// question is shown. The page tells it in one line at its top, while the
// answer is shown and after it is hidden again.

// Whether the page of the question on screen carries the line: its right
// answer was shown on this visit, outside review (review judges nothing).
bool keepsEarlierVerdict(int answerShownRow, int currentRow, bool reviewMode);

// The line, as the page shows it: a block of its own in the page font, set
// apart from the question.
QString verdictKeptHtml(const QString& styleAttribute);

// The line's text.
QString verdictKeptText();
