#pragma once

#include <QString>

// Whether a file a stranger named is a document the desktop shows rather
// than runs: a regular file without the executable mode, a document by its
// name (HTML, PDF, plain text, a picture) and the same kind of document by
// its content. A program or script under a document's name (an executable
// named .pdf, a "#!" script named .txt) is not one. Give the real path (no
// symbolic link left in it): the name judged is the file's own.
bool isShownDocument(const QString& realPath);

// An HTML page by its name (.htm, .html): shown in the program's own page
// view, never by the desktop's browser.
bool isHtmlDocument(const QString& path);
