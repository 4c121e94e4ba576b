#pragma once

class QWidget;

// Characters that fit on one line of a control in its window's font, or -1
// when the font gives no character width.
int GetCharsPerLine(const QWidget* window, const QWidget* control);
