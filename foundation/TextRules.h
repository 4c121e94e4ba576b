#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Trimming as the answer and page rules mean it: leading and trailing blanks
// (spaces) only; tabs and line breaks stay.
QString trimBlanks(const QString& text);

// The fields between separators: k separators give k + 1 fields, an empty
// text gives none.
QStringList splitFields(const QString& text, QChar separator);

// A stored text in the form a page's parser leaves it: CR LF and a lone CR
// become LF, U+0000 becomes U+FFFD, and a broken UTF-16 pair becomes U+FFFD
// as the page's UTF-8 does. Texts a page reports back compare with stored
// texts only in this form.
QString pageFormText(const QString& text);

// True when a page script's trim() leaves nothing of the text: every
// character is white space (blanks, tabs, line breaks, no-break spaces).
bool blankOnPage(const QString& text);
