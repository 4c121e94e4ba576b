#pragma once

#include <QString>

#include <functional>

class clsImage;

// Question texts are plain text with line breaks and image markers: the text
// between two "///" (paired from the start of the text) is a marked segment;
// a segment that contains "image" (that case only) names a picture in the
// "images" folder beside the exam database, any other segment is plain text
// and loses only its markers, and an opening "///" without a closing one is
// dropped.

// A picture that a marker names.
struct MarkedImage {
    QString fileName; // as the marker names it
    QString path;     // the file found (its real spelling); when missing, the path as named
    bool found = false;
    int width = 0; // from the file's header; 0 when missing or not recognised
    int height = 0;

    // Found with a usable header: the tag carries its size. A file that is
    // there but unreadable is shown at the size the browser finds.
    bool sized() const { return found && width > 0 && height > 0; }
    // The path as an encoded file: URL.
    QString url() const;
};

// The file a marked segment names: what follows its last "/" when it holds
// one, else what follows its first "=", else the whole segment.
QString markerFileName(const QString& segment);

// Looks the file up in examFolder's "images" folder, ignoring case ("\" in
// the name separates folders), and reads its size with reader.
MarkedImage findMarkedImage(const QString& examFolder, const QString& fileName, clsImage& reader);

// "<img src ='URL' height=H width=W>": the src is the escaped file: URL; a
// missing file gets height and width 0, an unreadable one no size.
QString imageElement(const MarkedImage& image);

// Walks the markers of text: each image segment becomes imageTag(picture),
// other segments and the text outside them are copied. One reader serves the
// whole text.
QString replaceImageMarkers(const QString& text, const QString& examFolder,
                            const std::function<QString(const MarkedImage&)>& imageTag);

// Every carriage return becomes "<br>" except inside <pre> blocks, where the
// text keeps its own line breaks; line feeds stay.
QString carriageReturnsToBreaks(const QString& html);

// The HTML fragment of a question text: image markers become
// "<br> " + imageElement + "<br>", carriage returns "<br>" outside <pre>,
// and leading and trailing blanks are cut. examFolder is the folder of the
// exam database (the launch record's gQuizExamDbPath less its file name).
// debugLog: pass gStartup.gDebug == 1; it adds a line to debug.log per call.
QString html_maker(const QString& text, const QString& examFolder, bool debugLog);

// A printout's table of exam texts (the question sheet, the notes printout)
// as a page may show it: the texts' carriage returns as breaks (a <pre> block
// keeps its own), then the sanitizer, with no link left live. The length
// limit is one text's, and the table holds `rows` rows of them.
QString printoutTable(const QString& table, const QString& examFolder, qsizetype rows);

// One piece of a printout built from pieces (an exam's text, a user's note)
// as the page may show it: its carriage returns as breaks, then the
// sanitizer on the piece alone, under one text's bounds, with no link left
// live. The program's own table frame goes around the pieces, so the size of
// the printout never decides whether a piece shows.
QString printoutPiece(const QString& html, const QString& examFolder);
// Table rows ("<tr>...</tr>") of exam texts, sanitized alone as a table's
// rows, to sit in the frame's table.
QString printoutRows(const QString& rows, const QString& examFolder);

// Text escaped for an HTML attribute value in either kind of quotes.
QString htmlAttributeEscaped(const QString& text);
