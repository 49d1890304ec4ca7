// The puzzle library dialog on its own: a small host stands in for the main
// window and records what the dialog asks of it.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <optional>
#include <tuple>

#include "board/board_model.h"
#include "library_fixture.h"
#include "support/file_events.h"

using namespace library;

namespace {

const char* const SizeTitle = "ENTER  NEW  PUZZLE  SIZE";
const int Exclamation = platform::MsgOkOnly | platform::MsgExclamation;
const int Information = platform::MsgOkOnly | platform::MsgInformation;

// The dialog at a glance: one letter per control (o on, s shown but disabled, x hidden and
// disabled), "+" or "-" for the file name's label, then the button and the boxes.
std::string Summary(const CreatorLogic& d) {
    std::string text;
    for (const CreatorControl* c : {&d.list, &d.name, &d.filename, &d.size, &d.edKey, &d.custom})
        text += c->visible ? (c->enabled ? 'o' : 's') : (c->enabled ? '?' : 'x');
    return text + (d.label2.visible ? "+ " : "- ") + d.CmdCaption() + " " +
           std::to_string(d.CmdColour()) + " [" + d.TypedKey() + "] [" + d.pzlName + "] [" +
           d.pzlFilename + "] [" + d.pzlSize + "] [" + d.pzlDate + "]";
}

class CreatorDialog : public Library, public CreatorHost {
  protected:
    std::vector<bool> opened;  // each load's outcome: true for design
    std::vector<bool> exPort;
    std::optional<CreatorLogic> dialog;

    void SetUp() override {
        Library::SetUp();
        ClearPuzzleBoard(grid, tally, True);
        LoadToolboxObjects();
    }
    platform::BoardGrid& Grid() override { return grid; }
    platform::Label& Tally() override { return tally; }
    platform::Label& PuzzleName() override { return name; }
    platform::Label& Condition() override { return condition; }
    void PuzzleOpened(bool design) override { opened.push_back(design); }
    void ShowExPort(bool on) override { exPort.push_back(on); }
    void Repaint() override {}

    // A fresh dialog, as the main window opens each one.
    CreatorLogic& Open(const std::string& mode) {
        PuzzleMode = mode;
        CreatorCancelled = 0;
        dialog.emplace(*this);
        dialog->Activate();
        return *dialog;
    }
    void Key(const std::string& answer) {
        platform.ExpectInput(answer);
        dialog->EdKeyClick();
    }
};

TEST_F(CreatorDialog, EachModeSetsUpItsControls) {
    platform.ExpectBox("LOADING  PUZZLE  FILES");
    EXPECT_FALSE(Open("LOAD").Visible());
    EXPECT_EQ(LastBox().text, "NO PUZZLE FILES WERE FOUND!");
    EXPECT_EQ(CreatorCancelled, 1);
    EXPECT_EQ(dialog->TypedKey(), NoKey);

    Ship("C07TWOWAYS");
    CurrentInfPath = PuzzlePath + "C07TWOWAYS.INF";
    name.SetCaption("  My Puzzle ");
    BoardRows = 12;
    BoardCols = 20;
    const std::pair<const char*, const char*> cases[] = {
        {"NEW", "ooxoxx- OK 49152 [UNKEYED] [] [] [] [12/07/2026]"},
        {"SAVE", "ooosox+ SAVE 49152 [] [My Puzzle] [] [12,20] [12/07/2026]"},
        {"LOAD", "osssox+ LOAD 16711680 [UNKEYED] [] [] [] []"},
        {"DELE", "ssssox+ DELETE 192 [UNKEYED] [My Puzzle] [C07TWOWAYS] [12,20] [12/07/2026]"}};
    for (const auto& [mode, summary] : cases) {
        EXPECT_TRUE(Open(mode).Visible()) << mode;
        EXPECT_EQ(Summary(*dialog), summary);
    }

    // LOAD throws away the pictures of the last board.
    dir.Write("DATA/OLD.BMP", "x");
    dir.Write("DATA/OLD.ICO", "x");
    dir.Write("DATA/KEEP.TXT", "x");
    EXPECT_EQ(Open("LOAD").Items(), std::vector<std::string>{Stored("C07TWOWAYS").puzzleName});
    EXPECT_FALSE(FileExists(ImagePath + "OLD.BMP") || FileExists(ImagePath + "OLD.ICO"));
    EXPECT_TRUE(FileExists(ImagePath + "KEEP.TXT"));
}

TEST_F(CreatorDialog, TheNewSizeIsReadAsColumnsCommaRows) {
    CreatorLogic& named = Open("NEW");
    EXPECT_EQ(Press(named, "ENTER  NEW  PUZZLE  NAME"), "YOU DIDN'T ENTER A PUZZLE NAME!");
    named.NameEnter();
    EXPECT_EQ(named.Focus(), CreatorFocus::Size);

    const auto big = [](const std::string& axis) {
        return "ERROR: INVALIED " + axis + " ENTRY!\r\rYour " + axis +
               " entry is greater than 60!\rPlease try again.";
    };
    const auto small = [](const std::string& axis) {
        return "ERROR: INVALIED " + axis + " ENTRY!\r\rYour " + axis +
               " entry is less than 10!\rYou MUST at least have 10 " + axis +
               " blocks!\rPlease try again.";
    };
    const std::string xBig = big("X"), yBig = big("Y"), xSmall = small("X"), ySmall = small("Y");
    const std::string noComma =
        "ERROR: INVALIED ENTRY!\r\rYou didn't seperate the X and Y values with a comma.\rPlease "
        "try again.";
    const std::string tooLarge =
        "ERROR: INVALIED ENTRY!\r\rYour entry is to large!\rThe entry MUST be no larger than "
        "60,60.\rPlease try again.";
    // Accepted entries give "rows,cols" (halves round to even); refused ones their message.
    const std::pair<const char*, std::string> cases[] = {
        {"30,20", "20,30"},    {"60,60", "60,60"}, {"10,10", "10,10"},    {"60.5,10.5", "10,60"},
        {"100,10", xBig},      {"1e9,10", xBig},   {"1234,1", xBig},      {"10,61", yBig},
        {"10,99999999", yBig}, {"9,15", xSmall},   {"-5,20", xSmall},     {"a,b", xSmall},
        {"15,9", ySmall},      {"15", noComma},    {"12345,1", tooLarge}, {"123456,1", tooLarge}};
    for (const auto& [entry, outcome] : cases) {
        SCOPED_TRACE(entry);
        const bool accepted = outcome.size() <= 5;
        BoardRows = BoardCols = 12;
        SpecialCond = SpecialCondText = "old";
        condition.SetCaption("old");
        CreatorLogic& d = Open("NEW");
        d.pzlName = " Mine ";
        d.pzlSize = entry;
        if (!accepted)
            platform.ExpectBox(SizeTitle);
        d.SizeEnter();  // Enter in the size box runs the command
        if (!accepted) {
            EXPECT_EQ(LastBox().text, outcome);
            EXPECT_EQ(LastBox().flags, Exclamation);
            EXPECT_TRUE(d.Visible());
            EXPECT_EQ(d.pzlSize, "");
            EXPECT_EQ(BoardRows * 100 + BoardCols, 1212);
            continue;
        }
        EXPECT_FALSE(d.Visible());
        EXPECT_EQ(std::to_string(BoardRows) + "," + std::to_string(BoardCols), outcome);
        EXPECT_EQ(CellCount, BoardRows * BoardCols);
        EXPECT_EQ(name.Caption() + "|" + condition.Caption() + "|" + SpecialCondText, "Mine||");
        EXPECT_EQ(SpecialCond, EmptyCondCode);
    }

    // An empty entry asks: No empties the box and stays, Yes takes 15 by 15.
    for (const int answer : {platform::AnswerNo, platform::AnswerYes}) {
        BoardRows = BoardCols = 12;
        CreatorLogic& d = Open("NEW");
        d.pzlName = "Mine";
        platform.ExpectBox(SizeTitle, answer);
        d.CmdClick();
        EXPECT_EQ(LastBox().text,
                  "YOU DIDN'T ENTER ANYTHING!\r\rDo you want to use the default X=15 and Y=15?");
        EXPECT_EQ(d.Visible(), answer == platform::AnswerNo);
        EXPECT_EQ(BoardRows * 100 + BoardCols, answer == platform::AnswerNo ? 1212 : 1515);
    }
}

TEST_F(CreatorDialog, LoadListsEveryPuzzleButSaveStopsAbove255) {
    for (const char* base : {"C07TWOWAYS", "C01FIRSTLIT", "C03REDYELLO"})
        Ship(base);
    EXPECT_EQ(Open("LOAD").Items(), (std::vector<std::string>{Stored("C01FIRSTLIT").puzzleName,
                                                              Stored("C03REDYELLO").puzzleName,
                                                              Stored("C07TWOWAYS").puzzleName}));
    for (int count = 4; count <= 300; ++count) {
        ASSERT_FALSE(platform::CopyFileVerified(PuzzlePath + "C01FIRSTLIT.INF",
                                                PuzzlePath + "P" + std::to_string(count) + ".INF"));
        if (count == 255) {
            EXPECT_TRUE(Open("SAVE").Visible());
        }
        if (count != 256 && count != 300)
            continue;
        const int beeps = platform.Beeps();
        platform.ExpectBox("SAVING  PUZZLE  FILES");
        EXPECT_FALSE(Open("SAVE").Visible()) << count;
        EXPECT_EQ(LastBox().text,
                  "TOO MANY PUZZLES!\rTry Exporting some unused puzzles to a CD or Memory Stick.");
        EXPECT_EQ(platform.Beeps(), beeps);
        EXPECT_EQ(CreatorCancelled, 1);
    }
    EXPECT_TRUE(Open("LOAD").Visible());
    EXPECT_EQ(dialog->Items().size(), 300u);
}

TEST_F(CreatorDialog, TheKeyOpensALoadedPuzzleForPlayOrDesign) {
    // flag, stored key, typed key (null: the key button not pressed), design, key kept
    const std::tuple<int16_t, const char*, const char*, bool, const char*> cases[] = {
        {1, "Abc", nullptr, false, ""}, {1, "Abc", "Abc", true, "Abc"},
        {0, "Abc", "Abc", true, "Abc"}, {0, "", nullptr, true, ""},
        {0, "Abc", nullptr, false, ""}, {0, "Abc", "ABC", false, ""},
        {1, "", nullptr, false, ""},    {0, "", "  ", true, ""},
        {0, "", "Abc", false, ""},      {0, "UNKEYED", nullptr, true, "UNKEYED"}};
    for (const auto& [flag, stored, typed, design, key] : cases) {
        SCOPED_TRACE(std::to_string(flag) + " [" + stored + "] [" + (typed ? typed : "-"));
        WritePuzzle("KEYS", "Keys", stored, flag);
        CurrentPuzzleKey = "stale";
        tally.SetCaption("0000");
        CreatorLogic& d = Open("LOAD");
        d.ListClick(0);
        if (typed)
            Key(typed);
        EXPECT_EQ(Press(d, ConditionsTitle), "NO SPECIAL REQUIREMENTS.");
        EXPECT_EQ(LastBox().flags, Information);
        ASSERT_FALSE(d.Visible());
        EXPECT_EQ(opened.back(), design);
        EXPECT_EQ(CurrentPuzzleKey, key);
        EXPECT_EQ(CustomPuzzleFlag, flag);
        EXPECT_EQ(BoardRows * 100 + BoardCols, 1214);
        EXPECT_EQ(grid.Rows() * 100 + grid.Cols(), 1214);
        EXPECT_EQ(tally.Caption() + name.Caption() + d.TypedKey(), "0Keys");
    }
}

TEST_F(CreatorDialog, ACommandThatFailsHalfWayLeavesTheDialogListening) {
    WritePuzzle("KEYS", "Keys", "", 0);
    CreatorLogic& d = Open("LOAD");
    d.ListClick(0);
    platform.onYield = [this] {
        platform.onYield = nullptr;
        throw std::bad_alloc();
    };
    EXPECT_THROW(d.CmdClick(), std::bad_alloc);
    ASSERT_FALSE(platform.onYield) << "the load never waited";
    d.CanClick();
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(CreatorCancelled, 1);
}

TEST_F(CreatorDialog, ToolPicturesComeFromTheIndexWhateverTheFileSays) {
    const auto catalogue = ToolboxObjectTable;
    for (ToolboxObjectRow& row : ToolboxObjectTable) {
        if (row.Free())
            continue;
        row.archiveOffset += 777;
        row.archiveId = "OTHER.MIX";
        row.imageSize = 1;
        row.allowed = 3;
        row.used = 2;
    }
    WritePuzzle("MOVED", "Moved", "", 0, 10, 10, "Light the far wall");
    CreatorLogic& d = Open("LOAD");
    d.ListClick(0);
    EXPECT_EQ(Press(d, ConditionsTitle), "Light the far wall");
    EXPECT_EQ(condition.Caption(), "Light the far wall");
    const auto where = [](const ToolboxObjectRow& row) {
        return row.archiveId + "@" + std::to_string(row.archiveOffset) + "+" +
               std::to_string(row.imageSize);
    };
    for (size_t i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].Free())
            continue;
        const ToolboxObjectRow& row = ToolboxObjectTable[i];
        const std::string counts =
            " " + std::to_string(row.allowed) + "/" + std::to_string(row.used);
        EXPECT_EQ(where(row) + counts, where(catalogue[i]) + " 3/2") << row.stem;
    }
    EXPECT_EQ(grid.PictureAt(0, 0), ImagePath + Resting("LAMP_"));
}

TEST_F(CreatorDialog, AFailedLoadChangesNothing) {
    WritePuzzle("BROKEN", "Broken", "", 0);
    WritePuzzle("GONE", "Gone", "", 0);
    dir.Write("PUZZLE/BROKEN.PZL", "short");
    BoardTable[7].pictureName = Resting("REFLU");
    name.SetCaption("Before");
    SpecialCond = "S";
    CreatorLogic& d = Open("LOAD");
    EXPECT_EQ(Press(d, LoadTitle),
              "ERROR:  NO PUZZLE SELECTED!\r\rYou MUST Select a puzzle from the list.");
    EXPECT_EQ(d.Focus(), CreatorFocus::List);
    for (const char* base : {"../GONE", "ABCDEFGHIJKLMNOPQRSTU"}) {
        d.pzlFilename = base;
        EXPECT_EQ(Press(d, LoadTitle), InvalidName) << base;
    }

    d.ListClick(RowOf(d, "Gone"));
    ASSERT_FALSE(platform::DeleteFile(PuzzlePath + "GONE.INF"));
    EXPECT_EQ(Press(d, LoadTitle), "ERROR: PUZZLE INFORMATION FILE NOT FOUND!");
    EXPECT_EQ(CurrentInfPath, PuzzlePath + "GONE.INF");

    grid.log.clear();
    d.ListClick(RowOf(d, "Broken"));
    EXPECT_EQ(Press(d, LoadTitle).rfind("ERROR: PUZZLE FILES DAMAGED!\r\r", 0), 0u);
    EXPECT_TRUE(d.Visible());
    EXPECT_EQ(BoardRows * 100 + BoardCols, 1515);
    ASSERT_EQ(BoardTable.size(), 225u);
    EXPECT_EQ(BoardTable[7].pictureName, Resting("REFLU"));
    EXPECT_TRUE(grid.log.empty());
    EXPECT_EQ(name.Caption() + SpecialCond, "BeforeS");
    EXPECT_TRUE(opened.empty());
}

// A set whose replace was cut short is listed by its file name and refused by
// name while it can't be finished; once it can, the load finishes it.
TEST_F(CreatorDialog, ASetCutShortIsRefusedByNameAndLoadsOnceItCanBeFinished) {
    WritePuzzle("CUT", "Old Cut", "", 0);
    PuzzleInfo info;
    PuzzleTables tables;
    ASSERT_TRUE(ReadPuzzleFiles(PuzzlePath, "CUT", info, tables).Ok());
    info.puzzleName = "New Cut";
    const std::string shc = PuzzlePath + "CUT.SHC";
    {
        testsupport::FileEventHookScope protect(testsupport::ProtectAtFourthRename(shc));
        ASSERT_EQ(SavePuzzleFiles(PuzzlePath, info, tables).status, PuzzleFileStatus::Unfinished);
    }

    CreatorLogic& d = Open("LOAD");
    d.ListClick(RowOf(d, "CUT"));
    EXPECT_EQ(Press(d, LoadTitle).substr(0, 26), "PUZZLE CUT IS NOT WHOLE!\r\r");
    EXPECT_TRUE(opened.empty());

    ::chmod(shc.c_str(), 0644);
    EXPECT_EQ(Press(d, ConditionsTitle), "NO SPECIAL REQUIREMENTS.");
    EXPECT_EQ(name.Caption(), "New Cut");
    EXPECT_EQ(Stored("CUT").puzzleName, "New Cut");
    EXPECT_EQ(PuzzleFiles().size(), 7u);
}

TEST_F(CreatorDialog, TheDamagedMessageNamesTheFile) {
    WritePuzzle("BROKEN", "Broken", "", 0);
    dir.Write("PUZZLE/BROKEN.PZL", "short");
    CreatorLogic& d = Open("LOAD");
    d.ListClick(0);
    EXPECT_EQ(testsupport::Readable(Press(d, LoadTitle)),
              "ERROR: PUZZLE FILES DAMAGED!||BROKEN.PZL: 0 records for 168 cells");
    // A set that lost a file is listed by its file name and refused naming the file.
    WritePuzzle("GAPPY", "Gappy", "", 0);
    ASSERT_FALSE(platform::DeleteFile(PuzzlePath + "GAPPY.KYC"));
    CreatorLogic& g = Open("LOAD");
    g.ListClick(RowOf(g, "GAPPY"));
    EXPECT_EQ(testsupport::Readable(Press(g, LoadTitle)),
              "ERROR: PUZZLE FILES DAMAGED!||GAPPY.KYC: missing");
    // Without a readable key nothing of the game may remove it: a hand must.
    dir.Write("PUZZLE/GAPPY.INF", "short");
    CurrentInfPath = PuzzlePath + "GAPPY.INF";
    EXPECT_EQ(testsupport::Readable(Press(Open("DELE"), DeleteTitle)),
              "ERROR: PUZZLE FILES DAMAGED!||GAPPY.INF: no whole record||Its key can't be "
              "checked: remove|GAPPY.* and .GAPPY.* from the|puzzle folder by hand.");
}

TEST_F(CreatorDialog, AFailedBuildLeavesAnEmptyBoardOfTheOldSize) {
    WritePuzzle("ODD", "Odd", "K", 1, 12, 14, "Odd one", "ZZZZZ_______________00.BMP");
    WritePuzzle("LIT", "Lit", "K", 1, 12, 14, "Lit one");
    CreatorLogic& d = Open("LOAD");
    d.ListClick(RowOf(d, "Odd"));
    platform.ExpectBox(ConditionsTitle);
    EXPECT_EQ(Press(d, BuildTitle), "ERROR: LOADING GAME BOARD!");
    EXPECT_TRUE(d.Visible());
    // An empty board of the size before the load, nothing of the puzzle left.
    EXPECT_EQ(BoardRows * 100 + BoardCols, 1515);
    EXPECT_EQ(grid.Rows() * 100 + grid.Cols(), 1515);
    ASSERT_EQ(BoardTable.size(), 225u);
    EXPECT_TRUE(std::all_of(BoardTable.begin(), BoardTable.end(), [](const BoardCell& cell) {
        return cell.pictureName == Resting("BLANK") && !IsTrue(cell.lampFlag);
    }));
    EXPECT_EQ(SpecialCond, EmptyCondCode);
    EXPECT_EQ(SpecialCondText + name.Caption() + condition.Caption() + CurrentPuzzleKey, "");
    EXPECT_EQ(CustomPuzzleFlag, 0);
    EXPECT_TRUE(opened.empty());
}

TEST_F(CreatorDialog, SaveRefusesBeforeTouchingAnyFile) {
    CreatorLogic& d = Open("SAVE");
    EXPECT_EQ(Press(d, SaveTitle),
              "ERROR:  NO PUZZLE NAME!\r\rYou MUST supply a name for your Puzzle.");
    EXPECT_EQ(d.Focus(), CreatorFocus::Name);
    d.pzlName = std::string(45, 'N');
    d.pzlFilename = "  ";
    EXPECT_EQ(Press(d, SaveTitle),
              "ERROR:  NO PUZZLE FILENAME!\r\rYou MUST supply a filename for your Puzzle.");
    EXPECT_EQ(d.Focus(), CreatorFocus::Filename);
    for (const char* base : {"A/B", "..", "ABCDEFGHIJKLMNOPQRSTU", "MY PUZZLE", "A.B"}) {
        d.pzlFilename = base;
        EXPECT_EQ(Press(d, SaveTitle), InvalidName) << base;
    }
    d.pzlFilename = "mine";
    EXPECT_EQ(Press(d, SaveTitle),
              "ERROR:  NO LAMP!\r\rYou MUST have a LAMP in the\rpuzzle before it can be saved.");
    EXPECT_TRUE(PuzzleFiles().empty());
    EXPECT_TRUE(d.Visible());

    // Twenty characters, upper-cased; no key button: no key.
    BoardTable[17].lampFlag = True;
    d.pzlFilename = "abcdefghij_-12345678";
    EXPECT_EQ(Press(d, SaveTitle), "PUZZLE (ABCDEFGHIJ_-12345678) SAVED.");
    EXPECT_EQ(LastBox().flags, Information);
    EXPECT_EQ(PuzzleFiles().size(), 7u);
    const PuzzleInfo info = Stored("ABCDEFGHIJ_-12345678");
    EXPECT_EQ(info.puzzleName, std::string(40, 'N'));
    EXPECT_EQ(info.puzzleKey + "|" + info.puzzleDate, "|" + CurrentDate);
    EXPECT_EQ(info.customFlag, 0);
    EXPECT_EQ(info.boardRows * 100 + info.boardCols, 1515);
    EXPECT_EQ(exPort, std::vector<bool>{true});
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(d.pzlName + d.pzlFilename, "");

    // A file of the set that can't be written: never "UPDATED", and the old set stays.
    const std::string base = "ABCDEFGHIJ_-12345678", kept = dir.Read("PUZZLE/" + base + ".INF");
    ASSERT_FALSE(platform::DeleteFile(PuzzlePath + base + ".TGC"));
    ASSERT_FALSE(platform::CreateFolder(PuzzlePath + base + ".TGC"));
    CreatorLogic& again = Open("SAVE");
    again.pzlName = "Failing";
    again.pzlFilename = base;
    platform.ExpectInput("");  // no key stored and none typed count as the same key
    const std::string named = "ERROR: PUZZLE FILES DAMAGED!\r\r" + base +
                              ".TGC: not a plain file\r\rRemove " + base +
                              ".TGC from the puzzle\rfolder by hand.";
    EXPECT_EQ(Press(again, SaveTitle), named);
    EXPECT_EQ(dir.Read("PUZZLE/" + base + ".INF"), kept);
    // Nor can DELETE remove it: it says the same, and keeps the whole puzzle.
    CurrentInfPath = PuzzlePath + base + ".INF";
    EXPECT_EQ(Press(Open("DELE"), DeleteTitle), named);
    EXPECT_EQ(PuzzleFiles().size(), 6u);
    // So does one under another letter case, beside the puzzle's own file.
    std::filesystem::rename(PuzzlePath + base + ".TGC", PuzzlePath + "abcdefghij_-12345678.tgc");
    dir.Write("PUZZLE/" + base + ".TGC", "");
    EXPECT_EQ(
        Press(Open("DELE"), DeleteTitle)
            .rfind("ERROR: PUZZLE FILES DAMAGED!\r\rabcdefghij_-12345678.tgc: not a plain file", 0),
        0u);
    EXPECT_EQ(PuzzleFiles().size(), 7u);
}

TEST_F(CreatorDialog, SavingOverAStoredPuzzleFollowsItsKey) {
    BoardTable[0].lampFlag = True;
    WritePuzzle("OPEN", "Open", "UNKEYED", 1);
    WritePuzzle("LOCKED", "Locked", "Secret", 0);
    const auto save = [this](const std::string& base, const char* key) -> CreatorLogic& {
        CreatorLogic& d = Open("SAVE");
        d.pzlName = "Saved Again";
        d.pzlFilename = base;
        if (key)
            Key(key);
        return d;
    };
    EXPECT_EQ(Press(save("open", nullptr), UpdateTitle), "PUZZLE OPEN UPDATED.");
    const PuzzleInfo open = Stored("OPEN");
    EXPECT_EQ(open.puzzleKey + "|" + open.puzzleName, "UNKEYED|Saved Again");
    EXPECT_EQ(open.customFlag, 0);
    EXPECT_EQ(name.Caption(), "Saved Again");
    EXPECT_TRUE(exPort.empty());

    // An unkeyed puzzle can't take a key by an update; a keyed one needs its key.
    const std::string before = dir.Read("PUZZLE/OPEN.INF") + dir.Read("PUZZLE/LOCKED.INF");
    const std::pair<const char*, const char*> refused[] = {
        {"OPEN", "Abc"}, {"LOCKED", nullptr}, {"LOCKED", "Wrong"}, {"LOCKED", "Secre"}};
    for (const auto& [base, key] : refused) {
        CreatorLogic& d = save(base, key);
        EXPECT_EQ(Press(d, KeyedTitle),
                  "ERROR: MISSING OR INVALIED KEY!  \r\rYou MUST supply a valid key\rto save a "
                  "keyed puzzle.");
        EXPECT_TRUE(d.Visible());
        EXPECT_EQ(d.TypedKey(), "");
    }
    EXPECT_EQ(dir.Read("PUZZLE/OPEN.INF") + dir.Read("PUZZLE/LOCKED.INF"), before);

    // Saving ignores letter case and offers a new key; blanks keep the key.
    CreatorLogic* d = &save("LOCKED", "sECRET");
    platform.ExpectInput("NewKey");
    Press(*d, UpdateTitle);
    EXPECT_EQ(platform.Prompts().back(),
              "To change Puzzle key\renter your new special\rpuzzle KEY BELOW:\r(Max 16 "
              "charactors.)");
    EXPECT_EQ(Stored("LOCKED").puzzleKey, "NewKey");
    // Blanks keep the key as stored, not as typed in another case.
    d = &save("LOCKED", "NEWKEY");
    platform.ExpectInput("   ");
    Press(*d, UpdateTitle);
    EXPECT_EQ(Stored("LOCKED").puzzleKey, "NewKey");

    // Another copy of the game at work while the save asks or writes: the save
    // decides again, three times at most, asking for the new key once.
    const auto wipe = [] {
        for (const char* extension : PuzzleFileExtensions)
            std::filesystem::remove(PuzzlePath + "LOCKED" + extension);
    };
    const std::tuple<int, std::function<void()>, const char*, const char*, const char*> others[] = {
        {0, [] { std::ofstream(PuzzlePath + "LOCKED.TGC", std::ios::app) << 'x'; }, SaveTitle,
         "PUZZLE LOCKED HAS CHANGED!", "NewKey"},
        {2, wipe, UpdateTitle, "PUZZLE LOCKED UPDATED.", "Newer"},
        {2, [] { WritePuzzle("LOCKED", "Locked", "Other", 0); }, KeyedTitle,
         "ERROR: MISSING OR INVALIED KEY!  ", "Other"},
    };
    for (const auto& [nth, act, title, told, key] : others) {
        d = &save("LOCKED", Stored("LOCKED").puzzleKey.c_str());
        platform.ExpectInput("Newer");
        testsupport::FileEventHookScope hook(testsupport::AtOpenRead("LOCKED.INF", nth, act));
        const std::string text = Press(*d, title);
        EXPECT_EQ(text.substr(0, text.find('\r')), told);
        EXPECT_EQ(Stored("LOCKED").puzzleKey, key);
    }

    // A key of twenty characters keeps sixteen; only those match later.
    Press(save("LONG", "ABCDEFGHIJKLMNOPQRST"), SaveTitle);
    EXPECT_EQ(Stored("LONG").puzzleKey, "ABCDEFGHIJKLMNOP");
    Press(save("LONG", "ABCDEFGHIJKLMNOPQRST"), KeyedTitle);
}

TEST_F(CreatorDialog, DeletingNeedsTheStoredKeyExactly) {
    WritePuzzle("STAY", "Stay", "", 0);
    // flag, stored key, typed key (null: the key button not pressed), deleted
    const std::tuple<int16_t, const char*, const char*, bool> cases[] = {
        {0, "Secret", "secret", false}, {0, "Secret", nullptr, false},
        {1, "", nullptr, false},        {1, "Secret", "SECRET", false},
        {0, "UNKEYED", nullptr, true},  {0, "", nullptr, true},
        {0, "Secret", "Secret", true},  {1, "UNKEYED", nullptr, true},
        {1, "Secret", "Secret", true}};
    for (const auto& [flag, stored, typed, deleted] : cases) {
        SCOPED_TRACE(std::to_string(flag) + " [" + stored + "] [" + (typed ? typed : "-"));
        WritePuzzle("GONE", "Gone", stored, flag);
        CurrentInfPath = PuzzlePath + "GONE.INF";
        name.SetCaption("Gone");
        condition.SetCaption("Cond");
        SpecialCond = SpecialCondText = "S";
        CreatorLogic& d = Open("DELE");
        if (typed)
            Key(typed);
        const std::string text = Press(d, DeleteTitle);
        EXPECT_EQ(PuzzleFiles().size(), deleted ? 7u : 14u);
        EXPECT_EQ(d.Visible(), !deleted);
        if (!deleted) {
            EXPECT_EQ(text,
                      "KEYED PUZZLE: INVALIED KEY!  \r\rYou MUST supply a valid key\rto Delete a "
                      "keyed puzzle.");
            EXPECT_EQ(d.TypedKey(), typed ? typed : NoKey);
            continue;
        }
        EXPECT_EQ(text, "PUZZLE GONE DELETED.");
        EXPECT_EQ(LastBox().flags, Information);
        EXPECT_EQ(name.Caption() + condition.Caption() + SpecialCondText, "");
        EXPECT_EQ(SpecialCond, EmptyCondCode);
        EXPECT_EQ(exPort.back(), true);
    }

    // One write-protected file keeps the whole puzzle, and the failure is told.
    WritePuzzle("GONE", "Gone", "", 0);
    ASSERT_EQ(::chmod((PuzzlePath + "GONE.SQC").c_str(), 0444), 0);
    CurrentInfPath = PuzzlePath + "GONE.INF";
    CreatorLogic& locked = Open("DELE");
    EXPECT_EQ(Press(locked, DeleteTitle), "ERROR 70\rPermission denied");
    EXPECT_EQ(PuzzleFiles().size(), 14u);
    EXPECT_TRUE(locked.Visible());
    ASSERT_EQ(::chmod((PuzzlePath + "GONE.SQC").c_str(), 0644), 0);
    // A set that lost a file is deleted all the same, what is left of it; so is
    // one that lost new files after a change was cut short, with what vouched for it.
    // A pipe under one of its names goes with it.
    ASSERT_FALSE(platform::DeleteFile(PuzzlePath + "GONE.KYC"));
    ASSERT_FALSE(platform::DeleteFile(PuzzlePath + "GONE.TGC"));
    ASSERT_EQ(::mkfifo((PuzzlePath + "GONE.TGC").c_str(), 0644), 0);
    EXPECT_EQ(Press(Open("DELE"), DeleteTitle), "PUZZLE GONE DELETED.");
    EXPECT_FALSE(std::filesystem::is_fifo(PuzzlePath + "GONE.TGC"));
    WritePuzzle("GONE", "Gone", "", 0);
    PuzzleInfo info;
    PuzzleTables tables;
    ASSERT_TRUE(ReadPuzzleFiles(PuzzlePath, "GONE", info, tables).Ok());
    info.puzzleName = "Gone Again";
    tables.keys[3][1].state = 1;
    {
        testsupport::FileEventHookScope cut(
            testsupport::AtReplaceSteps([](int step) { return step == 4 ? EIO : 0; }));
        ASSERT_EQ(SavePuzzleFiles(PuzzlePath, info, tables).status, PuzzleFileStatus::Unfinished);
    }
    ASSERT_FALSE(platform::DeleteFile(PuzzlePath + ".GONE.KYC.NEW"));
    CreatorLogic& broken = Open("LOAD");
    broken.ListClick(RowOf(broken, "GONE"));
    EXPECT_EQ(Press(broken, LoadTitle).substr(0, 26), "PUZZLE GONE IS DAMAGED!\r\rA");
    EXPECT_EQ(Press(Open("DELE"), DeleteTitle), "PUZZLE GONE DELETED.");
    EXPECT_FALSE(platform::IsFile(PuzzlePath + ".GONE.SET"));
    EXPECT_EQ(PuzzleFiles().size(), 7u);

    // Nothing loaded, or its information file gone: nothing to delete, nothing created.
    for (const std::string& inf : {std::string(), PuzzlePath + "GONE.INF"}) {
        CurrentInfPath = inf;
        CreatorLogic& d = Open("DELE");
        EXPECT_EQ(Press(d, DeleteTitle),
                  "ERROR:  NO PUZZLE SELECTED!\r\rYou MUST load a puzzle before deleting it.");
        EXPECT_TRUE(d.Visible());
        EXPECT_EQ(PuzzleFiles().size(), 7u);
    }
}

}  // namespace
