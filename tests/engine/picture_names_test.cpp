#include "engine/picture_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/image_index.h"
#include "platform/files.h"
#include "platform/records.h"
#include "platform/services.h"
#include "support/game_folder_test.h"
#include "support/index_fixture.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

using testsupport::IndexEntry;
using testsupport::WriteImageIndex;

constexpr const char* Title = "EXECUTE    PUZZLE";
constexpr int ExclamationOk = platform::MsgOkOnly + platform::MsgExclamation;

class PictureNamesTest : public testsupport::GameFolderTest {
  protected:
    void Index(const std::vector<std::string>& names) {
        std::vector<IndexEntry> entries;
        for (const auto& name : names)
            entries.push_back({name, name});
        WriteImageIndex(AppPath, entries);
    }

    void ExpectOneBox(const std::string& text) {
        ASSERT_EQ(platform.Boxes().size(), 1u);
        EXPECT_EQ(testsupport::Readable(platform.Boxes()[0].text), text);
        EXPECT_EQ(platform.Boxes()[0].flags, ExclamationOk);
        EXPECT_EQ(platform.Boxes()[0].title, Title);
        EXPECT_EQ(platform.Beeps(), 1);
    }
};

TEST_F(PictureNamesTest, NamesAreBuiltFromTheirParts) {
    EXPECT_EQ(RestingImageName("DIAM"), "DIAM________________00.BMP");
    EXPECT_EQ(MakeObjectImageName("LAMP_", {}, {'M', 'W', 'R'}, {}, 5),
              "LAMP__________MWR___05.BMP");
    EXPECT_EQ(MakeObjectImageName("SPLTFX", {'S', 'R', 'L'}, {'S', 'R', 'R'}, {'S', 'R', 'T'}, 123),
              "SPLTFSRL______SRRSRT99.BMP");
    EXPECT_EQ(FrameImageName("BLANK_______________00.BMP", 2), "BLANK_______________02.BMP");
    const std::vector<std::pair<std::string, char>> sides = {
        {"L", 'R'}, {"R", 'L'}, {"T", 'B'}, {"B", 'T'}, {"l", '_'}, {"", '_'}, {"LR", '_'}};
    for (const auto& [travel, side] : sides)
        EXPECT_EQ(EntrySideOf(travel), side) << travel;
}

TEST_F(PictureNamesTest, NamesAreTakenApartIntoTheirParts) {
    const auto parts = ParseObjectImageName("SPLTFSRL______SRRSRT07.BMP");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->code, "SPLTF");
    EXPECT_EQ(std::string({parts->in.size, parts->in.colour, parts->in.side}), "SRL");
    EXPECT_EQ(std::string({parts->out1.size, parts->out1.colour, parts->out1.side}), "SRR");
    EXPECT_EQ(std::string({parts->out2.size, parts->out2.colour, parts->out2.side}), "SRT");
    EXPECT_EQ(parts->frame, 7);
    EXPECT_FALSE(parts->ShowsNoPhoton());

    const struct {
        const char* name;
        bool parsed;
        bool showsNoPhoton;
        int frame;
    } cases[] = {
        {"DIAM________________00.BMP", true, true, 0},
        {"LAMP__________MWR___05.BMP", true, false, 5},
        {"DETWHLWB____________03.BMP", true, false, 3},
        {"BLANK______X________12.BMP", true, false, 12},  // a letter in the gap
        {"BLANK_______________1A.BMP", true, true, -1},
        {"BLANK_______________00.BM", false, false, -1},
        {"BLANK_______________00.BMPX", false, false, -1},
    };
    for (const auto& c : cases) {
        const auto found = ParseObjectImageName(c.name);
        ASSERT_EQ(found.has_value(), c.parsed) << c.name;
        if (found) {
            EXPECT_EQ(found->ShowsNoPhoton(), c.showsNoPhoton) << c.name;
            EXPECT_EQ(found->frame, c.frame) << c.name;
        }
    }
}

TEST_F(PictureNamesTest, CodeOfWrongLengthIsRefusedBeforeTheIndex) {
    platform.ExpectBox(Title);
    EXPECT_EQ(FindObjectImage("LAMP", "W", "M", "R"), "ERROR3");
    ExpectOneBox(
        "ERROR: INVALIED OBJECT VALUE!||The object: LAMP|is invalied! Its Name MUST be| five "
        "characters in length.");
}

TEST_F(PictureNamesTest, ExactEntrySituationElseFirstPictureOfTheCode) {
    Index({"BLANK_______________00.BMP", "REFHTMWL______MWT___01.BMP", "REFHTSRB______SRT___01.BMP",
           "REFHTMWB______MWT___01.BMP", "REFHT_______________00.BMP"});
    EXPECT_EQ(FindObjectImage("REFHT", "W", "M", "T"), "REFHTMWB______MWT___01.BMP");
    EXPECT_EQ(ImageIndexBuffer.imageName.substr(0, 26), "REFHTMWB______MWT___01.BMP");
    EXPECT_EQ(FindObjectImage("refht", "w", "m", "T"), "REFHTMWB______MWT___01.BMP");
    // No large white photon from below: the code's first picture in index order.
    EXPECT_EQ(FindObjectImage("REFHT", "W", "L", "T"), "REFHTMWL______MWT___01.BMP");
    // A travel other than the four letters gives "_" as the entry side.
    EXPECT_EQ(FindObjectImage("REFHT", "W", "M", "X"), "REFHTMWL______MWT___01.BMP");
    EXPECT_EQ(FindObjectImage("LENCC", "W", "M", "T"), "ERROR1");

    Index({"REFHTMWL______MWT___01.BMP", "REFHTMW_______MWT___01.BMP"});
    EXPECT_EQ(FindObjectImage("REFHT", "W", "M", "X"), "REFHTMW_______MWT___01.BMP");
    // Empty size and colour leave blanks in the key.
    Index({"REFHT__B.BMP", "REFHT  B.BMP"});
    EXPECT_EQ(FindObjectImage("REFHT", "", "", "T"), "REFHT  B.BMP");
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(PictureNamesTest, NamesAreComparedUpperCasedAndTrimmed) {
    // The exact pass trims the first eight characters; the fallback the first five.
    Index({"  refhtmwb______mwt___01.bmp  ", "refht", "REF  MWB______MWT___01.BMP"});
    EXPECT_EQ(FindObjectImage("REFHT", "W", "M", "T"), "REFHT");
    EXPECT_EQ(FindObjectImage("  REF", "W", "M", "T"), "REF  MWB______MWT___01.BMP");
    EXPECT_EQ(FindObjectImage("REF  ", "W", "M", "X"), "ERROR1");
    EXPECT_EQ(FindObjectImage("  REF", "W", "M", "X"), "ERROR1");
    // Record types play no part here.
    WriteImageIndex(AppPath, {{"LENCC_______________00.BMP", "x", 'Q'}});
    EXPECT_EQ(FindObjectImage("LENCC", "W", "M", "R"), "LENCC_______________00.BMP");
}

TEST_F(PictureNamesTest, EmptyOrMissingIndex) {
    EXPECT_EQ(FindObjectImage("BLANK", "W", "M", "R"), "ERROR2");
    EXPECT_EQ(GetLastFrameNumber("BLANK_______________00.BMP"), -2);
    EXPECT_FALSE(std::filesystem::exists(AppPath + ImageIndexName));
    folder.Write(ImageIndexName, std::string(ImageIndexRecordLength - 1, ' '));
    EXPECT_EQ(FindObjectImage("BLANK", "W", "M", "R"), "ERROR2");
    EXPECT_EQ(GetLastFrameNumber("BLANK_______________00.BMP"), -2);
}

TEST_F(PictureNamesTest, LastFrameOfAStem) {
    Index({"LAMP__________MWR___03.BMP", "lamp__________mwr___05.bmp", "LAMP__________MWR___00.BMP",
           "LAMP________________00.BMP", "LAMP__________MWR___01.BMP",
           "  LAMP__________MWR___04.BMP", "LAMP__________MWR___09.BMPX",
           "LAMP__________MWR___08.BM", "SHORT_______________07.BM",
           "SHORT_______________08.BMPX"});
    EXPECT_EQ(GetLastFrameNumber("LAMP__________MWR___00.BMP"), 5);
    EXPECT_EQ(GetLastFrameNumber("lamp__________mwr___"), 5);
    EXPECT_EQ(GetLastFrameNumber("LAMP________________00.BMP"), 0);
    EXPECT_EQ(GetLastFrameNumber("SHORT_______________00.BMP"), -1);
    EXPECT_EQ(GetLastFrameNumber("LAMP__________MWR__"), -1);
    EXPECT_EQ(GetLastFrameNumber("DIAM________________00.BMP"), -1);

    // Frame texts are read as numbers are: leading digits, blanks skipped.
    Index({"ODD1________________0A.BMP", "ODD2________________ 7.BMP", "ODD3________________-3.BMP",
           "ODD4________________AB.BMP"});
    EXPECT_EQ(GetLastFrameNumber("ODD1________________"), 0);
    EXPECT_EQ(GetLastFrameNumber("ODD2________________"), 7);
    EXPECT_EQ(GetLastFrameNumber("ODD3________________"), -1);
    EXPECT_EQ(GetLastFrameNumber("ODD4________________"), 0);
}

TEST_F(PictureNamesTest, LeavingPhotonsAreReadFromTheirPositions) {
    const std::string lamp = "LAMP__________MWR___00.BMP";
    EXPECT_EQ(GetOutPhotonDirection(lamp, 1), "R");
    EXPECT_EQ(GetOutPhotonDirection(lamp, 2), "R");
    EXPECT_EQ(GetOutPhotonSize(lamp, 2), "M");
    EXPECT_EQ(GetOutPhotonColor(lamp, 1), "W");

    const std::string splitter = "SPLTFMWL______MWRMWT01.BMP";
    EXPECT_EQ(GetOutPhotonDirection(splitter, 2), "T");
    EXPECT_EQ(GetOutPhotonDirection(splitter, 1), "R");
    const std::string colourSplit = "SPLRLLRL_________LRT01.BMP";
    EXPECT_EQ(GetOutPhotonSize(colourSplit, 1), "N");
    EXPECT_EQ(GetOutPhotonColor(colourSplit, 1), "N");
    EXPECT_EQ(GetOutPhotonDirection(colourSplit, 1), "N");
    EXPECT_EQ(GetOutPhotonSize(colourSplit, 2), "L");
    EXPECT_EQ(GetOutPhotonColor(colourSplit, 2), "R");
    EXPECT_EQ(GetOutPhotonDirection(colourSplit, 2), "T");
    // Only an upper-case "SPL" marks a splitter.
    EXPECT_EQ(GetOutPhotonDirection("splTFMWL______MWRMWT01.BMP", 2), "R");
}

TEST_F(PictureNamesTest, BadNameOrPhotonNumberIsShown) {
    const std::string shortName = "LAMP__________MWR___0.BMP";
    using Reader = std::string (*)(const std::string&, int16_t);
    const Reader readers[] = {GetOutPhotonSize, GetOutPhotonColor, GetOutPhotonDirection};
    for (Reader reader : readers) {
        platform.ExpectBox(Title);
        EXPECT_EQ(reader(shortName, 1), "E");
    }
    ASSERT_EQ(platform.Boxes().size(), 3u);
    for (const auto& box : platform.Boxes()) {
        EXPECT_EQ(testsupport::Readable(box.text),
                  "ERROR: INVALIED OBJECT VALUE!||The object: " + shortName +
                      "|is invalied! Its Name MUST be| twenty characters in length.");
        EXPECT_EQ(box.flags, ExclamationOk);
    }

    const std::string lamp = "LAMP__________MWR___00.BMP";
    const std::vector<std::pair<Reader, std::string>> lines = {
        {GetOutPhotonSize, "Only out photons 1 and 2 are valied."},
        {GetOutPhotonColor, "Only out photons 1 or 2 are valied."},
        {GetOutPhotonDirection, "Only out photons 1 or 2 are valied."}};
    for (const auto& [reader, line] : lines) {
        for (int16_t photon : {int16_t{0}, int16_t{3}}) {
            platform.ExpectBox(Title);
            EXPECT_EQ(reader(lamp, photon), "E");
            EXPECT_EQ(testsupport::Readable(platform.Boxes().back().text),
                      "ERROR: INVALIED PHOTON NUMBER VALUE!||" + line);
            EXPECT_EQ(platform.Boxes().back().flags, ExclamationOk);
        }
    }
    EXPECT_EQ(platform.Beeps(), 9);
}

// The reference: the look-ups as first written, scanning the file from record 1 on every call.
struct ScannedRecord {
    std::string name;  // 64 characters as stored
    char type;
};

std::string Up(std::string text) {
    for (char& c : text)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<ScannedRecord> ScanFile() {
    platform::RecordFileContents contents;
    EXPECT_FALSE(platform::ReadRecordFile(AppPath + ImageIndexName, 344, contents));
    std::vector<ScannedRecord> records;
    for (const auto& record : contents.records)
        records.push_back({record.Bytes().substr(6, 64), record.Bytes()[74]});
    return records;
}

std::string ScanFindObjectImage(const std::vector<ScannedRecord>& records, const std::string& code,
                                const std::string& colour, const std::string& size,
                                const std::string& travel) {
    std::string key = "        ";
    const std::string c = Trimmed(Up(code));
    key.replace(0, c.size(), c);
    if (!size.empty())
        key[5] = size[0];
    if (!colour.empty())
        key[6] = colour[0];
    key[7] = travel == "L"   ? 'R'
             : travel == "R" ? 'L'
             : travel == "T" ? 'B'
             : travel == "B" ? 'T'
                             : '_';
    key = Up(key);
    if (records.empty())
        return "ERROR2";
    for (const auto& r : records)
        if (Trimmed(Up(r.name.substr(0, 8))) == key)
            return Trimmed(Up(r.name));
    for (const auto& r : records)
        if (Trimmed(Up(r.name.substr(0, 5))) == key.substr(0, 5))
            return Trimmed(Up(r.name));
    return "ERROR1";
}

int ScanLastFrame(const std::vector<ScannedRecord>& records, const std::string& name) {
    if (records.empty())
        return -2;
    int highest = -1;
    for (const auto& r : records) {
        const std::string n = Trimmed(r.name);
        if (n.size() == 26 && Up(n.substr(0, 20)) == Up(name.substr(0, 20)))
            highest = std::max(highest, std::stoi(n.substr(20, 2)));
    }
    return highest;
}

// The position of the first bitmap of the code, or -1.
int ScanBitmapOfCode(const std::vector<ScannedRecord>& records, const std::string& fileName) {
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].type == 'B' && Up(records[i].name.substr(0, 5)) == Up(fileName.substr(0, 5)))
            return static_cast<int>(i);
    return -1;
}

TEST_F(PictureNamesTest, AnswersEqualAScanOfAShuffledIndex) {
    std::mt19937 random(1106);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    const std::vector<std::string> codes = {"REFHT", "refht", "LAMP_", "SPLTF", "DETWH",
                                            "BLANK", "SHUTT", "REF  ", " REFH", "LENCC"};
    const std::vector<std::string> sizes = {"S", "M", "L", "_", "s"};
    const std::vector<std::string> colours = {"R", "W", "g", "_", "C"};
    const std::vector<std::string> sides = {"L", "R", "T", "B", "_"};

    std::vector<IndexEntry> entries;
    for (int stem = 0; stem < 120; ++stem) {
        const std::string name = pick(codes) + pick(sizes) + pick(colours) + pick(sides) +
                                 "______" + pick(sizes) + pick(colours) + pick(sides) + "___";
        for (int frames = 1 + random() % 5, frame = 0; frame < frames; ++frame) {
            std::string full =
                name + (random() % 2 ? "0" : "1") + std::to_string(random() % 10) + ".BMP";
            switch (random() % 8) {
                case 0:
                    full.pop_back();
                    break;
                case 1:
                    full += "X";
                    break;
                case 2:
                    full = " " + full;
                    break;
                default:
                    break;
            }
            entries.push_back(
                {full, "#" + std::to_string(entries.size()), random() % 5 ? 'B' : 'X'});
        }
    }
    std::shuffle(entries.begin(), entries.end(), random);
    WriteImageIndex(AppPath, entries);
    ASSERT_GT(entries.size(), 300u);
    const std::vector<ScannedRecord> records = ScanFile();

    int found = 0;
    for (auto code : codes) {
        for (auto size : sizes) {
            for (auto colour : colours) {
                for (std::string travel : {"L", "R", "T", "B", "X", ""}) {
                    const std::string expected =
                        ScanFindObjectImage(records, code, colour, size, travel);
                    EXPECT_EQ(FindObjectImage(code, colour, size, travel), expected)
                        << code << size << colour << travel;
                    found += expected.starts_with("ERROR") ? 0 : 1;
                }
            }
        }
    }
    EXPECT_GT(found, 0);

    std::set<std::string> stems;
    for (const auto& entry : entries) {
        stems.insert(entry.name.substr(0, 20));
        stems.insert(Up(entry.name.substr(1, 20)));
    }
    for (const auto& stem : stems)
        EXPECT_EQ(GetLastFrameNumber(stem), ScanLastFrame(records, stem)) << stem;

    for (const auto& code : codes) {
        // Names that differ only in case are one file.
        const std::string fileName = code + std::to_string(&code - codes.data()) + ".BMP";
        const int first = ScanBitmapOfCode(records, fileName);
        EXPECT_EQ(LoadIndexImageByCode(fileName), first < 0 ? 1 : 0) << code;
        if (first >= 0) {
            EXPECT_EQ(folder.Read("DATA/" + fileName), entries[first].bytes) << code;
        }
    }
    EXPECT_TRUE(platform.Boxes().empty());
}

}  // namespace
}  // namespace quarvelt
