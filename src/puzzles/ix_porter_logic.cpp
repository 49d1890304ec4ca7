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

// The order the files travel in, which is not the order they are written in.
constexpr std::array<PuzzleFile, PuzzleFileCount> TravelOrder{
    PuzzleFile::Inf, PuzzleFile::Pzl, PuzzleFile::Tbx, PuzzleFile::Tgc,
    PuzzleFile::Shc, PuzzleFile::Sqc, PuzzleFile::Kyc};

const char* Extension(PuzzleFile file) {
    return PuzzleFileExtensions[static_cast<size_t>(file)];
}

bool IsTransferKind(platform::DriveKind kind) {
    return kind == platform::DriveKind::Removable || kind == platform::DriveKind::CdRom;
}

using Kind = platform::Folder::Kind;
using SetFiles = std::array<platform::OpenFile, PuzzleFileCount>;

// Nothing of a puzzle is copied until all seven of its files are there: false,
// after its message, when one is missing from `folder`.
bool AllFilesThere(const platform::Folder& folder, const TransferNames& names,
                   const std::string& where, const char* command, const char* title) {
    for (const std::string& name : names) {
        if (const Kind kind = folder.KindOf(name); kind != Kind::File && kind != Kind::Link) {
            platform::Beep();
            platform::MsgBox("ERROR: FILE NOT FOUND!\r\rThe file " + name + " wasn't found\r" +
                                 where + "\rCan't continue -- Terminating " + command + ".",
                             MsgOkOnly | MsgCritical, title);
            return false;
        }
    }
    return true;
}

CopyFailure FailureOf(const PuzzleFileResult& result) {
    return CopyFailure{result.file, result.error, result.reason};
}

// Opens a file of a set for reading. A link, anything but a plain file and a
// file larger than its kind can be are damage; nothing of such a file is read.
std::optional<CopyFailure> OpenSetFile(const platform::Folder& folder, const std::string& name,
                                       PuzzleFile kind, platform::OpenFile& file) {
    const std::string found = folder.Find(name);
    const platform::RuntimeError error =
        folder.OpenRead(found.empty() ? name : found, PuzzleFileSizeLimit(kind), file);
    if (!error)
        return std::nullopt;
    if (error.number == platform::ErrOverflow)
        return FailureOf(CheckPuzzleFileSize(name, kind, file.Size()));
    if (error.number == platform::ErrPathFileAccess)
        return CopyFailure{name,
                           {},
                           folder.KindNow(found.empty() ? name : found) == Kind::Link
                               ? "link"
                               : "not a plain file"};
    return CopyFailure{name, error, {}};
}

std::string Problem(const CopyFailure& failure) {
    return failure.file + ": " +
           (failure.reason.empty() ? failure.error.description : failure.reason);
}

// Reads the set held open in `files` (travel order) as a load reads it;
// `names` name its files in what is reported.
std::optional<CopyFailure> ReadHeldSet(const SetFiles& files, const TransferNames& names,
                                       PuzzleInfo& info) {
    PuzzleFilePaths paths;
    for (size_t i = 0; i < files.size(); ++i)
        paths[static_cast<size_t>(TravelOrder[i])] = files[i].Path();
    PuzzleTables tables;
    PuzzleFileResult result = ReadPuzzleFileSet(paths, info, tables);
    if (result.Ok())
        return std::nullopt;
    // The information file is reported by the name of the path it was read through.
    for (size_t i = 0; i < files.size(); ++i)
        if (GetFileName(files[i].Path()) == result.file)
            result.file = names[i];
    return FailureOf(result);
}

// Reads the information file `name` of `folder` through one descriptor.
std::optional<CopyFailure> ReadInfoIn(const platform::Folder& folder, const std::string& name,
                                      PuzzleInfo& info) {
    platform::OpenFile file;
    if (auto failure = OpenSetFile(folder, name, PuzzleFile::Inf, file))
        return failure;
    const PuzzleFileResult result = ReadPuzzleInfo(file.Path(), info);
    if (result.Ok())
        return std::nullopt;
    return CopyFailure{name, result.error,
                       result.status == PuzzleFileStatus::InfMissing ? "missing" : result.reason};
}

// Empty when `file` in `folder` names a puzzle the transfer may carry; else
// why not. Only a set named after its own checked base name qualifies. On a
// drive, every file that would travel must be a plain file, not a link, and be
// the very file its information file names (a drive that tells names apart by
// case may hold another file under the name that travels).
std::string CheckNames(const platform::Folder& folder, const std::string& file, bool onDrive,
                       PuzzleInfo& info, std::string& base) {
    if (onDrive && folder.KindOf(file) == Kind::Link)
        return file + ": link";
    if (auto failure = ReadInfoIn(folder, file, info))
        return Problem(*failure);
    base = PuzzleBaseName(info.baseName);
    if (!IsPuzzleBaseName(base))
        return file + ": base name";
    if (UpperCase(file) != base + Extension(PuzzleFile::Inf))
        return file + ": file name";
    for (PuzzleFile kind : TravelOrder)
        if (UpperCase(info.FileName(kind)) != base + Extension(kind))
            return file + ": stored file name";
    if (!onDrive)
        return {};
    const std::string listed = folder.Find(file);
    for (PuzzleFile kind : TravelOrder) {
        const std::string name = base + Extension(kind);
        const std::string travels = folder.Find(name);
        const Kind what = folder.KindOf(name);
        if (what == Kind::Link)
            return name + ": link";
        if (what != Kind::File)
            return name + ": missing";
        if (travels != folder.Find(info.FileName(kind)) ||
            (kind == PuzzleFile::Inf && travels != listed))
            return name + ": not the file its information file names";
    }
    return {};
}

// Empty when `file` in `folder` is a puzzle the transfer may carry; else why
// not. A drive's puzzles come from elsewhere, so all seven files are read
// before one is listed.
std::string CheckPuzzle(const platform::Folder& folder, const std::string& file, bool onDrive,
                        std::string& puzzleName, std::string& base) {
    PuzzleInfo info;
    if (std::string problem = CheckNames(folder, file, onDrive, info, base); !problem.empty())
        return problem;
    if (onDrive) {
        const TransferNames names = TransferFileNames(base);
        SetFiles files;
        for (size_t i = 0; i < names.size(); ++i)
            if (auto failure = OpenSetFile(folder, names[i], TravelOrder[i], files[i]))
                return Problem(*failure);
        PuzzleInfo read;
        if (auto failure = ReadHeldSet(files, names, read))
            return Problem(*failure);
    }
    puzzleName = info.puzzleName.empty() ? base : info.puzzleName;
    return {};
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

TransferNames TransferFileNames(const std::string& base) {
    TransferNames names;
    for (size_t i = 0; i < TravelOrder.size(); ++i)
        names[i] = base + Extension(TravelOrder[i]);
    return names;
}

namespace {

// Writes the copies of the seven `names` of `from` into `to` under their
// temporary names and reads them as a load reads a set; on a failure no
// temporary is left.
std::optional<CopyFailure> WriteCopies(const platform::Folder& from, platform::Folder& to,
                                       const TransferNames& names) {
    std::vector<std::string> temps;
    auto fail = [&to, &temps](CopyFailure failure) {
        for (const std::string& temp : temps)
            to.Remove(temp);
        return std::optional<CopyFailure>(std::move(failure));
    };
    SetFiles copies;
    for (size_t i = 0; i < names.size(); ++i) {
        platform::OpenFile source;
        if (auto failure = OpenSetFile(from, names[i], TravelOrder[i], source))
            return fail(*failure);
        std::string bytes;
        if (auto error = source.Read(source.Size(), bytes))
            return fail({names[i], error, {}});
        const std::string temp = PuzzleTempFileName(names[i]);
        platform::RuntimeError error = to.CreateFile(temp, bytes, copies[i]);
        // A temporary left by a copy that never ended is ours to drop.
        if (error.number == platform::ErrFileExists && to.KindNow(temp) != Kind::Folder &&
            !to.Remove(temp))
            error = to.CreateFile(temp, bytes, copies[i]);
        if (error)
            return fail({names[i], error, {}});
        temps.push_back(temp);
    }

    // What is put in place is what was checked: the copies, read as a load reads them.
    PuzzleInfo info;
    if (auto failure = ReadHeldSet(copies, names, info))
        return fail(*failure);
    if (PuzzleBaseName(info.baseName) + Extension(PuzzleFile::Inf) != names[0])
        return fail({names[0], {}, "base name"});
    return std::nullopt;
}

}  // namespace

std::optional<CopyFailure> CopyPuzzleSet(const platform::Folder& from, platform::Folder& to,
                                         const TransferNames& names) {
    if (auto failure = WriteCopies(from, to, names))
        return failure;
    std::vector<std::string> temps;
    for (const std::string& name : names)
        temps.push_back(PuzzleTempFileName(name));
    auto fail = [&to, &temps](CopyFailure failure) {
        for (const std::string& temp : temps)
            to.Remove(temp);
        return std::optional<CopyFailure>(std::move(failure));
    };

    // What the target held, so that a set half put in place can be put back.
    // No link at the target is read or written through, and one
    // write-protected file keeps the whole set as it was.
    std::array<std::optional<std::string>, PuzzleFileCount> old;
    std::array<std::string, PuzzleFileCount> targets;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string found = to.Find(names[i]);
        targets[i] = found.empty() ? names[i] : found;
        const Kind kind = to.KindNow(targets[i]);
        if (kind == Kind::None)
            continue;
        if (kind != Kind::File)
            return fail({names[i], platform::MakeError(platform::ErrPathFileAccess), {}});
        if (auto error = to.CheckWritable(targets[i]))
            return fail({names[i], error, {}});
        // A file past the largest a puzzle file can be is no puzzle file: it
        // is neither read nor replaced, so the target stays as it was.
        platform::OpenFile file;
        if (auto failure = OpenSetFile(to, targets[i], TravelOrder[i], file)) {
            failure->file = names[i];
            return fail(*failure);
        }
        std::string bytes;
        if (auto error = file.Read(file.Size(), bytes))
            return fail({names[i], error, {}});
        old[i] = std::move(bytes);
    }

    for (size_t i = 0; i < names.size(); ++i) {
        if (auto error = to.Rename(temps[i], targets[i])) {
            for (size_t j = 0; j < i; ++j) {
                if (old[j])
                    to.WriteFileAtomic(targets[j], *old[j]);
                else
                    to.Remove(targets[j]);
            }
            temps.erase(temps.begin(), temps.begin() + static_cast<std::ptrdiff_t>(i));
            return fail({names[i], error, {}});
        }
    }
    return std::nullopt;
}

std::optional<CopyFailure> ImportPuzzleSet(const platform::Folder& from, platform::Folder& local,
                                           const TransferNames& names,
                                           const ReplaceStepHook& step) {
    if (auto failure = WriteCopies(from, local, names))
        return failure;
    const PuzzleFileResult result = ReplacePuzzleSet(local, names, step);
    if (result.Ok())
        return std::nullopt;
    return FailureOf(result);
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
    if (!error)
        error = drive.puzzles.OpenIn(drive.root, DriveFolderName, create);
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
        ShowFailure({DriveFolderName, error, {}});
    } else if (std::string(title) == ListingTitle) {
        platform::Beep();
        platform::MsgBox("ERROR: PATH NOT FOUND!", MsgOkOnly | MsgCritical, ListingTitle);
    } else {
        platform::Beep();
        platform::MsgBox("CAN'T FIND QVPUZZLE DRICTORY ON " + drive_ + " DRIVE!",
                         MsgOkOnly | MsgInformation, ImportTitle);
    }
    return false;
}

bool IXPorterLogic::DriveFolderStands(const DriveFolder& drive) {
    if (drive.puzzles.StandsAt(drive.root, drive.name))
        return true;
    if (drive.root.KindNow(drive.name) == Kind::Link)
        RefuseLinkedFolder(TransferTitle().c_str());
    else
        ShowFailure({DriveFolderName, {}, "not the folder it was"});
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
            platform::Beep();
            platform::MsgBox(
                "CAN'T EXPORT OR IMPORT!\r\rIn Custom mode, can't transfer \rpuzzles in this mode.",
                MsgOkOnly | MsgExclamation, "TRANSFER    PUZZLES");
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
        const int answer = platform::MsgBox(
            "INSERT MEDIA WITH FILES.\r\rInsert the disk or memory stick\rcontaining the puzzle "
            "files into\rthe proper drive.",
            MsgOkCancel | MsgInformation, "IMPORT  PUZZLE  FILES");
        if (answer == AnswerCancel)
            return Hide();
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
        platform::Beep();
        platform::MsgBox("ERROR: PATH NOT FOUND!", MsgOkOnly | MsgCritical, ListingTitle);
        Changed();
        return 0;
    }
    const platform::Folder& folder = mode_ == ImportMode ? drive.puzzles : local;
    for (std::string& file : MatchFileNames(folder.FileNames(), "*.INF"))
        transferFiles_.push_back(std::move(file));

    // A drive that tells names apart by case may hold one set twice.
    std::unordered_set<std::string> bases;
    for (size_t i = 1; i < transferFiles_.size(); ++i) {
        // Rows are numbered by 16-bit counts.
        if (table_.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
            break;
        TransferRow row;
        const std::string& file = transferFiles_[i];
        if (!CheckPuzzle(folder, file, mode_ == ImportMode, row.puzzleName, row.baseName).empty() ||
            !bases.insert(row.baseName).second)
            continue;
        row.infFile = UpperCase(file);
        table_.push_back(std::move(row));
    }
    const auto listed = static_cast<int16_t>(table_.size() - 1);
    if (listed == 0) {
        // Export beeps here and import does not.
        if (mode_ == ExportMode)
            platform::Beep();
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

void IXPorterLogic::NoneSelected(const char* title) {
    platform::Beep();
    platform::MsgBox("ERROR:  NO PUZZLE(s) SELECTED!\r\rYou MUST Select a puzzle from the list.",
                     MsgOkOnly | MsgExclamation, title);
    listFocus_ = true;
}

void IXPorterLogic::ShowFailure(const CopyFailure& failure) {
    platform::Beep();
    platform::MsgBox(failure.reason.empty() ? platform::ErrorText(failure.error)
                                            : std::string(PuzzleDamagedText) + "\r\r" +
                                                  failure.file + ": " + failure.reason,
                     MsgOkOnly | MsgCritical, TransferTitle());
}

void IXPorterLogic::RefuseLinkedFolder(const char* title) {
    platform::Beep();
    platform::MsgBox("ERROR: THE PUZZLE FOLDER ON " + drive_ +
                         " DRIVE IS A LINK!\r\rPuzzles are not copied through links.",
                     MsgOkOnly | MsgCritical, title);
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
    if (platform::MsgBox("INSERT DISK INTO DRIVE " + drive_, MsgOkCancel | MsgInformation,
                         "EXPORT    PUZZLES") == AnswerCancel)
        return;
    // The drive may have gone since the question.
    if (!FindDrive()) {
        RefuseDrive(MsgOkOnly);
        return;
    }
    const std::vector<size_t> marked = MarkedRows();
    if (marked.empty())
        return NoneSelected("EXPORT  PUZZLE");
    DriveFolder drive;
    if (!OpenDriveFolder(drive, true, ExportTitle))
        return;
    platform::Folder local;
    if (auto error = local.Open(PuzzlePath)) {
        ShowFailure({DriveFolderName, error, {}});
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
        const TransferNames names = TransferFileNames(base);
        if (!AllFilesThere(local, names, "in PUZZLE Directory.", "Export",
                           "EXPORTING  PUZZLE  FILES")) {
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            return;
        }
        if (auto failure = CopyPuzzleSet(local, drive.puzzles, names)) {
            ShowFailure(*failure);
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            ++failures;
            continue;
        }
        lastTransfer_.push_back({base, TransferOutcome::Copied});
    }
    if (failures == 0) {
        platform::Beep();
        platform::MsgBox("PUZZLE FILES EXPORTED.", MsgOkOnly | MsgInformation, ExportTitle);
    }
}

TransferOutcome IXPorterLogic::MayReplaceLocal(const platform::Folder& local,
                                               const std::string& base) {
    const TransferNames names = TransferFileNames(base);
    if (std::none_of(names.begin(), names.end(), [&local](const std::string& name) {
            return local.KindOf(name) != Kind::None;
        }))
        return TransferOutcome::Copied;

    if (local.KindOf(names[0]) != Kind::None) {
        PuzzleInfo info;
        if (ReadInfoIn(local, names[0], info)) {
            // Without its key nobody can say the puzzle may go.
            platform::Beep();
            platform::MsgBox("PUZZLE " + base +
                                 " CAN'T BE READ ON THIS COMPUTER!\r\rA puzzle whose key can't "
                                 "be read can't be replaced by an import.",
                             MsgOkOnly | MsgExclamation, ImportTitle);
            return TransferOutcome::Refused;
        }
        // A puzzle the library would not delete without its key is never replaced.
        if (KeyRefuses(info, NoKey)) {
            platform::Beep();
            platform::MsgBox("PUZZLE " + base +
                                 " IS KEYED ON THIS COMPUTER!\r\rA keyed puzzle can't be "
                                 "replaced by an import.",
                             MsgOkOnly | MsgExclamation, ImportTitle);
            return TransferOutcome::Refused;
        }
    }
    platform::Beep();
    if (platform::MsgBox("PUZZLE " + base + " ALREADY EXISTS!\r\rDo you want to replace it?",
                         MsgYesNo | MsgQuestion | MsgDefaultButton2, ImportTitle) == AnswerNo)
        return TransferOutcome::Skipped;
    return TransferOutcome::Copied;
}

void IXPorterLogic::ImportPuzzles() {
    platform::HourglassScope hourglass;
    const std::vector<size_t> marked = MarkedRows();
    if (marked.empty())
        return NoneSelected("EMPORT  PUZZLE");
    if (!FindDrive()) {
        RefuseDrive(MsgOkOnly);
        return;
    }
    DriveFolder drive;
    if (!OpenDriveFolder(drive, false, ImportTitle))
        return;
    platform::Folder local;
    if (auto error = local.Open(PuzzlePath)) {
        ShowFailure({DriveFolderName, error, {}});
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
            CheckNames(drive.puzzles, table_[row].infFile, true, info, checkedBase);
        if (!problem.empty() || checkedBase != base) {
            platform::Beep();
            platform::MsgBox(std::string(PuzzleDamagedText) + "\r\r" + problem,
                             MsgOkOnly | MsgCritical, ImportTitle);
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            ++failures;
            continue;
        }
        if (TransferOutcome verdict = MayReplaceLocal(local, base);
            verdict != TransferOutcome::Copied) {
            lastTransfer_.push_back({base, verdict});
            continue;
        }
        // The question may have stood while the drive changed.
        if (!DriveFolderStands(drive)) {
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            return;
        }
        if (auto failure = ImportPuzzleSet(drive.puzzles, local, names, replaceStep)) {
            ShowFailure(*failure);
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            ++failures;
            continue;
        }
        lastTransfer_.push_back({base, TransferOutcome::Copied});
        ++copied;
    }
    // Puzzles the player kept or that were refused have had their own message.
    if (failures == 0 && copied > 0) {
        platform::Beep();
        platform::MsgBox("PUZZLE FILES IMPORTED.", MsgOkOnly | MsgInformation, ImportTitle);
    }
}

}  // namespace quarvelt
