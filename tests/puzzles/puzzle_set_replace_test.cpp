#include "puzzles/puzzle_set_replace.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/globals.h"
#include "platform/files.h"
#include "puzzles/puzzle_files_fixture.h"
#include "puzzles/puzzle_keys.h"
#include "puzzles/puzzle_transfer.h"
#include "support/child_process.h"
#include "support/file_events.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

using namespace testing_puzzles;

// Sets replaced by a program that is killed on the way: the old set FIRST in
// a fresh folder per case, a new FIRST that differs in every file.
class PuzzleSetReplaceTest : public PuzzleFilesTest {
  protected:
    void SetUp() override {
        PuzzleFilesTest::SetUp();
        newInfo.puzzleName = "Second Light";
        newTables.board[14] = {Reflector, 1, 4, True, False};
        newTables.toolbox[1].allowed = 19;
        newTables.shutters[2][3].open = True;
        newTables.keys[3][1].state = 1;
        std::swap(newTables.squares[2][2], newTables.squares[2][3]);
        newTables.bonus[6][16].points = 500;
        ASSERT_TRUE(SavePuzzleFiles(drive.Path(), newInfo, newTables).Ok());
        newBytes = SetBytes(drive.Path());
        oldBytes = SetBytes(FreshFolder());
        for (size_t i = 0; i < oldBytes.size(); ++i)
            ASSERT_NE(oldBytes[i], newBytes[i]) << PuzzleFileExtensions[i];
    }
    void TearDown() override {
        platform::SetFileEventHook({});
        platform::FolderLockWaitMs = 2000;
        PuzzleFilesTest::TearDown();
    }

    std::string FreshFolder() {
        const std::string path = folder.Path() + "case" + std::to_string(++cases) + "/";
        std::filesystem::create_directory(path);
        EXPECT_TRUE(SavePuzzleFiles(path, SampleInfo(), SampleTables()).Ok());
        return path;
    }
    static std::vector<std::string> SetBytes(const std::string& path) {
        std::vector<std::string> bytes;
        for (const char* extension : PuzzleFileExtensions) {
            std::string file;
            platform::ReadWholeFile(path + "FIRST" + extension, file);
            bytes.push_back(file);
        }
        return bytes;
    }
    static std::vector<std::string> Listing(const std::string& path) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::vector<std::string> SetNames() {
        std::vector<std::string> names;
        for (const char* extension : PuzzleFileExtensions)
            names.push_back(std::string("FIRST") + extension);
        std::sort(names.begin(), names.end());
        return names;
    }
    // What the set reader makes of FIRST in `path` without finishing anything:
    // "old", "new", "refused" or what else it read.
    std::string AsRead(const std::string& path) const {
        platform::Folder open;
        PuzzleInfo info;
        PuzzleTables tables;
        PuzzleSetBytes bytes;
        if (open.Open(path))
            return "no folder";
        const PuzzleFileResult result =
            ReadWholePuzzleSet(open, "FIRST", PendingSet::Refuse, info, tables, &bytes);
        if (result.status == PuzzleFileStatus::Unfinished && result.file == "FIRST")
            return "refused";
        if (!result.Ok())
            return "failed: " + result.file + " " + result.reason;
        const std::vector<std::string> read(bytes.begin(), bytes.end());
        return read == oldBytes ? "old" : read == newBytes ? "new" : "a mix";
    }

    // Replaces FIRST in `path` by the new set as a save or an import does, in
    // a child process that ends at replace step `killAt`; true when it ended there.
    bool KilledReplace(const std::string& path, bool byImport, int killAt) {
        return !testsupport::RunInChild([&]() -> std::string {
                    platform::SetFileEventHook(testsupport::AtReplaceSteps([killAt](int step) {
                        if (step == killAt)
                            ::_exit(9);
                        return 0;
                    }));
                    return Replace(path, byImport).Ok() ? "done" : "failed";
                }).has_value();
    }
    PuzzleFileResult Replace(const std::string& path, bool byImport) {
        if (!byImport)
            return SavePuzzleFiles(path, newInfo, newTables);
        platform::Folder from, to;
        from.Open(drive.Path());
        to.Open(path);
        return TransferPuzzleSet(from, to, "FIRST", PendingSet::Refuse);
    }
    // Runs `body` in a child process ended before its `event`th file event
    // (alsoAtEvent sees the others); true when it was ended there, false when
    // it ran to its end first.
    bool KilledAtEvent(int event, const std::function<void()>& body) {
        return !testsupport::RunInChild([&]() -> std::string {
                    int seen = 0;
                    platform::SetFileEventHook([this, &seen, event](const platform::FileEvent& e) {
                        if (++seen == event)
                            ::_exit(9);
                        return alsoAtEvent ? alsoAtEvent(e) : 0;
                    });
                    body();
                    return "ran to its end";
                }).has_value();
    }

    testsupport::TempFolder drive;
    std::function<int(const platform::FileEvent&)> alsoAtEvent;
    PuzzleInfo newInfo = SampleInfo();
    PuzzleTables newTables = SampleTables();
    std::vector<std::string> oldBytes, newBytes;
    int cases = 0;
};

TEST_F(PuzzleSetReplaceTest, AKillAtAnyStepLeavesTheOldSetOrTheNewOneWhole) {
    for (bool byImport : {false, true}) {
        for (int step = 0; step < testsupport::ReplaceSteps; ++step) {
            SCOPED_TRACE(std::string(byImport ? "import" : "save") + " killed at step " +
                         std::to_string(step));
            const std::string path = FreshFolder();
            ASSERT_TRUE(KilledReplace(path, byImport, step));
            // Until the next start, a kill between the renames leaves a mix on
            // the disk, which no reader takes.
            const std::vector<std::string> left = SetBytes(path);
            int renamed = 0;
            for (size_t i = 0; i < left.size(); ++i)
                renamed += left[i] == newBytes[i];
            EXPECT_EQ(renamed, std::clamp(step - 1, 0, PuzzleFileCount));
            EXPECT_EQ(AsRead(path), step == 0 ? "old" : "refused");

            const PuzzleSetRecovery recovery = RecoverPuzzleSets(path);
            EXPECT_TRUE(recovery.failures.empty());
            EXPECT_EQ(SetBytes(path), step == 0 ? oldBytes : newBytes);
            EXPECT_EQ(Listing(path), SetNames());
            PuzzleInfo info;
            EXPECT_TRUE(LoadPuzzleFiles(path, "FIRST", info).Ok());
        }
    }
}

// Every writer of a set, and the start's recovery, killed before each of its
// file events in turn: before the next start the reader takes the old set or
// the new one or refuses the set; after it (for a drive, after the next
// export's recovery) the set is wholly old or wholly new and nothing is left.
TEST_F(PuzzleSetReplaceTest, AKillBeforeAnyFileEventLeavesNoMixForAnyReader) {
    struct Case {
        const char* what;
        // Prepares the folder and returns the work to kill.
        std::function<std::function<void()>(const std::string& path)> work;
    };
    const std::vector<Case> cases = {
        {"a save",
         [this](const std::string& path) {
             return std::function<void()>([this, path] { Replace(path, false); });
         }},
        {"an import",
         [this](const std::string& path) {
             return std::function<void()>([this, path] { Replace(path, true); });
         }},
        {"an export over an older set on the drive",
         [this](const std::string& path) {
             return std::function<void()>([this, path] {
                 platform::Folder from, stick;
                 from.Open(drive.Path());
                 stick.Open(path);
                 RecoverPuzzleSets(stick);
                 TransferPuzzleSet(from, stick, "FIRST", PendingSet::Finish);
             });
         }},
        {"an import whose fourth rename fails",
         [this](const std::string& path) {
             return std::function<void()>([this, path] {
                 alsoAtEvent = testsupport::ProtectAtFourthRename(path + "FIRST.SHC");
                 EXPECT_EQ(Replace(path, true).status, PuzzleFileStatus::Unfinished);
             });
         }},
        {"the start's recovery of a save killed after three renames",
         [this](const std::string& path) {
             EXPECT_TRUE(KilledReplace(path, false, 4));
             return std::function<void()>([path] { RecoverPuzzleSets(path); });
         }},
    };
    for (const Case& c : cases) {
        bool ended = false;
        int event = 1;
        for (; !ended && event < 400; ++event) {
            SCOPED_TRACE(std::string(c.what) + " killed before file event " +
                         std::to_string(event));
            const std::string path = FreshFolder();
            const std::function<void()> work = c.work(path);
            ended = !KilledAtEvent(event, work);
            ::chmod((path + "FIRST.SHC").c_str(), 0644);
            const std::string read = AsRead(path);
            EXPECT_TRUE(read == "old" || read == "new" || read == "refused") << read;

            const PuzzleSetRecovery recovery = RecoverPuzzleSets(path);
            EXPECT_TRUE(recovery.failures.empty());
            const std::vector<std::string> now = SetBytes(path);
            EXPECT_TRUE(now == oldBytes || now == newBytes);
            if (read != "refused") {
                EXPECT_EQ(AsRead(path), read);
            }
            EXPECT_EQ(Listing(path), SetNames());
        }
        EXPECT_TRUE(ended) << c.what;
        EXPECT_GT(event, 10) << c.what;
    }
}

TEST_F(PuzzleSetReplaceTest, LeftoversNoSoundMarkerVouchesForAreRemovedAndTheOldSetStays) {
    const std::string outside = drive.Path() + "PRIVATE";
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> damage;
    };
    const std::vector<Case> cases = {
        {"a sound marker", [](const std::string&) {}},
        {"temporaries without a marker",
         [](const std::string& path) { std::filesystem::remove(path + ".FIRST.SET"); }},
        {"a temporary missing whose file was never replaced",
         [](const std::string& path) { std::filesystem::remove(path + ".FIRST.TBX.NEW"); }},
        {"a garbled marker",
         [](const std::string& path) {
             platform::WriteFileAtomic(path + ".FIRST.SET", "FIRST.INF 1320 zz\n");
         }},
        {"a marker grown past its size",
         [](const std::string& path) {
             std::string text;
             platform::ReadWholeFile(path + ".FIRST.SET", text);
             platform::WriteFileAtomic(path + ".FIRST.SET", text + std::string(2000, ' '));
         }},
        {"a marker of another name",
         [](const std::string& path) {
             std::filesystem::rename(path + ".FIRST.SET", path + ".OTHER.SET");
         }},
        {"a marker that is a link",
         [&outside](const std::string& path) {
             std::filesystem::rename(path + ".FIRST.SET", outside);
             std::filesystem::create_symlink(outside, path + ".FIRST.SET");
         }},
        {"a temporary that is a link",
         [&outside](const std::string& path) {
             std::filesystem::rename(path + ".FIRST.PZL.NEW", outside);
             std::filesystem::create_symlink(outside, path + ".FIRST.PZL.NEW");
         }},
        {"a temporary changed after its check",
         [](const std::string& path) {
             std::string bytes;
             platform::ReadWholeFile(path + ".FIRST.INF.NEW", bytes);
             bytes[0] = 'X';
             platform::WriteFileAtomic(path + ".FIRST.INF.NEW", bytes);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = FreshFolder();
        ASSERT_TRUE(KilledReplace(path, false, 1));
        c.damage(path);
        // A write killed before its rename, and files that are not the game's.
        folder.Write(path.substr(folder.Path().size()) + ".FIRST.PZL.123456", "half");
        folder.Write(path.substr(folder.Path().size()) + "..FIRST.SET.004711", "half");
        folder.Write(path.substr(folder.Path().size()) + "NOTES.TXT", "mine");
        std::string outsideBefore, outsideAfter;
        platform::ReadWholeFile(outside, outsideBefore);

        RecoverPuzzleSets(path);
        const bool sound = c.what == cases.front().what;
        EXPECT_EQ(SetBytes(path), sound ? newBytes : oldBytes);
        std::vector<std::string> expected = SetNames();
        expected.push_back("NOTES.TXT");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Listing(path), expected);
        platform::ReadWholeFile(outside, outsideAfter);
        EXPECT_TRUE(outsideAfter == outsideBefore);
        std::filesystem::remove(outside);
    }
}

// Once some new files are in place, a marker whose other new files were lost
// (a disk check elsewhere, a bad sector, a hand) can't be cleared without
// serving a mix: the set is refused by name until a save replaces it whole.
// A changed leftover beside a file already in place loses nothing.
TEST_F(PuzzleSetReplaceTest, AMarkerThatParsesVouchesForTheFilesAlreadyInPlace) {
    std::string path = FreshFolder();
    ASSERT_TRUE(KilledReplace(path, false, 4));
    folder.Write(path.substr(folder.Path().size()) + ".FIRST.INF.NEW", "stale");
    EXPECT_TRUE(RecoverPuzzleSets(path).failures.empty());
    EXPECT_EQ(SetBytes(path), newBytes);
    EXPECT_EQ(Listing(path), SetNames());

    // What mends it is told by its information file as it stands: a save and
    // a delete need its key, and an import never replaces a keyed puzzle.
    const PuzzleInfo keyed = newInfo;
    const std::tuple<std::string, std::string, bool> remedies[] = {
        {"FIRST.TGC: lost\r\rSave it again, or DELETE it,\rwith its key.", "", true},
        {"FIRST.INF: lost\r\rIts information file can't be read,\rso its key can't be checked: "
         "remove\rFIRST.* and .FIRST.* from the\rpuzzle folder by hand.",
         "short", true},
        {"FIRST.INF: lost\r\rSave or import it again.", "gone", true},
        {"FIRST.TGC: lost\r\rSave or import it again,\ror DELETE it.", "", false},
    };
    for (const auto& [remedy, inf, key] : remedies) {
        newInfo.puzzleKey = key ? keyed.puzzleKey : NoKey;
        newInfo.customFlag = key ? keyed.customFlag : int16_t{0};
        ASSERT_TRUE(KilledReplace(path = FreshFolder(), false, 4));
        std::filesystem::remove(path + ".FIRST.TGC.NEW");
        if (inf == "gone")
            std::filesystem::remove(path + "FIRST.INF");
        else if (!inf.empty())
            folder.Write(path.substr(folder.Path().size()) + "FIRST.INF", inf);
        const PuzzleSetRecovery recovery = RecoverPuzzleSets(path);
        ASSERT_EQ(recovery.failures.size(), 1u);
        EXPECT_EQ(PuzzleFailureText(recovery.failures[0]),
                  "PUZZLE FIRST IS DAMAGED!\r\rA change of its files was cut short,\rand some of "
                  "its new files were lost:\r" +
                      remedy);
    }
    newInfo = keyed;
    ASSERT_TRUE(KilledReplace(path = FreshFolder(), false, 4));
    std::filesystem::remove(path + ".FIRST.TGC.NEW");
    ASSERT_EQ(RecoverPuzzleSets(path).failures.size(), 1u);
    EXPECT_EQ(AsRead(path), "refused");
    PuzzleInfo info;
    EXPECT_EQ(LoadPuzzleFiles(path, "FIRST", info).status, PuzzleFileStatus::Broken);
    // An import decides on its information file as it stands, and replaces it whole.
    platform::Folder from, to;
    ASSERT_FALSE(from.Open(drive.Path()) || to.Open(path));
    const PuzzleSetState state = ReadPuzzleSetState(to, "FIRST");
    ASSERT_TRUE(state.infRead.Ok());
    ASSERT_TRUE(TransferPuzzleSet(from, to, "FIRST", PendingSet::Refuse, &state).Ok());
    EXPECT_EQ(AsRead(path), "new");
    EXPECT_EQ(Listing(path), SetNames());
}

// The temporaries reach the disk before the folder, the folder before the
// marker, the marker before the first rename, the renames before the marker goes.
TEST_F(PuzzleSetReplaceTest, EveryFlushComesBeforeWhatReliesOnIt) {
    const std::string path = FreshFolder();
    std::vector<std::string> events;
    {
        testsupport::FileEventHookScope record([&events](const platform::FileEvent& event) {
            static const char* const kinds[] = {"create", "",       "", "flush", "flush folder", "",
                                                "rename", "remove", "", ""};
            // The marker's own temporary, whatever its digits.
            const size_t digits = event.name.find(".SET.");
            const std::string name =
                event.name.substr(0, digits == std::string::npos ? digits : digits + 4);
            if (*kinds[static_cast<int>(event.kind)])
                events.push_back(kinds[static_cast<int>(event.kind)] + (" " + name));
            return 0;
        });
        ASSERT_TRUE(SavePuzzleFiles(path, newInfo, newTables).Ok());
    }
    std::vector<std::string> expected;
    for (const char* extension : PuzzleFileExtensions)
        for (const char* kind : {"create .", "flush ."})
            expected.push_back(kind + std::string("FIRST") + extension + ".NEW");
    for (const char* event : {"flush folder ", "create ..FIRST.SET", "flush ..FIRST.SET",
                              "rename .FIRST.SET", "flush folder "})
        expected.push_back(event);
    for (const char* extension : PuzzleFileExtensions)
        expected.push_back(std::string("rename FIRST") + extension);
    for (const char* event : {"flush folder ", "remove .FIRST.SET", "flush folder "})
        expected.push_back(event);
    EXPECT_EQ(events, expected);
}

// A call that fails at any step is told as it is: before the marker stands
// nothing is left and the old set stays; after it, the set is not whole until
// the next start finishes it, and never said to be done. A drive that keeps
// no permissions is written all the same, and a temporary swapped after it
// was written gives way to the bytes written, read back through its descriptor.
TEST_F(PuzzleSetReplaceTest, AFailedStepIsToldAndNeverTakenForDone) {
    using K = platform::FileEventKind;
    struct Row {
        const char* what;
        K kind;
        std::string name;  // the start of the event's name
        int nth;           // 0: every such event
        int err;
        PuzzleFileStatus status;
        std::string told;  // the end of what the player is told
        // The start's recovery of a save killed after three renames, not a save.
        bool atStart = false;
        std::string swapped = {};  // what another file takes the place of; the event's name
    };
    const std::string notWhole = "puts them in place.";
    const std::vector<Row> rows = {
        {"a rename once committed", K::Rename, "FIRST.SHC", 1, EIO, PuzzleFileStatus::Unfinished,
         notWhole},
        {"the flush before the marker goes", K::FlushFolder, "", 3, EIO,
         PuzzleFileStatus::Unfinished, notWhole},
        {"the marker's removal", K::Remove, ".FIRST.SET", 1, EIO, PuzzleFileStatus::Unfinished,
         notWhole},
        {"the marker's flush", K::Flush, "..FIRST.SET.", 1, EIO, PuzzleFileStatus::Failed,
         "Puzzle file: FIRST.INF"},
        {"the flush after the marker", K::FlushFolder, "", 2, ENOSPC, PuzzleFileStatus::Failed,
         "Puzzle file: FIRST.INF"},
        {"a failing drive", K::Write, ".FIRST.PZL", 1, EIO, PuzzleFileStatus::Failed,
         "Device I/O error\r\rPuzzle file: FIRST.PZL"},
        {"a full drive", K::Write, ".FIRST.KYC", 1, ENOSPC, PuzzleFileStatus::Failed,
         "\r\rPuzzle file: FIRST.KYC"},
        {"permissions refused", K::Permissions, "", 0, EPERM, PuzzleFileStatus::Done, ""},
        {"permissions not kept", K::Permissions, "", 0, ENOSYS, PuzzleFileStatus::Done, ""},
        {"a new file read back only anew", K::ReadBack, "", 0, EPERM, PuzzleFileStatus::Done, ""},
        {"a temporary swapped once written", K::Flush, ".FIRST.PZL.NEW", 1, 0,
         PuzzleFileStatus::Done, ""},
        {"a temporary swapped during the start's recovery", K::Rename, "FIRST.SHC", 1, 0,
         PuzzleFileStatus::Done, "", true, ".FIRST.SHC.NEW"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string path = FreshFolder();
        if (row.atStart) {
            ASSERT_TRUE(KilledReplace(path, false, 4));
        }
        int seen = 0;
        PuzzleFileResult result;
        {
            testsupport::FileEventHookScope fail([&](const platform::FileEvent& event) {
                if (event.kind != row.kind || event.name.rfind(row.name, 0) != 0 ||
                    (row.nth && ++seen != row.nth))
                    return 0;
                if (row.err == 0) {
                    folder.Write(path.substr(folder.Path().size()) + "JUNK", "junk");
                    std::filesystem::rename(
                        path + "JUNK", path + (row.swapped.empty() ? event.name : row.swapped));
                }
                return row.err;
            });
            if (!row.atStart) {
                result = SavePuzzleFiles(path, newInfo, newTables);
            } else if (const auto failures = RecoverPuzzleSets(path).failures; !failures.empty()) {
                result = failures.front();
            }
        }
        EXPECT_EQ(result.status, row.status);
        const std::string text = PuzzleFailureText(result);
        EXPECT_EQ(text.substr(text.size() - row.told.size()), row.told) << text;
        EXPECT_EQ(AsRead(path), result.Ok() ? "new" : row.told == notWhole ? "refused" : "old");
        EXPECT_TRUE(RecoverPuzzleSets(path).failures.empty());
        EXPECT_EQ(AsRead(path), row.status == PuzzleFileStatus::Failed ? "old" : "new");
        EXPECT_EQ(Listing(path), SetNames());
    }
    EXPECT_EQ(RecoverPuzzleSets(drive.Path() + "NONE/").failures.size(), 1u);
}

TEST_F(PuzzleSetReplaceTest, ASetAStartCannotFinishWaitsWholeForTheNext) {
    const std::string path = FreshFolder();
    ASSERT_TRUE(KilledReplace(path, false, 3));
    const std::string shc = path + "FIRST.SHC";
    ASSERT_EQ(::chmod(shc.c_str(), 0444), 0);
    PuzzleSetRecovery recovery = RecoverPuzzleSets(path);
    ASSERT_EQ(recovery.failures.size(), 1u);
    EXPECT_EQ(recovery.failures[0].status, PuzzleFileStatus::Unfinished);
    EXPECT_EQ(recovery.failures[0].file, "FIRST");
    EXPECT_EQ(platform::ErrorText(recovery.failures[0].error), "ERROR 70\rPermission denied");
    EXPECT_TRUE(platform::IsFile(path + ".FIRST.SET"));

    ASSERT_EQ(::chmod(shc.c_str(), 0644), 0);
    recovery = RecoverPuzzleSets(path);
    EXPECT_TRUE(recovery.failures.empty());
    EXPECT_EQ(SetBytes(path), newBytes);
    EXPECT_EQ(Listing(path), SetNames());
}

// A replace whose rename fails once the new set is committed goes no further
// back: the player is told the puzzle is not whole, every reader refuses it by
// name, and a start that can write finishes it.
TEST_F(PuzzleSetReplaceTest, ASetCutShortIsRefusedByNameUntilAStartFinishesIt) {
    const std::string path = FreshFolder();
    const std::string shc = path + "FIRST.SHC";
    std::optional<testsupport::FileEventHookScope> protect(std::in_place,
                                                           testsupport::ProtectAtFourthRename(shc));
    const PuzzleFileResult saved = SavePuzzleFiles(path, newInfo, newTables);
    protect.reset();
    EXPECT_EQ(saved.status, PuzzleFileStatus::Unfinished);
    EXPECT_EQ(saved.file, "FIRST");
    EXPECT_EQ(PuzzleFailureText(saved),
              "PUZZLE FIRST IS NOT WHOLE!\r\rA change of its files was cut short:\rERROR "
              "70\rPermission denied\r\rIts new files are kept, and\rthe game, at its next "
              "start,\rputs them in place.");
    EXPECT_TRUE(platform::IsFile(path + ".FIRST.SET"));

    // Every way the game reads the set refuses it while it can't be finished.
    PuzzleInfo info;
    PuzzleTables tables;
    for (const PuzzleFileResult& read :
         {LoadPuzzleFiles(path, "FIRST", info), ReadPuzzleFiles(path, "FIRST", info, tables),
          ReadPuzzleInfo(path + "FIRST.INF", info), SavePuzzleFiles(path, newInfo, newTables)}) {
        EXPECT_EQ(read.status, PuzzleFileStatus::Unfinished);
        EXPECT_EQ(read.file, "FIRST");
    }
    EXPECT_EQ(AsRead(path), "refused");
    EXPECT_EQ(RecoverPuzzleSets(path).failures.size(), 1u);

    ::chmod(shc.c_str(), 0644);
    ASSERT_TRUE(LoadPuzzleFiles(path, "FIRST", info).Ok());
    EXPECT_EQ(info.puzzleName, "Second Light");
    EXPECT_EQ(SetBytes(path), newBytes);
    EXPECT_EQ(Listing(path), SetNames());
}

// A start that can't read the marker or the files it names (here: with hardly
// a descriptor left) keeps them all for a start that can, and says so.
TEST_F(PuzzleSetReplaceTest, ARecoveryThatCannotReadKeepsASoundMarker) {
    for (int spare = 0; spare <= 12; ++spare) {
        SCOPED_TRACE(std::to_string(spare) + " descriptors spare");
        const std::string path = FreshFolder();
        ASSERT_TRUE(KilledReplace(path, false, 4));
        const auto answer = testsupport::RunInChild([&]() -> std::string {
            std::vector<int> held;
            for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
                held.push_back(fd);
            for (int i = 0; i < spare && !held.empty(); ++i) {
                ::close(held.back());
                held.pop_back();
            }
            const PuzzleSetRecovery recovery = RecoverPuzzleSets(path);
            if (!recovery.finished.empty())
                return "finished";
            for (const PuzzleFileResult& failure : recovery.failures)
                if (failure.status == PuzzleFileStatus::Unfinished && failure.file == "FIRST")
                    return "kept and told";
            return recovery.failures.empty() ? "nothing done" : "folder not locked";
        });
        ASSERT_TRUE(answer.has_value());
        if (*answer != "finished") {
            EXPECT_TRUE(platform::IsFile(path + ".FIRST.SET")) << *answer;
            EXPECT_EQ(Listing(path).size(), SetNames().size() + 5) << *answer;
        }
        RecoverPuzzleSets(path);
        EXPECT_EQ(SetBytes(path), newBytes) << *answer;
        EXPECT_EQ(Listing(path), SetNames());
    }
}

// One writer at a time: another copy of the game holding the folder makes a
// save wait, then fail with the folder in use and change nothing; two copies
// saving one set over and over leave it whole.
TEST_F(PuzzleSetReplaceTest, TwoCopiesOfTheGameNeverWriteOneSetAtOnce) {
    const std::string path = FreshFolder();
    {
        // Within one copy, a lock taken again through another Folder is held
        // already; a reader whose change to writer fails keeps its lock.
        platform::Folder one, two;
        ASSERT_FALSE(one.Open(path) || two.Open(path));
        platform::FolderLockWaitMs = 0;
        std::optional<platform::FolderLock> outer(std::in_place, one, true);
        EXPECT_FALSE(platform::FolderLock(two, true).Error());
        const int other = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
        EXPECT_NE(::flock(other, LOCK_SH | LOCK_NB), 0);
        outer.reset();
        platform::FolderLock shared(one, false);
        ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);
        EXPECT_TRUE(platform::FolderLock(two, true).Error());
        // While a change to writer waits for a reader, the reader can't take the folder to write.
        const pid_t copy = ::fork();
        if (copy == 0) {
            ::usleep(200000);
            ::_exit(::flock(other, LOCK_EX | LOCK_NB));
        }
        platform::FolderLockWaitMs = 2000;
        EXPECT_FALSE(platform::FolderLock(two, true).Error()) << "the reader wrote meanwhile";
        ::waitpid(copy, nullptr, 0);
        platform::FolderLockWaitMs = 0;
        ::flock(other, LOCK_UN);
        EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
        // Another copy in while a change to writer let the lock go: it no longer counts as held.
        for (int fd = 3; fd < 1024; ++fd)
            ::flock(fd, LOCK_UN);
        ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
        EXPECT_TRUE(platform::FolderLock(two, true).Error() &&
                    platform::FolderLock(two, false).Error());
        ::close(other);
    }
    {
        platform::Folder held;
        ASSERT_FALSE(held.Open(path));
        platform::FolderLock lock(held, true);
        ASSERT_FALSE(lock.Error());
        const auto answer = testsupport::RunInChild([&]() -> std::string {
            platform::FolderLockWaitMs = 100;
            const PuzzleFileResult result = SavePuzzleFiles(path, newInfo, newTables);
            return PuzzleFailureText(result, "");
        });
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(answer->substr(0, answer->find('\r')), "ERROR: PUZZLE FOLDER IN USE!");
        EXPECT_EQ(SetBytes(path), oldBytes);
        EXPECT_EQ(Listing(path), SetNames());
    }

    std::vector<pid_t> writers;
    for (bool byImport : {false, true}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            platform::FolderLockWaitMs = 60000;
            for (int round = 0; round < 15; ++round) {
                const bool ok = byImport ? Replace(path, true).Ok()
                                         : SavePuzzleFiles(path, round % 2 ? SampleInfo() : newInfo,
                                                           round % 2 ? SampleTables() : newTables)
                                               .Ok();
                if (!ok)
                    ::_exit(1);
            }
            ::_exit(0);
        }
        writers.push_back(child);
    }
    for (pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::vector<std::string> now = SetBytes(path);
    EXPECT_TRUE(now == oldBytes || now == newBytes);
    EXPECT_EQ(Listing(path), SetNames());
}

// A set cut short in a folder this game can't write: the load refuses it,
// naming the puzzle and why, and changes nothing.
TEST_F(PuzzleSetReplaceTest, ASetCutShortInAFolderThatCannotBeWrittenIsRefusedByName) {
    struct Case {
        const char* what;
        bool asNobody;
        std::string why;
    };
    const std::vector<Case> cases = {
        {"a read-only file system", false, "read-only file system"},
        {"a folder the player may not write", true, "ERROR 70\rPermission denied"},
    };
    int ran = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = FreshFolder();
        ASSERT_TRUE(KilledReplace(path, false, 4));
        const std::vector<std::string> before = Listing(path);
        for (const std::string& open : {folder.Path(), path})
            ::chmod(open.c_str(), 0755);
        // Root writes wherever it likes; anyone else is kept out by the folder's mode.
        const bool asNobody = c.asNobody && ::geteuid() == 0;
        if (c.asNobody && !asNobody)
            ::chmod(path.c_str(), 0555);
        const auto answer = testsupport::RunInChild(
            [&]() -> std::string {
                // The folder is mounted read-only for this child alone.
                if (!c.asNobody &&
                    (::unshare(CLONE_NEWNS) != 0 ||
                     ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                     ::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
                     ::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                             nullptr) != 0))
                    return "cannot mount";
                PuzzleInfo info;
                const PuzzleFileResult result = LoadPuzzleFiles(path, "FIRST", info);
                return result.status == PuzzleFileStatus::Unfinished ? PuzzleFailureText(result)
                                                                     : "loaded";
            },
            asNobody);
        ::chmod(path.c_str(), 0755);
        ASSERT_TRUE(answer.has_value());
        if (*answer == "cannot mount" || *answer == "cannot become nobody")
            continue;
        ++ran;
        EXPECT_EQ(*answer, "PUZZLE FIRST IS NOT WHOLE!\r\rA change of its files was cut short:\r" +
                               c.why +
                               "\r\rIts new files are kept, and\rthe game, at its next "
                               "start,\rputs them in place.");
        EXPECT_EQ(Listing(path), before);
        RecoverPuzzleSets(path);
        EXPECT_EQ(SetBytes(path), newBytes);
    }
    EXPECT_GT(ran, 0);
}

// Nothing of a set is read through /proc: with it hidden, a start finishes a
// set cut short and the set loads.
TEST_F(PuzzleSetReplaceTest, ASetIsFinishedAndLoadedWithoutProc) {
    const std::string path = FreshFolder();
    ASSERT_TRUE(KilledReplace(path, false, 4));
    const auto answer = testsupport::RunInChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("none", "/proc", "tmpfs", 0, nullptr) != 0)
            return "cannot mount";
        if (std::filesystem::exists("/proc/self"))
            return "proc still there";
        const PuzzleSetRecovery recovery = RecoverPuzzleSets(path);
        PuzzleInfo info;
        const bool loaded = LoadPuzzleFiles(path, "FIRST", info).Ok();
        return recovery.finished == std::vector<std::string>{"FIRST"} && loaded
                   ? "finished and loaded"
                   : "not finished";
    });
    ASSERT_TRUE(answer.has_value());
    if (*answer == "cannot mount")
        GTEST_SKIP() << "this machine lets no test hide /proc";
    EXPECT_EQ(*answer, "finished and loaded");
    EXPECT_EQ(SetBytes(path), newBytes);
    EXPECT_EQ(Listing(path), SetNames());
}

}  // namespace
}  // namespace quarvelt
