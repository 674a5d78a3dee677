#pragma once
// A fresh folder under the system's temporary folder, unique per call, so that test programs of
// several build folders can run at the same time without sharing files.
#include <filesystem>
#include <random>
#include <string>

namespace testart {

inline std::filesystem::path MakeTempDir(const std::string& prefix) {
    static std::mt19937_64 random{std::random_device{}()};
    std::filesystem::path dir;
    do {
        dir = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
    } while (!std::filesystem::create_directories(dir));
    return dir;
}

} // namespace testart
