#pragma once

// A page's alert(), confirm() and prompt() never raise a window: each goes
// to the debug log.
void installPageDialogs();
