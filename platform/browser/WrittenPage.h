#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// setHtml() hands the engine a data: URL of the percent-encoded page, and the
// engine refuses URLs longer than 2 MiB: a page of 700,000 blanks already
// fails. These helpers decide when a page must go through a file instead and
// prepare that file.
namespace written_page {

// True when the page, percent-encoded behind its data: prefix, stays within
// the engine's URL limit.
bool fitsInDataUrl(const QByteArray& utf8);

// The page as a UTF-8 file (with a byte-order mark, so the engine does not
// guess another encoding) whose relative references resolve against
// baseUrl: a <base> element goes into the head, or first in the page when it
// has no head.
QByteArray fileContent(const QString& html, const QUrl& baseUrl);

} // namespace written_page
