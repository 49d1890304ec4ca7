// What the puzzle transfer window does, apart from drawing itself: it asks for
// a removable or CD drive, lists the puzzles of the source folder (the puzzle
// folder for an export, the drive's PUZZLE folder for an import), and copies
// the marked ones, each as its whole set of seven files. The main window sets
// the caption and the hidden mode label, shows it modally and drops it when it
// hides.
//
// The sets themselves are read and written by puzzle_transfer.h. Each folder
// is opened once per listing or transfer and every file is opened, checked
// and read through that one folder: a drive changed while a message waits is
// refused, never followed, and an import takes only what was listed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "puzzles/puzzle_files.h"
#include "puzzles/puzzle_transfer.h"

namespace quarvelt {

inline constexpr const char* ExportMode = "EXPORT";
inline constexpr const char* ImportMode = "IMPORT";

// A drive entry as the question takes it: a capital letter and a colon, nothing else.
enum class DriveEntry { Accepted, Blank, Invalid };
DriveEntry CheckDriveEntry(const std::string& entry);

// A listed puzzle: one row of TransferTable.
struct TransferRow {
    std::string puzzleName;
    std::string infFile;       // its information file's stored name
    std::string mark = "N";    // "S": marked for the transfer
    std::string baseName;      // checked when the row was listed
    uint64_t fingerprint = 0;  // of its bytes as listed, for an import
};

// What became of one marked puzzle at the last OK.
enum class TransferOutcome {
    Copied,
    Skipped,  // the player kept the puzzle already there
    Refused,  // a keyed or unreadable puzzle on this computer stays
    Failed,   // a file could not be copied or the set is damaged; nothing of it was left
    // The new set is committed at the target but not all in place: it is
    // finished at the next start (the next export, on a drive).
    Unfinished,
};

struct PuzzleTransfer {
    std::string baseName;
    TransferOutcome outcome = TransferOutcome::Copied;
};

class IXPorterLogic {
  public:
    std::string caption;
    // PzlMode, the hidden label: "EXPORT" or "IMPORT".
    std::string pzlMode;

    bool Visible() const { return visible_; }
    // PzlList: each row's text, its TransferTable row and whether it is selected.
    const std::vector<std::string>& Items() const { return items_; }
    const std::vector<int16_t>& ItemData() const { return itemData_; }
    const std::vector<bool>& Selection() const { return selection_; }
    bool ListEnabled() const { return listEnabled_; }
    // The list wants the focus after a press of OK with nothing selected.
    bool ListFocus() const { return listFocus_; }
    const std::string& OkCaption() const { return okCaption_; }

    const std::string& TransferMode() const { return mode_; }
    const std::string& TransferDrive() const { return drive_; }
    int16_t TransferCount() const { return transferCount_; }
    // Rows 1 to TransferCount; row 0 is left empty.
    const std::vector<TransferRow>& TransferTable() const { return table_; }
    // The marked puzzles of the last OK, in TransferTable order.
    const std::vector<PuzzleTransfer>& LastTransfer() const { return lastTransfer_; }

    // The drive question's default: the first removable or CD drive, "A:" when there is none.
    static std::string DefaultDrive();

    // The refusal, the drive question and the listing; the window may hide at once.
    void Activate();
    // Lists the source folder; the number of puzzles listed, 0 after any failure.
    int16_t LoadTransferList();
    // The list's selection, one flag per row: the marks follow it.
    void ListClick(const std::vector<bool>& selected);
    void OkClick();
    void ExitClick();

    std::function<void()> changed;

  private:
    // True when the entry names a usable drive; otherwise the player's answer to the refusal.
    bool AcceptDrive(const std::string& entry, int& answer);
    // Shows why the drive can't be used, with the removable and CD drives there are.
    int RefuseDrive(int buttons);
    // Finds the drive behind drive_; false when it is neither removable nor a CD drive.
    bool FindDrive();
    // Asks for the drive to be put in: a drive put in meanwhile takes its
    // letter. False when the player cancels; `found` when the drive is there.
    bool AskForDrive(const std::string& text, const char* title, bool& found);
    // The drive's root and its PUZZLE folder, made when `create`; false after
    // the refusal or failure has been shown.
    struct DriveFolder {
        platform::Folder root;
        platform::Folder puzzles;
        std::string name;  // the PUZZLE folder's name on the drive
    };
    bool OpenDriveFolder(DriveFolder& drive, bool create, const char* title);
    // False, after saying so, when the drive's PUZZLE folder is no longer the one opened.
    bool DriveFolderStands(const DriveFolder& drive);
    std::string TransferTitle() const;
    std::vector<size_t> MarkedRows() const;
    void NoneSelected(const char* title);
    // The failure's message; `drive`, the drive's PUZZLE folder, tells whether
    // a set cut short or damaged lies there, for who finishes or mends it.
    void ShowFailure(const PuzzleFileResult& failure, const platform::Folder* drive = nullptr);
    // True, after saying so, when the drive has gone since `drive` was opened.
    bool DriveRemoved(const DriveFolder& drive);
    // Tells the player that the drive is gone and what to do.
    void ReportRemoved();
    // True, after its one message, when the drive's `folder` can't be written.
    bool WriteProtected(const platform::Folder& folder);
    // False, after saying so, when the drive no longer holds what was listed.
    bool StillAsListed(DriveFolder& drive, const std::vector<size_t>& rows);
    // Tells the player that the drive's puzzles are not those listed; `stopped`
    // names the puzzle the import stopped at, when some came before it.
    void ReportDriveChanged(const std::string& stopped = {});
    // No link below the drive's root is followed.
    void RefuseLinkedFolder(const char* title);
    void ExportPuzzles();
    void ImportPuzzles();
    // Whether the set `base` may be written over in the puzzle folder, as it
    // stands now: `state` is what the answer was given on.
    TransferOutcome MayReplaceLocal(platform::Folder& local, const std::string& base,
                                    PuzzleSetState& state);
    // Imports the set `base`, asking again whenever the set here changed
    // after the player answered; false, after saying so, when the import stops.
    bool ImportSet(DriveFolder& drive, platform::Folder& local, const TransferRow& row,
                   TransferOutcome& outcome, PuzzleFileResult& result);
    // One message naming the sets a listing left out, and why.
    void ReportLeftOut(const std::vector<std::string>& problems);
    void Hide();
    void Changed();

    std::string mode_;
    std::string drive_;
    std::string driveRoot_;  // where the drive is mounted
    int16_t transferCount_ = 0;
    std::vector<std::string> transferFiles_;
    std::vector<TransferRow> table_;
    std::vector<std::string> items_;
    std::vector<int16_t> itemData_;
    std::vector<bool> selection_;
    std::vector<PuzzleTransfer> lastTransfer_;
    // The drive's PUZZLE folder the import list was made from.
    platform::FileIdentity listedFolder_;
    std::string okCaption_ = "OK";
    bool listEnabled_ = false;
    bool listFocus_ = false;
    bool visible_ = false;
};

}  // namespace quarvelt
