#pragma once

#include <QUrl>

// A mailto address from a stranger, read once: the addresses, and after the
// "?" only the header fields that carry text (to, cc, bcc, subject, body, in
// any case), "&"-separated, every part percent-decoded once. Returns the
// address rebuilt from those parts, encoded afresh, or an invalid URL when
// anything else is in it: another field (attach, ...), a field hidden in an
// encoded or ";"-separated part, a separator or line break in an address.
QUrl plainMailAddress(const QUrl& mailto);
