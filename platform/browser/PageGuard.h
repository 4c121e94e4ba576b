#pragma once

#include <QString>

class QWebEngineProfile;

// What keeps the pages of exam databases (strangers' files) away from the
// user's files, the network and the desktop:
// - pages load through the program's own scheme, which serves only the
//   page's own kinds of file from the folders the program showed pages from;
//   file: URLs are never loaded, and local content gets no file access;
// - every page starts with a content-security policy that allows no
//   connection of its scripts (XHR, fetch, sockets), no workers, no plug-ins
//   and no loads from the network;
// - requests of the program's pages to any other scheme are blocked, and
//   peer-to-peer connections are taken from their scripts;
// - a link the user clicks is handed to the program (linkActivated), which
//   applies its link rules; script-started navigation away from the
//   program's pages, new windows and unknown schemes go nowhere.
namespace page_guard {

// Registers the program's scheme and the engine switches; before the
// application object exists.
void prepareEngine();
// Sets the profile up once: the scheme handler, the request filter, the
// settings and the injected scripts.
void installOn(QWebEngineProfile* profile);
// The private prefix of the console messages that carry clicked links.
QString linkReportPrefix();

} // namespace page_guard
