#include "platform/HostDirs.h"

#include <emscripten/emscripten.h>

// The page's file system (web/pre.js): the game data is packed into the download at /game, and
// the player's folder /velm-orra is kept in the page's IndexedDB.
namespace paths::host {

std::string ExecutableDir() {
    return "/game";
}

void FindUserDirs(std::string& data, std::string& config) {
    // Without IndexedDB (a private window of some browsers, a page opened from a file) nothing
    // would outlast the page: the game says so and plays without keeping anything.
    const bool kept = EM_ASM_INT({ return Module.velmOrraStorage ? 1 : 0; }) != 0;
    data = kept ? "/velm-orra" : "";
    config = data;
}

std::string NoUserDirsReason() {
    return "the browser offers this page no lasting storage (IndexedDB)";
}

bool FolderWritable(const std::string&, std::string*) {
    return true;
}

} // namespace paths::host
