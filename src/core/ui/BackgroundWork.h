#pragma once
// Long work the operator waits for: it runs on a worker thread while this thread keeps the windows
// painting under the hourglass; the operator's input waits until it is done.

#include <functional>

// Runs `work` (which must not touch windows or this thread's database connection) and returns when
// it is done; rethrows what it threw.
void RunWhileWindowsPaint(const std::function<void()>& work);
