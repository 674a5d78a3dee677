// Runs every fuzz target over its committed seed corpus and over the inputs that once broke a
// reader (regressions/<target>/), in the normal and the sanitizer build alike. A reader that
// crashes, trips a sanitizer or breaks a rule of its result aborts this test.
#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Feeds every file of `dir` (if it exists) to `target`; returns how many there were.
int ReplayFolder(const TFuzzTargetInfo& target, const fs::path& dir) {
    if (!fs::is_directory(dir)) return 0;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        SCOPED_TRACE(entry.path().string());
        const std::vector<uint8_t> bytes = ReadAll(entry.path());
        target.Run(bytes.data(), bytes.size());
        ++count;
    }
    return count;
}

class Replay : public ::testing::TestWithParam<TFuzzTargetInfo> {};

TEST_P(Replay, SeedsAndFoundInputsPass) {
    const TFuzzTargetInfo& target = GetParam();
    const fs::path root = VO_FUZZ_SOURCE_DIR;
    EXPECT_GE(ReplayFolder(target, root / "corpus" / target.Name), 3)
        << "the seed corpus of " << target.Name << " is missing or thin";
    ReplayFolder(target, root / "regressions" / target.Name);
    // The empty input (also as an empty file's null data) and a lone byte reach every reader's
    // shortest path.
    const uint8_t one = 0;
    target.Run(nullptr, 0);
    target.Run(&one, 0);
    target.Run(&one, 1);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Replay, ::testing::ValuesIn(FuzzTargetList),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
