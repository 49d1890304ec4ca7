// The puzzle folder and the removable drive as the game holds them open: no
// link followed and no wait on a pipe, sizes capped, names found whatever their
// case, new files made only where nothing stands, renames checked against the
// very file held, and the names kept as the disk has them through every change.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/child_process.h"
#include "support/file_events.h"
#include "support/temp_folder.h"

using platform::Folder;
using platform::OpenFile;
using testsupport::TempFolder;
namespace fs = std::filesystem;

namespace {

// What may stand at a name. The links point at TARGET.DAT ("target"), at the
// folder TARGETS, or at NOWHERE.DAT, which is not there.
enum class Thing { None, File, Folder, LinkToFile, LinkToFolder, DanglingLink, Pipe, Socket };
constexpr const char* ThingNames[] = {
    "nothing",         "a file", "a folder", "a link to a file", "a link to a folder",
    "a dangling link", "a pipe", "a socket"};
const char* NameOf(Thing thing) {
    return ThingNames[static_cast<int>(thing)];
}

class FolderFiles : public ::testing::Test {
  protected:
    TempFolder dir;
    Folder folder;

    void SetUp() override {
        dir.Write("TARGET.DAT", "target");
        fs::create_directory(dir.Path() + "TARGETS");
    }
    void Put(const std::string& name, Thing thing) const {
        const std::string path = dir.Path() + name;
        switch (thing) {
            case Thing::None:
                break;
            case Thing::File:
                dir.Write(name, "plain");
                break;
            case Thing::Folder:
                fs::create_directory(path);
                break;
            case Thing::LinkToFile:
                fs::create_symlink("TARGET.DAT", path);
                break;
            case Thing::LinkToFolder:
                fs::create_directory_symlink("TARGETS", path);
                break;
            case Thing::DanglingLink:
                fs::create_symlink("NOWHERE.DAT", path);
                break;
            case Thing::Pipe:
                ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
                break;
            case Thing::Socket: {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                ASSERT_LT(path.size(), sizeof address.sun_path);
                std::strcpy(address.sun_path, path.c_str());
                ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
                ::close(fd);
                break;
            }
        }
    }
    void Open() { ASSERT_FALSE(folder.Open(dir.Path())); }
    // The names the folder keeps are the names on the disk.
    void ExpectNamesAsOnDisk() const {
        Folder fresh;
        ASSERT_FALSE(fresh.Open(dir.Path()));
        EXPECT_EQ(folder.FileNames(true), fresh.FileNames(true));
        for (const std::string& name : fresh.FileNames(true))
            EXPECT_EQ(folder.KindOf(name), fresh.KindOf(name)) << name;
    }
    // Nothing was written through a link: its targets are as they were.
    void ExpectTargetsUntouched() const {
        EXPECT_EQ(dir.Read("TARGET.DAT"), "target");
        EXPECT_TRUE(fs::is_empty(dir.Path() + "TARGETS"));
        EXPECT_FALSE(fs::exists(dir.Path() + "NOWHERE.DAT"));
    }
};

TEST_F(FolderFiles, OnlyAPlainFileIsOpenedForReadingAndNothingIsWaitedOn) {
    const struct {
        Thing thing;
        int error;
    } cases[] = {
        {Thing::File, 0},
        {Thing::LinkToFile, platform::ErrPathFileAccess},
        {Thing::LinkToFolder, platform::ErrPathFileAccess},
        {Thing::DanglingLink, platform::ErrPathFileAccess},
        {Thing::Folder, platform::ErrPathFileAccess},
        {Thing::Pipe, platform::ErrPathFileAccess},
        {Thing::Socket, platform::ErrPathFileAccess},
        {Thing::None, platform::ErrFileNotFound},
    };
    int row = 0;
    for (const auto& c : cases) {
        const std::string name = "THING" + std::to_string(row++);
        Put(name, c.thing);
        Open();
        SCOPED_TRACE(NameOf(c.thing));
        // In a child, which an alarm ends should the open wait on the pipe with no writer.
        const auto error = testsupport::RunInChild([&] {
            ::alarm(5);
            OpenFile file;
            return std::to_string(folder.OpenRead(name, 100, file).number);
        });
        ASSERT_TRUE(error) << "the open waited";
        EXPECT_EQ(*error, std::to_string(c.error));
    }
    ExpectTargetsUntouched();
}

TEST_F(FolderFiles, ASizeOverTheCapIsRefusedYetTold) {
    const struct {
        std::string bytes;
        uint64_t cap;
        int error;
    } cases[] = {
        {"", 0, 0},
        {std::string("0123\0\x89", 6), 6, 0},
        {std::string("0123\0\x89", 6), 5, platform::ErrOverflow},
        {"0123456789", 0, platform::ErrOverflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bytes.size()) + " bytes, cap " + std::to_string(c.cap));
        dir.Write("SET.PZL", c.bytes);
        Open();
        OpenFile file;
        EXPECT_EQ(folder.OpenRead("SET.PZL", c.cap, file).number, c.error);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.Size(), c.bytes.size());
        if (c.error)
            continue;
        std::string bytes;
        ASSERT_FALSE(file.Read(c.bytes.size(), bytes));
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_TRUE(file.Read(c.bytes.size() + 1, bytes)) << "fewer bytes than asked";
    }
}

TEST_F(FolderFiles, NamesAreFoundWhateverTheirCaseTheFirstInByteOrderAmongSeveral) {
    for (const char* name : {"a.inf", "A.INF", "A.inf"})
        dir.Write(name, name);
    Put("Sub", Thing::Folder);
    Put("Lnk", Thing::LinkToFile);
    Put("PIPE", Thing::Pipe);
    Open();
    const struct {
        const char* asked;
        const char* found;
        Folder::Kind kind;
    } cases[] = {
        {"a.inf", "a.inf", Folder::Kind::File},
        {"A.INF", "A.INF", Folder::Kind::File},
        {"a.INF", "A.INF", Folder::Kind::File},
        {"sub", "Sub", Folder::Kind::Folder},
        {"LNK", "Lnk", Folder::Kind::Link},
        {"pipe", "PIPE", Folder::Kind::Other},
        {"target.dat", "TARGET.DAT", Folder::Kind::File},
        {"NONE", "", Folder::Kind::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        EXPECT_EQ(folder.Find(c.asked), c.found);
        EXPECT_EQ(folder.KindOf(c.asked), c.kind);
    }
    // What stands at this moment goes by the exact name.
    EXPECT_EQ(folder.KindNow("Lnk"), Folder::Kind::Link);
    EXPECT_EQ(folder.KindNow("LNK"), Folder::Kind::None);
    EXPECT_EQ(folder.FileNames(),
              (std::vector<std::string>{"A.INF", "A.inf", "a.inf", "TARGET.DAT"}));
    EXPECT_EQ(folder.FileNames(true),
              (std::vector<std::string>{"A.INF", "A.inf", "a.inf", "Lnk", "TARGET.DAT"}));

    // The next in byte order stands in for a removed name.
    ASSERT_FALSE(folder.Remove("A.INF"));
    EXPECT_EQ(folder.Find("a.INF"), "A.inf");
    ASSERT_FALSE(folder.Remove("A.inf"));
    ASSERT_FALSE(folder.Remove("a.inf"));
    EXPECT_EQ(folder.Find("a.INF"), "");
    EXPECT_EQ(folder.KindOf("a.INF"), Folder::Kind::None);
    ExpectNamesAsOnDisk();
}

TEST_F(FolderFiles, AFolderInsideIsOpenedOnlyWhereARealFolderStands) {
    const struct {
        Thing thing;
        const char* asked;
        bool create;
        int error;
    } cases[] = {
        {Thing::Folder, "puzzle", false, 0},
        {Thing::None, "PUZZLE", true, 0},
        {Thing::None, "PUZZLE", false, platform::ErrPathNotFound},
        {Thing::LinkToFolder, "PUZZLE", true, platform::ErrPathFileAccess},
        {Thing::DanglingLink, "PUZZLE", true, platform::ErrPathFileAccess},
        {Thing::File, "PUZZLE", true, platform::ErrPathFileAccess},
        {Thing::Pipe, "PUZZLE", true, platform::ErrPathFileAccess},
        {Thing::Folder, "PUZZLE/..", true, platform::ErrPathNotFound},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir.Path() + "PUZZLE");
        Put("PUZZLE", c.thing);
        if (c.thing == Thing::Folder)
            dir.Write("PUZZLE/GAME.INF", "");
        Open();
        SCOPED_TRACE(std::string(NameOf(c.thing)) + " asked as " + c.asked);
        Folder inside;
        EXPECT_EQ(inside.OpenIn(folder, c.asked, c.create).number, c.error);
        EXPECT_EQ(inside.IsOpen(), c.error == 0);
        if (c.error)
            continue;
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(dir.Path() + "PUZZLE")));
        EXPECT_EQ(inside.Find("game.inf"), c.thing == Thing::Folder ? "GAME.INF" : "");
        EXPECT_TRUE(inside.StandsAt(folder, "PUZZLE"));
    }
    ExpectTargetsUntouched();
}

TEST_F(FolderFiles, AnOpenFolderKnowsWhenItsNameNoLongerLeadsToIt) {
    fs::create_directory(dir.Path() + "PUZZLE");
    Open();
    Folder inside;
    ASSERT_FALSE(inside.OpenIn(folder, "PUZZLE", false));
    EXPECT_TRUE(inside.StandsAt(folder, "PUZZLE"));
    fs::rename(dir.Path() + "PUZZLE", dir.Path() + "OLD");
    fs::create_directory_symlink("OLD", dir.Path() + "PUZZLE");
    EXPECT_FALSE(inside.StandsAt(folder, "PUZZLE")) << "a link to it";
    EXPECT_TRUE(inside.StandsAt(folder, "OLD"));
    fs::remove(dir.Path() + "PUZZLE");
    fs::create_directory(dir.Path() + "PUZZLE");
    EXPECT_FALSE(inside.StandsAt(folder, "PUZZLE")) << "another folder";
}

TEST_F(FolderFiles, ANewFileIsMadeOnlyWhereNothingStandsAndNothingIsWrittenThroughALink) {
    for (Thing thing : {Thing::File, Thing::Folder, Thing::LinkToFile, Thing::LinkToFolder,
                        Thing::DanglingLink, Thing::Pipe, Thing::Socket}) {
        SCOPED_TRACE(NameOf(thing));
        const std::string name = "TAKEN" + std::to_string(static_cast<int>(thing));
        Put(name, thing);
        Open();
        const Folder::Kind before = folder.KindNow(name);
        OpenFile file;
        EXPECT_EQ(folder.CreateFile(name, "new", file).number, platform::ErrFileExists);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(folder.KindNow(name), before);
        EXPECT_EQ(folder.KindOf(name), before);
        if (thing == Thing::File) {
            EXPECT_EQ(dir.Read(name), "plain");
        }
        ExpectNamesAsOnDisk();
    }
    ExpectTargetsUntouched();

    const std::string bytes("new\0\r\n", 6);
    OpenFile file;
    ASSERT_FALSE(folder.CreateFile("NEW.DAT", bytes, file));
    EXPECT_EQ(dir.Read("NEW.DAT"), bytes);
    EXPECT_EQ(file.Size(), bytes.size());
    std::string back;
    ASSERT_FALSE(file.Read(bytes.size(), back));
    EXPECT_EQ(back, bytes);
    EXPECT_TRUE(folder.Holds("NEW.DAT", file));
    EXPECT_EQ(folder.Find("new.dat"), "NEW.DAT");
    ExpectNamesAsOnDisk();
}

TEST_F(FolderFiles, ARenameLandsOnTheVeryFileCheckedAndTheNamesFollow) {
    dir.Write("SET.PZL", "old");
    Open();
    OpenFile file;
    ASSERT_FALSE(folder.CreateFile("SET.TMP", "new", file));
    ASSERT_FALSE(folder.Rename("SET.TMP", "SET.PZL"));
    EXPECT_TRUE(folder.Holds("SET.PZL", file));
    EXPECT_FALSE(folder.Holds("SET.TMP", file));
    EXPECT_EQ(dir.Read("SET.PZL"), "new");
    EXPECT_EQ(folder.Find("set.tmp"), "");
    EXPECT_EQ(folder.KindOf("set.pzl"), Folder::Kind::File);
    ExpectNamesAsOnDisk();

    // Another file put under the name, or a link to the held file, is not it;
    // what was opened still reads as it was checked.
    fs::rename(dir.Path() + "SET.PZL", dir.Path() + "HELD.PZL");
    fs::create_symlink("HELD.PZL", dir.Path() + "SET.PZL");
    EXPECT_FALSE(folder.Holds("SET.PZL", file));
    EXPECT_TRUE(folder.Holds("HELD.PZL", file));
    fs::remove(dir.Path() + "SET.PZL");
    dir.Write("SET.PZL", "new");
    EXPECT_FALSE(folder.Holds("SET.PZL", file));
    std::string bytes;
    ASSERT_FALSE(file.Read(3, bytes));
    EXPECT_EQ(bytes, "new");
    EXPECT_FALSE(folder.Holds("SET.PZL", OpenFile()));
}

TEST_F(FolderFiles, RenamesAndRemovesTouchOnlyPlainFilesAndLinks) {
    Put("FILE", Thing::File);
    Put("FOLDER", Thing::Folder);
    Put("LINK", Thing::LinkToFile);
    Put("DANGLING", Thing::DanglingLink);
    Open();
    const struct {
        const char* what;
        std::function<platform::RuntimeError()> act;
        int error;
    } refused[] = {
        {"a rename of a link", [&] { return folder.Rename("LINK", "NEW"); },
         platform::ErrPathFileAccess},
        {"a rename of a folder", [&] { return folder.Rename("FOLDER", "NEW"); },
         platform::ErrPathFileAccess},
        {"a rename of nothing", [&] { return folder.Rename("NONE", "NEW"); },
         platform::ErrFileNotFound},
        {"a rename over a folder", [&] { return folder.Rename("FILE", "FOLDER"); },
         platform::ErrPathFileAccess},
        {"a rename over a link", [&] { return folder.Rename("FILE", "LINK"); },
         platform::ErrPathFileAccess},
        {"a rename over a dangling link", [&] { return folder.Rename("FILE", "DANGLING"); },
         platform::ErrPathFileAccess},
        {"an atomic write over a link", [&] { return folder.WriteFileAtomic("LINK", "new"); },
         platform::ErrPathFileAccess},
        {"a removal of a folder", [&] { return folder.Remove("FOLDER"); },
         platform::ErrPathFileAccess},
        {"a removal of nothing", [&] { return folder.Remove("NONE"); }, platform::ErrFileNotFound},
        {"a rename the system refuses, its source gone once checked",
         [&] {
             const std::string gone = dir.Write("GONE", "");
             testsupport::FileEventHookScope hook([&](auto&) { return ::unlink(gone.c_str()); });
             return folder.Rename("GONE", "NEW");
         },
         platform::ErrFileNotFound},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.act().number, c.error);
        EXPECT_EQ(dir.Read("FILE"), "plain");
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(dir.Path() + "FOLDER")));
        EXPECT_TRUE(fs::is_symlink(dir.Path() + "LINK"));
        ExpectNamesAsOnDisk();
    }
    ExpectTargetsUntouched();

    // A link goes, not what it leads to; an atomic write leaves no other name.
    ASSERT_FALSE(folder.Remove("LINK"));
    ASSERT_FALSE(folder.Remove("DANGLING"));
    ASSERT_FALSE(folder.WriteFileAtomic("FILE", "new"));
    EXPECT_EQ(dir.Read("FILE"), "new");
    ExpectTargetsUntouched();
    EXPECT_EQ(folder.FileNames(true), (std::vector<std::string>{"FILE", "TARGET.DAT"}));
    ExpectNamesAsOnDisk();
    ASSERT_FALSE(folder.Remove("FILE"));
    EXPECT_EQ(folder.Find("file"), "");
    ExpectNamesAsOnDisk();
}

}  // namespace

namespace {

// A name that leads out of the folder, through a link or up, is no name of it.
TEST_F(FolderFiles, ANameThatLeadsElsewhereIsRefusedByEveryOperation) {
    fs::create_directory_symlink(dir.Path() + "TARGETS", dir.Path() + "LINKDIR");
    dir.Write("TARGETS/X.DAT", "elsewhere");
    ASSERT_FALSE(folder.Open(dir.Path()));
    OpenFile file;
    for (const std::string name : {"LINKDIR/X.DAT", "TARGETS/X.DAT", "..", ".", ""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(folder.OpenRead(name, 100, file).number, platform::ErrBadFileName);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(folder.CreateFile(name, "x", file).number, platform::ErrBadFileName);
        EXPECT_EQ(folder.Remove(name).number, platform::ErrBadFileName);
        EXPECT_EQ(folder.Rename("TARGET.DAT", name).number, platform::ErrBadFileName);
        EXPECT_EQ(folder.WriteFileAtomic(name, "x").number, platform::ErrBadFileName);
    }
    EXPECT_EQ(folder.CreateFile("LINKDIR/NEW.DAT", "x", file).number, platform::ErrBadFileName);
    std::string bytes;
    ASSERT_FALSE(platform::ReadWholeFile(dir.Path() + "TARGETS/X.DAT", bytes));
    EXPECT_EQ(bytes, "elsewhere");
    EXPECT_TRUE(fs::exists(dir.Path() + "TARGET.DAT"));
    EXPECT_FALSE(fs::exists(dir.Path() + "TARGETS/NEW.DAT"));
}

}  // namespace
