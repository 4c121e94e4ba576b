#pragma once

// Watches the whole program: when a window that held the keyboard closes
// and no other window takes it (no window manager runs to hand it on), the
// window it was opened over is made active again, so the keys reach the
// program without a click. Where a window manager hands the focus on itself,
// nothing is done.
void HandFocusBackWhenWindowsClose();
