#pragma once

#include <QString>

// Why the tests of this executable cannot run on a real X display (no X
// server could be started), or "" when they run on one.
QString xServerUnavailable();
