#pragma once

#include <QString>

// A question page that takes no input: in review mode, during a break and
// while the marked-questions panel lies over it. Every form control of the
// page and of its frames is disabled, and the clicks and keys that still
// reach a control (one the page's own script adds later) are dropped before
// the page's handlers see them, so the answer the page reports cannot
// change. Controls the page had disabled itself stay disabled on unlock.

// A script that locks (or unlocks) the page shown and every frame in it;
// it may run any number of times.
QString pageLockScript(bool locked);

// A script element for a page that is built locked: it locks the page as
// soon as its document is read, and again once every frame has loaded.
QString pageLockElement();
