// Checks the picture set the build wrote into the game folder against the
// rules every reader of the game relies on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "board/object_codes.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/toolbox_catalogue.h"
#include "common/vocabulary.h"
#include "engine/entry_rules.h"
#include "engine/picture_names.h"
#include "model.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

const std::string GameDir = QUARVELT_GAME_DIR;
const std::string AssetDir = QUARVELT_ASSET_DIR;
constexpr char Sides[] = "LRTB";
constexpr char Sizes[] = "SML";
constexpr char Colours[] = "RGBCMYW";

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

char Travel(char side) {
    return assets::TravelOfEntrySide(side);
}

class PictureSet : public ::testing::Test {
  protected:
    testsupport::ScriptedPlatform platform;

    void SetUp() override {
        ResetGlobals();
        AppPath = GameDir;
        ImageIndex::Forget();
        const auto& records = ImageIndex::Current().Records();
        ASSERT_FALSE(records.empty()) << "no picture set in " << GameDir;
        for (const auto& record : records)
            names.push_back(Trim(record.imageName));
        std::ifstream in(AssetDir + "objects.txt");
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        ASSERT_TRUE(assets::ParseObjects(text.str(), objects, error)) << error;
    }
    void TearDown() override {
        ImageIndex::Forget();
        ResetGlobals();
    }

    std::vector<std::string> names;
    std::vector<assets::ObjectEntry> objects;

    // Stems (20 characters) of step pictures with the frames each has.
    std::map<std::string, std::set<int>> StepFrames() const {
        std::map<std::string, std::set<int>> frames;
        for (const auto& name : names)
            if (name.size() == 26 && name.substr(5, 3) != "___")
                frames[name.substr(0, 20)].insert(std::stoi(name.substr(20, 2)));
        return frames;
    }
    std::string StemOf(const std::string& code, char size, char colour, char side) const {
        const std::string key = code + size + colour + side;
        for (const auto& name : names)
            if (name.compare(0, 8, key) == 0)
                return name.substr(0, 20);
        return "";
    }
};

}  // namespace

TEST_F(PictureSet, RecordsFollowTheIndexFormat) {
    const auto& records = ImageIndex::Current().Records();
    EXPECT_LE(records.size(), 32767u);
    EXPECT_EQ(names.front(), "BLANK_______________00.BMP");
    std::set<std::string> seen;
    std::map<std::string, uint64_t> archiveSizes;
    for (const auto& record : records) {
        const std::string name = Trim(record.imageName);
        EXPECT_TRUE(seen.insert(name).second) << "twice: " << name;
        EXPECT_EQ(record.recType, 'B') << name;
        EXPECT_EQ(record.archiveId.find_first_not_of("0123456789"), std::string::npos) << name;
        EXPECT_EQ(record.archiveId.size(), 6u);
        EXPECT_GE(record.archiveOffset, 1) << name;
        EXPECT_EQ(name.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << name;
        if (!archiveSizes.count(record.archiveId)) {
            ASSERT_FALSE(
                platform::FileSize(ArchivePath(record.archiveId), archiveSizes[record.archiveId]));
        }
        EXPECT_LE(static_cast<uint64_t>(record.archiveOffset) + record.imageSize,
                  archiveSizes[record.archiveId]);
        if (name.size() == 26) {
            EXPECT_EQ(name.substr(8, 6), "______") << name;
            if (name.compare(0, 3, "SPL") != 0) {
                EXPECT_EQ(name.substr(17, 3), "___") << name;
            }
        }
    }
    uint64_t total = 0;
    for (const auto& [id, size] : archiveSizes)
        total += size;
    EXPECT_LT(total, 64u << 20);
}

TEST_F(PictureSet, EveryCodeStartsWithItsRestingPictureAndToolsComeLast) {
    std::set<std::string> firstSeen;
    bool inTools = false;
    for (const auto& name : names) {
        const bool tool = name.size() == 11;
        if (tool)
            inTools = true;
        EXPECT_FALSE(inTools && !tool) << "board picture after the tool pictures: " << name;
        if (!tool && firstSeen.insert(name.substr(0, 5)).second) {
            EXPECT_EQ(name.substr(5), "_______________00.BMP")
                << "first picture of its code: " << name;
        }
    }
    for (const auto& object : objects)
        EXPECT_TRUE(firstSeen.count(object.code)) << object.code;
    for (const auto& entry : AllObjectDisplayNames())
        EXPECT_TRUE(firstSeen.count(std::string(entry.code))) << entry.code;
}

TEST_F(PictureSet, APictureExistsExactlyForEveryAdmittedSituation) {
    std::vector<std::string> codes = {"BLANK"};
    for (const auto& entry : AllObjectDisplayNames())
        codes.emplace_back(entry.code);
    int admitted = 0;
    for (const auto& code : codes)
        for (char side : std::string(Sides))
            for (char size : std::string(Sizes))
                for (char colour : std::string(Colours)) {
                    const std::string c(1, colour), s(1, size), t(1, Travel(side));
                    const bool admits = CheckPhotonEntry(code, c, s, t).empty();
                    const std::string found = FindObjectImage(code, c, s, t);
                    const bool exact = found.compare(0, 8, code + size + colour + side) == 0;
                    EXPECT_EQ(admits, exact)
                        << code << " " << size << colour << " travelling " << t << ": " << found;
                    admitted += admits;
                }
    EXPECT_GT(admitted, 3000);
}

TEST_F(PictureSet, StepsHaveTheirFramesWithoutGaps) {
    for (const auto& [stem, frames] : StepFrames()) {
        const int last = *frames.rbegin();
        EXPECT_EQ(frames.size(), static_cast<size_t>(last)) << stem << " has gaps or a frame 00";
        EXPECT_EQ(*frames.begin(), 1) << stem;
        EXPECT_EQ(GetLastFrameNumber(stem + "01.BMP"), last) << stem;
        const std::string code = stem.substr(0, 5);
        int expected = 3;
        if (code == "SHUTT")
            expected = 15;
        if (code.compare(0, 2, "MX") == 0)
            expected = stem[5] == 'S' ? 3 : 2;
        EXPECT_EQ(last, expected) << stem;
    }
    EXPECT_EQ(GetLastFrameNumber("LAMP__________MWR___00.BMP"), 5);
    EXPECT_EQ(GetLastFrameNumber("BLANK_______________00.BMP"), 2);
    EXPECT_EQ(GetLastFrameNumber("SHHBN_______________00.BMP"), 4);
    EXPECT_EQ(GetLastFrameNumber("REFHT_______________00.BMP"), 0);
}

TEST_F(PictureSet, FiltersSubtractAndLensesResize) {
    // What a cyan filter makes of each colour it lets through.
    const std::map<char, char> cyan = {{'W', 'C'}, {'M', 'B'}, {'Y', 'G'},
                                       {'G', 'G'}, {'B', 'B'}, {'C', 'C'}};
    for (const auto& [in, out] : cyan) {
        const std::string stem = StemOf("FLTHC", 'M', in, 'B');
        ASSERT_FALSE(stem.empty()) << in;
        EXPECT_EQ(stem.substr(14, 3), (std::string{'M', out, 'T'}));
    }
    EXPECT_EQ(StemOf("FLTHC", 'M', 'R', 'B'), "");
    EXPECT_EQ(StemOf("FLTVY", 'S', 'W', 'L').substr(14, 3), "SYR");
    EXPECT_EQ(StemOf("FLTHM", 'L', 'Y', 'T').substr(14, 3), "LRB");
    EXPECT_EQ(StemOf("LENCC", 'S', 'G', 'L').substr(14, 3), "MGR");
    EXPECT_EQ(StemOf("LENCC", 'M', 'G', 'R').substr(14, 3), "LGL");
    EXPECT_EQ(StemOf("LENCV", 'L', 'B', 'L').substr(14, 3), "MBR");
    EXPECT_EQ(StemOf("LENCV", 'S', 'B', 'L'), "");
}

TEST_F(PictureSet, DetectorsEndTheWalkAndMixersLeaveWhite) {
    EXPECT_EQ(StemOf("DETWH", 'L', 'W', 'B').substr(14, 6), "______");
    EXPECT_EQ(StemOf("DETRD", 'M', 'R', 'B').substr(14, 6), "______");
    EXPECT_EQ(StemOf("DETRD", 'M', 'R', 'L'), "");
    // The mixed photon keeps the size of the arrival and leaves in its travel direction.
    EXPECT_EQ(StemOf("MXHCB", 'S', 'R', 'B').substr(14, 3), "SWT");
    EXPECT_EQ(StemOf("MXVCL", 'L', 'C', 'L').substr(14, 3), "LWR");
    EXPECT_EQ(StemOf("MXHMT", 'M', 'G', 'B').substr(14, 3), "MWT");
    EXPECT_EQ(StemOf("MXHCB", 'S', 'G', 'B'), "");
}

// The palette index of every pixel of a board picture, top row first; empty
// when the index has no such bitmap.
std::vector<unsigned char> BoardPixels(const std::string& name) {
    constexpr size_t Side = 48;
    const ImageIndex& index = ImageIndex::Current();
    const int at = index.FindBitmapByName(name);
    if (at < 0)
        return {};
    const ImageIndexRecord& record = index.Records()[static_cast<size_t>(at)];
    std::string bytes;
    if (platform::ReadBytes(ArchivePath(record.archiveId), record.archiveOffset - 1,
                            record.imageSize + 1u, bytes) ||
        bytes.size() < 14)
        return {};
    size_t offset = 0;
    for (int i = 3; i >= 0; --i)
        offset = offset << 8 | static_cast<unsigned char>(bytes[10 + static_cast<size_t>(i)]);
    if (bytes.size() < offset + Side * Side)
        return {};
    std::vector<unsigned char> pixels(Side * Side);
    for (size_t row = 0; row < Side; ++row)  // stored bottom row first
        for (size_t col = 0; col < Side; ++col)
            pixels[row * Side + col] =
                static_cast<unsigned char>(bytes[offset + (Side - 1 - row) * Side + col]);
    return pixels;
}

TEST_F(PictureSet, MixerFramesShowNoPhotonLeaving) {
    // The white photon is drawn by the next cell's frames; on its way out the
    // mixer's own frames look as the resting mixer does.
    constexpr int Side = 48, Strip = 14;
    int compared = 0;
    for (const auto& name : names) {
        const auto parts = ParseObjectImageName(name);
        if (!parts || !IsMixerCode(parts->code) || parts->ShowsNoPhoton())
            continue;
        SCOPED_TRACE(name);
        const std::vector<unsigned char> frame = BoardPixels(name);
        const std::vector<unsigned char> resting = BoardPixels(RestingImageName(parts->code));
        ASSERT_EQ(frame.size(), static_cast<size_t>(Side * Side));
        ASSERT_EQ(resting.size(), frame.size());
        const char out = parts->out1.side;
        ASSERT_NE(std::string("LRTB").find(out), std::string::npos);
        int differing = 0;
        for (int row = 0; row < Side; ++row)
            for (int col = 0; col < Side; ++col) {
                const bool nearExit =
                    (out == 'L' && col < Strip) || (out == 'R' && col >= Side - Strip) ||
                    (out == 'T' && row < Strip) || (out == 'B' && row >= Side - Strip);
                const size_t at = static_cast<size_t>(row * Side + col);
                differing += nearExit && frame[at] != resting[at];
            }
        EXPECT_EQ(differing, 0);
        ++compared;
    }
    EXPECT_GT(compared, 100);
}

TEST_F(PictureSet, SplittersTurnTheirSecondPhoton) {
    EXPECT_EQ(StemOf("SPLTF", 'M', 'W', 'L').substr(14, 6), "MWRMWT");  // travel R: left is up
    EXPECT_EQ(StemOf("SPLTB", 'M', 'W', 'L').substr(14, 6), "MWRMWB");
    EXPECT_EQ(StemOf("SPLTL", 'S', 'G', 'T').substr(14, 6), "SGBSGR");  // travel B: left is right
    EXPECT_EQ(StemOf("SPLRR", 'L', 'W', 'L').substr(14, 6), "LCRLRB");
    EXPECT_EQ(StemOf("SPLRR", 'L', 'R', 'L').substr(14, 6), "___LRB");
    EXPECT_EQ(StemOf("SPLRR", 'L', 'G', 'L').substr(14, 6), "LGR___");
    EXPECT_EQ(StemOf("SPLBL", 'S', 'M', 'B').substr(14, 6), "SRTSBL");
    // A second photon is missing only where a colour splitter finds no colour of its own to
    // turn aside: the compile then stops there with its colour message.
    const std::map<char, int> bits = {{'R', 4}, {'G', 2}, {'B', 1}, {'C', 3},
                                      {'M', 5}, {'Y', 6}, {'W', 7}};
    for (const auto& [stem, frames] : StepFrames()) {
        if (stem.compare(0, 3, "SPL") != 0)
            continue;
        const bool plain = stem[3] == 'T';
        const bool holdsOwnColour = plain || (bits.at(stem[6]) & bits.at(stem[3])) != 0;
        EXPECT_EQ(stem.substr(17, 3) != "___", holdsOwnColour) << stem;
        EXPECT_TRUE(stem.substr(14, 3) != "___" || stem.substr(17, 3) != "___")
            << stem << " loses the photon";
    }
}

TEST_F(PictureSet, ReflectorsLeaveTowardTheirNamedSides) {
    const std::map<std::string, std::string> exits = {
        {"REFHTT", "T"}, {"REFHTB", "T"}, {"REFHBB", "B"}, {"REFHBT", "B"}, {"REFVRR", "R"},
        {"REFVRL", "R"}, {"REFVLL", "L"}, {"REFVLR", "L"}, {"REFLDL", "B"}, {"REFLDB", "L"},
        {"REFLDR", "L"}, {"REFLDT", "B"}, {"REFLUL", "T"}, {"REFLUT", "L"}, {"REFLUR", "L"},
        {"REFLUB", "T"}, {"REFRDR", "B"}, {"REFRDB", "R"}, {"REFRDL", "R"}, {"REFRDT", "B"},
        {"REFRUR", "T"}, {"REFRUT", "R"}, {"REFRUL", "R"}, {"REFRUB", "T"}};
    for (const auto& [key, exit] : exits) {
        const std::string stem = StemOf(key.substr(0, 5), 'M', 'Y', key[5]);
        ASSERT_FALSE(stem.empty()) << key;
        EXPECT_EQ(stem.substr(14, 3), "MY" + exit) << key;
    }
}

TEST_F(PictureSet, ToolCatalogueMatchesTheFrozenLayout) {
    LoadToolboxObjects();
    std::ifstream in(AssetDir + "toolbox-layout.txt");
    std::string line;
    int rows = 0;
    std::map<int, int> groupRows;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        int row = 0, group = 0, allowed = 0;
        std::string stem;
        ASSERT_TRUE(fields >> row >> stem >> group >> allowed) << line;
        ASSERT_EQ(row, rows);
        const auto& r = ToolboxObjectTable[row];
        EXPECT_EQ(r.stem, stem) << row;
        EXPECT_EQ(r.group, group) << row;
        EXPECT_EQ(r.allowed, allowed) << row;
        EXPECT_TRUE(IsTrue(r.shown) && IsTrue(r.enabled)) << row;
        EXPECT_EQ(r.archiveId, "000001") << "tool pictures live alone in the first archive";
        ++groupRows[group];
        ++rows;
    }
    EXPECT_EQ(rows, 238);
    EXPECT_TRUE(ToolboxObjectTable[238].Free());
    EXPECT_EQ(groupRows,
              (std::map<int, int>{{0, 112}, {1, 16}, {2, 36}, {3, 24}, {4, 12}, {5, 38}}));
    const std::set<std::string> names(this->names.begin(), this->names.end());
    for (int row = 0; row < 238; row += 2) {
        const std::string stem = ToolboxObjectTable[row].stem;
        EXPECT_EQ(stem.substr(5), "_U");
        EXPECT_EQ(ToolboxObjectTable[row + 1].stem, stem.substr(0, 5) + "_D");
        EXPECT_TRUE(names.count(GetGameboardObj(static_cast<int16_t>(row)))) << stem;
    }
    const int32_t size = ToolboxObjectTable[0].imageSize;
    for (int row = 0; row < 238; ++row)
        EXPECT_EQ(ToolboxObjectTable[row].imageSize, size) << "tool pictures share one size";
}

TEST_F(PictureSet, PicturesAreBitmapsOfTheirSize) {
    const auto& records = ImageIndex::Current().Records();
    for (size_t i = 0; i < records.size();
         i += 97) {  // a spread of the set; the bytes are all alike in form
        std::string bytes;
        ASSERT_FALSE(platform::ReadBytes(ArchivePath(records[i].archiveId),
                                         records[i].archiveOffset - 1, records[i].imageSize + 1u,
                                         bytes));
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        const int width =
            static_cast<unsigned char>(bytes[18]) | static_cast<unsigned char>(bytes[19]) << 8;
        const int height =
            static_cast<unsigned char>(bytes[22]) | static_cast<unsigned char>(bytes[23]) << 8;
        const int expected = Trim(records[i].imageName).size() == 26 ? 48 : 32;
        EXPECT_EQ(width, expected) << records[i].imageName;
        EXPECT_EQ(height, expected);
    }
}

TEST_F(PictureSet, TheGeneratorIsDeterministic) {
    testsupport::TempFolder dir;
    const std::string command = std::string("ASAN_OPTIONS=detect_leaks=0 '") + QUARVELT_ASSETGEN +
                                "' '" + AssetDir + "' '" + dir.Path() + "game' '" + dir.Path() +
                                "manifest.txt' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<std::string> files;
    ASSERT_FALSE(platform::ListFiles(GameDir, files));
    int compared = 0;
    for (const auto& file : files) {
        if (file != ImageIndexName && file.find(".MIX") == std::string::npos)
            continue;
        std::string a, b;
        ASSERT_FALSE(platform::ReadWholeFile(GameDir + file, a));
        ASSERT_FALSE(platform::ReadWholeFile(dir.Path() + "game/" + file, b)) << file;
        EXPECT_TRUE(a == b) << file << " differs between two runs";
        ++compared;
    }
    EXPECT_GE(compared, 3);
}
