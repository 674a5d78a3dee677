#include "platform/HostThreads.h"

// The page is built without shared memory (no cross-origin isolation is asked of the server), so
// the program has the browser's main thread alone.
bool HostRunsThreads() {
    return false;
}
