#pragma once

#include <QString>

// The page shown in place of one that could not be loaded: what could not be
// reached, and why when the engine said.
QString unreachablePage(const QString& address, const QString& reason);
