#pragma once
// Whether the host runs threads of the program's own. A browser page built without shared memory
// has one thread only: work that would go to a thread of its own is done where it is asked for.

bool HostRunsThreads();
