// The trace tool run as developers run it, on a copy of the game folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace {

std::string Output(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    ::pclose(pipe);
    return output;
}

std::string Board(const std::string& row6, const std::string& condition) {
    std::string text = "size 10 10\n";
    for (int r = 0; r < 10; ++r) {
        if (r == 2)
            text += "row BLANK BLANK BLANK BLANK BLANK BLANK BLANK DETWH BLANK BLANK\n";
        else if (r == 6)
            text += "row " + row6 + "\n";
        else
            text += "row BLANK BLANK BLANK BLANK BLANK BLANK BLANK BLANK BLANK BLANK\n";
    }
    return text + "condition " + condition + "\n";
}

class TraceTool : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    void SetUp() override {
        namespace fs = std::filesystem;
        fs::create_directories(dir.Path() + "game");
        for (const auto& entry : fs::directory_iterator(QUARVELT_GAME_DIR))
            if (entry.is_regular_file() &&
                (entry.path().extension() == ".IDX" || entry.path().extension() == ".MIX"))
                fs::copy_file(entry.path(),
                              dir.Path() + "game/" + entry.path().filename().string());
    }
    std::string Trace(const std::string& board) {
        const std::string file = dir.Write("board.txt", board);
        return Output(std::string("ASAN_OPTIONS=detect_leaks=0 '") + QUARVELT_TRACE + "' '" +
                      dir.Path() + "game' '" + file + "'");
    }
};

}  // namespace

TEST_F(TraceTool, PrintsTheCompileTheAnimationAndTheVerdict) {
    const std::string out =
        Trace(Board("BLANK LAMP_ BLANK LENCC BLANK BLANK BLANK REFLU BLANK BLANK",
                    "11P1__DwTn________________Ta0000~"));
    EXPECT_NE(out.find("compile ok\nphoton 1 size L colour W detector W steps 11 cells 61 62 63 64 "
                       "65 66 67 57 "
                       "47 37 27\nphoton 2 size _ colour _ detector _ steps 0 cells\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("anim rows "), std::string::npos);
    EXPECT_NE(out.find("draw 61 LAMP__________MWR___01.BMP\n"), std::string::npos);
    EXPECT_NE(out.find("draw 27 DETWHLWB____________03.BMP\n"), std::string::npos);
    EXPECT_NE(out.find("tally 0\nplayed complete\nverdict SUCCESSFUL  PUZZLE  COMPLETION | "),
              std::string::npos)
        << out;
}

TEST_F(TraceTool, AFailedCompileStopsAfterThePhotonLines) {
    // Without the lens the medium photon is refused by the white detector.
    const std::string out =
        Trace(Board("BLANK LAMP_ BLANK BLANK BLANK BLANK BLANK REFLU BLANK BLANK",
                    "11P1__DwTn________________Ta0000~"));
    EXPECT_EQ(
        out.find(
            "message COMPILING  THE  PUZZLE | ERROR: INVALIED USE!\\r\\rThe Photon's size is not"),
        0u)
        << out;
    EXPECT_NE(out.find("compile failed\n"), std::string::npos);
    EXPECT_EQ(out.find("anim rows"), std::string::npos);
}
