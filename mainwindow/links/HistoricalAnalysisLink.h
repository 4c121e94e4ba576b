#pragma once

#include "foundation/WindowLink.h"

class QWidget;

// Opens frmHistoricalAnalysis modally over the main window; returns when it closes.
struct HistoricalAnalysisLink : WindowLink<HistoricalAnalysisLink, void(QWidget* owner)> {
    static constexpr const char* window = "Historical Analysis";
};
