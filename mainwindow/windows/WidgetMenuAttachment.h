#pragma once

class frmmain;

// Gives a loaded main window its drawn menu: the top pictures in the
// window's menu strip, the pull-downs over the window, the rows' states from
// what the load found, the stored question font over the load's defaults,
// Clear History for the window's button, the favourites stored when the
// window unloads. The program sets it as the window's menu attacher.
void attachDrawnMenu(frmmain& window);
