#include "platform/DataPack.h"

#include "platform/FileRange.h"
#include "platform/Files.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string_view>

namespace {

constexpr size_t kMaxIndexBytes = size_t{kDataPackMaxMembers} * 64;
// The most a member's frame can take for `size` bytes: zstd's bound (size / 256 beyond the size,
// with a margin) and room for the frame's header and checksum.
uint64_t StoredBound(uint64_t size) {
    return size + size / 256 + 1024;
}

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

uint64_t Le(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

// A relative name of folders and a file: no empty part, no "." or "..", no "\" or control byte.
bool SoundName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.back() == '/') return false;
    size_t start = 0;
    for (;;) {
        const size_t slash = name.find('/', start);
        const std::string part = name.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == 0x7F;
    });
}

// "\" and "/" both part folders on Windows; the game's names use "/" and the data folder's path
// may have either.
std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

struct TOpenPack {
    std::string File;
    std::string Prefix; // the data folder and a "/", slashed: what a path under it starts with
    std::vector<TPackMember> Members;

    const TPackMember* Find(const std::string& given) const {
        const std::string path = Slashed(given);
        if (path.size() <= Prefix.size() || path.compare(0, Prefix.size(), Prefix) != 0)
            return nullptr;
        const std::string_view name = std::string_view(path).substr(Prefix.size());
        const auto it =
            std::lower_bound(Members.begin(), Members.end(), name,
                             [](const TPackMember& m, std::string_view n) { return m.Name < n; });
        return it != Members.end() && it->Name == name ? &*it : nullptr;
    }
};

std::mutex packMutex;
std::shared_ptr<const TOpenPack> openPack;

std::shared_ptr<const TOpenPack> CurrentPack() {
    std::lock_guard<std::mutex> lock(packMutex);
    return openPack;
}

} // namespace

bool ParseDataPackIndex(const uint8_t* data, size_t size, uint64_t fileSize,
                        std::vector<TPackMember>& members, std::string* error) {
    members.clear();
    if (size < kDataPackHeaderBytes || fileSize < kDataPackHeaderBytes)
        return Fail(error, "the pack ends inside its header");
    if (!std::equal(data, data + sizeof kDataPackMagic, kDataPackMagic))
        return Fail(error, "not a data pack");
    const auto version = static_cast<uint32_t>(Le(data + 8, 4));
    if (version != kDataPackVersion)
        return Fail(error, "a data pack of version " + std::to_string(version) + ", not " +
                               std::to_string(kDataPackVersion));
    const auto count = static_cast<uint32_t>(Le(data + 12, 4));
    const auto indexBytes = static_cast<size_t>(Le(data + 16, 4));
    if (count > kDataPackMaxMembers || indexBytes > kMaxIndexBytes)
        return Fail(error, "the pack claims " + std::to_string(count) + " members in " +
                               std::to_string(indexBytes) + " bytes of index");
    const uint64_t dataStart = kDataPackHeaderBytes + indexBytes;
    if (size < dataStart || fileSize < dataStart)
        return Fail(error, "the pack ends inside its index");
    std::vector<TPackMember> found;
    found.reserve(count);
    size_t at = kDataPackHeaderBytes;
    for (uint32_t i = 0; i < count; ++i) {
        const std::string which = "index entry " + std::to_string(i + 1);
        if (dataStart - at < kDataPackEntryBytes)
            return Fail(error, "the pack's index ends inside " + which);
        TPackMember m;
        m.Offset = Le(data + at, 8);
        m.StoredSize = static_cast<uint32_t>(Le(data + at + 8, 4));
        m.Size = static_cast<uint32_t>(Le(data + at + 12, 4));
        const auto nameBytes = static_cast<size_t>(Le(data + at + 16, 2));
        at += kDataPackEntryBytes;
        if (nameBytes > dataStart - at) return Fail(error, "the pack's index ends inside " + which);
        m.Name.assign(reinterpret_cast<const char*>(data + at), nameBytes);
        at += nameBytes;
        if (nameBytes > kDataPackMaxName || !SoundName(m.Name))
            return Fail(error, which + " has no usable name");
        if (!found.empty() && !(found.back().Name < m.Name))
            return Fail(error, "\"" + m.Name + "\" is out of order in the pack's index");
        if (m.StoredSize == 0 || m.StoredSize > StoredBound(m.Size) || m.Offset < dataStart ||
            m.Offset > fileSize || m.StoredSize > fileSize - m.Offset)
            return Fail(error, "\"" + m.Name + "\" lies outside the pack");
        found.push_back(std::move(m));
    }
    if (at != dataStart) return Fail(error, "the pack's index is longer than its entries");
    members = std::move(found);
    return true;
}

size_t OpenDataPack(const std::string& dataDir, std::string* error) {
    CloseDataPack();
    auto pack = std::make_shared<TOpenPack>();
    pack->File = dataDir + "/" + kDataPackName;
    pack->Prefix = Slashed(dataDir) + "/";
    if (!IsRegularFile(pack->File)) return 0;
    // The header says how long the index is; the index is read with it in a second read.
    std::vector<uint8_t> head;
    uint64_t fileSize = 0;
    std::string why;
    bool read = ReadFileRange(pack->File, 0, 0, head, &why, &fileSize) &&
                ReadFileRange(pack->File, 0, std::min<uint64_t>(kDataPackHeaderBytes, fileSize),
                              head, &why);
    if (read && head.size() == kDataPackHeaderBytes) {
        const uint64_t index = std::min<uint64_t>(Le(head.data() + 16, 4), kMaxIndexBytes);
        const auto wanted = static_cast<size_t>(std::min(kDataPackHeaderBytes + index, fileSize));
        read = ReadFileRange(pack->File, 0, wanted, head, &why);
    }
    if (read && !ParseDataPackIndex(head.data(), head.size(), fileSize, pack->Members, &why)) {
        why = pack->File + ": " + why;
        read = false;
    }
    if (!read) {
        Fail(error, why);
        return 0;
    }
    const size_t count = pack->Members.size();
    std::lock_guard<std::mutex> lock(packMutex);
    openPack = std::move(pack);
    return count;
}

void CloseDataPack() {
    std::lock_guard<std::mutex> lock(packMutex);
    openPack.reset();
}

bool ReadDataFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error,
                  size_t limit) {
    const std::shared_ptr<const TOpenPack> pack = CurrentPack();
    const TPackMember* member = pack ? pack->Find(path) : nullptr;
    if (!member) return ReadFileBytes(path, bytes, error, limit);
    bytes.clear();
    const std::string label = pack->File + ": " + member->Name + ": ";
    if (member->Size > limit)
        return Fail(error, label + "larger than " + std::to_string(limit) + " bytes");
    std::vector<uint8_t> stored;
    std::string why;
    if (!ReadFileRange(pack->File, member->Offset, member->StoredSize, stored, &why))
        return Fail(error, label + why);
    if (!UnpackDataPackMember(stored.data(), stored.size(), member->Size, bytes, &why))
        return Fail(error, label + why);
    return true;
}

bool DataFileExists(const std::string& path) {
    const std::shared_ptr<const TOpenPack> pack = CurrentPack();
    return (pack && pack->Find(path)) || IsRegularFile(path);
}
