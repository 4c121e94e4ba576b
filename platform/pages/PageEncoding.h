#pragma once

#include <QByteArray>

#include <string>

// The text of an HTML file as read from disk: a byte order mark or valid
// UTF-8 is read as Unicode, anything else as Windows-1252.
namespace page_encoding {

// The file's text as UTF-8 bytes.
std::string utf8Text(const QByteArray& bytes);

} // namespace page_encoding
