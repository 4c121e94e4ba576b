#pragma once

#include <QString>

// The exam window's mode words, compared case-sensitively; every other word
// takes a procedure's last branch.
inline const QString kModePractice = QStringLiteral("PRACTICE");
inline const QString kModeSimulated = QStringLiteral("SIMULATED");
inline const QString kModeTest = QStringLiteral("TEST");
inline const QString kModeAdaptive = QStringLiteral("ADAPTIVE");
