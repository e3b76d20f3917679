#pragma once

#include <functional>

// How long a wait lasts before it gives up: long enough for a machine whose cores are busy
// with other work, since a condition that holds returns at once.
constexpr int WaitBoundMs = 30000;

// Handles events until condition holds or timeoutMs passes; returns whether it held.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = WaitBoundMs);
