#include "platform/Persistence.h"

#include <emscripten/emscripten.h>

// The copy itself is the page's (web/pre.js): FS.syncfs from memory to IndexedDB.
void PersistUserFiles() {
    EM_ASM({
        if (Module.velmOrraPersist) Module.velmOrraPersist();
    });
}
