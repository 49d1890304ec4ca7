#include "puzzles/ix_porter_logic.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <unordered_set>

#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "platform/files.h"
#include "platform/services.h"
#include "puzzles/puzzle_keys.h"
#include "puzzles/puzzle_names.h"
#include "puzzles/puzzle_set_replace.h"
#include "puzzles/puzzle_transfer.h"

namespace quarvelt {

namespace {

using platform::AnswerCancel;
using platform::AnswerNo;
using platform::MsgCritical;
using platform::MsgDefaultButton2;
using platform::MsgExclamation;
using platform::MsgInformation;
using platform::MsgOkCancel;
using platform::MsgOkOnly;
using platform::MsgQuestion;
using platform::MsgYesNo;

constexpr const char* DriveFolderName = "PUZZLE";
constexpr const char* DriveTitle = "ENTER  DRIVE  LETTER";
constexpr const char* ListingTitle = "LOCATING  PUZZLE  FILES";
constexpr const char* ExportTitle = "EXPORT PUZZLE FILES";
constexpr const char* ImportTitle = "IMPORT PUZZLE FILES";

bool IsTransferKind(platform::DriveKind kind) {
    return kind == platform::DriveKind::Removable || kind == platform::DriveKind::CdRom;
}

using Kind = platform::Folder::Kind;

// Rows are numbered by 16-bit counts.
constexpr size_t MaxListed = static_cast<size_t>(std::numeric_limits<int16_t>::max());

// Nothing of a puzzle is copied until all seven of its files are there: false,
// after its message, when one is missing from `folder`. What stands there and
// is no plain file, the copy names.
bool AllFilesThere(const platform::Folder& folder, const TransferNames& names,
                   const std::string& where, const char* command, const char* title) {
    for (const std::string& name : names) {
        if (folder.KindOf(name) == Kind::None) {
            platform::Alarm("ERROR: FILE NOT FOUND!\r\rThe file " + name + " wasn't found\r" +
                                where + "\rCan't continue -- Terminating " + command + ".",
                            title);
            return false;
        }
    }
    return true;
}

TransferOutcome OutcomeOf(const PuzzleFileResult& result) {
    return result.Ok()                                     ? TransferOutcome::Copied
           : result.status == PuzzleFileStatus::Unfinished ? TransferOutcome::Unfinished
                                                           : TransferOutcome::Failed;
}

}  // namespace

DriveEntry CheckDriveEntry(const std::string& entry) {
    const std::string trimmed = TrimBlanks(entry);
    if (trimmed.empty())
        return DriveEntry::Blank;
    if (trimmed.size() != 2 || entry.front() < 'A' || entry.front() > 'Z' || entry.back() != ':')
        return DriveEntry::Invalid;
    return DriveEntry::Accepted;
}

std::string IXPorterLogic::DefaultDrive() {
    std::vector<platform::Drive> drives;
    if (platform::Current().drives->List(drives))
        for (const platform::Drive& drive : drives)
            if (IsTransferKind(drive.kind))
                return std::string(1, drive.letter) + ":";
    return "A:";
}

void IXPorterLogic::Changed() {
    if (changed)
        changed();
}

void IXPorterLogic::Hide() {
    visible_ = false;
    Changed();
}

std::string IXPorterLogic::TransferTitle() const {
    return mode_ == ImportMode ? ImportTitle : ExportTitle;
}

bool IXPorterLogic::FindDrive() {
    driveRoot_.clear();
    const std::string letter = drive_.substr(0, 2);
    if (!IsDriveOfType(letter, "REMOVABLE") && !IsDriveOfType(letter, "CDROM"))
        return false;
    std::vector<platform::Drive> drives;
    if (!platform::Current().drives->List(drives))
        return false;
    for (const platform::Drive& drive : drives) {
        if (std::string(1, drive.letter) + ":" != letter || !IsTransferKind(drive.kind) ||
            drive.rootPath.empty())
            continue;
        driveRoot_ = drive.rootPath;
        return true;
    }
    return false;
}

bool IXPorterLogic::OpenDriveFolder(DriveFolder& drive, bool create, const char* title) {
    platform::RuntimeError error = drive.root.Open(driveRoot_);
    if (!error && drive.root.KindOf(DriveFolderName) == Kind::Link) {
        RefuseLinkedFolder(title);
        return false;
    }
    const bool made = !error && drive.root.KindOf(DriveFolderName) == Kind::None;
    // A stick that can't be written is told as such, folder or none.
    if (made && create && WriteProtected(drive.root))
        return false;
    if (!error)
        error = drive.puzzles.OpenIn(drive.root, DriveFolderName, create);
    // A folder just made reaches the stick before anything is put in it.
    if (!error && made)
        error = drive.root.Sync();
    if (!error) {
        // A folder just made is not among the names the root was opened with.
        drive.name = drive.root.Find(DriveFolderName);
        if (drive.name.empty())
            drive.name = DriveFolderName;
        return true;
    }
    if (drive.root.KindNow(DriveFolderName) == Kind::Link) {
        RefuseLinkedFolder(title);
    } else if (create) {
        ShowFailure({PuzzleFileStatus::Failed, DriveFolderName, {}, error});
    } else if (std::string(title) == ListingTitle) {
        platform::Alarm("ERROR: PATH NOT FOUND!", ListingTitle);
    } else {
        platform::Beep();
        platform::MsgBox("CAN'T FIND QVPUZZLE DRICTORY ON " + drive_ + " DRIVE!",
                         MsgOkOnly | MsgInformation, ImportTitle);
    }
    return false;
}

bool IXPorterLogic::AskForDrive(const std::string& text, const char* title, bool& found) {
    platform::Drives& drives = *platform::Current().drives;
    drives.Await(drive_.front());
    const bool go = platform::MsgBox(text, MsgOkCancel | MsgInformation, title) != AnswerCancel;
    found = go && FindDrive();
    drives.Await(0);
    return go;
}

bool IXPorterLogic::DriveFolderStands(const DriveFolder& drive) {
    if (drive.puzzles.StandsAt(drive.root, drive.name))
        return true;
    if (DriveRemoved(drive))
        return false;
    if (drive.root.KindNow(drive.name) == Kind::Link)
        RefuseLinkedFolder(TransferTitle().c_str());
    else
        ShowFailure({PuzzleFileStatus::Damaged, DriveFolderName, "not the folder it was", {}});
    return false;
}

int IXPorterLogic::RefuseDrive(int buttons) {
    std::string text = "DRIVE " + drive_ + " IS NOT A REMOVABLE OR CD DRIVE!";
    std::vector<platform::Drive> drives;
    if (platform::Current().drives->List(drives)) {
        for (const platform::Drive& drive : drives) {
            if (!IsTransferKind(drive.kind))
                continue;
            std::string root = drive.rootPath;
            if (root.size() > 1 && root.back() == '/')
                root.pop_back();
            text += "\r" + std::string(1, drive.letter) + ":  " + root;
        }
    }
    platform::Beep();
    return platform::MsgBox(text, buttons | MsgExclamation, TransferTitle());
}

bool IXPorterLogic::AcceptDrive(const std::string& entry, int& answer) {
    switch (CheckDriveEntry(entry)) {
        case DriveEntry::Blank:
            platform::Beep();
            answer = platform::MsgBox(
                "NO or INVALIED DRIVE ENTRY!\r\rEnter a valied Drive letter\ror click on CANCLE "
                "to Abort.\r\rThe entry requires a letter of A-Z\rfollowed by a colon. (Exp. A: )",
                MsgOkCancel | MsgExclamation, DriveTitle);
            return false;
        case DriveEntry::Invalid:
            platform::Beep();
            answer = platform::MsgBox(
                "INVALIED DRIVE ENTRY!\r\rThe Drive entry was incorrect!\rEnter a valied Drive "
                "letter\ror click on CANCLE to Abort.\rThe entry requires a letter of "
                "A-Z\rfollowed by a colon. (Exp. A: )",
                MsgOkCancel | MsgExclamation, DriveTitle);
            return false;
        case DriveEntry::Accepted:
            break;
    }
    if (!FindDrive()) {
        answer = RefuseDrive(MsgOkCancel);
        return false;
    }
    return true;
}

void IXPorterLogic::Activate() {
    visible_ = true;
    listFocus_ = false;
    for (;;) {
        mode_ = pzlMode;
        if (CustomPuzzleFlag != 0) {
            platform::Warn(
                "CAN'T EXPORT OR IMPORT!\r\rIn Custom mode, can't transfer \rpuzzles in this mode.",
                "TRANSFER    PUZZLES");
            return Hide();
        }
        drive_ = platform::InputBox(
            "Enter the Drive Letter of where\ryou want to Import/Export the Puzzle\rfiles too. "
            "(Exp. A:)\r\rClick on CANCLE to Abort.",
            "ENTER DRIVE LETTER", DefaultDrive());
        if (drive_.empty())
            return Hide();
        int answer = 0;
        if (AcceptDrive(drive_, answer))
            break;
        if (answer == AnswerCancel)
            return Hide();
    }

    if (mode_ == ImportMode) {
        bool found = false;
        if (!AskForDrive("INSERT MEDIA WITH FILES.\r\rInsert the disk or memory stick\rcontaining "
                         "the puzzle files into\rthe proper drive.",
                         "IMPORT  PUZZLE  FILES", found))
            return Hide();
        if (!found) {
            ReportRemoved();
            return Hide();
        }
    }
    if (mode_ != ExportMode && mode_ != ImportMode)
        return Changed();
    transferCount_ = LoadTransferList();
    if (transferCount_ == 0)
        return Hide();
    listEnabled_ = true;
    okCaption_ = mode_;
    Changed();
}

int16_t IXPorterLogic::LoadTransferList() {
    transferFiles_.assign(1, std::string());
    table_.assign(1, TransferRow{});
    items_.clear();
    itemData_.clear();
    selection_.clear();
    transferCount_ = 0;
    platform::HourglassScope hourglass;
    if (mode_ != ImportMode && mode_ != ExportMode) {
        Changed();
        return 0;
    }

    // The folder is read once; every name is then looked up in memory.
    DriveFolder drive;
    platform::Folder local;
    if (mode_ == ImportMode && !OpenDriveFolder(drive, false, ListingTitle)) {
        Changed();
        return 0;
    }
    if (mode_ == ExportMode && local.Open(PuzzlePath)) {
        platform::Alarm("ERROR: PATH NOT FOUND!", ListingTitle);
        Changed();
        return 0;
    }
    platform::Folder& folder = mode_ == ImportMode ? drive.puzzles : local;
    listedFolder_ = folder.Identity();
    // An information file that is no plain file is named among those left out.
    for (std::string& file : MatchFileNames(folder.Names(), "*.INF"))
        transferFiles_.push_back(std::move(file));

    // A drive that tells names apart by case may hold one set twice.
    std::unordered_set<std::string> bases;
    std::vector<std::string> leftOut;
    size_t heldBack = 0;
    for (size_t i = 1; i < transferFiles_.size(); ++i) {
        TransferRow row;
        const std::string& file = transferFiles_[i];
        std::string problem = CheckTransferPuzzle(folder, file, mode_ == ImportMode, row.puzzleName,
                                                  row.baseName, &row.fingerprint);
        if (problem.empty() && !bases.insert(row.baseName).second)
            problem = file + ": the same puzzle as another file";
        if (!problem.empty()) {
            leftOut.push_back(std::move(problem));
            continue;
        }
        if (table_.size() > MaxListed) {
            ++heldBack;
            continue;
        }
        row.infFile = UpperCase(file);
        table_.push_back(std::move(row));
    }
    if (!leftOut.empty())
        ReportLeftOut(leftOut);
    if (heldBack > 0) {
        platform::Warn("TOO MANY PUZZLES TO LIST!\r\rOnly the first " + std::to_string(MaxListed) +
                           " puzzles are listed;\r" + std::to_string(heldBack) +
                           " more were left out.",
                       ListingTitle);
    }
    const auto listed = static_cast<int16_t>(table_.size() - 1);
    if (listed == 0) {
        // Export beeps here and import does not.
        if (mode_ == ExportMode)
            platform::Alarm("ERROR: NO FILES FOUND!", ListingTitle);
        else
            platform::MsgBox("ERROR: NO FILES FOUND!", MsgOkOnly | MsgCritical, ListingTitle);
        Changed();
        return 0;
    }

    std::vector<std::string> keys;
    keys.reserve(table_.size());
    for (const TransferRow& row : table_)
        keys.push_back(UpperCase(row.puzzleName));
    std::vector<int16_t> order(static_cast<size_t>(listed));
    std::iota(order.begin(), order.end(), int16_t{1});
    std::stable_sort(order.begin(), order.end(), [&keys](int16_t a, int16_t b) {
        return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });
    for (int16_t row : order) {
        items_.push_back(table_[static_cast<size_t>(row)].puzzleName);
        itemData_.push_back(row);
    }
    selection_.assign(items_.size(), false);
    transferCount_ = listed;
    Changed();
    return listed;
}

void IXPorterLogic::ListClick(const std::vector<bool>& selected) {
    listFocus_ = false;
    for (size_t r = 0; r < itemData_.size(); ++r) {
        const bool on = r < selected.size() && selected[r];
        selection_[r] = on;
        table_[static_cast<size_t>(itemData_[r])].mark = on ? "S" : "N";
    }
    Changed();
}

std::vector<size_t> IXPorterLogic::MarkedRows() const {
    std::vector<size_t> rows;
    for (size_t i = 1; i < table_.size() && i <= static_cast<size_t>(transferCount_); ++i)
        if (table_[i].mark == "S")
            rows.push_back(i);
    return rows;
}

void IXPorterLogic::ReportLeftOut(const std::vector<std::string>& problems) {
    constexpr size_t Shown = 10;
    const bool import = mode_ == ImportMode;
    std::string text = import ? "SOME PUZZLES ON DRIVE " + drive_ + " WERE LEFT OUT!\r"
                              : std::string("SOME PUZZLES IN THE PUZZLE FOLDER WERE LEFT OUT!\r");
    for (size_t i = 0; i < problems.size() && i < Shown; ++i)
        text += "\r" + problems[i];
    if (problems.size() > Shown)
        text += "\r... and " + std::to_string(problems.size() - Shown) + " more";
    platform::Warn(
        text + (import ? "\r\rExport them to the drive again\rfrom the computer they "
                         "came from."
                       : "\r\rThey stay as they are: LOAD one\rin the puzzle library to see why."),
        ListingTitle);
}

void IXPorterLogic::NoneSelected(const char* title) {
    platform::Warn("ERROR:  NO PUZZLE(s) SELECTED!\r\rYou MUST Select a puzzle from the list.",
                   title);
    listFocus_ = true;
}

void IXPorterLogic::ShowFailure(const PuzzleFileResult& failure, const platform::Folder* drive) {
    // A set cut short on the drive waits for the next export to it; one in
    // the puzzle folder for the game's next start.
    const bool onDrive = drive &&
                         (failure.status == PuzzleFileStatus::Unfinished ||
                          failure.status == PuzzleFileStatus::Broken) &&
                         drive->KindNow(PuzzleSetMarkerName(failure.file)) != Kind::None;
    platform::Alarm(PuzzleFailureText(failure, onDrive ? drive_ : std::string()), TransferTitle());
}

bool IXPorterLogic::DriveRemoved(const DriveFolder& drive) {
    if (FindDrive() && platform::IdentityOf(driveRoot_) == drive.root.Identity())
        return false;
    ReportRemoved();
    return true;
}

void IXPorterLogic::ReportRemoved() {
    platform::Alarm("ERROR: DRIVE " + drive_ +
                        " WAS REMOVED!\r\rThe transfer stopped. Put the drive\rback and " +
                        (mode_ == ImportMode ? "list it again." : "export again."),
                    TransferTitle());
}

bool IXPorterLogic::WriteProtected(const platform::Folder& folder) {
    if (!folder.WriteProtected())
        return false;
    platform::Alarm(
        "ERROR: DRIVE " + drive_ +
            " IS WRITE-PROTECTED!\r\rNo puzzle can be exported to it.\rRemove its write "
            "protection\rand export again.",
        ExportTitle);
    return true;
}

bool IXPorterLogic::StillAsListed(DriveFolder& drive, const std::vector<size_t>& rows) {
    // Only the bytes listed are imported: a set rewritten in place, or another
    // stick in the slot with sets of the same names, is not what the player chose.
    // A set that no longer reads is damage, which the copy reports.
    platform::FolderLock lock(drive.puzzles, false);
    bool same = drive.puzzles.Identity() == listedFolder_;
    for (size_t i = 0; same && !lock.Error() && i < rows.size(); ++i) {
        const TransferRow& row = table_[rows[i]];
        PuzzleInfo info;
        PuzzleTables tables;
        PuzzleSetBytes bytes;
        if (ReadWholePuzzleSet(drive.puzzles, row.baseName, PendingSet::Refuse, info, tables,
                               &bytes)
                .Ok())
            same = PuzzleSetFingerprint(bytes) == row.fingerprint;
    }
    if (same)
        return true;
    ReportDriveChanged();
    return false;
}

void IXPorterLogic::ReportDriveChanged(const std::string& stopped) {
    platform::Alarm(
        "ERROR: DRIVE " + drive_ + " HAS CHANGED!\r\rIts puzzles are not those listed.\r" +
            (stopped.empty() ? "Nothing was imported: list the\rdrive again."
                             : "The import stopped at " + stopped + ": list\rthe drive again."),
        ImportTitle);
}

void IXPorterLogic::RefuseLinkedFolder(const char* title) {
    platform::Alarm("ERROR: THE PUZZLE FOLDER ON " + drive_ +
                        " DRIVE IS A LINK!\r\rPuzzles are not copied through links.",
                    title);
}

void IXPorterLogic::OkClick() {
    lastTransfer_.clear();
    listFocus_ = false;
    if (mode_ == ExportMode)
        ExportPuzzles();
    else if (mode_ == ImportMode)
        ImportPuzzles();
    Changed();
}

void IXPorterLogic::ExitClick() {
    Hide();
}

void IXPorterLogic::ExportPuzzles() {
    platform::HourglassScope hourglass;
    platform::Beep();
    bool found = false;
    if (!AskForDrive("INSERT DISK INTO DRIVE " + drive_, "EXPORT    PUZZLES", found))
        return;
    // The drive may have gone since the question; a stick put in its place
    // meanwhile has taken its letter and is the drive asked for.
    if (!found)
        return ReportRemoved();
    const std::vector<size_t> marked = MarkedRows();
    if (marked.empty())
        return NoneSelected("EXPORT  PUZZLE");
    DriveFolder drive;
    if (!OpenDriveFolder(drive, true, ExportTitle))
        return;
    if (WriteProtected(drive.puzzles))
        return;
    platform::Folder local;
    if (auto error = local.Open(PuzzlePath)) {
        ShowFailure({PuzzleFileStatus::Failed, DriveFolderName, {}, error});
        return;
    }
    // A set an earlier export left half done on this drive is finished, or
    // cleared, before anything else is written to it.
    const PuzzleSetRecovery recovery = RecoverPuzzleSets(drive.puzzles);
    for (const PuzzleFileResult& failure : recovery.failures)
        if (failure.status == PuzzleFileStatus::Failed) {
            ShowFailure(failure, &drive.puzzles);
            return;
        }

    int failures = 0;
    for (size_t row : marked) {
        const std::string& base = table_[row].baseName;
        // A failure's box may have stood while the drive changed.
        if (!DriveFolderStands(drive)) {
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            return;
        }
        if (!AllFilesThere(local, TransferFileNames(base), "in PUZZLE Directory.", "Export",
                           "EXPORTING  PUZZLE  FILES")) {
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            return;
        }
        const PuzzleFileResult result =
            TransferPuzzleSet(local, drive.puzzles, base, PendingSet::Finish);
        lastTransfer_.push_back({base, OutcomeOf(result)});
        if (result.Ok())
            continue;
        ++failures;
        // A drive pulled out or write-protected stops the export with one message.
        if (DriveRemoved(drive) || WriteProtected(drive.puzzles))
            return;
        ShowFailure(result, &drive.puzzles);
    }
    if (failures == 0) {
        platform::Beep();
        platform::MsgBox("PUZZLE FILES EXPORTED.", MsgOkOnly | MsgInformation, ExportTitle);
    }
}

TransferOutcome IXPorterLogic::MayReplaceLocal(platform::Folder& local, const std::string& base,
                                               PuzzleSetState& state) {
    // Read as the folder is now: another copy of the game may have written it.
    state = ReadPuzzleSetState(local, base);
    if (!state.exists)
        return TransferOutcome::Copied;
    // Another copy of the game holding the folder says so; its puzzle stays.
    if (state.infRead.error.number == platform::ErrFileAlreadyOpen) {
        ShowFailure(state.infRead);
        return TransferOutcome::Refused;
    }
    if (state.infExists) {
        if (!state.infRead.Ok()) {
            // Without its key nobody can say the puzzle may go.
            platform::Warn("PUZZLE " + base +
                               " CAN'T BE READ ON THIS COMPUTER!\r\rA puzzle whose key can't "
                               "be read can't be replaced by an import.",
                           ImportTitle);
            return TransferOutcome::Refused;
        }
        // A puzzle the library would not delete without its key is never replaced.
        if (KeyRefuses(state.info, NoKey)) {
            platform::Warn("PUZZLE " + base +
                               " IS KEYED ON THIS COMPUTER!\r\rA keyed puzzle can't be "
                               "replaced by an import.",
                           ImportTitle);
            return TransferOutcome::Refused;
        }
    }
    platform::Beep();
    if (platform::MsgBox("PUZZLE " + base + " ALREADY EXISTS!\r\rDo you want to replace it?",
                         MsgYesNo | MsgQuestion | MsgDefaultButton2, ImportTitle) == AnswerNo)
        return TransferOutcome::Skipped;
    return TransferOutcome::Copied;
}

bool IXPorterLogic::ImportSet(DriveFolder& drive, platform::Folder& local, const TransferRow& row,
                              TransferOutcome& outcome, PuzzleFileResult& result) {
    const std::string& base = row.baseName;
    // The question is asked again on a set that changed since it was answered,
    // a few times at most; then the set is left as the other copy made it.
    for (int decision = 0; decision < MaxSetDecisions; ++decision) {
        PuzzleSetState state;
        outcome = MayReplaceLocal(local, base, state);
        if (outcome != TransferOutcome::Copied)
            return true;
        // The question may have stood while the drive changed.
        if (!DriveFolderStands(drive)) {
            outcome = TransferOutcome::Failed;
            return false;
        }
        // Whatever the answer was given on must still stand once the folder is locked.
        result = TransferPuzzleSet(drive.puzzles, local, base, PendingSet::Refuse, &state,
                                   &row.fingerprint);
        outcome = OutcomeOf(result);
        if (result.status == PuzzleFileStatus::NotAsListed) {
            ReportDriveChanged(base);
            return false;
        }
        if (result.status != PuzzleFileStatus::Changed)
            return true;
    }
    return true;
}

void IXPorterLogic::ImportPuzzles() {
    platform::HourglassScope hourglass;
    const std::vector<size_t> marked = MarkedRows();
    if (marked.empty())
        return NoneSelected("EMPORT  PUZZLE");
    // The drive listed may have gone since.
    if (!FindDrive())
        return ReportRemoved();
    DriveFolder drive;
    if (!OpenDriveFolder(drive, false, ImportTitle))
        return;
    // Only what was listed is imported: the drive may hold other puzzles by now.
    if (!StillAsListed(drive, marked))
        return;
    platform::Folder local;
    if (auto error = local.Open(PuzzlePath)) {
        ShowFailure({PuzzleFileStatus::Failed, DriveFolderName, {}, error});
        return;
    }

    int failures = 0;
    int copied = 0;
    for (size_t row : marked) {
        const std::string& base = table_[row].baseName;
        const TransferNames names = TransferFileNames(base);
        if (!AllFilesThere(drive.puzzles, names,
                           "on Drive " + drive_ + "\\" + DriveFolderName + "\\", "Import",
                           "IMPORTING  PUZZLE  FILES")) {
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            return;
        }
        // The drive may have changed since it was listed: its names are checked
        // again here, and the copy checks the very bytes it puts in place.
        PuzzleInfo info;
        std::string checkedBase;
        const std::string problem =
            CheckTransferNames(drive.puzzles, table_[row].infFile, true, info, checkedBase);
        if (!problem.empty() || checkedBase != base) {
            if (DriveRemoved(drive)) {
                lastTransfer_.push_back({base, TransferOutcome::Failed});
                return;
            }
            platform::Alarm(std::string(PuzzleDamagedText) + "\r\r" + problem, ImportTitle);
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            ++failures;
            continue;
        }
        TransferOutcome outcome = TransferOutcome::Copied;
        PuzzleFileResult result;
        const bool goOn = ImportSet(drive, local, table_[row], outcome, result);
        lastTransfer_.push_back({base, outcome});
        if (!goOn)
            return;
        if (outcome == TransferOutcome::Skipped || outcome == TransferOutcome::Refused)
            continue;
        if (result.Ok()) {
            ++copied;
            continue;
        }
        ++failures;
        if (DriveRemoved(drive))
            return;
        ShowFailure(result, &drive.puzzles);
    }
    // Puzzles the player kept or that were refused have had their own message.
    if (failures == 0 && copied > 0) {
        platform::Beep();
        platform::MsgBox("PUZZLE FILES IMPORTED.", MsgOkOnly | MsgInformation, ImportTitle);
    }
}

}  // namespace quarvelt
