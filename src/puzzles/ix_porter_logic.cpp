#include "puzzles/ix_porter_logic.h"

#include <algorithm>
#include <numeric>

#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "platform/files.h"
#include "platform/services.h"
#include "puzzles/puzzle_names.h"

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
constexpr const char* NoKey = "UNKEYED";

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

void RemoveFiles(const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (platform::IsFile(folder + name))
            platform::DeleteFile(folder + name);
}

// Empty when `file` in `folder` names a puzzle the transfer may carry; else
// why not. Only a set named after its own checked base name qualifies. On a
// drive, every file that would travel must be a plain file, not a link, and be
// the very file its information file names (a drive that tells names apart by
// case may hold another file under the name that travels).
std::string CheckNames(const std::string& folder, const std::string& file, bool onDrive,
                       PuzzleInfo& info, std::string& base) {
    if (onDrive && platform::IsLink(folder + file))
        return file + ": link";
    if (PuzzleFileResult result = ReadPuzzleInfo(folder + file, info); !result.Ok())
        return file + ": " + (result.reason.empty() ? result.error.description : result.reason);
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
    const std::string listed = platform::ResolveCase(folder + file);
    for (PuzzleFile kind : TravelOrder) {
        const std::string name = base + Extension(kind);
        const std::string travels = platform::ResolveCase(folder + name);
        if (!platform::IsFile(travels))
            return name + ": missing";
        if (platform::IsLink(travels))
            return name + ": link";
        if (travels != platform::ResolveCase(folder + info.FileName(kind)) ||
            (kind == PuzzleFile::Inf && travels != listed))
            return name + ": not the file its information file names";
    }
    return {};
}

std::string Problem(const PuzzleFileResult& result) {
    return result.file + ": " + (result.reason.empty() ? result.error.description : result.reason);
}

// Empty when `file` in `folder` is a puzzle the transfer may carry; else why
// not. A drive's puzzles come from elsewhere, so all seven files are read
// before one is listed.
std::string CheckPuzzle(const std::string& folder, const std::string& file, bool onDrive,
                        std::string& puzzleName, std::string& base) {
    PuzzleInfo info;
    if (std::string problem = CheckNames(folder, file, onDrive, info, base); !problem.empty())
        return problem;
    if (onDrive) {
        PuzzleFilePaths paths;
        for (PuzzleFile kind : TravelOrder)
            paths[static_cast<size_t>(kind)] = folder + base + Extension(kind);
        PuzzleInfo read;
        PuzzleTables tables;
        if (PuzzleFileResult result = ReadPuzzleFileSet(paths, read, tables); !result.Ok())
            return Problem(result);
    }
    puzzleName = info.puzzleName.empty() ? base : info.puzzleName;
    return {};
}

// Whether the library would ask a key before deleting the puzzle (its save
// asks one in fewer cases): such a puzzle is never replaced by an import.
bool KeyProtected(const PuzzleInfo& local) {
    const std::string key = TrimBlanks(local.puzzleKey);
    if (local.customFlag == 1)
        return key != NoKey;
    return !key.empty() && key != NoKey;
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

std::optional<CopyFailure> CopyPuzzleSet(const std::string& from, const std::string& to,
                                         const TransferNames& names) {
    std::vector<std::string> temps;
    PuzzleFilePaths copies;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        const std::string temp = PuzzleTempFileName(name);
        const uint64_t limit = PuzzleFileSizeLimit(TravelOrder[i]);
        uint64_t size = 0;
        platform::RuntimeError error = platform::FileSize(from + name, size);
        if (!error && size > limit) {
            RemoveFiles(to, temps);
            return CopyFailure{name, {}, "too large: " + std::to_string(size) + " bytes"};
        }
        if (!error)
            error = platform::CopyFileVerified(from + name, to + temp, limit);
        if (error) {
            RemoveFiles(to, temps);
            RemoveFiles(to, {temp});
            return CopyFailure{name, error, {}};
        }
        temps.push_back(temp);
        copies[static_cast<size_t>(TravelOrder[i])] = to + temp;
    }

    // What is put in place is what was checked: the copies, read as a load reads them.
    PuzzleInfo info;
    PuzzleTables tables;
    if (PuzzleFileResult result = ReadPuzzleFileSet(copies, info, tables); !result.Ok()) {
        RemoveFiles(to, temps);
        std::string file = result.file;
        for (size_t i = 0; i < temps.size(); ++i)
            if (file == temps[i])
                file = names[i];
        return CopyFailure{
            file, {}, result.reason.empty() ? result.error.description : result.reason};
    }
    if (PuzzleBaseName(info.baseName) + Extension(PuzzleFile::Inf) != names[0]) {
        RemoveFiles(to, temps);
        return CopyFailure{names[0], {}, "base name"};
    }

    // What the target held, so that a set half put in place can be put back.
    std::array<std::optional<std::string>, PuzzleFileCount> old;
    for (size_t i = 0; i < names.size(); ++i) {
        // No link at the target is read or written through, and one
        // write-protected file keeps the whole set as it was.
        platform::RuntimeError error = platform::CheckWritable(to + names[i]);
        if (!error && (platform::IsFolder(to + names[i]) || platform::IsLink(to + names[i]))) {
            error = platform::MakeError(platform::ErrPathFileAccess);
        } else if (!error && platform::IsFile(to + names[i])) {
            std::string bytes;
            error = platform::ReadWholeFile(to + names[i], bytes);
            old[i] = std::move(bytes);
        }
        if (error) {
            RemoveFiles(to, temps);
            return CopyFailure{names[i], error, {}};
        }
    }

    for (size_t i = 0; i < names.size(); ++i) {
        if (auto error = platform::RenameFile(to + temps[i], to + names[i])) {
            for (size_t j = 0; j < i; ++j) {
                if (old[j])
                    platform::WriteFileAtomic(to + names[j], *old[j]);
                else
                    platform::DeleteFile(to + names[j]);
            }
            RemoveFiles(to, {temps.begin() + static_cast<std::ptrdiff_t>(i), temps.end()});
            return CopyFailure{names[i], error, {}};
        }
    }
    return std::nullopt;
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

std::string IXPorterLogic::SourceFolder() const {
    if (mode_ == ImportMode)
        return driveFolder_;
    if (mode_ == ExportMode)
        return PuzzlePath;
    return {};
}

bool IXPorterLogic::FindDrive() {
    driveFolder_.clear();
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
        const std::string& root = drive.rootPath;
        driveFolder_ = root + (root.back() == '/' ? "" : "/") + DriveFolderName + "/";
        return true;
    }
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
    transferFiles_.assign(257, std::string());
    table_.assign(1, TransferRow{});
    items_.clear();
    itemData_.clear();
    selection_.clear();
    transferCount_ = 0;
    platform::HourglassScope hourglass;
    const std::string folder = SourceFolder();
    if (folder.empty()) {
        Changed();
        return 0;
    }

    if (mode_ == ImportMode && platform::IsLink(folder)) {
        RefuseLinkedFolder(ListingTitle);
        Changed();
        return 0;
    }
    const int16_t found = GetFileList(folder, "*.INF", transferFiles_);
    if (found < 0) {
        platform::Beep();
        platform::MsgBox("ERROR: PATH NOT FOUND!", MsgOkOnly | MsgCritical, ListingTitle);
        Changed();
        return 0;
    }
    for (int16_t i = 1; i <= found; ++i) {
        TransferRow row;
        const std::string& file = transferFiles_[static_cast<size_t>(i)];
        if (!CheckPuzzle(folder, file, mode_ == ImportMode, row.puzzleName, row.baseName).empty())
            continue;
        // A drive that tells names apart by case may hold one set twice.
        if (std::any_of(table_.begin() + 1, table_.end(),
                        [&row](const TransferRow& r) { return r.baseName == row.baseName; }))
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

    std::vector<int16_t> order(static_cast<size_t>(listed));
    std::iota(order.begin(), order.end(), int16_t{1});
    std::stable_sort(order.begin(), order.end(), [this](int16_t a, int16_t b) {
        return UpperCase(table_[static_cast<size_t>(a)].puzzleName) <
               UpperCase(table_[static_cast<size_t>(b)].puzzleName);
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
    const std::string folder = driveFolder_.substr(0, driveFolder_.size() - 1);
    if (platform::IsLink(folder))
        return RefuseLinkedFolder(ExportTitle);
    if (auto error = platform::CreateFolder(folder)) {
        ShowFailure({DriveFolderName, error, {}});
        return;
    }

    int failures = 0;
    for (size_t row : marked) {
        const std::string& base = table_[row].baseName;
        const TransferNames names = TransferFileNames(base);
        // Nothing of a puzzle is copied until all seven of its files are there.
        for (const std::string& name : names) {
            if (!platform::IsFile(PuzzlePath + name)) {
                platform::Beep();
                platform::MsgBox("ERROR: FILE NOT FOUND!\r\rThe file " + name +
                                     " wasn't found\rin PUZZLE Directory.\rCan't continue -- "
                                     "Terminating Export.",
                                 MsgOkOnly | MsgCritical, "EXPORTING  PUZZLE  FILES");
                lastTransfer_.push_back({base, TransferOutcome::Failed});
                return;
            }
        }
        if (auto failure = CopyPuzzleSet(PuzzlePath, driveFolder_, names)) {
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

TransferOutcome IXPorterLogic::MayReplaceLocal(const std::string& base) {
    const TransferNames names = TransferFileNames(base);
    if (std::none_of(names.begin(), names.end(), [](const std::string& name) {
            return platform::IsFile(PuzzlePath + name) || platform::IsFolder(PuzzlePath + name);
        }))
        return TransferOutcome::Copied;

    const std::string infPath = PuzzlePath + names[0];
    if (platform::IsFile(infPath) || platform::IsFolder(infPath)) {
        PuzzleInfo local;
        if (!ReadPuzzleInfo(infPath, local).Ok()) {
            // Without its key nobody can say the puzzle may go.
            platform::Beep();
            platform::MsgBox("PUZZLE " + base +
                                 " CAN'T BE READ ON THIS COMPUTER!\r\rA puzzle whose key can't "
                                 "be read can't be replaced by an import.",
                             MsgOkOnly | MsgExclamation, ImportTitle);
            return TransferOutcome::Refused;
        }
        if (KeyProtected(local)) {
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
    if (!platform::IsFolder(driveFolder_)) {
        platform::Beep();
        platform::MsgBox("CAN'T FIND QVPUZZLE DRICTORY ON " + drive_ + " DRIVE!",
                         MsgOkOnly | MsgInformation, ImportTitle);
        return;
    }
    if (platform::IsLink(driveFolder_))
        return RefuseLinkedFolder(ImportTitle);

    int failures = 0;
    int copied = 0;
    for (size_t row : marked) {
        const std::string& base = table_[row].baseName;
        const TransferNames names = TransferFileNames(base);
        for (const std::string& name : names) {
            if (!platform::IsFile(driveFolder_ + name)) {
                platform::Beep();
                platform::MsgBox("ERROR: FILE NOT FOUND!\r\rThe file " + name +
                                     " wasn't found\ron Drive " + drive_ + "\\" + DriveFolderName +
                                     "\\\rCan't continue -- Terminating Import.",
                                 MsgOkOnly | MsgCritical, "IMPORTING  PUZZLE  FILES");
                lastTransfer_.push_back({base, TransferOutcome::Failed});
                return;
            }
        }
        // The drive may have changed since it was listed: its names are checked
        // again here, and the copy checks the very bytes it puts in place.
        PuzzleInfo info;
        std::string checkedBase;
        const std::string problem =
            CheckNames(driveFolder_, table_[row].infFile, true, info, checkedBase);
        if (!problem.empty() || checkedBase != base) {
            platform::Beep();
            platform::MsgBox(std::string(PuzzleDamagedText) + "\r\r" + problem,
                             MsgOkOnly | MsgCritical, ImportTitle);
            lastTransfer_.push_back({base, TransferOutcome::Failed});
            ++failures;
            continue;
        }
        if (TransferOutcome verdict = MayReplaceLocal(base); verdict != TransferOutcome::Copied) {
            lastTransfer_.push_back({base, verdict});
            continue;
        }
        if (auto failure = CopyPuzzleSet(driveFolder_, PuzzlePath, names)) {
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
