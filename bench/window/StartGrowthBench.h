#pragma once

// Start to exam window as the bank grows: from the main window's Start
// through the start command to the exam window shown with its first question
// loaded, per mode, at 100 to 300,000 questions. Returns 0.
int startGrowthBench();
