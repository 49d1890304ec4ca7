// The puzzle transfer on folders of the test's own: the puzzle folder, and
// drives whose letters point at temporary folders (C: fixed, D: a memory
// stick, E: a disc). Every message box is expected.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/tables.h"
#include "platform/files.h"
#include "platform/records.h"
#include "puzzles/ix_porter_logic.h"
#include "puzzles/puzzle_files.h"
#include "puzzles/puzzle_names.h"
#include "support/file_events.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace transfer {

using namespace quarvelt;

inline const char* const ExportTitle = "EXPORT PUZZLE FILES";
inline const char* const ImportTitle = "IMPORT PUZZLE FILES";
inline const char* const InsertTitle = "EXPORT    PUZZLES";
inline const char* const MediaTitle = "IMPORT  PUZZLE  FILES";
inline const char* const ListingTitle = "LOCATING  PUZZLE  FILES";

// The scripted platform, with a hook run as each box comes up: the moment a
// drive is changed under a waiting question.
class HookedPlatform : public testsupport::ScriptedPlatform {
  public:
    std::function<void(const std::string& title)> atBox;
    int Show(const std::string& text, int flags, const std::string& title) override {
        if (atBox)
            atBox(title);
        return ScriptedPlatform::Show(text, flags, title);
    }
};

class Transfer : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    HookedPlatform platform;
    std::string stick;  // D:
    std::string disc;   // E:
    std::optional<IXPorterLogic> dialog;

    void SetUp() override {
        ResetGlobals();
        PuzzlePath = dir.Path() + "PUZZLE/";
        stick = dir.Path() + "STICK/";
        disc = dir.Path() + "DISC/";
        for (const std::string& folder : {PuzzlePath, stick, disc, dir.Path() + "ROOT/"})
            ASSERT_FALSE(platform::CreateFolder(folder));
        platform.drives = {{'C', platform::DriveKind::Fixed, dir.Path() + "ROOT/"},
                           {'D', platform::DriveKind::Removable, stick},
                           {'E', platform::DriveKind::CdRom, disc}};
    }
    void TearDown() override { ResetGlobals(); }

    // A 10 by 10 puzzle with its lamp in the first cell.
    static void WritePuzzle(const std::string& folder, const std::string& base,
                            const std::string& puzzleName, const std::string& key = "UNKEYED") {
        ASSERT_FALSE(platform::CreateFolder(folder));
        PuzzleInfo info;
        info.puzzleName = puzzleName;
        info.SetBaseName(base);
        info.boardRows = 10;
        info.boardCols = 10;
        info.puzzleKey = key;
        info.puzzleDate = "03/04/2025";
        info.specialCondCode = "00                              ~";
        PuzzleTables tables = CurrentPuzzleTables();
        tables.board.assign(100, {"BLANK_______________00.BMP", 5, 0, False, False});
        tables.board[0] = {"LAMP________________00.BMP", 0, 0, False, True};
        // The game writes only names its library takes; a drive from elsewhere
        // may hold others, written here under a name it takes and renamed.
        const bool ours = IsPuzzleBaseName(base);
        if (!ours)
            info.SetBaseName("ZZOTHER");
        const PuzzleFileResult result = SavePuzzleFiles(folder, info, tables);
        ASSERT_TRUE(result.Ok()) << result.file << ": " << result.reason;
        if (ours)
            return;
        const char* stored[] = {".PZL", ".INF", ".TBX", ".SHC", ".KYC", ".SQC", ".TGC"};
        for (size_t i = 0; i < 7; ++i)
            std::filesystem::rename(folder + "ZZOTHER" + stored[i], folder + base + stored[i]);
        const std::string inf = folder + base + ".INF";
        for (size_t i = 0; i < 7; ++i)
            Patch(inf, 40 + 24 * i, 24, base + stored[i]);
        Patch(inf, 208, 20, base);
    }
    // Writes `text` blank-filled into a field of the information file.
    static void Patch(const std::string& path, size_t offset, size_t width,
                      const std::string& text) {
        std::string bytes = Bytes(path);
        platform::RecordBuffer record(bytes);
        record.PutText(offset, width, text);
        ASSERT_FALSE(platform::WriteFileAtomic(path, record.Bytes()));
    }
    static std::string Bytes(const std::string& path) {
        std::string bytes;
        EXPECT_FALSE(platform::ReadWholeFile(path, bytes)) << path;
        return bytes;
    }
    static std::vector<std::string> Files(const std::string& folder) {
        std::vector<std::string> names;
        platform::ListFiles(folder, names);
        return names;
    }
    static std::vector<std::string> SetOf(const std::string& base) {
        const TransferNames names = TransferFileNames(base);
        return {names.begin(), names.end()};
    }
    static std::vector<std::string> Sorted(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    }
    // Every file of the set is in both folders with the same bytes.
    static void ExpectSameSet(const std::string& a, const std::string& b, const std::string& base) {
        for (const std::string& name : TransferFileNames(base))
            EXPECT_EQ(Bytes(a + name), Bytes(b + name)) << name;
    }

    // A fresh window in `mode`, answering the drive question with `drive`; the
    // boxes of `titles` are expected after the import's media prompt.
    IXPorterLogic& Open(const std::string& mode, const std::string& drive = "D:",
                        const std::vector<std::string>& titles = {}) {
        dialog.emplace();
        dialog->pzlMode = mode;
        platform.ExpectInput(drive);
        if (mode == ImportMode)
            platform.ExpectBox(MediaTitle);
        for (const std::string& title : titles)
            platform.ExpectBox(title);
        dialog->Activate();
        return *dialog;
    }
    // Exports the puzzles that show these names through a fresh window, which
    // ends with one box of its own after the disk prompt.
    IXPorterLogic& Export(const std::vector<std::string>& names) {
        IXPorterLogic& d = Open(ExportMode);
        Select(names);
        platform.ExpectBox(InsertTitle);
        platform.ExpectBox(ExportTitle);
        d.OkClick();
        return d;
    }
    // Selects the list rows that show these names, and only those.
    void Select(const std::vector<std::string>& names) {
        std::vector<bool> selected;
        for (const std::string& item : dialog->Items())
            selected.push_back(std::find(names.begin(), names.end(), item) != names.end());
        dialog->ListClick(selected);
    }
    // Caps the memory this process may take at what it has and 1 GiB more,
    // far below the files the hostile drives hold; false when it can't.
    static bool CapMemory() {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t cap = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (rlim_t{1} << 30);
        const rlimit limit{cap, cap};
        return ::setrlimit(RLIMIT_AS, &limit) == 0;
    }
    testsupport::BoxCall LastBox() const {
        return platform.Boxes().empty() ? testsupport::BoxCall{} : platform.Boxes().back();
    }
};

}  // namespace transfer
