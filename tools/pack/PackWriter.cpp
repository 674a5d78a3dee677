#include "tools/pack/PackWriter.h"

#include "platform/DataPack.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <zstd.h>

namespace fs = std::filesystem;

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// One zstd frame with the content size and a checksum; empty on failure.
std::vector<uint8_t> Compress(ZSTD_CCtx* context, const std::vector<uint8_t>& bytes, int level) {
    std::vector<uint8_t> out(ZSTD_compressBound(bytes.size()));
    ZSTD_CCtx_reset(context, ZSTD_reset_session_and_parameters);
    ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, level);
    ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1);
    ZSTD_CCtx_setParameter(context, ZSTD_c_contentSizeFlag, 1);
    const size_t n = ZSTD_compress2(context, out.data(), out.size(), bytes.data(), bytes.size());
    if (ZSTD_isError(n)) return {};
    out.resize(n);
    return out;
}

} // namespace

bool WriteDataPack(const std::string& file, std::vector<TPackInput> inputs, int level,
                   unsigned threads, std::string* error) {
    std::sort(inputs.begin(), inputs.end(),
              [](const TPackInput& a, const TPackInput& b) { return a.Name < b.Name; });
    if (inputs.size() > kDataPackMaxMembers)
        return Fail(error, "more than " + std::to_string(kDataPackMaxMembers) + " files");
    for (size_t i = 0; i < inputs.size(); ++i) {
        const TPackInput& in = inputs[i];
        if (in.Name.empty() || in.Name.size() > kDataPackMaxName ||
            in.Bytes.size() > UINT32_MAX / 2)
            return Fail(error, "\"" + in.Name + "\" cannot go in a pack");
        if (i > 0 && inputs[i - 1].Name == in.Name)
            return Fail(error, "\"" + in.Name + "\" is given twice");
    }

    std::vector<std::vector<uint8_t>> stored(inputs.size());
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    auto work = [&] {
        ZSTD_CCtx* context = ZSTD_createCCtx();
        for (size_t i; context && (i = next++) < inputs.size();) {
            stored[i] = Compress(context, inputs[i].Bytes, level);
            if (stored[i].empty()) failed = true;
        }
        if (!context) failed = true;
        ZSTD_freeCCtx(context);
    };
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < std::max(1u, threads); ++t) workers.emplace_back(work);
    work();
    for (std::thread& t : workers) t.join();
    if (failed) return Fail(error, "zstd could not compress a file");

    size_t indexBytes = 0;
    for (const TPackInput& in : inputs) indexBytes += kDataPackEntryBytes + in.Name.size();
    std::vector<uint8_t> head(kDataPackMagic, kDataPackMagic + sizeof kDataPackMagic);
    PutLe(head, kDataPackVersion, 4);
    PutLe(head, inputs.size(), 4);
    PutLe(head, indexBytes, 4);
    // The members follow the index in the index's order.
    std::vector<uint8_t> index;
    uint64_t offset = kDataPackHeaderBytes + indexBytes;
    for (size_t i = 0; i < inputs.size(); ++i) {
        PutLe(index, offset, 8);
        PutLe(index, stored[i].size(), 4);
        PutLe(index, inputs[i].Bytes.size(), 4);
        PutLe(index, inputs[i].Name.size(), 2);
        index.insert(index.end(), inputs[i].Name.begin(), inputs[i].Name.end());
        offset += stored[i].size();
    }

    const std::string temp = file + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
        out.write(reinterpret_cast<const char*>(index.data()), std::streamsize(index.size()));
        for (const std::vector<uint8_t>& s : stored)
            out.write(reinterpret_cast<const char*>(s.data()), std::streamsize(s.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            return Fail(error, "cannot write " + temp);
        }
    }
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) {
        std::remove(temp.c_str());
        return Fail(error, "cannot replace " + file + ": " + ec.message());
    }
    return true;
}

std::vector<std::string> PictureFiles(const std::string& dataDir) {
    std::vector<fs::path> roots = {"graphics", "@2x"};
    std::error_code ec;
    for (const auto& language : fs::directory_iterator(fs::path(dataDir) / "lang", ec))
        if (language.is_directory())
            roots.push_back(fs::path("lang") / language.path().filename() / "graphics");
    std::vector<std::string> names;
    for (const fs::path& root : roots) {
        const fs::path folder = fs::path(dataDir) / root;
        if (!fs::is_directory(folder, ec)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
            if (entry.is_regular_file())
                names.push_back(fs::relative(entry.path(), dataDir).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
