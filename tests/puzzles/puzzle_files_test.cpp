#include "puzzles/puzzle_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "common/globals.h"
#include "platform/files.h"
#include "platform/records.h"
#include "puzzles/puzzle_files_fixture.h"
#include "puzzles/puzzle_set_replace.h"
#include "support/child_process.h"
#include "support/file_events.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

using namespace testing_puzzles;

int Mismatches(const PuzzleTables& a, const PuzzleTables& b) {
    int count = 0;
    auto check = [&count](bool same, const std::string& where) {
        if (!same && ++count <= 5)
            ADD_FAILURE() << where;
    };
    check(a.board.size() == b.board.size(), "board size");
    for (size_t i = 0; i < std::min(a.board.size(), b.board.size()); ++i) {
        const BoardCell &x = a.board[i], &y = b.board[i];
        check(std::tie(x.pictureName, x.group, x.button, x.lockFlag, x.lampFlag) ==
                  std::tie(y.pictureName, y.group, y.button, y.lockFlag, y.lampFlag),
              "cell " + std::to_string(i));
    }
    for (size_t i = 0; i < a.toolbox.size(); ++i) {
        const ToolboxObjectRow &x = a.toolbox[i], &y = b.toolbox[i];
        check(std::tie(x.shown, x.stem, x.group, x.archiveOffset, x.button, x.enabled, x.allowed,
                       x.used, x.archiveId, x.imageSize) ==
                  std::tie(y.shown, y.stem, y.group, y.archiveOffset, y.button, y.enabled,
                           y.allowed, y.used, y.archiveId, y.imageSize),
              "tool row " + std::to_string(i));
    }
    for (size_t k = 0; k < a.shutters.size(); ++k)
        for (size_t n = 0; n < a.shutters[k].size(); ++n) {
            const ShutterSlot &x = a.shutters[k][n], &y = b.shutters[k][n];
            check(std::tie(x.cell, x.open, x.objectNumber) ==
                      std::tie(y.cell, y.open, y.objectNumber),
                  "shutter " + std::to_string(k) + "," + std::to_string(n));
        }
    for (size_t c = 0; c < a.keys.size(); ++c)
        for (size_t n = 0; n < a.keys[c].size(); ++n) {
            const KeySlot &x = a.keys[c][n], &y = b.keys[c][n];
            check(std::tie(x.shutterCell, x.cell, x.objectNumber, x.state) ==
                      std::tie(y.shutterCell, y.cell, y.objectNumber, y.state),
                  "key " + std::to_string(c) + "," + std::to_string(n));
            const ClosingSquareSlot &s = a.squares[c][n], &t = b.squares[c][n];
            check(std::tie(s.objectNumber, s.shutterCell, s.cell) ==
                      std::tie(t.objectNumber, t.shutterCell, t.cell),
                  "square " + std::to_string(c) + "," + std::to_string(n));
        }
    for (size_t k = 0; k < a.bonus.size(); ++k)
        for (size_t n = 0; n < a.bonus[k].size(); ++n) {
            const BonusObjSlot &x = a.bonus[k][n], &y = b.bonus[k][n];
            check(std::tie(x.points, x.cell, x.state) == std::tie(y.points, y.cell, y.state),
                  "bonus " + std::to_string(k) + "," + std::to_string(n));
        }
    return count;
}

int16_t Int16At(const std::string& bytes, size_t at) {
    return platform::RecordBuffer(bytes.substr(at, 2)).GetInt16(0);
}

int32_t Int32At(const std::string& bytes, size_t at) {
    return platform::RecordBuffer(bytes.substr(at, 4)).GetInt32(0);
}

std::string Padded(const std::string& text, size_t width) {
    return text + std::string(width - text.size(), ' ');
}

TEST_F(PuzzleFilesTest, WritesEveryRecordByteForByte) {
    PuzzleTables t = SampleTables();
    t.shutters[2][3].open = 5;
    Save(SampleInfo(), t);

    const std::string inf = File("FIRST.INF");
    ASSERT_EQ(inf.size(), 1320u);
    EXPECT_EQ(inf.substr(0, 40), Padded("First Light", 40));
    const char* stored[] = {"FIRST.PZL", "FIRST.INF", "FIRST.TBX", "FIRST.SHC",
                            "FIRST.KYC", "FIRST.SQC", "FIRST.TGC"};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(inf.substr(40 + 24 * i, 24), Padded(stored[i], 24)) << i;
    EXPECT_EQ(inf.substr(208, 20), Padded("FIRST", 20));
    EXPECT_EQ(Int16At(inf, 228), 1);
    EXPECT_EQ(inf.substr(230, 16), Padded("Sesame", 16));
    EXPECT_EQ(inf.substr(246, 10), "03/14/2024");
    EXPECT_EQ(Int16At(inf, 256), 10);
    EXPECT_EQ(Int16At(inf, 258), 12);
    EXPECT_EQ(inf.substr(260, 34), "03P1A>DaTnP2AADaTn________Ta0000~ ");
    EXPECT_EQ(inf.substr(294), Padded("Photon A MUST be Larger than Photon B.", 1026));

    const std::string pzl = File("FIRST.PZL");
    ASSERT_EQ(pzl.size(), 120u * 34);
    const std::string lamp = pzl.substr(13 * 34, 34);
    EXPECT_EQ(lamp.substr(0, 4), "\xFF\xFF\xFF\xFF");  // lamp and lock flags as -1
    EXPECT_EQ(lamp.substr(4, 26), Lamp);
    EXPECT_EQ(Int16At(lamp, 30), 8);
    EXPECT_EQ(Int16At(lamp, 32), 5);
    EXPECT_EQ(pzl.substr(0, 4), std::string(4, '\0'));

    const std::string tbx = File("FIRST.TBX");
    ASSERT_EQ(tbx.size(), 270u * 106);
    EXPECT_EQ(tbx.substr(0, 80), Padded("REFLU_U", 80));
    EXPECT_EQ(Int16At(tbx, 80), 1);
    EXPECT_EQ(Int16At(tbx, 82), 4);
    EXPECT_EQ(Int16At(tbx, 84), -1);
    EXPECT_EQ(Int16At(tbx, 86), -1);
    EXPECT_EQ(Int16At(tbx, 88), 20);
    EXPECT_EQ(Int16At(tbx, 90), 1);
    EXPECT_EQ(tbx.substr(92, 6), "000001");
    EXPECT_EQ(Int32At(tbx, 98), 1);
    EXPECT_EQ(Int32At(tbx, 102), 1077);
    EXPECT_EQ(Int16At(tbx, 2 * 106 + 86), 0);   // the hidden blank
    EXPECT_EQ(Int16At(tbx, 2 * 106 + 88), -1);  // unlimited

    // Link files hold every slot, row by row; cells widen to 32 bits with their sign.
    const std::string shc = File("FIRST.SHC");
    ASSERT_EQ(shc.size(), 192u * 8);
    const std::string shutter = shc.substr((32 + 2) * 8, 8);  // kind 2, slot 3
    EXPECT_EQ(Int16At(shutter, 0), 14);
    EXPECT_EQ(shutter.substr(2, 4), std::string("\x77\0\0\0", 4));
    EXPECT_EQ(Int16At(shutter, 6), -1);  // open state 5 is stored as -1
    EXPECT_EQ(shc.substr(2, 4), "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(Int16At(shc, 191 * 8), 18);
    EXPECT_EQ(Int32At(shc, 191 * 8 + 2), 40);

    const std::string kyc = File("FIRST.KYC");
    ASSERT_EQ(kyc.size(), 96u * 12);
    EXPECT_EQ(Int16At(kyc, 64 * 12), 12);
    EXPECT_EQ(Int32At(kyc, 64 * 12 + 2), 50);  // its own cell
    EXPECT_EQ(Int32At(kyc, 64 * 12 + 6), 40);  // the shutter's
    EXPECT_EQ(Int16At(kyc, 64 * 12 + 10), 0);

    const std::string sqc = File("FIRST.SQC");
    ASSERT_EQ(sqc.size(), 96u * 10);
    EXPECT_EQ(Int16At(sqc, 33 * 10), 8);  // colour 2, slot 2
    EXPECT_EQ(Int32At(sqc, 33 * 10 + 2), 51);
    EXPECT_EQ(Int32At(sqc, 33 * 10 + 6), 119);

    const std::string tgc = File("FIRST.TGC");
    ASSERT_EQ(tgc.size(), 96u * 10);
    EXPECT_EQ(Int16At(tgc, 0), 1);  // a free slot still names its kind
    EXPECT_EQ(Int32At(tgc, 2), -1);
    EXPECT_EQ(Int16At(tgc, 95 * 10), 6);
    EXPECT_EQ(Int32At(tgc, 95 * 10 + 2), 52);
    EXPECT_EQ(Int16At(tgc, 95 * 10 + 6), 9999);
    EXPECT_EQ(Int16At(tgc, 95 * 10 + 8), 0);

    std::vector<std::string> expected(std::begin(stored), std::end(stored));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(), expected);  // no temporary file left behind
}

TEST_F(PuzzleFilesTest, LoadGivesBackEveryTableSlotForSlot) {
    const PuzzleTables saved = SampleTables();
    Save(SampleInfo(), saved);

    // A different board before the load: nothing of it may survive.
    const PuzzleTables before = ClearedTables(15, 15);
    BoardTable = before.board;
    ShutterTable = before.shutters;
    KeyTable = before.keys;
    ClosingSquareTable = before.squares;
    BonusObjTable = before.bonus;
    ShutterTable[6][31].cell = 77;
    ToolboxObjectTable[200] = ToolRow("STALE_U", 3, 9);

    PuzzleInfo info;
    const PuzzleFileResult result = LoadPuzzleFiles(PuzzlePath, " first ", info);
    ASSERT_TRUE(result.Ok()) << result.file << ": " << result.reason;
    EXPECT_EQ(info, SampleInfo());
    EXPECT_EQ(Mismatches(CurrentPuzzleTables(), saved), 0);
    EXPECT_EQ(BoardRows, 10);
    EXPECT_EQ(BoardCols, 12);
    EXPECT_EQ(CellCount, 120);
    EXPECT_EQ(CustomPuzzleFlag, 1);

    // A board file that runs on past its board, up to a 60 by 60 board's size, loads the same.
    std::string pzl = File("FIRST.PZL");
    pzl.resize(3600 * 34, 'x');
    folder.Write("FIRST.PZL", pzl);
    ASSERT_TRUE(LoadPuzzleFiles(PuzzlePath, "FIRST", info).Ok());
    EXPECT_EQ(Mismatches(CurrentPuzzleTables(), saved), 0);
}

TEST_F(PuzzleFilesTest, NamesAreCutToTheirFields) {
    PuzzleInfo info = SampleInfo();
    info.puzzleName = std::string(40, 'N') + "TAILS";
    info.SetBaseName(std::string(20, 'B'));
    Save(info);
    const std::string inf = File(std::string(20, 'B') + ".INF");
    EXPECT_EQ(inf.substr(0, 40), std::string(40, 'N'));
    EXPECT_EQ(inf.substr(40, 24), std::string(20, 'B') + ".PZL");

    PuzzleInfo read;
    ASSERT_TRUE(ReadPuzzleInfo(PuzzlePath + std::string(20, 'B') + ".INF", read).Ok());
    EXPECT_EQ(read.puzzleName, std::string(40, 'N'));
    EXPECT_EQ(read.tgcFile, std::string(20, 'B') + ".TGC");

    // A longer base name would be cut and its set lost; it is refused before anything is written.
    const std::vector<std::string> written = Names();
    for (const std::string& base : {std::string(21, 'C'), std::string("A/B"), std::string(" ")}) {
        info.baseName = base;
        EXPECT_EQ(SavePuzzleFiles(PuzzlePath, info, SampleTables()).status,
                  PuzzleFileStatus::Refused)
            << base;
    }
    EXPECT_EQ(Names(), written);
}

TEST_F(PuzzleFilesTest, LinkRecordsFillTheirRowsInFileOrder) {
    PuzzleTables saved = SampleTables();
    saved.board[100] = saved.board[101] = {Resting("SHHOR"), 4, 11, False, False};
    Save(SampleInfo(), saved);
    // What the caller's tables hold never shows through.
    PuzzleTables tables = ClearedTables(10, 12);
    tables.shutters[1][1] = {33, 1, 13};
    tables.bonus[6][16] = {5, 52, 0};

    // Records 1 to 3 carry the numbers 0, 15, 15: row 3 slots 1 and 2 only.
    platform::RecordBuffer r(8);
    std::vector<platform::RecordBuffer> records(3, r);
    records[1].PutInt16(0, 15);
    records[1].PutInt32(2, 100);
    records[2].PutInt16(0, 15);
    records[2].PutInt32(2, 101);
    records[2].PutInt16(6, -1);
    ASSERT_FALSE(platform::WriteRecordFile(PuzzlePath + "FIRST.SHC", records));
    // One record short: the last slot of kind 6 stays free.
    const std::string tgc = File("FIRST.TGC");
    folder.Write("FIRST.TGC", tgc.substr(0, 95 * 10));

    PuzzleInfo info;
    ASSERT_TRUE(ReadPuzzleFiles(PuzzlePath, "FIRST", info, tables).Ok());
    PuzzleTables expected = saved;
    expected.shutters = ClearedTables(10, 12).shutters;
    expected.shutters[3][1] = {100, 0, 15};
    expected.shutters[3][2] = {101, -1, 15};
    expected.bonus[6][16] = {0, -1, -1};
    EXPECT_EQ(Mismatches(tables, expected), 0);
}

// The game's own saves write all seven files: a set without one of them has
// lost something, and is refused naming the file, which is not made up.
TEST_F(PuzzleFilesTest, AMissingFileIsRefusedByNameAndNotCreated) {
    PuzzleInfo info;
    PuzzleTables tables;
    EXPECT_EQ(ReadPuzzleFiles(PuzzlePath, "NOWHERE", info, tables).status,
              PuzzleFileStatus::InfMissing);
    EXPECT_EQ(ReadPuzzleFiles(PuzzlePath + "NOFOLDER/", "FIRST", info, tables).status,
              PuzzleFileStatus::Failed);
    for (const char* name : {"FIRST.KYC", "FIRST.PZL"}) {
        Save();
        ASSERT_FALSE(platform::DeleteFile(PuzzlePath + name));
        const PuzzleFileResult result = ReadPuzzleFiles(PuzzlePath, "FIRST", info, tables);
        EXPECT_EQ(PuzzleFailureText(result),
                  std::string("ERROR: PUZZLE FILES DAMAGED!\r\r") + name + ": missing");
        EXPECT_FALSE(platform::IsFile(PuzzlePath + name));
    }
}

struct Damage {
    const char* what;
    const char* file;
    std::function<void(std::string&)> change;
    bool tooLarge = false;
};

void PutInt16(std::string& bytes, size_t at, int16_t value) {
    platform::RecordBuffer buffer(2);
    buffer.PutInt16(0, value);
    bytes.replace(at, 2, buffer.Bytes());
}

void PutInt32(std::string& bytes, size_t at, int32_t value) {
    platform::RecordBuffer buffer(4);
    buffer.PutInt32(0, value);
    bytes.replace(at, 4, buffer.Bytes());
}

const std::vector<Damage>& Damages() {
    static const std::vector<Damage> damages = {
        {"nine rows", "INF", [](std::string& b) { PutInt16(b, 256, 9); }},
        {"61 columns", "INF", [](std::string& b) { PutInt16(b, 258, 61); }},
        {"short information", "INF", [](std::string& b) { b.resize(1319); }},
        {"slash in a name", "INF", [](std::string& b) { b.replace(40, 10, "../X.PZL  "); }},
        {"backslash in a name", "INF", [](std::string& b) { b.replace(88, 6, "A\\.TBX"); }},
        {"colon in a name", "INF", [](std::string& b) { b.replace(112, 6, "C:.SHC"); }},
        {"control character", "INF", [](std::string& b) { b[185] = '\t'; }},
        {"blank name", "INF", [](std::string& b) { b.replace(160, 24, std::string(24, ' ')); }},
        {"bad base name", "INF", [](std::string& b) { b[208] = '/'; }},
        {"a cell short", "PZL", [](std::string& b) { b.resize(b.size() - 34); }},
        {"group 6", "PZL", [](std::string& b) { PutInt16(b, 5 * 34 + 32, 6); }},
        {"group -1", "PZL", [](std::string& b) { PutInt16(b, 5 * 34 + 32, -1); }},
        {"button 66", "PZL", [](std::string& b) { PutInt16(b, 5 * 34 + 30, 66); }},
        {"short picture", "PZL", [](std::string& b) { b[5 * 34 + 29] = ' '; }},
        {"picture not .BMP", "PZL", [](std::string& b) { b.replace(5 * 34 + 26, 4, ".bmp"); }},
        {"dot in a picture", "PZL", [](std::string& b) { b[5 * 34 + 6] = '.'; }},
        {"269 tool rows", "TBX", [](std::string& b) { b.resize(269 * 106); }},
        {"271 tool rows", "TBX", [](std::string& b) { b += b.substr(0, 106); }, true},
        {"tool group 6", "TBX", [](std::string& b) { PutInt16(b, 80, 6); }},
        {"tool button -2", "TBX", [](std::string& b) { PutInt16(b, 82, -2); }},
        {"six-letter stem", "TBX", [](std::string& b) { b[6] = ' '; }},
        {"stem ending X", "TBX", [](std::string& b) { b[6] = 'X'; }},
        {"free row with a picture", "TBX", [](std::string& b) { PutInt32(b, 269 * 106 + 98, 5); }},
        {"shutter number 19", "SHC", [](std::string& b) { PutInt16(b, 8, 19); }},
        {"shutter number 12", "SHC", [](std::string& b) { PutInt16(b, 8, 12); }},
        {"shutter off the board", "SHC", [](std::string& b) { PutInt32(b, 8 + 2, 120); }},
        {"33 shutters of one kind", "SHC", [](std::string& b) { PutInt16(b, 32 * 8, 13); }},
        {"key number 13", "KYC", [](std::string& b) { PutInt16(b, 0, 13); }},
        {"key cell -2", "KYC", [](std::string& b) { PutInt32(b, 2, -2); }},
        {"key's shutter off the board", "KYC", [](std::string& b) { PutInt32(b, 6, 65536); }},
        {"square number 10", "SQC", [](std::string& b) { PutInt16(b, 0, 10); }},
        {"square's shutter off the board", "SQC", [](std::string& b) { PutInt32(b, 6, 120); }},
        {"bonus kind 7", "TGC", [](std::string& b) { PutInt16(b, 0, 7); }},
        {"17 bonus objects of a kind", "TGC", [](std::string& b) { PutInt16(b, 16 * 10, 1); }},
        {"bonus cell off the board", "TGC", [](std::string& b) { PutInt32(b, 2, 32767); }},
        // No file may be larger than the largest set: one record, a 60 by 60 board, the tables.
        {"information and a byte", "INF", [](std::string& b) { b += 'x'; }, true},
        {"a byte past a 60 by 60 board", "PZL", [](std::string& b) { b.resize(3600 * 34 + 1); },
         true},
        {"tool rows and a byte", "TBX", [](std::string& b) { b += 'x'; }, true},
        {"shutters and a byte", "SHC", [](std::string& b) { b += 'x'; }, true},
        {"keys and a byte", "KYC", [](std::string& b) { b += 'x'; }, true},
        {"squares and a byte", "SQC", [](std::string& b) { b += 'x'; }, true},
        {"bonus objects and a byte", "TGC", [](std::string& b) { b += 'x'; }, true},
    };
    return damages;
}

TEST_F(PuzzleFilesTest, DamagedSetsAreRefusedWholeAndChangeNothing) {
    Save();
    const PuzzleTables program = ClearedTables(15, 15);
    for (const Damage& damage : Damages()) {
        SCOPED_TRACE(damage.what);
        const std::string name = std::string("FIRST.") + damage.file;
        const std::string good = File(name);
        std::string bad = good;
        damage.change(bad);
        folder.Write(name, bad);

        BoardRows = BoardCols = 15;
        CellCount = 225;
        BoardTable = program.board;
        ToolboxObjectTable = program.toolbox;
        ShutterTable = program.shutters;
        KeyTable = program.keys;
        ClosingSquareTable = program.squares;
        BonusObjTable = program.bonus;
        CustomPuzzleFlag = 0;
        PuzzleInfo info;
        info.puzzleName = "untouched";

        const PuzzleFileResult result = LoadPuzzleFiles(PuzzlePath, "FIRST", info);
        EXPECT_EQ(result.status,
                  damage.tooLarge ? PuzzleFileStatus::TooLarge : PuzzleFileStatus::Damaged)
            << result.reason;
        EXPECT_EQ(result.file, name);
        EXPECT_EQ(info.puzzleName, "untouched");
        EXPECT_EQ(Mismatches(CurrentPuzzleTables(), program), 0);
        EXPECT_EQ(BoardRows * BoardCols, 225);
        EXPECT_EQ(CellCount, 225);
        EXPECT_EQ(CustomPuzzleFlag, 0);
        folder.Write(name, good);
    }
    // A file is read through what was opened and checked: a damaged board
    // swapped in once the good one was opened is not what the load reads.
    folder.Write("SWAP", "short");
    testsupport::FileEventHookScope swap([opened = 0](const platform::FileEvent& event) mutable {
        if (opened == 1 && ++opened)
            std::filesystem::rename(PuzzlePath + "SWAP", PuzzlePath + "FIRST.PZL");
        if (event.kind == platform::FileEventKind::OpenRead && event.name == "FIRST.PZL")
            opened += opened == 0;
        return 0;
    });
    PuzzleInfo info;
    EXPECT_TRUE(LoadPuzzleFiles(PuzzlePath, "FIRST", info).Ok());
    EXPECT_EQ(File("FIRST.PZL"), "short");
}

TEST_F(PuzzleFilesTest, WriterRefusesWhatCouldNotBeReadBack) {
    PuzzleTables t = SampleTables();
    t.board[7].pictureName.clear();
    EXPECT_EQ(SavePuzzleFiles(PuzzlePath, SampleInfo(), t).status, PuzzleFileStatus::Refused);
    t = SampleTables();
    t.keys[1][1].cell = 120;
    const PuzzleFileResult result = SavePuzzleFiles(PuzzlePath, SampleInfo(), t);
    EXPECT_EQ(result.status, PuzzleFileStatus::Refused);
    EXPECT_EQ(result.file, "FIRST.KYC");
    t = SampleTables();
    t.board.pop_back();
    EXPECT_EQ(SavePuzzleFiles(PuzzlePath, SampleInfo(), t).status, PuzzleFileStatus::Refused);
    // Only the base names the library takes: a blank inside would break the
    // marker's lines, a dot or lower case the names a drive tells apart.
    for (const char* base : {"MY PUZ", "SP.CE", "first", "ABCDEFGHIJKLMNOPQRSTU"}) {
        PuzzleInfo info = SampleInfo();
        info.SetBaseName(base);
        EXPECT_EQ(SavePuzzleFiles(PuzzlePath, info, SampleTables()).status,
                  PuzzleFileStatus::Refused)
            << base;
    }
    EXPECT_TRUE(Names().empty());
}

TEST_F(PuzzleFilesTest, FailedWriteKeepsTheOldSetWhole) {
    Save();
    std::vector<std::string> oldBytes;
    for (const char* ext : PuzzleFileExtensions)
        oldBytes.push_back(File(std::string("FIRST") + ext));
    const std::vector<std::string> oldNames = Names();

    PuzzleInfo changed = SampleInfo();
    changed.puzzleName = "Second Light";
    PuzzleTables tables = SampleTables();
    tables.board[14] = {Reflector, 1, 4, True, False};

    // A folder where the last temporary file or where an old file should be.
    for (const std::string& blocker : {PuzzleTempFileName("FIRST.TGC"), std::string("X")}) {
        SCOPED_TRACE(blocker);
        std::string blocked = blocker;
        if (blocker == "X") {
            ASSERT_FALSE(platform::DeleteFile(PuzzlePath + "FIRST.SQC"));
            blocked = "FIRST.SQC";
        }
        std::filesystem::create_directory(PuzzlePath + blocked);
        const PuzzleFileResult result = SavePuzzleFiles(PuzzlePath, changed, tables);
        EXPECT_EQ(result.status, PuzzleFileStatus::Failed);
        EXPECT_NE(result.error.number, 0);
        EXPECT_EQ(result.file, blocker == "X" ? "FIRST.SQC" : "FIRST.TGC");
        for (size_t i = 0; i < PuzzleFileExtensions.size(); ++i) {
            const std::string name = std::string("FIRST") + PuzzleFileExtensions[i];
            if (name != blocked) {
                EXPECT_EQ(File(name), oldBytes[i]) << name;
            }
        }
        std::filesystem::remove(PuzzlePath + blocked);
        if (blocker == "X")
            folder.Write("FIRST.SQC", oldBytes[5]);
        EXPECT_EQ(Names(), oldNames);
    }

    // One write-protected file, or one larger than any set has (it is not
    // read), keeps the whole set, and says why.
    const std::string sqc = PuzzlePath + "FIRST.SQC", pzl = PuzzlePath + "FIRST.PZL";
    const std::string pzlTemp = PuzzlePath + PuzzleTempFileName("FIRST.PZL");
    struct Block {
        const char* file;
        std::function<void()> make, undo;
        const char* error;
        PuzzleFileStatus status;
    };
    const std::vector<Block> blocks = {
        {"FIRST.SQC", [&] { ::chmod(sqc.c_str(), 0444); }, [&] { ::chmod(sqc.c_str(), 0644); },
         "ERROR 70\rPermission denied", PuzzleFileStatus::Failed},
        {"FIRST.PZL",
         [&] { std::filesystem::resize_file(pzl, PuzzleFileSizeLimit(PuzzleFile::Pzl) + 1); },
         [&] { std::filesystem::resize_file(pzl, oldBytes[1].size()); }, "ERROR 0\r",
         PuzzleFileStatus::TooLarge},
    };
    for (const Block& block : blocks) {
        SCOPED_TRACE(block.file);
        block.make();
        const PuzzleFileResult result = SavePuzzleFiles(PuzzlePath, changed, tables);
        block.undo();
        EXPECT_EQ(result.status, block.status);
        EXPECT_EQ(result.file, block.file);
        EXPECT_EQ(platform::ErrorText(result.error), block.error);
        for (size_t i = 0; i < PuzzleFileExtensions.size(); ++i)
            EXPECT_EQ(File(std::string("FIRST") + PuzzleFileExtensions[i]), oldBytes[i]);
        EXPECT_EQ(Names(), oldNames);
    }

    EXPECT_EQ(SavePuzzleFiles(PuzzlePath + "MISSING/", changed, tables).status,
              PuzzleFileStatus::Failed);
    // Once committed, a temporary another file took the place of after its
    // check gives way to the bytes checked, and the new set is whole.
    {
        testsupport::FileEventHookScope swap(testsupport::AtReplaceSteps([&](int step) {
            std::string bytes;
            if (step == 2 && !platform::ReadWholeFile(pzlTemp, bytes)) {
                bytes[0] ^= 1;
                platform::WriteFileAtomic(pzlTemp, bytes);
            }
            return 0;
        }));
        ASSERT_TRUE(SavePuzzleFiles(PuzzlePath, changed, tables).Ok());
    }
    PuzzleTables read;
    PuzzleInfo readInfo;
    ASSERT_TRUE(ReadPuzzleFiles(PuzzlePath, "FIRST", readInfo, read).Ok());
    EXPECT_EQ(read.board[14].pictureName, Reflector);
    EXPECT_EQ(Names(), oldNames);
    Save(changed, tables);
    PuzzleInfo info;
    ASSERT_TRUE(ReadPuzzleInfo(PuzzlePath + "FIRST.INF", info).Ok());
    EXPECT_EQ(info.puzzleName, "Second Light");
}

TEST_F(PuzzleFilesTest, ALoadStartsFromResetLinkTablesWhateverCameBefore) {
    // A 60 by 60 puzzle with a shutter far beyond any small board.
    PuzzleInfo big = SampleInfo();
    big.SetBaseName("BIG");
    big.boardRows = big.boardCols = 60;
    PuzzleTables large = ClearedTables(60, 60);
    large.board[3500] = {Resting("SHHBN"), 4, 9, False, False};
    large.shutters[1][1] = {3500, 1, 13};
    large.board[3499] = {Resting("KEYBN"), 3, 2, False, False};
    large.keys[1][5] = {3500, 3499, 10, 0};
    large.board[3498] = {Resting("DIAM_"), 2, 1, False, False};
    large.bonus[1][9] = {70, 3498, 0};
    Save(big, large);
    PuzzleInfo small = SampleInfo();
    small.SetBaseName("SMALL");
    small.boardRows = small.boardCols = 10;
    Save(small, ClearedTables(10, 10));

    struct Case {
        const char* what;
        std::function<void()> damage;
    };
    const char* links[] = {"SMALL.SHC", "SMALL.KYC", "SMALL.SQC", "SMALL.TGC"};
    const Case cases[] = {{"link files empty",
                           [&] {
                               for (const char* name : links)
                                   folder.Write(name, "");
                           }},
                          {"link files short", [&] {
                               for (const char* name : links)
                                   folder.Write(name, File(name).substr(0, 3 * 8 + 5));
                           }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.damage();
        PuzzleInfo info;
        ASSERT_TRUE(LoadPuzzleFiles(PuzzlePath, "BIG", info).Ok());
        ASSERT_EQ(ShutterTable[1][1].cell, 3500);
        const PuzzleFileResult result = LoadPuzzleFiles(PuzzlePath, "SMALL", info);
        ASSERT_TRUE(result.Ok()) << result.file << ": " << result.reason;
        EXPECT_EQ(CellCount, 100);
        EXPECT_EQ(Mismatches(CurrentPuzzleTables(), ClearedTables(10, 10)), 0);

        // The tables a caller hands over are no starting point either.
        PuzzleTables tables = large;
        ASSERT_TRUE(ReadPuzzleFiles(PuzzlePath, "SMALL", info, tables).Ok());
        EXPECT_EQ(Mismatches(tables, ClearedTables(10, 10)), 0);
        Save(small, ClearedTables(10, 10));
    }
}

TEST_F(PuzzleFilesTest, SlotsTheBoardContradictsAreFreedAndTheSetLoads) {
    // The sample, plus a brown shutter in cell 0 with a key and a square of its own.
    PuzzleTables sound = SampleTables();
    sound.board[0] = {Resting("SHHBN"), 4, 9, False, False};
    sound.board[1] = {Resting("KEYBN"), 3, 2, False, False};
    sound.board[2] = {Resting("SQRBN"), 3, 4, False, False};
    sound.board[3] = {Resting("DIAM_"), 2, 1, False, False};
    sound.shutters[1][1] = {0, 0, 13};
    sound.keys[1][1] = {0, 1, 10, -1};
    sound.squares[1][1] = {7, 0, 2};
    sound.bonus[1][1] = {25, 3, 0};
    // Freed as the editor's removal leaves a slot; a slot keeps the number of its row.
    const BonusObjSlot freeBonus{0, -1, 1};

    struct Case {
        const char* what;
        std::function<void(PuzzleTables&)> change;
        std::function<void(PuzzleTables&)> freed;
    };
    auto shutter = [&](int k, int n) {
        return [=](PuzzleTables& t) { t.shutters[k][n].cell = -1, t.shutters[k][n].open = 0; };
    };
    auto key = [&](int c, int n) {
        return [=](PuzzleTables& t) { t.keys[c][n] = {-1, -1, t.keys[c][n].objectNumber, -1}; };
    };
    auto square = [&](int c, int n) {
        return [=](PuzzleTables& t) { t.squares[c][n] = {t.squares[c][n].objectNumber, -1, -1}; };
    };
    auto bonus = [&](int k, int n) { return [=](PuzzleTables& t) { t.bonus[k][n] = freeBonus; }; };
    const Case cases[] = {
        {"shutter on an empty cell",
         [](PuzzleTables& t) {
             t.shutters[3][4] = {5, 1, 15};
         },
         shutter(3, 4)},
        {"shutter on another kind's cell",
         [](PuzzleTables& t) {
             t.shutters[3][4] = {119, 1, 15};
         },
         shutter(3, 4)},
        {"shutter on a key",
         [](PuzzleTables& t) {
             t.shutters[1][2] = {1, 0, 13};
         },
         shutter(1, 2)},
        {"second shutter slot on one cell",
         [](PuzzleTables& t) {
             t.shutters[1][9] = {0, 0, 13};
         },
         shutter(1, 9)},
        {"key on an empty cell",
         [](PuzzleTables& t) {
             t.keys[1][2] = {0, 6, 10, 0};
         },
         key(1, 2)},
        {"key on another colour's key",
         [](PuzzleTables& t) {
             t.keys[2][1] = {119, 50, 11, 0};
         },
         key(2, 1)},
        {"key linked to an empty cell", [](PuzzleTables& t) { t.keys[1][1].shutterCell = 7; },
         key(1, 1)},
        {"key linked to nothing", [](PuzzleTables& t) { t.keys[1][1].shutterCell = -1; },
         key(1, 1)},
        {"key slot without its own cell",
         [](PuzzleTables& t) {
             t.keys[3][7] = {40, -1, 12, 0};
         },
         key(3, 7)},
        {"second key slot on one cell",
         [](PuzzleTables& t) {
             t.keys[1][30] = {0, 1, 10, 0};
         },
         key(1, 30)},
        {"square on a key",
         [](PuzzleTables& t) {
             t.squares[1][3] = {7, 0, 1};
         },
         square(1, 3)},
        {"square linked to a square", [](PuzzleTables& t) { t.squares[2][2].shutterCell = 51; },
         square(2, 2)},
        {"trigger on an empty cell",
         [](PuzzleTables& t) {
             t.bonus[2][4] = {10, 9, 0};
         },
         bonus(2, 4)},
        {"trigger on another kind's object",
         [](PuzzleTables& t) {
             t.bonus[2][4] = {10, 52, 0};
         },
         bonus(2, 4)},
        {"second trigger on one object",
         [](PuzzleTables& t) {
             t.bonus[1][5] = {10, 3, 0};
         },
         bonus(1, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PuzzleTables bad = sound;
        c.change(bad);
        Save(SampleInfo(), bad);
        PuzzleInfo info;
        const PuzzleFileResult result = LoadPuzzleFiles(PuzzlePath, "FIRST", info);
        ASSERT_TRUE(result.Ok()) << result.file << ": " << result.reason;
        PuzzleTables expected = bad;
        c.freed(expected);
        EXPECT_EQ(Mismatches(CurrentPuzzleTables(), expected), 0);
    }
    // The sound set loads as it was saved; a link to a shutter of another colour
    // is the designer's choice, not a contradiction.
    sound.keys[1][1].shutterCell = 40;
    sound.squares[1][1].shutterCell = 119;
    Save(SampleInfo(), sound);
    PuzzleInfo info;
    ASSERT_TRUE(LoadPuzzleFiles(PuzzlePath, "FIRST", info).Ok());
    EXPECT_EQ(Mismatches(CurrentPuzzleTables(), sound), 0);
}

}  // namespace
}  // namespace quarvelt
