#pragma once

#include <QString>

// Qt shows any text that looks like markup in a tip, a label or a message
// box as rich text, and rich text loads <img src> from the disk. Text from an
// exam, its files or a user goes to such a widget only through here (or to a
// label set to Qt::PlainText): escaped, it shows exactly as written.

// The text as a tip or label shows it written: markup, entities and all; line
// breaks kept. An empty text stays empty (no tip).
QString plainTip(const QString& text);
