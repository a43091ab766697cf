#pragma once
// What the operator waits for: long work on a worker thread, or a lock another program holds on
// the database. Meanwhile this thread keeps the windows painting under the hourglass, the
// operator's clicks and keys are dropped, and no database work of this thread starts.

#include <chrono>
#include <functional>

// Runs `work` (which must not touch windows or this thread's database connection) and returns when
// it is done; rethrows what it threw.
void RunWhileWindowsPaint(const std::function<void()>& work);

// From now on this thread waits for another program's lock with the windows painting, for `limit`
// at most each time; then the operation fails as locked.
void WaitForLocksWhileWindowsPaint(std::chrono::milliseconds limit);

// True while this thread waits in one of the two ways above.
bool WaitingWhileWindowsPaint();

// The lock waits give up at once, until ResumeWaiting: the work under way ends without what it
// waited for (it fails as locked, and undoes what it had begun).
void GiveUpWaiting();
void ResumeWaiting();
