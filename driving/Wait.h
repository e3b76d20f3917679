#pragma once

#include <functional>

// Handles events until condition holds or timeoutMs passes; returns whether it held.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);
