#pragma once

// Connects the windows of the subsystems to each other (see WindowLinks).
void wireWindows();
