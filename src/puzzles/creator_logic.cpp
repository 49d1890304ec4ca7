#include "puzzles/creator_logic.h"

#include <algorithm>
#include <unordered_set>

#include "board/board_model.h"
#include "common/busy_scope.h"
#include "common/geometry.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/toolbox_catalogue.h"
#include "platform/files.h"
#include "platform/services.h"
#include "puzzles/puzzle_names.h"
#include "puzzles/puzzle_set_replace.h"

namespace quarvelt {

namespace {

using platform::MsgExclamation;
using platform::MsgOkOnly;
using platform::Tell;
using platform::Warn;

constexpr const char* SaveTitle = "SAVE  CUSTOM  PUZZLE";
constexpr const char* DeleteTitle = "DELETE  CUSTOM  PUZZLE";
constexpr const char* SizeTitle = "ENTER  NEW  PUZZLE  SIZE";
constexpr const char* BuildTitle = "CLEARNING  GAME  BOARD";
constexpr int32_t Green = 49152;
constexpr int32_t Blue = 16711680;
constexpr int32_t Red = 192;
constexpr size_t MaxKeyLength = 16;
constexpr int16_t MaxListedForSave = 255;

void DefaultPointer() {
    platform::SetPointer(platform::Pointer::Default);
}

std::string SizeText(int16_t rows, int16_t cols) {
    return std::to_string(rows) + "," + std::to_string(cols);
}

// How a file operation of the set failed, in the game's words. A link, a
// folder or a pipe under a name of the set is named, with what to do; so is
// an information file that can't be read, for without the key it holds no
// command of the game may remove or replace its puzzle.
std::string FailureText(const PuzzleFileResult& result) {
    std::string text = PuzzleFailureText(result);
    const bool damaged =
        result.status == PuzzleFileStatus::Damaged || result.status == PuzzleFileStatus::TooLarge;
    const std::string& file = result.file;
    if (damaged && (result.reason == NotPlainFile || result.reason == "link"))
        return text + "\r\rRemove " + file + " from the puzzle\rfolder by hand.";
    if (damaged && file.size() > 4 && UpperCase(file.substr(file.size() - 4)) == ".INF") {
        const std::string base = file.substr(0, file.size() - 4);
        return text + "\r\rIts key can't be checked: remove\r" + base + ".* and ." + base +
               ".* from the\rpuzzle folder by hand.";
    }
    return text;
}

// A write refused because something other than a plain file stands under a
// name of the set says what stands there.
void NameWhatStands(const platform::Folder& folder, PuzzleFileResult& result) {
    if (result.status != PuzzleFileStatus::Failed ||
        result.error.number != platform::ErrPathFileAccess || result.file.empty())
        return;
    const std::string found = folder.Find(result.file);
    const platform::Folder::Kind kind = folder.KindNow(found.empty() ? result.file : found);
    if (kind == platform::Folder::Kind::Folder || kind == platform::Folder::Kind::Other)
        result = {PuzzleFileStatus::Damaged, result.file, NotPlainFile, {}};
    else if (kind == platform::Folder::Kind::Link)
        result = {PuzzleFileStatus::Damaged, result.file, "link", {}};
}

// Tool pictures are found through the index this game ships, whatever the
// numbers a puzzle saved by another build of the picture set carries.
void PointToolRowsAtTheIndex() {
    const ImageIndex& index = ImageIndex::Current();
    for (ToolboxObjectRow& row : ToolboxObjectTable) {
        if (row.stem.empty())
            continue;
        const int found = index.FindBitmapByName(TrimBlanks(row.stem) + ".BMP");
        if (found < 0) {
            // Nothing from the file decides what is copied out of an archive.
            row.archiveId.clear();
            row.archiveOffset = 0;
            row.imageSize = 0;
            continue;
        }
        const ImageIndexRecord& record = index.Records()[static_cast<size_t>(found)];
        row.archiveId = record.archiveId;
        row.archiveOffset = record.archiveOffset;
        row.imageSize = record.imageSize;
    }
}

}  // namespace

void CreatorLogic::Changed() {
    if (changed)
        changed();
}

void CreatorLogic::Hide() {
    visible_ = false;
    Changed();
}

bool CreatorLogic::CheckBaseName(const std::string& base, const char* title) {
    if (IsPuzzleBaseName(base))
        return true;
    Warn("ERROR:  INVALID PUZZLE FILENAME!\r\rUse up to 20 letters, digits, - or _.", title);
    focus_ = CreatorFocus::Filename;
    DefaultPointer();
    Changed();
    return false;
}

void CreatorLogic::Activate() {
    visible_ = true;
    mode_ = PuzzleMode;
    custom = {false, false};
    focus_ = CreatorFocus::None;
    if (mode_ == "NEW") {
        name = {true, true};
        pzlName.clear();
        filename = {false, false};
        label2.visible = false;
        pzlFilename.clear();
        size = {true, true};
        pzlSize.clear();
        pzlDate = CurrentDate;
        cmdCaption_ = "OK";
        cmdColour_ = Green;
        edKey = {false, false};
        typedKey_ = NoKey;
        focus_ = CreatorFocus::Name;
    } else if (mode_ == "SAVE") {
        if (LoadPuzzleList() > MaxListedForSave) {
            platform::MsgBox(
                "TOO MANY PUZZLES!\rTry Exporting some unused puzzles to a CD or Memory Stick.",
                MsgOkOnly | MsgExclamation, "SAVING  PUZZLE  FILES");
            typedKey_ = NoKey;
            CreatorCancelled = 1;
            return Hide();
        }
        list.enabled = true;
        name = {true, true};
        pzlName = TrimBlanks(host_.PuzzleName().Caption());
        filename = {true, true};
        label2.visible = true;
        pzlFilename.clear();
        size = {true, false};
        pzlSize = SizeText(BoardRows, BoardCols);
        pzlDate = CurrentDate;
        cmdCaption_ = "SAVE";
        cmdColour_ = Green;
        edKey = {true, true};
        typedKey_.clear();
        if (TrimBlanks(SpecialCondText).size() <= 1)
            SpecialCondText.clear();
        focus_ = CreatorFocus::Filename;
    } else if (mode_ == "LOAD") {
        if (LoadPuzzleList() == 0) {
            Warn("NO PUZZLE FILES WERE FOUND!", "LOADING  PUZZLE  FILES");
            typedKey_ = NoKey;
            CreatorCancelled = 1;
            return Hide();
        }
        list.enabled = true;
        name.enabled = false;
        filename.enabled = false;
        size = {true, false};
        cmdCaption_ = "LOAD";
        cmdColour_ = Blue;
        edKey = {true, true};
        typedKey_ = NoKey;
        // The pictures of the last board go; the loaded puzzle extracts its own.
        for (const char* pattern : {"*.BMP", "*.ICO"}) {
            std::vector<std::string> pictures;
            const int16_t count = GetFileList(ImagePath, pattern, pictures);
            for (int16_t i = 1; i <= count; ++i)
                platform::DeleteFile(ImagePath + pictures[static_cast<size_t>(i)]);
        }
        focus_ = CreatorFocus::List;
    } else if (mode_ == "DELE") {
        list.enabled = false;
        name.enabled = false;
        pzlName = TrimBlanks(host_.PuzzleName().Caption());
        filename.enabled = false;
        const std::string infName = GetFileName(CurrentInfPath);
        pzlFilename = infName.size() > 4 ? infName.substr(0, infName.size() - 4) : std::string();
        size = {true, false};
        pzlSize = SizeText(BoardRows, BoardCols);
        pzlDate = CurrentDate;
        cmdCaption_ = "DELETE";
        cmdColour_ = Red;
        edKey = {true, true};
        typedKey_ = NoKey;
    }
    Changed();
}

int16_t CreatorLogic::LoadPuzzleList() {
    rows_.clear();
    items_.clear();
    selected_ = -1;
    std::vector<std::string> names;
    const int16_t count = GetFileList(PuzzlePath, "*.INF", names);
    // The folder is opened once for the whole listing.
    platform::Folder folder;
    folder.Open(PuzzlePath);
    for (int16_t i = 1; i <= count; ++i) {
        const std::string& file = names[static_cast<size_t>(i)];
        PuzzleInfo info;
        ListRow row;
        if (ReadWholePuzzleInfo(folder, file, PendingSet::Finish, info).Ok() &&
            CheckPuzzleSetFiles(folder, info).Ok()) {
            row = {info.puzzleName, info.pzlFile, info.tbxFile, info.baseName, file};
        } else {
            // A damaged puzzle, or one with a file missing, is still listed;
            // loading it says what is wrong.
            const std::string stem = file.substr(0, file.size() - 4);
            row = {stem, "", "", UpperCase(stem), file};
        }
        items_.push_back(row.puzzleName);
        rows_.push_back(std::move(row));
    }
    Changed();
    return std::max<int16_t>(count, 0);
}

template <class Command>
void CreatorLogic::Dispatch(Command command) {
    // A load waits with the events running; the dialog takes no other command
    // meanwhile, so what the main window shows afterwards is what was loaded.
    if (busy_)
        return;
    BusyScope busy(busy_);
    command();
}

void CreatorLogic::ListClick(int index) {
    Dispatch([this, index] { ChooseRow(index); });
}

void CreatorLogic::ChooseRow(int index) {
    pzlName.clear();
    pzlFilename.clear();
    if (index < 0 || static_cast<size_t>(index) >= rows_.size())
        return Changed();
    selected_ = index;
    pzlName = TrimBlanks(items_[static_cast<size_t>(index)]);
    chosenRows_ = 0;
    chosenCols_ = 0;
    PuzzleInfo info;
    const ListRow& row = rows_[static_cast<size_t>(index)];
    if (ReadPuzzleInfo(PuzzlePath + row.infFile, info).Ok()) {
        pzlFilename = info.baseName;
        pzlName = info.puzzleName;
        pzlDate = info.puzzleDate.empty() ? std::string(NoDate) : info.puzzleDate;
        chosenRows_ = info.boardRows;
        chosenCols_ = info.boardCols;
        customValue = info.customFlag == 1 ? 1 : 0;
        pzlSize = SizeText(info.boardRows, info.boardCols);
    } else {
        pzlFilename = row.baseName;
    }
    Changed();
}

void CreatorLogic::EdKeyClick() {
    Dispatch([this] {
        const std::string answer = platform::InputBox(
            "To prevent puzzle changes\renter your special\rpuzzle KEY BELOW:\r(Max 16 "
            "charactors.)",
            "ENTER  PUZZLE  KEY", "");
        typedKey_ = TrimBlanks(answer).empty() ? std::string(NoKey) : answer;
        Changed();
    });
}

void CreatorLogic::CanClick() {
    Dispatch([this] {
        typedKey_.clear();
        CreatorCancelled = 1;
        Hide();
    });
}

void CreatorLogic::NameEnter() {
    Dispatch([this] {
        focus_ = CreatorFocus::Size;
        Changed();
    });
}

void CreatorLogic::SizeEnter() {
    CmdClick();
}

void CreatorLogic::CmdClick() {
    Dispatch([this] {
        focus_ = CreatorFocus::None;
        if (mode_ == "NEW")
            NewCommand();
        else if (mode_ == "LOAD")
            LoadCommand();
        else if (mode_ == "SAVE")
            SaveCommand();
        else if (mode_ == "DELE")
            DeleteCommand();
    });
}

void CreatorLogic::NewCommand() {
    const std::string puzzleName = TrimBlanks(pzlName);
    if (puzzleName.empty())
        return Warn("YOU DIDN'T ENTER A PUZZLE NAME!", "ENTER  NEW  PUZZLE  NAME");
    double x = 15, y = 15;
    const auto refuse = [this](const std::string& text) {
        Warn(text, SizeTitle);
        pzlSize.clear();
        Changed();
    };
    if (pzlSize.empty()) {
        platform::Beep();
        const int answer = platform::MsgBox(
            "YOU DIDN'T ENTER ANYTHING!\r\rDo you want to use the default X=15 and Y=15?",
            platform::MsgYesNo | MsgExclamation, SizeTitle);
        if (answer != platform::AnswerYes) {
            pzlSize.clear();
            return Changed();
        }
    } else {
        const size_t comma = pzlSize.find(',');
        if (comma == std::string::npos)
            return refuse(
                "ERROR: INVALIED ENTRY!\r\rYou didn't seperate the X and Y values with a "
                "comma.\rPlease try again.");
        if (comma + 1 > 5)
            return refuse(
                "ERROR: INVALIED ENTRY!\r\rYour entry is to large!\rThe entry MUST be no larger "
                "than 60,60.\rPlease try again.");
        // Compared as numbers before they are narrowed, so no entry can wrap around.
        x = RoundHalfEven(LeadingNumber(pzlSize.substr(0, comma)));
        y = RoundHalfEven(LeadingNumber(pzlSize.substr(comma + 1)));
        if (x > MaxBoardSide)
            return refuse(
                "ERROR: INVALIED X ENTRY!\r\rYour X entry is greater than 60!\rPlease try again.");
        if (y > MaxBoardSide)
            return refuse(
                "ERROR: INVALIED Y ENTRY!\r\rYour Y entry is greater than 60!\rPlease try again.");
        if (x < MinBoardSide)
            return refuse(
                "ERROR: INVALIED X ENTRY!\r\rYour X entry is less than 10!\rYou MUST at least have "
                "10 X blocks!\rPlease try again.");
        if (y < MinBoardSide)
            return refuse(
                "ERROR: INVALIED Y ENTRY!\r\rYour Y entry is less than 10!\rYou MUST at least have "
                "10 Y blocks!\rPlease try again.");
    }
    platform::SetPointer(platform::Pointer::Hourglass);
    SpecialCondText.clear();
    SpecialCond = EmptyCondCode;
    // X counts columns, Y rows.
    BoardCols = static_cast<int16_t>(x);
    BoardRows = static_cast<int16_t>(y);
    CellCount = static_cast<int16_t>(BoardRows * BoardCols);
    host_.PuzzleName().SetCaption(puzzleName);
    host_.Condition().SetCaption("");
    CreatorCancelled = 0;
    Hide();
}

void CreatorLogic::LoadCommand() {
    platform::SetPointer(platform::Pointer::Hourglass);
    const std::string base = UpperCase(TrimBlanks(pzlFilename));
    if (base.empty()) {
        Warn("ERROR:  NO PUZZLE SELECTED!\r\rYou MUST Select a puzzle from the list.",
             "LOAD  PUZZLE");
        focus_ = CreatorFocus::List;
        DefaultPointer();
        return Changed();
    }
    if (!CheckBaseName(base, "LOAD  PUZZLE"))
        return;
    const int16_t oldRows = BoardRows, oldCols = BoardCols;
    bool failed = false;
    const std::string storedKey = LoadPuzzleFiles(base, failed);
    if (storedKey == "ERROR1" || failed) {
        if (!failed)
            Warn("ERROR: PUZZLE INFORMATION FILE NOT FOUND!", "LOAD  PUZZLE");
        BoardRows = oldRows;
        BoardCols = oldCols;
        CellCount = static_cast<int16_t>(BoardRows * BoardCols);
        focus_ = CreatorFocus::List;
        DefaultPointer();
        return Changed();
    }
    const int16_t built = BuildPuzzleBoard();
    if (built != 0) {
        // Nothing half-loaded stays: the board goes back to an empty one of its old size.
        BoardRows = oldRows;
        BoardCols = oldCols;
        ClearPuzzleBoard(host_.Grid(), host_.Tally(), False);
        LoadToolboxObjects();
        SpecialCond = EmptyCondCode;
        SpecialCondText.clear();
        host_.PuzzleName().SetCaption("");
        host_.Condition().SetCaption("");
        Warn(built == 1 ? "ERROR: LOADING GAME BOARD!" : "ERROR: OPENING INDEX FILE", BuildTitle);
        DefaultPointer();
        return Changed();
    }

    const std::string typed = TrimBlanks(typedKey_);
    const std::string stored = TrimBlanks(storedKey);
    bool design = false;
    if (stored == typed)
        design = true;
    else if (CustomPuzzleFlag != 1 && typed == NoKey && stored.empty())
        design = true;
    CurrentPuzzleKey = stored == typed ? typed : std::string();
    host_.PuzzleOpened(design);
    host_.Condition().SetCaption(SpecialCondText);
    typedKey_.clear();
    DefaultPointer();
    Hide();
}

std::string CreatorLogic::LoadPuzzleFiles(const std::string& base, bool& failed) {
    CurrentInfPath = PuzzlePath + base + ".INF";
    if (!FileExists(CurrentInfPath))
        return "ERROR1";
    // The size chosen in the list becomes the board's just before the files are read.
    if (chosenRows_ >= MinBoardSide && chosenRows_ <= MaxBoardSide && chosenCols_ >= MinBoardSide &&
        chosenCols_ <= MaxBoardSide) {
        BoardRows = chosenRows_;
        BoardCols = chosenCols_;
        CellCount = static_cast<int16_t>(BoardRows * BoardCols);
    }
    PuzzleInfo info;
    const PuzzleFileResult result = ::quarvelt::LoadPuzzleFiles(PuzzlePath, base, info);
    if (result.status == PuzzleFileStatus::InfMissing)
        return "ERROR1";
    if (!result.Ok()) {
        Warn(FailureText(result), "LOAD  PUZZLE");
        failed = true;
        return "";
    }
    // A set the listing could not read whole, finished since, shows its own name.
    if (selected_ >= 0 && static_cast<size_t>(selected_) < rows_.size() &&
        rows_[static_cast<size_t>(selected_)].pzlFile.empty() && !info.puzzleName.empty())
        pzlName = info.puzzleName;
    SpecialCondText = info.specialCondDesc;
    SpecialCond = info.specialCondCode;
    WaitSeconds(PuzzleLoadPause);
    PointToolRowsAtTheIndex();
    Tell(SpecialCondText.empty() ? std::string("NO SPECIAL REQUIREMENTS.") : SpecialCondText,
         "S P E C I A L   C O N D I T I O N S");
    host_.Condition().SetCaption(SpecialCondText);
    host_.PuzzleName().SetCaption(TrimBlanks(pzlName));
    return info.puzzleKey;
}

int16_t CreatorLogic::BuildPuzzleBoard() {
    ResetPhotonTables();
    ResetMixerInputTable();
    platform::BoardGrid& grid = host_.Grid();
    grid.Clear();
    grid.SetDisplay(platform::GridDisplay::FocusRect, 1);
    grid.SetDisplay(platform::GridDisplay::HighLight, 0);
    grid.SetDisplay(platform::GridDisplay::SelectionMode, 0);
    SizeBoardGrid(grid);
    host_.Tally().SetCaption("0");
    SelectedTool = -1;
    ReadyToRun = True;

    const ImageIndex& index = ImageIndex::Current();
    // Boards repeat their pictures; each is looked for in the image folder once.
    std::unordered_set<std::string> present;
    for (int16_t cell = 0; cell < CellCount; ++cell) {
        const std::string position = FormatCellPos(cell, BoardCols);
        const std::string& name = BoardTable[static_cast<size_t>(cell)].pictureName;
        const std::string path = ImagePath + name;
        if (present.insert(name).second && !FileExists(path)) {
            if (index.Empty())
                return 2;
            const int found = index.FindBitmapByName(name);
            if (found < 0)
                return 1;
            const ImageIndexRecord& record = index.Records()[static_cast<size_t>(found)];
            if (ExtractMixFile(record.archiveId, record.archiveOffset, name, record.imageSize))
                return 1;
        }
        grid.SetCol(std::stoi(position.substr(position.size() - 3)));
        grid.SetRow(std::stoi(position.substr(0, 3)));
        if (!grid.SetCellPicture(path))
            return 1;
    }
    host_.Repaint();
    return 0;
}

void CreatorLogic::SaveCommand() {
    const std::string puzzleName = TrimBlanks(pzlName);
    if (puzzleName.empty()) {
        Warn("ERROR:  NO PUZZLE NAME!\r\rYou MUST supply a name for your Puzzle.", SaveTitle);
        focus_ = CreatorFocus::Name;
        return Changed();
    }
    const std::string base = UpperCase(TrimBlanks(pzlFilename));
    if (base.empty()) {
        Warn("ERROR:  NO PUZZLE FILENAME!\r\rYou MUST supply a filename for your Puzzle.",
             SaveTitle);
        focus_ = CreatorFocus::Filename;
        return Changed();
    }
    if (!CheckBaseName(base, SaveTitle))
        return;
    if (std::none_of(BoardTable.begin(), BoardTable.end(),
                     [](const BoardCell& cell) { return IsTrue(cell.lampFlag); }))
        return Warn(
            "ERROR:  NO LAMP!\r\rYou MUST have a LAMP in the\rpuzzle before it can be saved.",
            SaveTitle);
    const bool update = std::any_of(rows_.begin(), rows_.end(), [&](const ListRow& row) {
        return UpperCase(row.pzlFile) == base + ".PZL";
    });
    PuzzleFileResult result;
    switch (SavePuzzleFiles(puzzleName, base, result)) {
        case 0:
            break;
        case 1:
            Warn(
                "ERROR: MISSING OR INVALIED KEY!  \r\rYou MUST supply a valid key\rto save a keyed "
                "puzzle.",
                "KEYED  PUZZLE");
            return Changed();
        default:
            Warn(result.status == PuzzleFileStatus::Refused
                     ? "ERROR: PUZZLE NOT SAVED!\r\r" + result.reason
                     : FailureText(result),
                 SaveTitle);
            return Changed();
    }
    if (update) {
        Tell("PUZZLE " + base + " UPDATED.", "UPDATE  CUSTOM  PUZZLE");
        LoadPuzzleList();
        typedKey_.clear();
        if (TrimBlanks(host_.PuzzleName().Caption()) != puzzleName)
            host_.PuzzleName().SetCaption(puzzleName);
    } else {
        Tell("PUZZLE (" + base + ") SAVED.", SaveTitle);
        LoadPuzzleList();
        typedKey_.clear();
        host_.ShowExPort(true);
        CreatorCancelled = 0;
    }
    pzlName.clear();
    pzlFilename.clear();
    Hide();
}

int16_t CreatorLogic::SavePuzzleFiles(const std::string& puzzleName, const std::string& base,
                                      PuzzleFileResult& result) {
    platform::Folder folder;
    if (auto error = folder.Open(PuzzlePath)) {
        result = {PuzzleFileStatus::Failed, base + ".INF", "", error};
        return 2;
    }
    // The key is asked for on the set as it is now; should another copy of
    // the game change it before the save, the save decides again, a few times
    // at most, keeping the new key the player gave.
    std::optional<std::string> newKey;
    for (int decision = 0; decision < MaxSetDecisions; ++decision) {
        const PuzzleSetState state = ReadPuzzleSetState(folder, base);
        if (const int16_t refused = SaveOver(folder, puzzleName, base, state, newKey, result);
            refused != 0) {
            NameWhatStands(folder, result);
            return refused;
        }
        if (result.status != PuzzleFileStatus::Changed)
            return 0;
    }
    return 2;
}

int16_t CreatorLogic::SaveOver(platform::Folder& folder, const std::string& puzzleName,
                               const std::string& base, const PuzzleSetState& state,
                               std::optional<std::string>& newKey, PuzzleFileResult& result) {
    int16_t customFlag = customValue == 1 ? 1 : 0;
    std::string key = typedKey_;
    if (state.infExists) {
        const PuzzleInfo& stored = state.info;
        result = state.infRead;
        // A puzzle whose key can't be read is never written over.
        if (!result.Ok())
            return 2;
        const std::string storedKey = UpperCase(TrimBlanks(stored.puzzleKey));
        const std::string typedKey = UpperCase(TrimBlanks(typedKey_));
        if (storedKey == NoKey && (typedKey == NoKey || typedKey.empty())) {
            customFlag = 0;
            key = NoKey;
        } else if (storedKey != typedKey) {
            typedKey_.clear();
            return 1;
        } else {
            if (!newKey)
                newKey = platform::InputBox(
                    "To change Puzzle key\renter your new special\rpuzzle KEY BELOW:\r(Max 16 "
                    "charactors.)",
                    "ENTER  NEW  PUZZLE  KEY", typedKey_);
            // A blank answer keeps the key as stored, letter case and all.
            key = TrimBlanks(*newKey).empty() ? stored.puzzleKey : *newKey;
        }
    } else if (newKey && !TrimBlanks(*newKey).empty()) {
        // The set went while the player gave its new key: the new key still holds.
        key = *newKey;
    }
    PuzzleInfo info;
    info.puzzleName = puzzleName;
    info.SetBaseName(base);
    info.boardRows = BoardRows;
    info.boardCols = BoardCols;
    info.customFlag = customFlag;
    info.puzzleKey = TrimBlanks(TrimBlanks(key).substr(0, MaxKeyLength));
    info.puzzleDate = pzlDate;
    info.specialCondDesc = SpecialCondText;
    info.specialCondCode = SpecialCond.empty() ? std::string(EmptyCondCode) : SpecialCond;
    result = ::quarvelt::SavePuzzleFiles(folder, info, CurrentPuzzleTables(), &state);
    if (!result.Ok())
        return result.status == PuzzleFileStatus::Changed ? 0 : 2;
    typedKey_.clear();
    return 0;
}

void CreatorLogic::DeleteCommand() {
    platform::SetPointer(platform::Pointer::Hourglass);
    const std::string base = UpperCase(TrimBlanks(pzlFilename));
    if (base.empty() || !FileExists(PuzzlePath + base + ".INF")) {
        Warn("ERROR:  NO PUZZLE SELECTED!\r\rYou MUST load a puzzle before deleting it.",
             DeleteTitle);
        DefaultPointer();
        return Changed();
    }
    if (!CheckBaseName(base, DeleteTitle))
        return;
    PuzzleFileResult result;
    switch (DeletePuzzleFiles(base, result)) {
        case 0:
            break;
        case 1:
            Warn(
                "KEYED PUZZLE: INVALIED KEY!  \r\rYou MUST supply a valid key\rto Delete a keyed "
                "puzzle.",
                DeleteTitle);
            DefaultPointer();
            return Changed();
        default:
            Warn(FailureText(result), DeleteTitle);
            DefaultPointer();
            return Changed();
    }
    Tell("PUZZLE " + base + " DELETED.", DeleteTitle);
    pzlFilename.clear();
    pzlName.clear();
    SpecialCondText.clear();
    SpecialCond = EmptyCondCode;
    host_.Condition().SetCaption("");
    host_.PuzzleName().SetCaption("");
    std::vector<std::string> left;
    host_.ShowExPort(GetFileList(PuzzlePath, "*.INF", left) > 0);
    DefaultPointer();
    CreatorCancelled = 0;
    Hide();
}

int16_t CreatorLogic::DeletePuzzleFiles(const std::string& base, PuzzleFileResult& result) {
    // The set is removed as another copy of the game would replace it: one
    // writer at a time, and a set whose replace was cut short is finished first.
    platform::Folder folder;
    if (const platform::RuntimeError error = folder.Open(PuzzlePath)) {
        result = {PuzzleFileStatus::Failed, base + ".INF", "", error};
        return 2;
    }
    platform::FolderLock lock(folder, true);
    if (lock.Error()) {
        result = {PuzzleFileStatus::Failed, base + ".INF", "", lock.Error()};
        return 2;
    }
    const PuzzleSetState state = ReadPuzzleSetState(folder, base);
    result = state.infRead;
    if (!result.Ok())
        return 2;
    if (KeyRefuses(state.info, typedKey_))
        return 1;
    // One write-protected file, or a folder, under any name of the set keeps
    // the whole puzzle: nothing of it is removed.
    std::vector<std::string> names;
    for (const std::string& name : folder.Names()) {
        const std::string upper = UpperCase(name);
        if (std::none_of(PuzzleFileExtensions.begin(), PuzzleFileExtensions.end(),
                         [&](const char* extension) { return upper == base + extension; }))
            continue;
        if (const platform::RuntimeError error = folder.CheckWritable(name)) {
            result = {PuzzleFileStatus::Failed, upper, "", error};
            return 2;
        }
        if (folder.KindNow(name) == platform::Folder::Kind::Folder) {
            result = {PuzzleFileStatus::Damaged, name, NotPlainFile, {}};
            return 2;
        }
        names.push_back(name);
    }
    // Every name of the set goes, whatever its letter case and whatever
    // stands there; the puzzle is deleted only once none is left.
    for (const std::string& name : names) {
        const platform::RuntimeError error = folder.Remove(name);
        if (error && error.number != platform::ErrFileNotFound) {
            result = {PuzzleFileStatus::Failed, PuzzlePath + name, "", error};
            return 2;
        }
    }
    // A set that lost files after a change was cut short goes with what
    // vouched for that change.
    DropPuzzleSetReplace(folder, base);
    folder.Sync();
    typedKey_.clear();
    return 0;
}

}  // namespace quarvelt
