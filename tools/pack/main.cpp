// vo_pack <data folder> <pack file> [level]: packs the pictures of a game data folder (graphics/,
// @2x/, lang/<language>/graphics/) into one data pack, each compressed with zstd at the level
// (default 9), on every processor. Prints what it packed.
#include "tools/pack/PackWriter.h"

#include "platform/Files.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "Usage: vo_pack <data folder> <pack file> [zstd level]\n");
        return 2;
    }
    const std::string dataDir = argv[1], pack = argv[2];
    const int level = argc > 3 ? std::atoi(argv[3]) : 9;
    std::vector<TPackInput> inputs;
    size_t total = 0;
    for (const std::string& name : PictureFiles(dataDir)) {
        TPackInput in;
        in.Name = name;
        std::string error, path = dataDir;
        path += "/";
        path += name;
        if (!ReadFileBytes(path, in.Bytes, &error, size_t{1} << 30)) {
            std::fprintf(stderr, "vo_pack: %s\n", error.c_str());
            return 1;
        }
        total += in.Bytes.size();
        inputs.push_back(std::move(in));
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "vo_pack: no pictures in %s\n", dataDir.c_str());
        return 1;
    }
    const size_t count = inputs.size();
    std::string error;
    if (!WriteDataPack(pack, std::move(inputs), level, std::thread::hardware_concurrency(),
                       &error)) {
        std::fprintf(stderr, "vo_pack: %s\n", error.c_str());
        return 1;
    }
    std::printf("vo_pack: %zu pictures, %.1f MB, packed into %s\n", count, total / 1e6,
                pack.c_str());
    return 0;
}
