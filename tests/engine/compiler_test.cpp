// The compiler's failures on pictures the shipped set never has, against small
// fixture indexes.
#include "engine/compiler.h"

#include <gtest/gtest.h>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "engine/board_trace.h"
#include "engine/frame_pictures.h"
#include "platform/files.h"
#include "support/game_folder_test.h"
#include "support/index_fixture.h"

namespace quarvelt {
namespace {

constexpr const char* CompileTitle = "COMPILING  THE  PUZZLE";
const std::string CheckObject = "\r\rPlease check your object and rerun.";

std::string Frame(const std::string& stem, int n) {
    return stem + (n < 10 ? "0" : "") + std::to_string(n) + ".BMP";
}

class CompilerFixtureTest : public testsupport::GameFolderTest {
  protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        Add("LAMP__________MWR___", 5, 0);
        Add("BLANK_______________", 2, 0);
    }

    // Frames `first` to `last` of a 20-character stem.
    void Add(const std::string& stem, int last, int first = 1) {
        for (int n = first; n <= last; ++n)
            pictures.push_back(Frame(stem, n));
    }

    void WriteIndex() {
        std::vector<testsupport::IndexEntry> entries;
        for (const auto& name : pictures)
            entries.push_back({name, name});
        testsupport::WriteImageIndex(AppPath, entries);
    }

    // A 10 by 10 board with the lamp in cell 0 and `code` in cell 1.
    static void LoadBoard(const std::string& code) {
        std::string text = "size 10 10\n";
        for (int cell = 0; cell < 100; ++cell) {
            text += cell % 10 == 0 ? "row" : "";
            text += " " + (cell == 0 ? std::string("LAMP_") : cell == 1 ? code : "BLANK");
            text += cell % 10 == 9 ? "\n" : "";
        }
        BoardFile board;
        std::string error;
        ASSERT_TRUE(ParseBoardFile(text, board, error)) << error;
        LoadBoardFile(board);
    }

    static Flag Compile() {
        Flag ok = True;
        CompilePuzzle(ok);
        return ok;
    }

    // The compile fails with one more box of its own showing `text`, and every
    // photon table is reset.
    void ExpectFailure(const std::string& code, const std::string& text) {
        WriteIndex();
        LoadBoard(code);
        const size_t boxes = platform.Boxes().size();
        platform.ExpectBox(CompileTitle);
        EXPECT_EQ(Compile(), False);
        ASSERT_EQ(platform.Boxes().size(), boxes + 1);
        EXPECT_EQ(testsupport::Readable(platform.Boxes().back().text), testsupport::Readable(text));
        EXPECT_EQ(platform.Beeps(), static_cast<int>(boxes) + 1);
        EXPECT_EQ(platform.PointerLog().back(), platform::Pointer::Default);
        ExpectReset();
    }

    static void ExpectReset() {
        for (int p = 1; p <= 3; ++p) {
            EXPECT_EQ(TracePhotonLine(p),
                      "photon " + std::to_string(p) + " size _ colour _ detector _ steps 0 cells");
            EXPECT_EQ(PhotonState[p][4], "__");
        }
        EXPECT_EQ(PhotonPathTable1[0].firstFrame, std::string(26, ' '));
        EXPECT_EQ(PhotonFrameTable1[0][1], "");
    }

    std::vector<std::string> pictures;
};

TEST_F(CompilerFixtureTest, PicturesTheShippedSetNeverHas) {
    struct Case {
        const char* code;
        const char* stem;
        int frames;
        std::string text;
    };
    const Case cases[] = {
        {"LONG_", "LONG_MWL______MWR___", 17,
         "ERROR: THIS IMAGE, (LONG_MWL______MWR___01.BMP) WASN'T FOUND IN INDEX FILE!"},
        {"ODDD_", "ODDD_MWL______MWX___", 3, "ERROR: NO OUT DIRECTION FOUND!" + CheckObject},
        {"NOCL_", "NOCL_MWL______M_R___", 3, "ERROR:  NO COLOR INFROMATION FOUND!" + CheckObject},
        {"DETZZ", "DETZZMWL____________", 3,
         "INCORRECT SOLUTION!\r\rPhoton's size and or color is not\rcorrect for one of the "
         "DETECTORS!"},
        {"ZZZZZ", "BLANKMWL______MWR___", 3,
         "ERROR: THIS IMAGE, ZZZZZ WASN'T FOUND IN INDEX FILE!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Add(c.stem, c.frames);
        ExpectFailure(c.code, c.text);
    }
}

TEST_F(CompilerFixtureTest, LampFramesMissingFromTheIndex) {
    Add("BLANKMWL______MWR___", 3);
    pictures.erase(pictures.begin() + 3);
    ExpectFailure("BLANK",
                  "ERROR: IMAGE WASN'T FOUND IN INDEX FILE!\r\rThe LAMP__________MWR___03.BMP "
                  "Wasn't found!");
    pictures.clear();
    ExpectFailure("BLANK", EmptyIndexText);
}

TEST_F(CompilerFixtureTest, ArchiveThatCannotGiveAPictureIsReported) {
    Add("BLANKMWL______MWR___", 3);
    WriteIndex();
    ASSERT_FALSE(platform::DeleteFile(AppPath + "QUARVELT000001.MIX"));
    LoadBoard("BLANK");
    platform.ExpectBox(CompileTitle);
    EXPECT_EQ(Compile(), False);
    ASSERT_EQ(platform.Boxes().size(), 1u);
    EXPECT_TRUE(platform.Boxes()[0].text.starts_with("ERROR 53\r")) << platform.Boxes()[0].text;
    ExpectReset();
}

TEST_F(CompilerFixtureTest, CodeOfTheWrongLengthStopsAfterTheLookUpsOwnBox) {
    Add("BLANKMWL______MWR___", 3);
    WriteIndex();
    LoadBoard("BLANK");
    BoardTable[1].pictureName = "ABC";
    platform.ExpectBox("EXECUTE    PUZZLE");
    EXPECT_EQ(Compile(), False);
    EXPECT_EQ(platform.Boxes().size(), 1u);
    ASSERT_FALSE(platform.PointerLog().empty());
    EXPECT_EQ(platform.PointerLog().back(), platform::Pointer::Default);
    ExpectReset();
}

}  // namespace
}  // namespace quarvelt
