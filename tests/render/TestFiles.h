#pragma once
// Scratch files for the render tests: a fresh folder per test under the system's temp folder, and
// helpers that build TGA files byte by byte.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class TScratchDir {
public:
    TScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ =
            std::filesystem::temp_directory_path() / "vo_render_tests" /
            (std::string(info ? info->test_suite_name() : "x") + "." + (info ? info->name() : "y"));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TScratchDir() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An 18-byte TGA header.
inline std::vector<uint8_t> TgaHeader(uint8_t type, int width, int height, uint8_t depth,
                                      uint8_t descriptor, uint8_t idLength = 0,
                                      uint8_t colourMapType = 0) {
    return {idLength,
            colourMapType,
            type,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            uint8_t(width),
            uint8_t(width >> 8),
            uint8_t(height),
            uint8_t(height >> 8),
            depth,
            descriptor};
}

inline void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& more) {
    to.insert(to.end(), more.begin(), more.end());
}
