// The transfer window's logic: the drive question, the listing, export and
// import of whole puzzle sets, and the refusals that keep puzzles whole.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/child_process.h"
#include "transfer_fixture.h"

using namespace transfer;

namespace {

const char* const DriveTitle = "ENTER  DRIVE  LETTER";
const char* const Blank = "NO or INVALIED DRIVE ENTRY!";
const char* const Invalid = "INVALIED DRIVE ENTRY!";
std::string NotRemovable(const std::string& drive) {
    return "DRIVE " + drive + " IS NOT A REMOVABLE OR CD DRIVE!";
}

std::string Headline(const std::string& text) {
    return text.substr(0, text.find('\r'));
}

}  // namespace

TEST_F(Transfer, TheDriveQuestionTakesOnlyARemovableOrCdDriveAndAsksAgainOnOk) {
    WritePuzzle(PuzzlePath, "FOO", "Foo");
    struct Case {
        std::string entry, headline, title;
    };
    const std::vector<Case> refused{{" ", Blank, DriveTitle},
                                    {"d", Invalid, DriveTitle},
                                    {"d:", Invalid, DriveTitle},
                                    {"DD:", Invalid, DriveTitle},
                                    {"1:", Invalid, DriveTitle},
                                    {" D:", Invalid, DriveTitle},
                                    {"D: ", Invalid, DriveTitle},
                                    {"Z:", NotRemovable("Z:"), ExportTitle},
                                    {"C:", NotRemovable("C:"), ExportTitle}};
    for (const Case& c : refused) {
        SCOPED_TRACE("entry \"" + c.entry + "\"");
        // Cancel closes the window.
        platform.ExpectBox(c.title, platform::AnswerCancel);
        EXPECT_FALSE(Open(ExportMode, c.entry).Visible());
        EXPECT_EQ(Headline(LastBox().text), c.headline);
        EXPECT_EQ(LastBox().flags, platform::MsgOkCancel | platform::MsgExclamation);
    }
    // The refusal of a fixed drive names the drives that would do.
    EXPECT_EQ(LastBox().text, NotRemovable("C:") + "\rD:  " + stick.substr(0, stick.size() - 1) +
                                  "\rE:  " + disc.substr(0, disc.size() - 1));
    EXPECT_EQ(platform.Beeps(), static_cast<int>(refused.size()));

    // An empty answer closes the window without a word.
    const size_t boxes = platform.Boxes().size();
    EXPECT_FALSE(Open(ExportMode, "").Visible());
    EXPECT_EQ(platform.Boxes().size(), boxes);

    // OK on a refusal asks again; a good answer lists the puzzles.
    platform.ExpectInput("1:");
    platform.ExpectBox(DriveTitle);
    IXPorterLogic& d = Open(ExportMode, "E:");
    EXPECT_TRUE(d.Visible());
    EXPECT_EQ(d.TransferDrive(), "E:");
    EXPECT_EQ(d.Items(), std::vector<std::string>{"Foo"});
    EXPECT_TRUE(d.ListEnabled());
    EXPECT_EQ(d.OkCaption(), "EXPORT");
}

TEST_F(Transfer, TheDefaultDriveIsTheFirstRemovableOrCdDrive) {
    EXPECT_EQ(IXPorterLogic::DefaultDrive(), "D:");
    platform.drives.erase(platform.drives.begin() + 1);
    EXPECT_EQ(IXPorterLogic::DefaultDrive(), "E:");
    platform.drives.pop_back();
    EXPECT_EQ(IXPorterLogic::DefaultDrive(), "A:");
    platform.drivesFail = true;
    EXPECT_EQ(IXPorterLogic::DefaultDrive(), "A:");
}

TEST_F(Transfer, APuzzleWithTheCustomFlagLoadedRefusesBeforeAnyQuestion) {
    CustomPuzzleFlag = 1;
    dialog.emplace();
    dialog->pzlMode = ImportMode;
    platform.ExpectBox("TRANSFER    PUZZLES");
    dialog->Activate();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(platform.Prompts().empty());
    EXPECT_EQ(platform.Beeps(), 1);
}

TEST_F(Transfer, AnEmptyOrMissingSourceFolderEndsTheListing) {
    // The puzzles the export leaves out are named, with where to see why.
    dir.Write("PUZZLE/JUNK.INF", "short");
    WritePuzzle(PuzzlePath, "GAPPY", "Gappy");
    ASSERT_FALSE(platform::DeleteFile(PuzzlePath + "GAPPY.KYC"));
    EXPECT_FALSE(Open(ExportMode, "D:", {ListingTitle, ListingTitle}).Visible());
    EXPECT_EQ(platform.Boxes()[platform.Boxes().size() - 2].text,
              "SOME PUZZLES IN THE PUZZLE FOLDER WERE LEFT OUT!\r\rGAPPY.KYC: missing\rJUNK.INF: "
              "no whole record\r\rThey stay as they are: LOAD one\rin the puzzle library to see "
              "why.");
    EXPECT_EQ(LastBox().text, "ERROR: NO FILES FOUND!");
    EXPECT_EQ(platform.Beeps(), 2);
    for (const std::string& name : Files(PuzzlePath))
        ASSERT_FALSE(platform::DeleteFile(PuzzlePath + name));

    // No PUZZLE folder on the stick.
    EXPECT_FALSE(Open(ImportMode, "D:", {ListingTitle}).Visible());
    EXPECT_EQ(LastBox().text, "ERROR: PATH NOT FOUND!");
    EXPECT_EQ(platform.Beeps(), 3);

    // An empty one is reported without a beep.
    ASSERT_FALSE(platform::CreateFolder(stick + "PUZZLE"));
    EXPECT_FALSE(Open(ImportMode, "D:", {ListingTitle}).Visible());
    EXPECT_EQ(LastBox().text, "ERROR: NO FILES FOUND!");
    EXPECT_EQ(platform.Beeps(), 3);

    // Cancel on the media prompt ends it before any listing.
    dialog.emplace();
    dialog->pzlMode = ImportMode;
    platform.ExpectInput("D:");
    platform.ExpectBox(MediaTitle, platform::AnswerCancel);
    dialog->Activate();
    EXPECT_FALSE(dialog->Visible());
}

TEST_F(Transfer, TheListIsSortedByNameWithoutRegardToCase) {
    WritePuzzle(PuzzlePath, "A1", "cherry");
    WritePuzzle(PuzzlePath, "B2", "Apple");
    WritePuzzle(PuzzlePath, "C3", "banana");
    IXPorterLogic& d = Open(ExportMode);
    EXPECT_EQ(d.Items(), (std::vector<std::string>{"Apple", "banana", "cherry"}));
    ASSERT_EQ(d.TransferCount(), 3);
    for (size_t r = 0; r < d.Items().size(); ++r)
        EXPECT_EQ(d.TransferTable()[static_cast<size_t>(d.ItemData()[r])].puzzleName, d.Items()[r]);
    EXPECT_EQ(d.TransferTable()[1].baseName, "A1");

    // The marks mirror the selection at each click.
    Select({"Apple", "cherry"});
    Select({"cherry"});
    EXPECT_EQ(d.TransferTable()[1].mark, "S");
    EXPECT_EQ(d.TransferTable()[2].mark, "N");
    EXPECT_EQ(d.TransferTable()[3].mark, "N");
}

TEST_F(Transfer, ExportCopiesTheMarkedSetsAndReplacesThemOnTheDrive) {
    WritePuzzle(PuzzlePath, "FOO", "Foo");
    WritePuzzle(PuzzlePath, "BAR", "Bar");
    WritePuzzle(PuzzlePath, "BAZ", "Baz");
    // An older FOO on the stick, in a folder named in lower case.
    WritePuzzle(stick + "puzzle/", "FOO", "Old Foo");
    IXPorterLogic& d = Open(ExportMode);

    platform.ExpectBox(InsertTitle);
    platform.ExpectBox("EXPORT  PUZZLE");
    d.OkClick();
    EXPECT_EQ(LastBox().text,
              "ERROR:  NO PUZZLE(s) SELECTED!\r\rYou MUST Select a puzzle from the list.");
    EXPECT_TRUE(d.ListFocus());
    EXPECT_TRUE(d.Visible());

    Select({"Foo", "Baz"});
    for (int press = 0; press < 2; ++press) {
        platform.ExpectBox(InsertTitle);
        platform.ExpectBox(ExportTitle);
        d.OkClick();
        EXPECT_EQ(LastBox().text, "PUZZLE FILES EXPORTED.");
    }
    std::vector<std::string> expected = SetOf("BAZ");
    for (const std::string& name : SetOf("FOO"))
        expected.push_back(name);
    EXPECT_EQ(Files(stick + "puzzle/"), Sorted(expected));
    EXPECT_FALSE(std::filesystem::exists(stick + "PUZZLE"));
    ExpectSameSet(PuzzlePath, stick + "puzzle/", "FOO");
    ExpectSameSet(PuzzlePath, stick + "puzzle/", "BAZ");
    ASSERT_EQ(d.LastTransfer().size(), 2u);
    EXPECT_EQ(d.LastTransfer()[0].outcome, TransferOutcome::Copied);

    // The disc gets a PUZZLE folder of its own, in upper case, on the disc
    // before anything is put in it.
    IXPorterLogic& e = Open(ExportMode, "E:");
    Select({"Bar"});
    platform.ExpectBox(InsertTitle);
    platform.ExpectBox(ExportTitle);
    std::vector<platform::FileEventKind> events;
    {
        testsupport::FileEventHookScope record([&events](const platform::FileEvent& event) {
            if (event.kind != platform::FileEventKind::OpenRead)
                events.push_back(event.kind);
            return 0;
        });
        e.OkClick();
    }
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], platform::FileEventKind::MakeFolder);
    EXPECT_EQ(events[1], platform::FileEventKind::FlushFolder);
    EXPECT_TRUE(std::filesystem::is_directory(disc + "PUZZLE"));
    EXPECT_EQ(Files(disc + "PUZZLE/").size(), 7u);
    ExpectSameSet(PuzzlePath, disc + "PUZZLE/", "BAR");
}

TEST_F(Transfer, ExportOfAPuzzleWithAFileMissingCopiesNothingOfIt) {
    WritePuzzle(PuzzlePath, "FOO", "Foo");
    IXPorterLogic& d = Open(ExportMode);
    Select({"Foo"});
    ASSERT_FALSE(platform::DeleteFile(PuzzlePath + "FOO.SQC"));
    platform.ExpectBox(InsertTitle);
    platform.ExpectBox("EXPORTING  PUZZLE  FILES");
    d.OkClick();
    EXPECT_EQ(LastBox().text,
              "ERROR: FILE NOT FOUND!\r\rThe file FOO.SQC wasn't found\rin PUZZLE "
              "Directory.\rCan't continue -- Terminating Export.");
    EXPECT_TRUE(Files(stick + "PUZZLE/").empty());
}

TEST_F(Transfer, ACopyThatFailsPartWayLeavesNoPartialSetAndNoSuccess) {
    WritePuzzle(PuzzlePath, "FOO", "Foo");
    WritePuzzle(PuzzlePath, "ZED", "Zed");
    // A folder stands where FOO's tool-box file goes.
    ASSERT_FALSE(platform::CreateFolder(stick + "PUZZLE/FOO.TBX"));
    IXPorterLogic& d = Export({"Foo", "Zed"});
    EXPECT_EQ(Headline(LastBox().text), "ERROR 75");
    EXPECT_EQ(LastBox().flags, platform::MsgOkOnly | platform::MsgCritical);
    // Nothing of FOO arrived; ZED, after it, did.
    EXPECT_EQ(Files(stick + "PUZZLE/"), Sorted(SetOf("ZED")));
    ASSERT_EQ(d.LastTransfer().size(), 2u);
    EXPECT_EQ(d.LastTransfer()[0].outcome, TransferOutcome::Failed);
    EXPECT_EQ(d.LastTransfer()[1].outcome, TransferOutcome::Copied);

    // The same rule for a set copied over an older one: the old one stays whole.
    WritePuzzle(disc + "PUZZLE/", "FOO", "Old Foo");
    const std::string old = Bytes(disc + "PUZZLE/FOO.INF");
    ASSERT_FALSE(platform::DeleteFile(disc + "PUZZLE/FOO.KYC"));
    ASSERT_FALSE(platform::CreateFolder(disc + "PUZZLE/FOO.KYC"));
    IXPorterLogic& e = Open(ExportMode, "E:");
    Select({"Foo"});
    platform.ExpectBox(InsertTitle);
    platform.ExpectBox(ExportTitle);
    e.OkClick();
    EXPECT_EQ(Bytes(disc + "PUZZLE/FOO.INF"), old);
    EXPECT_EQ(Files(disc + "PUZZLE/").size(), 6u);
}

TEST_F(Transfer, ADriveThatCannotBeWrittenReportsTheFailure) {
    WritePuzzle(PuzzlePath, "FOO", "Foo");
    // The disc's root is a file, so no folder can be made on it.
    platform.drives[2].rootPath = dir.Write("sealed.iso", "x") + "/";
    IXPorterLogic& d = Open(ExportMode, "E:");
    Select({"Foo"});
    platform.ExpectBox(InsertTitle);
    platform.ExpectBox(ExportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text.rfind("ERROR ", 0), 0u) << LastBox().text;
    EXPECT_NE(LastBox().text, "PUZZLE FILES EXPORTED.");
    // While the game asks for the disk, a drive put in takes the letter asked for.
    EXPECT_EQ(platform.awaited, (std::vector<char>{'E', 0}));

    // A drive gone since the question copies nothing.
    platform.drives.pop_back();
    platform.ExpectBox(InsertTitle);
    platform.ExpectBox(ExportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text,
              "ERROR: DRIVE E: WAS REMOVED!\r\rThe transfer stopped. Put the drive\rback and "
              "export again.");
}

TEST_F(Transfer, ImportCopiesIntoAnEmptyPuzzleFolder) {
    WritePuzzle(stick + "PUZZLE/", "FOO", "Foo");
    WritePuzzle(stick + "PUZZLE/", "BAR", "Bar");
    IXPorterLogic& d = Open(ImportMode);
    EXPECT_EQ(d.OkCaption(), "IMPORT");
    platform.ExpectBox("EMPORT  PUZZLE");
    d.OkClick();

    Select({"Foo", "Bar"});
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text, "PUZZLE FILES IMPORTED.");
    ExpectSameSet(stick + "PUZZLE/", PuzzlePath, "FOO");
    ExpectSameSet(stick + "PUZZLE/", PuzzlePath, "BAR");
    EXPECT_EQ(Files(PuzzlePath).size(), 14u);

    // A stick whose PUZZLE folder went away meanwhile.
    std::filesystem::rename(stick + "PUZZLE", stick + "AWAY");
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text, "CAN'T FIND QVPUZZLE DRICTORY ON D: DRIVE!");
}

TEST_F(Transfer, ImportOverAnUnkeyedPuzzleAsksAndOverAKeyedOneRefuses) {
    WritePuzzle(stick + "PUZZLE/", "FOO", "New Foo");
    WritePuzzle(PuzzlePath, "FOO", "Old Foo");
    const std::string old = Bytes(PuzzlePath + "FOO.INF");
    IXPorterLogic& d = Open(ImportMode);
    Select({"New Foo"});

    platform.ExpectBox(ImportTitle, platform::AnswerNo);
    d.OkClick();
    EXPECT_EQ(LastBox().text, "PUZZLE FOO ALREADY EXISTS!\r\rDo you want to replace it?");
    EXPECT_EQ(platform::ButtonSetOf(LastBox().flags), platform::MsgYesNo);
    EXPECT_EQ(Bytes(PuzzlePath + "FOO.INF"), old);
    EXPECT_EQ(d.LastTransfer().front().outcome, TransferOutcome::Skipped);

    platform.ExpectBox(ImportTitle, platform::AnswerYes);
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text, "PUZZLE FILES IMPORTED.");
    ExpectSameSet(stick + "PUZZLE/", PuzzlePath, "FOO");

    WritePuzzle(PuzzlePath, "FOO", "Keyed Foo", "SECRET");
    std::vector<std::string> before;
    for (const std::string& name : SetOf("FOO"))
        before.push_back(Bytes(PuzzlePath + name));
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text,
              "PUZZLE FOO IS KEYED ON THIS COMPUTER!\r\rA keyed puzzle can't be replaced by an "
              "import.");
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(Bytes(PuzzlePath + SetOf("FOO")[i]), before[i]);
    EXPECT_EQ(d.LastTransfer().front().outcome, TransferOutcome::Refused);

    // A local information file nobody can read keeps its puzzle too.
    ASSERT_FALSE(platform::WriteFileAtomic(PuzzlePath + "FOO.INF", "short"));
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(Headline(LastBox().text), "PUZZLE FOO CAN'T BE READ ON THIS COMPUTER!");
    EXPECT_EQ(Bytes(PuzzlePath + "FOO.INF"), "short");
    // Another copy of the game writing the puzzle folder says so.
    const int other = ::open(PuzzlePath.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    platform::FolderLockWaitMs = 0;
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    platform::FolderLockWaitMs = 2000;
    ::close(other);
    EXPECT_EQ(Headline(LastBox().text), "ERROR: PUZZLE FOLDER IN USE!");

    // Another copy of the game keys FOO, and saves a keyed ZED the import
    // would have written without a question, while FOO's question is up:
    // the answer was given on FOO as it was, so both are looked at again.
    WritePuzzle(stick + "PUZZLE/", "ZED", "New Zed");
    WritePuzzle(PuzzlePath, "FOO", "Old Foo");
    IXPorterLogic& both = Open(ImportMode);
    Select({"New Foo", "New Zed"});
    platform.atBox = [&](const std::string&) {
        platform.atBox = nullptr;
        WritePuzzle(PuzzlePath, "FOO", "Keyed Foo", "SECRET");
        WritePuzzle(PuzzlePath, "ZED", "Keyed Zed", "SECRET");
    };
    for (int answer : {platform::AnswerYes, platform::AnswerOk, platform::AnswerOk})
        platform.ExpectBox(ImportTitle, answer);
    both.OkClick();
    for (const char* base : {"FOO", "ZED"}) {
        EXPECT_EQ(Headline(platform.Boxes()[platform.Boxes().size() - (*base == 'F' ? 2 : 1)].text),
                  "PUZZLE " + std::string(base) + " IS KEYED ON THIS COMPUTER!");
        PuzzleInfo info;
        ASSERT_TRUE(ReadPuzzleInfo(PuzzlePath + base + ".INF", info).Ok());
        EXPECT_EQ(info.puzzleKey, "SECRET");
    }

    // Another copy changing FOO on every read: asked three times at most, then
    // told, and FOO stays as that copy left it.
    WritePuzzle(PuzzlePath, "FOO", "Old Foo");
    IXPorterLogic& busy = Open(ImportMode);
    Select({"New Foo"});
    for (int answer :
         {platform::AnswerYes, platform::AnswerYes, platform::AnswerYes, platform::AnswerOk})
        platform.ExpectBox(ImportTitle, answer);
    {
        testsupport::FileEventHookScope other(testsupport::AtOpenRead(
            "FOO.INF", 0, [] { std::ofstream(PuzzlePath + "FOO.TGC", std::ios::app) << 'x'; }));
        busy.OkClick();
    }
    EXPECT_EQ(LastBox().text,
              "PUZZLE FOO HAS CHANGED!\r\rAnother copy of the game changed it.\rNothing was "
              "changed here.");
    EXPECT_EQ(Bytes(PuzzlePath + "FOO.INF"), old);
}

TEST_F(Transfer, HostileOrDamagedSetsOnTheDriveAreNotListed) {
    const std::string drive = stick + "puzzle/";
    WritePuzzle(drive, "GOOD", "Good");
    WritePuzzle(drive, "EVIL", "Evil");
    Patch(drive + "EVIL.INF", 208, 20, "../X");
    WritePuzzle(drive, "SLASH", "Slash");
    Patch(drive + "SLASH.INF", 40, 24, "../../SLASH.PZL");
    WritePuzzle(drive, "OTHER", "Other");
    Patch(drive + "OTHER.INF", 40, 24, "GOOD.PZL");
    WritePuzzle(drive, "BROKEN", "Broken");
    ASSERT_FALSE(platform::WriteFileAtomic(drive + "BROKEN.PZL", std::string(34 * 5, ' ')));
    WritePuzzle(drive, "GAPPY", "Gappy");
    ASSERT_FALSE(platform::DeleteFile(drive + "GAPPY.KYC"));
    // Pipes are named, never waited on.
    WritePuzzle(drive, "PIPED", "Piped");
    ASSERT_FALSE(platform::DeleteFile(drive + "PIPED.TGC"));
    for (const char* pipe : {"PIPED.TGC", "FIFO.INF"})
        ASSERT_EQ(::mkfifo((drive + pipe).c_str(), 0644), 0);
    // A copy of GOOD's information file under another name.
    dir.Write("STICK/puzzle/alias.inf", Bytes(drive + "GOOD.INF"));
    // Lower-case names on the drive are found all the same.
    WritePuzzle(drive, "LOW", "Low");
    for (const std::string& name : SetOf("LOW"))
        std::filesystem::rename(drive + name, drive + "low" + name.substr(3));
    // The library's name rule, after upper-casing: letters, digits, "-" and "_".
    WritePuzzle(drive, "k-9_x", "Dog");
    WritePuzzle(drive, "SP.CE", "Dotted");

    // What is left out is said once, with why.
    IXPorterLogic& d = Open(ImportMode, "D:", {ListingTitle});
    EXPECT_EQ(LastBox().text,
              "SOME PUZZLES ON DRIVE D: WERE LEFT OUT!\r\ralias.inf: file name\rBROKEN.PZL: 5 "
              "records for 100 cells\rEVIL.INF: base name\rFIFO.INF: not a plain file\rGAPPY.KYC: "
              "missing\rOTHER.INF: stored file name\rPIPED.TGC: not a plain file\rSLASH.INF: "
              "stored file name\rSP.CE.INF: base name\r\rExport them to the drive again\rfrom "
              "the computer they came from.");
    EXPECT_EQ(d.Items(), (std::vector<std::string>{"Dog", "Good", "Low"}));
    Select({"Dog", "Good", "Low"});
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text, "PUZZLE FILES IMPORTED.");
    std::vector<std::string> expected = SetOf("GOOD");
    for (const char* base : {"LOW", "K-9_X"})
        for (const std::string& name : SetOf(base))
            expected.push_back(name);
    // Written in upper case, whatever the case on the drive.
    EXPECT_EQ(Files(PuzzlePath), Sorted(expected));
    // Nothing was written anywhere but in the puzzle folder.
    std::vector<std::string> outside;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
        if (entry.is_regular_file() && entry.path().parent_path().string() + "/" != PuzzlePath &&
            entry.path().parent_path().string() + "/" != drive)
            outside.push_back(entry.path().string());
    EXPECT_TRUE(outside.empty()) << outside.front();
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "../SLASH.PZL"));
}

TEST_F(Transfer, ASetDamagedAfterTheListingIsNotImported) {
    WritePuzzle(stick + "PUZZLE/", "FOO", "Foo");
    IXPorterLogic& d = Open(ImportMode);
    Select({"Foo"});
    ASSERT_FALSE(platform::WriteFileAtomic(stick + "PUZZLE/FOO.TBX", "bad"));
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(Headline(LastBox().text), PuzzleDamagedText);
    EXPECT_TRUE(Files(PuzzlePath).empty());

    ASSERT_FALSE(platform::DeleteFile(stick + "PUZZLE/FOO.PZL"));
    platform.ExpectBox("IMPORTING  PUZZLE  FILES");
    d.OkClick();
    EXPECT_EQ(LastBox().text,
              "ERROR: FILE NOT FOUND!\r\rThe file FOO.PZL wasn't found\ron Drive "
              "D:\\PUZZLE\\\rCan't continue -- Terminating Import.");
    EXPECT_TRUE(Files(PuzzlePath).empty());
}

TEST_F(Transfer, ASetWhoseFilesAreNotTheOnesItsInformationFileNamesIsNotListed) {
    // The information file names "foo.PZL" and the others; the names that
    // travel hold garbage, on a drive that tells names apart by case.
    const std::string drive = stick + "PUZZLE/";
    WritePuzzle(drive, "foo", "Shadowed");
    for (const std::string& name : SetOf("FOO"))
        if (name != "FOO.INF")
            dir.Write("STICK/PUZZLE/" + name, "garbage");
    WritePuzzle(drive, "BAR", "Bar");
    WritePuzzle(PuzzlePath, "FOO", "Local Foo");
    const std::string local = Bytes(PuzzlePath + "FOO.PZL");
    IXPorterLogic& d = Open(ImportMode, "D:", {ListingTitle});
    EXPECT_EQ(d.Items(), std::vector<std::string>{"Bar"});

    // Shadowed after the listing: not what was listed, refused before anything is copied.
    dir.Write("STICK/PUZZLE/bar.tgc", Bytes(drive + "BAR.TGC"));
    dir.Write("STICK/PUZZLE/BAR.TGC", "garbage");
    Patch(drive + "BAR.INF", 184, 24, "bar.tgc");
    Select({"Bar"});
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(Headline(LastBox().text), "ERROR: DRIVE D: HAS CHANGED!");
    EXPECT_EQ(Files(PuzzlePath), Sorted(SetOf("FOO")));
    EXPECT_EQ(Bytes(PuzzlePath + "FOO.PZL"), local);
}

TEST_F(Transfer, NoFileLargerThanAPuzzleFileCanBeIsReadOrImported) {
    const std::string drive = stick + "PUZZLE/";
    WritePuzzle(drive, "HUGE", "Huge");
    WritePuzzle(drive, "JUNK", "Junk");
    WritePuzzle(drive, "LONG", "Long");
    WritePuzzle(drive, "GOOD", "Good");
    // A board file of 6 GiB that takes no room, a valid one with 30 MB behind it,
    // and one as long as a 60 by 60 board's, which loads as its first 100 cells.
    ASSERT_EQ(::truncate((drive + "HUGE.PZL").c_str(), off_t{6} << 30), 0);
    ASSERT_EQ(::truncate((drive + "JUNK.PZL").c_str(), off_t{30} << 20), 0);
    std::string longBoard = Bytes(drive + "LONG.PZL");
    longBoard.resize(60 * 60 * BoardCellRecordLength, 'x');
    dir.Write("STICK/PUZZLE/LONG.PZL", longBoard);

    // The listing with the memory it may take capped well below the huge file.
    const auto listed = testsupport::RunInChild([this] {
        if (!CapMemory())
            return std::string("no limit");
        std::string items;
        for (const std::string& item : Open(ImportMode, "D:", {ListingTitle}).Items())
            items += item + " ";
        return items;
    });
    ASSERT_TRUE(listed) << "the listing ran out of memory";
    EXPECT_EQ(*listed, "Good Long ");

    // A file grown past the limit after the listing is not copied.
    IXPorterLogic& d = Open(ImportMode, "D:", {ListingTitle});
    Select({"Good", "Long"});
    ASSERT_EQ(::truncate((drive + "GOOD.TBX").c_str(), off_t{30} << 20), 0);
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text, std::string(PuzzleDamagedText) + "\r\rGOOD.TBX: too large: " +
                                  std::to_string(30 << 20) + " bytes");
    EXPECT_EQ(Files(PuzzlePath), Sorted(SetOf("LONG")));
    PuzzleInfo info;
    EXPECT_TRUE(LoadPuzzleFiles(PuzzlePath, "LONG", info).Ok());
    EXPECT_EQ(BoardTable.size(), 100u);
}

TEST_F(Transfer, NoLinkBelowTheDrivesRootIsFollowed) {
    namespace fs = std::filesystem;
    const std::string elsewhere = dir.Path() + "ELSEWHERE/";
    const std::string drive = stick + "PUZZLE/";
    // A keyed puzzle elsewhere on the computer, linked onto the stick file by
    // file; another set with its board file alone linked.
    WritePuzzle(elsewhere, "KEYED", "Keyed", "SECRET");
    ASSERT_FALSE(platform::CreateFolder(drive));
    for (const std::string& name : SetOf("KEYED"))
        fs::create_symlink(elsewhere + name, drive + name);
    WritePuzzle(drive, "HALF", "Half");
    fs::rename(drive + "HALF.PZL", elsewhere + "HALF.PZL");
    fs::create_symlink(elsewhere + "HALF.PZL", drive + "HALF.PZL");
    WritePuzzle(drive, "GOOD", "Good");
    EXPECT_EQ(Open(ImportMode, "D:", {ListingTitle}).Items(), std::vector<std::string>{"Good"});
    EXPECT_EQ(
        platform.Boxes().back().text.rfind(
            "SOME PUZZLES ON DRIVE D: WERE LEFT OUT!\r\rHALF.PZL: link\rKEYED.INF: link\r\r", 0),
        0u);

    // A PUZZLE folder that links out of the disc: refused both ways.
    fs::create_directory_symlink(elsewhere, disc + "PUZZLE");
    const std::string linked =
        "ERROR: THE PUZZLE FOLDER ON E: DRIVE IS A LINK!\r\rPuzzles are not copied through links.";
    EXPECT_FALSE(Open(ImportMode, "E:", {ListingTitle}).Visible());
    EXPECT_EQ(LastBox().text, linked);
    WritePuzzle(PuzzlePath, "FOO", "Foo");
    IXPorterLogic& e = Open(ExportMode, "E:");
    Select({"Foo"});
    platform.ExpectBox(InsertTitle);
    platform.ExpectBox(ExportTitle);
    e.OkClick();
    EXPECT_EQ(LastBox().text, linked);
    EXPECT_FALSE(platform::IsFile(elsewhere + "FOO.INF"));

    // A file on the stick that links out is not written through.
    dir.Write("ELSEWHERE/MINE.TXT", "mine");
    fs::create_symlink(elsewhere + "MINE.TXT", drive + "FOO.TBX");
    Export({"Foo"});
    EXPECT_EQ(LastBox().text, "ERROR 75\rPath/File access error");
    EXPECT_EQ(Bytes(elsewhere + "MINE.TXT"), "mine");
    EXPECT_FALSE(platform::IsFile(drive + "FOO.INF"));
}

TEST_F(Transfer, ALocalPuzzleTheLibraryWouldAskAKeyForOrWriteProtectedIsNeverReplaced) {
    WritePuzzle(stick + "PUZZLE/", "FOO", "New Foo");
    const std::string keyed =
        "PUZZLE FOO IS KEYED ON THIS COMPUTER!\r\rA keyed puzzle can't be replaced by an import.";
    const std::string asked = "PUZZLE FOO ALREADY EXISTS!\r\rDo you want to replace it?";
    struct Case {
        std::string key;
        int16_t customFlag;
        std::string shown;
    };
    // The library deletes without a key only an unkeyed puzzle: "UNKEYED"
    // exactly, or empty without the custom flag.
    for (const Case& c : std::vector<Case>{{"unkeyed", 0, keyed},
                                           {"", 1, keyed},
                                           {"Secret", 1, keyed},
                                           {"", 0, asked},
                                           {"UNKEYED", 1, asked}}) {
        SCOPED_TRACE("key \"" + c.key + "\", custom flag " + std::to_string(c.customFlag));
        WritePuzzle(PuzzlePath, "FOO", "Old Foo", c.key);
        std::string inf = Bytes(PuzzlePath + "FOO.INF");
        platform::RecordBuffer record(inf);
        record.PutInt16(228, c.customFlag);
        ASSERT_FALSE(platform::WriteFileAtomic(PuzzlePath + "FOO.INF", record.Bytes()));
        const std::string old = Bytes(PuzzlePath + "FOO.INF");
        IXPorterLogic& d = Open(ImportMode);
        Select({"New Foo"});
        platform.ExpectBox(ImportTitle, platform::AnswerNo);
        d.OkClick();
        EXPECT_EQ(LastBox().text, c.shown);
        EXPECT_EQ(Bytes(PuzzlePath + "FOO.INF"), old);
    }

    // An unkeyed puzzle with one write-protected file stays whole, and the failure is told.
    WritePuzzle(PuzzlePath, "FOO", "Old Foo");
    std::vector<std::string> before;
    for (const std::string& name : SetOf("FOO"))
        before.push_back(Bytes(PuzzlePath + name));
    ASSERT_EQ(::chmod((PuzzlePath + "FOO.TGC").c_str(), 0444), 0);
    IXPorterLogic& d = Open(ImportMode);
    Select({"New Foo"});
    platform.ExpectBox(ImportTitle, platform::AnswerYes);
    platform.ExpectBox(ImportTitle);
    d.OkClick();
    EXPECT_EQ(LastBox().text, "ERROR 70\rPermission denied");
    EXPECT_EQ(LastBox().flags, platform::MsgOkOnly | platform::MsgCritical);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(Bytes(PuzzlePath + SetOf("FOO")[i]), before[i]);
    EXPECT_EQ(Files(PuzzlePath), Sorted(SetOf("FOO")));
}

// What the drive does between the listing and the end of the transfer: each
// case ends the transfer with one message and copies nothing it should not.
TEST_F(Transfer, ADriveChangedWriteProtectedOrRemovedStopsWithOneMessage) {
    namespace fs = std::filesystem;
    const std::string puzzles = stick + "PUZZLE/", other = dir.Path() + "STICK2/";
    int rewrites = 0;
    struct Case {
        const char* what;
        std::string mode;
        std::function<void()> change;  // after the listing, before OK
        std::string headline;
        std::function<void(const std::string&)> atBox;  // at the transfer's first box
    };
    const std::vector<Case> cases = {
        {"another stick in the slot",
         ImportMode,
         [&] {
             std::filesystem::rename(puzzles, stick + "OTHER");
             WritePuzzle(puzzles, "AAA", "Listed Foo", "SECRET");
             WritePuzzle(puzzles, "BAR", "Bar");
         },
         "ERROR: DRIVE D: HAS CHANGED!",
         {}},
        {"the same folder, another FOO",
         ImportMode,
         [&] { WritePuzzle(puzzles, "AAA", "Keyed Foo", "SECRET"); },
         "ERROR: DRIVE D: HAS CHANGED!",
         {}},
        {"a write-protected stick",
         ExportMode,
         [&] { ::chmod(puzzles.c_str(), 0555); },
         "ERROR: DRIVE D: IS WRITE-PROTECTED!",
         {}},
        {"another stick with the very same puzzles",
         ImportMode,
         [&] {
             fs::create_directory(other);
             fs::copy(puzzles, other + "PUZZLE", fs::copy_options::recursive);
             platform.drives[1].rootPath = other;
         },
         "ERROR: DRIVE D: HAS CHANGED!",
         {}},
        {"the listed set rewritten in place, names and all",
         ImportMode,
         [&] { WritePuzzle(puzzles, "BAR", "BAR", "SECRET"); },
         "ERROR: DRIVE D: HAS CHANGED!",
         {}},
        {"a write-protected stick with no PUZZLE folder",
         ExportMode,
         [&] {
             fs::remove_all(puzzles);
             ::chmod(stick.c_str(), 0555);
         },
         "ERROR: DRIVE D: IS WRITE-PROTECTED!",
         {}},
        {"the listed set rewritten while its question is up", ImportMode, [] {},
         "ERROR: DRIVE D: HAS CHANGED!",
         [&](const std::string& title) {
             if (title == "IMPORT PUZZLE FILES" && rewrites++ == 0)
                 WritePuzzle(puzzles, "AAA", "Listed Foo", "SECRET");
         }},
        {"a stick unmounted with the list up",
         ImportMode,
         [&] { platform.drives.erase(platform.drives.begin() + 1); },
         "ERROR: DRIVE D: WAS REMOVED!",
         {}},
        {"a stick swapped for another while the export writes",
         ExportMode,
         [&] {
             ASSERT_FALSE(platform::CreateFolder(other + "PUZZLE"));
             platform::SetFileEventHook([&](const platform::FileEvent& event) {
                 if (event.kind != platform::FileEventKind::Create || event.name[1] != 'A')
                     return 0;
                 platform.drives[1].rootPath = other;
                 return EIO;
             });
         },
         "ERROR: DRIVE D: WAS REMOVED!",
         {}},
        {"a stick pulled out between two sets", ImportMode, [] {}, "ERROR: DRIVE D: WAS REMOVED!",
         [&](const std::string& title) {
             if (title == "IMPORT PUZZLE FILES" && platform.drives.size() > 2) {
                 platform.drives.erase(platform.drives.begin() + 1);
                 std::filesystem::remove_all(puzzles);
             }
         }},
        {"a stick pulled out during the import", ImportMode, [] {}, "ERROR: DRIVE D: WAS REMOVED!",
         [&](const std::string& title) {
             // Gone from the drive list, and nothing on it reads any more.
             if (title == "IMPORT PUZZLE FILES" && platform.drives.size() > 2) {
                 platform.drives.erase(platform.drives.begin() + 1);
                 for (const auto& entry : std::filesystem::directory_iterator(puzzles))
                     std::filesystem::remove(entry.path());
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& folder : {stick, puzzles})
            ::chmod(folder.c_str(), 0755);
        for (const std::string& folder : {puzzles, PuzzlePath, stick + "OTHER/", other})
            std::filesystem::remove_all(folder);
        const bool import = c.mode == ImportMode;
        // AAA, which the other side already holds, comes first.
        for (const char* base : {"AAA", "BAR", "BAZ"})
            WritePuzzle(import ? puzzles : PuzzlePath, base,
                        std::string(base) == "AAA" ? "Listed Foo" : base);
        WritePuzzle(import ? PuzzlePath : puzzles, "AAA", "Old Foo");
        const std::vector<std::string> local = Files(PuzzlePath);
        const auto drives = platform.drives;

        IXPorterLogic& d = Open(c.mode);
        Select({"Listed Foo", "BAR", "BAZ"});
        c.change();
        const std::vector<std::string> onStick = Files(puzzles);
        if (!import)
            platform.ExpectBox(InsertTitle);
        if (c.atBox) {
            // The replace question for AAA stands while the stick goes.
            platform.ExpectBox(ImportTitle, platform::AnswerYes);
            platform.atBox = [&](const std::string& title) { c.atBox(title); };
        }
        platform.ExpectBox(import ? ImportTitle : ExportTitle);
        const size_t before = platform.Boxes().size();
        d.OkClick();
        platform::SetFileEventHook({});
        platform.atBox = nullptr;
        platform.drives = drives;

        EXPECT_EQ(Headline(LastBox().text), c.headline);
        EXPECT_EQ(platform.Boxes().size(), before + (import ? 1 : 2) + (c.atBox ? 1 : 0));
        for (const std::string& folder : {stick, puzzles})
            ::chmod(folder.c_str(), 0755);
        EXPECT_EQ(Files(PuzzlePath), local);
        if (!import) {
            EXPECT_EQ(Files(puzzles), onStick);
        }
    }
    ::chmod(puzzles.c_str(), 0755);
}

// An export cut short on the stick once its new set was committed says which
// puzzle is not whole and who finishes it; an import leaves that set alone,
// and the next export to the stick finishes it and leaves nothing behind.
TEST_F(Transfer, AnExportCutShortIsFinishedByTheNextExportAndNeverImported) {
    const std::string puzzles = stick + "PUZZLE/";
    WritePuzzle(PuzzlePath, "FOO", "New Foo");
    WritePuzzle(PuzzlePath, "BAR", "Bar");
    WritePuzzle(puzzles, "FOO", "Old Foo");
    const std::string shc = puzzles + "FOO.SHC";

    IXPorterLogic& d = Open(ExportMode);
    Select({"New Foo"});
    platform.ExpectBox(InsertTitle);
    platform.ExpectBox(ExportTitle);
    {
        testsupport::FileEventHookScope protect(testsupport::ProtectAtFourthRename(shc));
        d.OkClick();
    }
    EXPECT_EQ(LastBox().text,
              "PUZZLE FOO IS NOT WHOLE!\r\rA change of its files was cut short:\rERROR "
              "70\rPermission denied\r\rIts new files are kept, and\rthe next export to drive "
              "D:\rputs them in place.");
    ASSERT_EQ(d.LastTransfer().size(), 1u);
    EXPECT_EQ(d.LastTransfer()[0].outcome, TransferOutcome::Unfinished);
    ::chmod(shc.c_str(), 0644);

    // The stick's FOO is neither old nor new until an export finishes it.
    IXPorterLogic& i = Open(ImportMode, "D:", {ListingTitle, ListingTitle});
    EXPECT_FALSE(i.Visible());
    EXPECT_EQ(platform.Boxes()[platform.Boxes().size() - 2].text.rfind(
                  "SOME PUZZLES ON DRIVE D: WERE LEFT OUT!\r\rFOO.INF: not whole\r\r", 0),
              0u);
    EXPECT_EQ(Headline(LastBox().text), "ERROR: NO FILES FOUND!");

    Export({"Bar"});
    EXPECT_EQ(LastBox().text, "PUZZLE FILES EXPORTED.");
    ExpectSameSet(PuzzlePath, puzzles, "FOO");
    ExpectSameSet(PuzzlePath, puzzles, "BAR");
    std::vector<std::string> both = SetOf("FOO");
    for (const std::string& name : SetOf("BAR"))
        both.push_back(name);
    EXPECT_EQ(Files(puzzles), Sorted(both));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(puzzles),
                            std::filesystem::directory_iterator()),
              14);
}
