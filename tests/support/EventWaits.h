#pragma once

#include <functional>

// Lets queued events (activations, single-shot timers, page loads) run for
// `ms` milliseconds, then deletes the objects whose deletion was deferred.
void settle(int ms = 60);

// Runs events until the condition holds; false when `ms` milliseconds pass
// first.
bool waitFor(const std::function<bool()>& condition, int ms = 3000);
