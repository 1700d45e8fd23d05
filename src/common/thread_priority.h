#pragma once
// Background work that nobody waits for (reading the stored history at start) gives
// way to the threads the user does wait on: the window's thread and the desktop's.

namespace cvu {

// The calling thread only: its scheduling niceness becomes at least `niceness` (a
// thread already nicer keeps its own). False where this cannot be done.
bool LowerThisThreadPriority(int niceness);

// The calling thread's niceness (0 where threads have none of their own).
int ThisThreadNiceness();

}  // namespace cvu
