#pragma once

// Wires each window link (see foundation/WindowLink.h) to the window that
// serves it.
void wireWindows();
