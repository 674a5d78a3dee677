#pragma once
// Writes data packs (platform/DataPack.h): the build packs the pictures of the Windows download
// into one.
#include <cstdint>
#include <string>
#include <vector>

struct TPackInput {
    std::string Name; // relative, "/" between folders
    std::vector<uint8_t> Bytes;
};

// Compresses every file on its own (zstd at `level`, on `threads` threads) and writes the pack to
// `file` through a temporary file beside it. The names need not be sorted; they must be unique
// and usable as pack names. The same inputs always give the same bytes. False, with the reason,
// on any failure; no pack is left then.
bool WriteDataPack(const std::string& file, std::vector<TPackInput> inputs, int level,
                   unsigned threads, std::string* error);

// The pictures of a game data folder, by relative name: every file under graphics/, @2x/ and
// lang/<language>/graphics/.
std::vector<std::string> PictureFiles(const std::string& dataDir);
