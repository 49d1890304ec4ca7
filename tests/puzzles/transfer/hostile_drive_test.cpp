// Drives that change under the transfer while a box waits, files that are no
// files or far too large, and folders of more names than a 16-bit count holds.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/library.h"
#include "puzzles/puzzle_set_replace.h"
#include "support/child_process.h"
#include "transfer_fixture.h"

using namespace transfer;
namespace fs = std::filesystem;

namespace {

// The plain files below `folder` whose names start with a dot: temporaries.
std::vector<std::string> Temporaries(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename().string().front() == '.')
            found.push_back(entry.path().string());
    return found;
}

std::string Damaged(const std::string& problem) {
    return std::string(PuzzleDamagedText) + "\r\r" + problem;
}

}  // namespace

TEST_F(Transfer, ADriveChangedWhileABoxWaitsIsRefusedAndNothingOutsideIsReadOrWritten) {
    const std::string elsewhere = dir.Path() + "ELSEWHERE/";
    const std::string drive = stick + "PUZZLE/";
    const std::string linked =
        "ERROR: THE PUZZLE FOLDER ON D: DRIVE IS A LINK!\r\rPuzzles are not copied through links.";
    auto folderLinkedOut = [&] {
        fs::rename(stick + "PUZZLE", stick + "AWAY");
        fs::create_directory_symlink(elsewhere, stick + "PUZZLE");
    };
    auto boardBecomes = [&](const std::function<void(const std::string&)>& make) {
        return [&, make] {
            fs::remove(drive + "FOO.PZL");
            make(drive + "FOO.PZL");
        };
    };
    auto linkTo = [](const std::string& target) {
        return [target](const std::string& path) { fs::create_symlink(target, path); };
    };
    struct Case {
        std::string what;
        std::string mode;
        // Done while the import's question, or the box of the export's first failure, waits.
        std::function<void()> change;
        std::string shown;
    };
    const std::vector<Case> cases{
        {"import: the board file linked to a keyed board", ImportMode,
         boardBecomes(linkTo(elsewhere + "FOO.PZL")), Damaged("FOO.PZL: link")},
        {"import: the folder linked to a keyed set", ImportMode, folderLinkedOut, linked},
        {"import: the board file become a pipe", ImportMode,
         boardBecomes([](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }),
         Damaged("FOO.PZL: not a plain file")},
        {"export: the folder linked out", ExportMode, folderLinkedOut, linked},
        {"export: the old board file linked to a private file", ExportMode,
         boardBecomes(linkTo(elsewhere + "MINE.TXT")), "ERROR 75\rPath/File access error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& folder : {stick, PuzzlePath, elsewhere})
            fs::remove_all(folder);
        WritePuzzle(elsewhere, "FOO", "Outside Foo", "SECRET");
        dir.Write("ELSEWHERE/MINE.TXT", "mine");
        const bool import = c.mode == ImportMode;
        if (import) {
            WritePuzzle(drive, "FOO", "New Foo");
            WritePuzzle(PuzzlePath, "FOO", "Old Foo");
        } else {
            WritePuzzle(PuzzlePath, "AAA", "Aaa");
            WritePuzzle(PuzzlePath, "FOO", "Foo");
            WritePuzzle(drive, "FOO", "Old Foo");
            // AAA fails: a folder stands at its first temporary name.
            ASSERT_FALSE(platform::CreateFolder(drive + PuzzleTempFileName("AAA.INF")));
        }
        std::vector<std::string> outside, local, onDrive;
        for (const std::string& name : SetOf("FOO")) {
            outside.push_back(Bytes(elsewhere + name));
            local.push_back(Bytes(PuzzlePath + name));
            onDrive.push_back(Bytes(drive + name));
        }

        IXPorterLogic& d = Open(c.mode);
        Select(import ? std::vector<std::string>{"New Foo"}
                      : std::vector<std::string>{"Aaa", "Foo"});
        const std::string waitsOn = import ? ImportTitle : ExportTitle;
        platform.atBox = [&, done = false](const std::string& title) mutable {
            if (!done && title == waitsOn) {
                done = true;
                c.change();
            }
        };
        if (!import)
            platform.ExpectBox(InsertTitle);
        platform.ExpectBox(waitsOn, platform::AnswerYes);
        platform.ExpectBox(waitsOn);
        const size_t before = platform.Boxes().size();
        // A pipe that is waited on ends the test here rather than never.
        ::alarm(60);
        d.OkClick();
        ::alarm(0);
        platform.atBox = nullptr;

        EXPECT_EQ(LastBox().text, c.shown);
        EXPECT_EQ(platform.Boxes().size(), before + (import ? 2 : 3));
        ASSERT_FALSE(d.LastTransfer().empty());
        EXPECT_EQ(d.LastTransfer().back().baseName, "FOO");
        EXPECT_EQ(d.LastTransfer().back().outcome, TransferOutcome::Failed);
        const std::vector<std::string> names = SetOf("FOO");
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            EXPECT_EQ(Bytes(elsewhere + name), outside[i]) << name;
            EXPECT_EQ(Bytes(PuzzlePath + name), local[i]) << name;
            // The drive keeps its old set, wherever its folder went.
            const std::string kept = fs::exists(stick + "AWAY") ? stick + "AWAY/" : drive;
            if (!import && name != "FOO.PZL") {
                EXPECT_EQ(Bytes(kept + name), onDrive[i]) << name;
            }
        }
        EXPECT_EQ(Bytes(elsewhere + "MINE.TXT"), "mine");
        EXPECT_EQ(Files(elsewhere).size(), 8u);
        EXPECT_EQ(Temporaries(dir.Path()), std::vector<std::string>{});
    }
}

TEST_F(Transfer, ExportOverADriveFileTooLargeForAPuzzleReadsNoneOfItAndChangesNothing) {
    const std::string drive = stick + "PUZZLE/";
    WritePuzzle(PuzzlePath, "FOO", "Foo");
    WritePuzzle(drive, "FOO", "Old Foo");
    // A board file of 1 TiB that takes no room.
    constexpr off_t Huge = off_t{1} << 40;
    ASSERT_EQ(::truncate((drive + "FOO.PZL").c_str(), Huge), 0);
    std::vector<std::string> before;
    for (const std::string& name : SetOf("FOO"))
        if (name != "FOO.PZL")
            before.push_back(Bytes(drive + name));

    // The export with the memory it may take capped far below the file.
    const auto shown = testsupport::RunInChild([this] {
        if (!CapMemory())
            return std::string("no limit");
        IXPorterLogic& d = Open(ExportMode);
        Select({"Foo"});
        platform.ExpectBox(InsertTitle);
        platform.ExpectBox(ExportTitle);
        d.OkClick();
        return LastBox().text;
    });
    ASSERT_TRUE(shown) << "the export ran out of memory";
    EXPECT_EQ(*shown, Damaged("FOO.PZL: too large: " + std::to_string(Huge) + " bytes"));
    EXPECT_EQ(Files(drive), Sorted(SetOf("FOO")));
    EXPECT_EQ(fs::file_size(drive + "FOO.PZL"), static_cast<uintmax_t>(Huge));
    std::vector<std::string> after;
    for (const std::string& name : SetOf("FOO"))
        if (name != "FOO.PZL")
            after.push_back(Bytes(drive + name));
    EXPECT_EQ(after, before);
}

TEST_F(Transfer, MoreInformationFilesThanASixteenBitCountHidesNoGoodSet) {
    const std::string drive = stick + "PUZZLE/";
    WritePuzzle(drive, "ZED", "Zed");
    // Empty information files, all listed before the good set.
    for (int i = 0; i < 32768; ++i) {
        const std::string path = drive + "A" + std::to_string(100000 + i) + ".INF";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0) << path;
        ::close(fd);
    }
    // The library's count stops where 16 bits end, rather than wrapping.
    std::vector<std::string> list(1);
    EXPECT_EQ(GetFileList(drive, "*.INF", list), 32767);
    EXPECT_EQ(list[32767], "A132766.INF");

    IXPorterLogic& d = Open(ImportMode, "D:", {ListingTitle});
    EXPECT_EQ(d.Items(), std::vector<std::string>{"Zed"});
    EXPECT_EQ(d.TransferCount(), 1);
    // The hourglass shows while the listing runs.
    EXPECT_EQ(platform.PointerLog(), (std::vector<platform::Pointer>{platform::Pointer::Hourglass,
                                                                     platform::Pointer::Default}));
}

TEST_F(Transfer, AnImportKilledAtAnyStepLeavesTheOldSetOrTheNewOneAfterTheNextStart) {
    const std::string drive = stick + "PUZZLE/";
    WritePuzzle(drive, "FOO", "New Foo");
    std::vector<std::string> fresh;
    for (const std::string& name : SetOf("FOO"))
        fresh.push_back(Bytes(drive + name));
    for (int step = 0; step < testsupport::ReplaceSteps; ++step) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        fs::remove_all(PuzzlePath);
        WritePuzzle(PuzzlePath, "FOO", "Old Foo");
        std::vector<std::string> old;
        for (const std::string& name : SetOf("FOO"))
            old.push_back(Bytes(PuzzlePath + name));

        const auto ended = testsupport::RunInChild([this, step] {
            IXPorterLogic& d = Open(ImportMode);
            Select({"New Foo"});
            platform.ExpectBox(ImportTitle, platform::AnswerYes);
            platform::SetFileEventHook(testsupport::AtReplaceSteps([step](int at) {
                if (at == step)
                    ::_exit(0);
                return 0;
            }));
            d.OkClick();
            return std::string("not killed");
        });
        ASSERT_EQ(ended, std::string());

        RecoverPuzzleSets(PuzzlePath);
        std::vector<std::string> now;
        for (const std::string& name : SetOf("FOO"))
            now.push_back(Bytes(PuzzlePath + name));
        EXPECT_TRUE(now == old || now == fresh);
        PuzzleInfo info;
        EXPECT_TRUE(LoadPuzzleFiles(PuzzlePath, "FOO", info).Ok());
        EXPECT_EQ(Files(PuzzlePath), Sorted(SetOf("FOO")));
    }
}
