#pragma once

#include <QString>
#include <QUrl>

// Pages are never shown from file: URLs. Every file a page may load is
// addressed through the program's own scheme, served by the program from the
// folders it chose; a page's scripts get no access to file: URLs at all.
//
// A page address is "ziduver://files" followed by the file's absolute path.
namespace page_address {

QString scheme();
QString host();

// The page address of a local file (made absolute and cleaned).
QUrl forFile(const QString& localPath);
// A file: URL as a page address, query and fragment kept; any other URL
// (http, about:blank, a page address already) as it is.
QUrl fromUrl(const QUrl& url);
// A page address as the file: URL of the file it names, query and fragment
// kept; any other URL as it is.
QUrl toFileUrl(const QUrl& url);
// True for a URL of the program's own scheme and host.
bool isPageAddress(const QUrl& url);
// The local path a page address names ("" for any other URL).
QString localPath(const QUrl& url);

} // namespace page_address
