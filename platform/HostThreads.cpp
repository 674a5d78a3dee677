#include "platform/HostThreads.h"

bool HostRunsThreads() {
    return true;
}
