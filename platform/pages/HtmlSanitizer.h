#pragma once

#include "platform/pages/PictureResolver.h"

#include <QByteArray>
#include <QString>

// Markup from an exam (question, choice, item, explanation and scenario text,
// and every HTML file served from an exam's folder) comes from strangers. It
// reaches no page, preview or print before it passes this allow-list: the
// markup is parsed by a conformant HTML5 parser, so the sanitizer sees the
// tree the browser would build, and only text, formatting, tables, lists,
// links and pictures of the exam's own folder are written back out. The
// parts: the bounded parse (HtmlParse), what is kept (HtmlPolicy, StyleFilter),
// the writer (HtmlWriter) and the reading of a file's encoding (PageEncoding).
struct SanitizeRules {
    // Absolute folder of the running exam: unless pictures is set, pictures
    // must really lie inside it (symbolic links resolved). Empty: no local
    // pictures are kept.
    QString examFolder;
    // Folder relative references resolve against; empty: examFolder.
    QString baseFolder;
    // A longer text is replaced by tooLongMessage().
    qsizetype maxChars = 1'000'000;
    // False: links keep their text and lose their address (printouts).
    bool keepLinks = true;
    // Finds the file of every picture the markup names: the only way a
    // picture is found. Unset: the pictures of examFolder and baseFolder
    // (examFolderPictures).
    PictureResolver pictures;
};

namespace html_sanitizer {

// Markup meant to sit inside a page's body (a question, choice or explanation
// text). Returns safe HTML whose elements are all closed.
QString fragment(const QString& html, const SanitizeRules& rules);

// A whole HTML file served from an exam's folder, as read from disk (a byte
// order mark or valid UTF-8 is read as Unicode, anything else as
// Windows-1252). Returns a complete UTF-8 document whose head starts with
// policyHead, so nothing in the file can move the policy out of the head.
QByteArray document(const QByteArray& html, const SanitizeRules& rules, const QString& policyHead);

// The time this thread has spent sanitizing so far: the benchmarks give a
// page's figure with and without it.
double millisecondsSpentOnThisThread();

// The program's own short text shown in place of a text over the limit.
QString tooLongMessage();

} // namespace html_sanitizer
