#pragma once

#include "foundation/WindowLink.h"

class QWidget;

// Opens the learning-objective score card frmLOS modally over the main window; returns when it closes.
struct LosScoreCardLink : WindowLink<LosScoreCardLink, void(QWidget* owner)> {
    static constexpr const char* window = "LOS Score Card";
};
