#pragma once
// The data pack: one file in the data folder ("pictures.pak") that holds many of the game's data
// files, each compressed on its own (a zstd frame with its size and a checksum), found by its
// relative name ("@2x/graphics/field.tga") through an index at the start, so that one file read
// stands for one data file. The Windows download keeps its pictures in one; a data folder
// without a pack reads its loose files.
//
// Layout, little-endian: "VelmPack", version (u32, 1), member count (u32), index size in bytes
// (u32); the index: per member its offset (u64), stored size (u32), size (u32), name length
// (u16) and name (UTF-8, "/" between folders), in strictly rising byte order of the names; the
// members' bytes after the index.
//
// Everything in a pack is checked before use: a damaged index refuses the whole pack (the loose
// files serve), a damaged member refuses that file alone, each with a message that names it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kDataPackName = "pictures.pak";
inline constexpr char kDataPackMagic[8] = {'V', 'e', 'l', 'm', 'P', 'a', 'c', 'k'};
inline constexpr uint32_t kDataPackVersion = 1;
inline constexpr size_t kDataPackHeaderBytes = 20;
inline constexpr size_t kDataPackEntryBytes = 18; // an index entry without its name
inline constexpr uint32_t kDataPackMaxMembers = 65536;
inline constexpr size_t kDataPackMaxName = 255;

struct TPackMember {
    std::string Name;
    uint64_t Offset = 0;     // of the stored bytes, from the start of the pack
    uint32_t StoredSize = 0; // the compressed frame
    uint32_t Size = 0;       // the file it holds
};

// The index of a pack of `fileSize` bytes whose first `size` bytes are `data` (at least the
// header and the index). False, with the reason, when anything in it is out of order.
bool ParseDataPackIndex(const uint8_t* data, size_t size, uint64_t fileSize,
                        std::vector<TPackMember>& members, std::string* error);
// The file a member's stored bytes hold, exactly `size` bytes; false, with the reason, for a frame
// that is damaged, fails its checksum or holds another size.
bool UnpackDataPackMember(const uint8_t* stored, size_t storedSize, size_t size,
                          std::vector<uint8_t>& out, std::string* error);

// Makes "<dataDir>/pictures.pak" the pack that ReadDataFile and DataFileExists look into, for the
// files under `dataDir`; replaces the one opened before. Returns its member count: 0 when there is
// no pack (`error` untouched) or it cannot be used (`error` says why; the loose files serve).
size_t OpenDataPack(const std::string& dataDir, std::string* error);
void CloseDataPack();

// A data file by its path as paths::DataPath makes it: from the open pack when the pack holds it,
// else the file itself (ReadFileBytes, at most `limit` bytes either way). Safe from any thread
// while no pack is being opened.
bool ReadDataFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error,
                  size_t limit);
// True when the open pack holds the file or it is a regular file.
bool DataFileExists(const std::string& path);
