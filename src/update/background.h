#pragma once
// The requests that go on threads of their own (the "hold" notice, error reports): the program
// does not wait for them while it runs, but gives them a moment when it ends.
#include <chrono>
#include <functional>

// Runs `request` on a thread of its own.
void RunInBackground(std::function<void()> request);

// Waits until no background request is left, or `limit` has passed; true when none is left.
bool WaitForBackgroundRequests(std::chrono::milliseconds limit);
