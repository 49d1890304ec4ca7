// Shipped puzzles carried from one game folder to another over a memory stick
// load in the new folder exactly as they load in the old one.
#include <tuple>

#include "transfer_fixture.h"

using namespace transfer;

TEST_F(Transfer, ShippedPuzzlesExportedAndImportedIntoAFreshGameLoadTheSame) {
    for (const char* base : {"C01FIRSTLIT", "C11TALLY2K", "C03REDYELLO"})
        for (const std::string& name : TransferFileNames(base))
            ASSERT_FALSE(platform::CopyFileVerified(std::string(QUARVELT_GAME_DIR) + name,
                                                    PuzzlePath + name));
    PuzzleInfo firstInfo, tallyInfo;
    PuzzleTables first, tally;
    ASSERT_TRUE(ReadPuzzleFiles(PuzzlePath, "C01FIRSTLIT", firstInfo, first).Ok());
    ASSERT_TRUE(ReadPuzzleFiles(PuzzlePath, "C11TALLY2K", tallyInfo, tally).Ok());

    IXPorterLogic& out = Open(ExportMode);
    ASSERT_EQ(out.TransferCount(), 3);
    std::vector<std::string> chosen;
    for (size_t r = 0; r < out.Items().size(); ++r) {
        const std::string& base =
            out.TransferTable()[static_cast<size_t>(out.ItemData()[r])].baseName;
        if (base == "C01FIRSTLIT" || base == "C11TALLY2K")
            chosen.push_back(out.Items()[r]);
    }
    Select(chosen);
    platform.ExpectBox(InsertTitle);
    platform.ExpectBox(ExportTitle);
    out.OkClick();
    ASSERT_EQ(LastBox().text, "PUZZLE FILES EXPORTED.");

    // A fresh game folder on another computer.
    PuzzlePath = dir.Path() + "OTHER/PUZZLE/";
    ASSERT_FALSE(platform::CreateFolder(PuzzlePath));
    IXPorterLogic& in = Open(ImportMode);
    ASSERT_EQ(in.Items().size(), 2u);
    Select(in.Items());
    platform.ExpectBox(ImportTitle);
    in.OkClick();
    ASSERT_EQ(LastBox().text, "PUZZLE FILES IMPORTED.");

    for (auto [base, info, tables] : {std::tuple{"C01FIRSTLIT", &firstInfo, &first},
                                      std::tuple{"C11TALLY2K", &tallyInfo, &tally}}) {
        SCOPED_TRACE(base);
        PuzzleInfo loaded;
        ASSERT_TRUE(LoadPuzzleFiles(PuzzlePath, base, loaded).Ok());
        EXPECT_EQ(loaded, *info);
        ASSERT_EQ(BoardTable.size(), tables->board.size());
        for (size_t cell = 0; cell < BoardTable.size(); ++cell) {
            EXPECT_EQ(BoardTable[cell].pictureName, tables->board[cell].pictureName);
            EXPECT_EQ(BoardTable[cell].lockFlag, tables->board[cell].lockFlag);
        }
        for (size_t row = 0; row < ToolboxObjectTable.size(); ++row)
            EXPECT_EQ(ToolboxObjectTable[row].stem, tables->toolbox[row].stem);
        // The shipped puzzles are play-only: loaded, they close the transfer.
        EXPECT_EQ(CustomPuzzleFlag, 1);
    }
}
