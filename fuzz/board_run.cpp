// A board file run as the game runs a puzzle: compiled, animated, played and judged.
#include "animation/animation_builder.h"
#include "board/headless_grid.h"
#include "board/playback.h"
#include "board/solution_check.h"
#include "common/globals.h"
#include "common/tables.h"
#include "common/text.h"
#include "engine/board_trace.h"
#include "engine/compiler.h"
#include "entries.h"
#include "run_promises.h"
#include "support.h"

namespace quarvelt::fuzz {

namespace {

constexpr const char* Name = "board_run";

std::string& GameFolder() {
    static std::string folder;
    return folder;
}

// The board's grid, keeping what it was asked to draw; a picture drawn off the
// board is a finding.
class QuietGrid : public HeadlessGrid {
  public:
    bool SetCellPicture(const std::string& path) override {
        Require(Row() >= 0 && Row() < BoardRows && Col() >= 0 && Col() < BoardCols, Name,
                "a picture drawn outside the board");
        drawings.push_back({Cell(), PictureName(path)});
        return true;
    }
    void ClearCellPicture() override { drawings.push_back({Cell(), {}}); }

    std::vector<Drawing> drawings;
};

// Passes every box on and keeps the text of the last one.
class LastBoxText : public platform::MessageBoxes {
  public:
    explicit LastBoxText(platform::MessageBoxes& shown) : shown_(shown) {}
    int Show(const std::string& text, int flags, const std::string& title) override {
        last = text;
        return shown_.Show(text, flags, title);
    }
    void Beep() override { shown_.Beep(); }

    std::string last;

  private:
    platform::MessageBoxes& shown_;
};

}  // namespace

void SetGameFolder(const std::string& folder) {
    GameFolder() = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

int BoardRun(const uint8_t* data, size_t size) {
    Session session;
    BoardFile board;
    std::string error;
    if (!ParseBoardFile(std::string(reinterpret_cast<const char*>(data), size), board, error))
        return 0;
    Require(board.rows >= 10 && board.rows <= 60 && board.cols >= 10 && board.cols <= 60 &&
                board.cells.size() == static_cast<size_t>(board.rows * board.cols),
            Name, "a board of the wrong size was read");
    if (GameFolder().empty())
        return 0;
    AppPath = GameFolder();
    // Pictures the runs extract stay for the next input; the game folder is only read.
    ImagePath = KeptFolder(Name);
    LoadBoardFile(board);

    Flag compiled = False;
    CompilePuzzle(compiled);
    if (!IsTrue(compiled)) {
        Require(session.Boxes() == 1, Name,
                "a failed compile showed " + std::to_string(session.Boxes()) + " messages");
        for (int p = 1; p <= PhotonCount; ++p)
            Require(TracePhotonLine(p) ==
                        "photon " + std::to_string(p) + " size _ colour _ detector _ steps 0 cells",
                    Name, "a failed compile left photon " + std::to_string(p) + " recorded");
        return 0;
    }
    Require(session.Boxes() == 0, Name, "a compile that succeeded showed a message");

    platform::Services services = platform::Current();
    LastBoxText boxes(*services.boxes);
    services.boxes = &boxes;
    platform::Install(services);
    const int32_t rows = BuildPuzzleAnimation();
    if (rows == -1) {
        Require(session.Boxes() == 1, Name, "a failed animation build showed no single message");
        // The compile's paths are whole; a build that finds them not is wrong.
        Require(boxes.last != IncompletePathText, Name,
                "the animation found the paths of a compile that succeeded incomplete");
        return 0;
    }
    Require(rows >= 0 && static_cast<size_t>(rows) < AnimTable.size(), Name,
            "the animation's last row lies outside its table");

    QuietGrid grid;
    CaptionLabel tally;
    const bool noStop = false;
    const int before = session.Boxes();
    const bool played = ApplySpecialObjHits(grid, tally, rows, noStop, 0);
    Require(played == (session.Boxes() == before), Name,
            "a playback stopped without its message, or played on after one");
    if (!played)
        return 0;
    const std::string broken = BrokenRunPromise(grid.drawings, 0, LeadingNumber(tally.Caption()));
    Require(broken.empty(), Name, broken);
    CheckForSpecialCond(tally.Caption());
    return 0;
}

}  // namespace quarvelt::fuzz
