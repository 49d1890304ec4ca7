// Every file of every fuzz corpus, through the entry point of its target: the
// seeds, and each input a fuzzing run ever found a fault with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "common/globals.h"
#include "entries.h"
#include "support.h"

namespace quarvelt::fuzz {

// Test names and messages show a target by its name.
void PrintTo(const Target& target, std::ostream* out) {
    *out << target.name;
}

namespace {

const std::string CorpusFolder = QUARVELT_FUZZ_CORPUS;

std::vector<std::filesystem::path> CorpusOf(const std::string& target) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder + target, ec))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class CorpusReplay : public ::testing::TestWithParam<Target> {
  protected:
    void SetUp() override { SetGameFolder(QUARVELT_GAME_DIR); }
    void TearDown() override {
        SetGameFolder({});
        ResetGlobals();
    }
};

TEST_P(CorpusReplay, EveryFileKeepsTheReadersPromises) {
    const Target& target = GetParam();
    const auto files = CorpusOf(target.name);
    // A target without seeds would replay nothing and pass.
    ASSERT_GE(files.size(), 3u) << CorpusFolder << target.name;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_TRUE(in.good() || in.eof());
        // A broken promise aborts with the target's message; name the file first.
        std::fprintf(stderr, "replaying %s/%s\n", target.name, path.filename().c_str());
        EXPECT_EQ(target.entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, ::testing::ValuesIn(Targets()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FuzzCorpus, EveryCorpusFolderBelongsToATarget) {
    std::vector<std::string> folders;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder))
        if (entry.is_directory())
            folders.push_back(entry.path().filename().string());
    std::sort(folders.begin(), folders.end());
    std::vector<std::string> names;
    for (const Target& target : Targets())
        names.push_back(target.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(folders, names);
}

TEST(FuzzCorpus, InputsSplitIntoTheirFilesAtTheSeparator) {
    const std::string sep(PartSeparator);
    const std::string input = "one" + sep + sep + "three" + sep + "four";
    const auto* data = reinterpret_cast<const uint8_t*>(input.data());
    EXPECT_EQ(Split(data, input.size(), 3),
              (std::vector<std::string>{"one", "", "three" + sep + "four"}));
    EXPECT_EQ(Split(data, input.size(), 9), (std::vector<std::string>{"one", "", "three", "four"}));
    EXPECT_EQ(Split(data, 0, 4), std::vector<std::string>{""});
}

}  // namespace
}  // namespace quarvelt::fuzz
