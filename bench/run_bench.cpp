// The run as a player feels it, through the main window's own Run on the Qt
// board grid (offscreen): the time from Run to the first frame drawn on screen,
// and the drawing of one animation row against the 0.03 second pause the
// playback makes between rows. Two boards: the largest shipped puzzle, loaded
// as the library loads it, and a 60 by 60 board with three photons on long
// ways. The pause itself is not waited: the playback's clock is told the
// pause is over as soon as the row's paint has run.
//
// A shipped puzzle is played with the solution its test keeps. Without one its
// Run stops at the compile; then the first thing shown is the stop's message,
// and that is what its time measures (the output says which).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "board/board_model.h"
#include "board/headless_grid.h"
#include "board/playback.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "engine/board_trace.h"
#include "mainwindow/game_bd_logic.h"
#include "platform/qt/board_grid.h"
#include "platform/services.h"
#include "puzzles/puzzle_files.h"
#include "ratio_reporter.h"

namespace {

using namespace quarvelt;
namespace fs = std::filesystem;

constexpr int Size = 60;

// Stamps, on one clock, the moments the benchmark reads off a Run.
struct RunClock {
    QElapsedTimer timer;
    double started = -1;     // Run was chosen
    double firstFrame = -1;  // the first row's picture has been painted
    double firstBox = -1;    // the first message box came up
    double ended = -1;       // Run returned
    int pictures = 0;        // cell pictures set since Run
    int paintedRows = 0;     // rows painted by the playback's pause
    double Now() const { return static_cast<double>(timer.nsecsElapsed()) * 1e-9; }
    void Start() {
        started = Now();
        firstFrame = firstBox = ended = -1;
        pictures = paintedRows = 0;
    }
};

RunClock Clock;

// The board grid the player sees, counting the pictures set on it.
class TimedGrid : public platform::qt::QtBoardGrid {
  public:
    bool SetCellPicture(const std::string& path) override {
        ++Clock.pictures;
        return QtBoardGrid::SetCellPicture(path);
    }
};

// The playback's pause: the row's paint runs as in the game, the waiting does
// not. The clock answers a second later at every reading, so the pause ends at once.
class PaintOnlyLoop : public platform::EventLoop {
  public:
    void ProcessEvents() override {
        QCoreApplication::processEvents();
        if (Clock.started >= 0 && Clock.pictures > 0) {
            ++Clock.paintedRows;
            if (Clock.firstFrame < 0)
                Clock.firstFrame = Clock.Now();
        }
    }
    void WaitForEvents(int) override {}
    double Seconds() override { return seconds_ += 1.0; }

  private:
    double seconds_ = 0;
};

// Boxes are answered at once; the first one of a Run is stamped.
class AnsweredBoxes : public platform::MessageBoxes {
  public:
    int Show(const std::string& text, int, const std::string& title) override {
        if (Clock.firstBox < 0)
            Clock.firstBox = Clock.Now();
        lastText = title + ": " + text.substr(0, text.find('\r'));
        return platform::AnswerOk;
    }
    void Beep() override {}
    std::string lastText;
};

// The main window's part in a Run: nothing to show beside the board.
class NoWindows : public GameBdView {
  public:
    void HideToolBox() override {}
    void ShowToolBox() override {}
    void ShowSetTrigg() override {}
    void ShowShutterDialog() override {}
    void ShowObjInfro() override {}
    void ShowCreator(CreatorLogic&) override {}
    void ShowIXPorter(IXPorterLogic&) override {}
    void ShowSpCondEdit(SpCondEditLogic&) override {}
    void ShowTBSetup(TBSetupLogic&) override {}
    void ShowHelpReader(HelpReaderLogic&) override {}
    void ShowHelpWriter(HelpWriterLogic&) override {}
    void ShowObjectLock() override {}
    void Repaint() override {}
    void UnloadSplash() override {}
    void ShowAbout() override {}
    void EndProgram(int) override {}
};

// Photon A zigzags over rows 0 to 57 between reflectors in the last and the
// second column and comes back up the first column to a white detector; on
// row 57 two splitters send photons B and C down to detectors of their own.
std::string ThreePhotonBoard() {
    std::vector<std::vector<std::string>> cells(Size, std::vector<std::string>(Size, "BLANK"));
    cells[0][0] = "LAMP_";
    cells[0][4] = "LENCC";
    for (int r = 0; r <= 57; ++r) {
        cells[r][Size - 1] = r % 2 == 0 ? "REFLD" : "REFLU";
        if (r > 0 && r < 57)
            cells[r][1] = r % 2 == 0 ? "REFRU" : "REFRD";
    }
    cells[57][0] = "REFRU";
    cells[1][0] = "DETWH";
    for (int c : {12, 34}) {
        cells[57][c] = "SPLTF";
        cells[59][c] = "REFRU";
        cells[59][c + 8] = "REFLU";
        cells[58][c + 8] = "DETWH";
    }
    std::string text = "size 60 60\n";
    for (const auto& row : cells) {
        text += "row";
        for (const auto& code : row)
            text += " " + code;
        text += "\n";
    }
    return text;
}

// The shipped puzzle with the most cells, by its base name; empty when none is there.
std::string LargestShippedPuzzle(int& cells) {
    std::string best;
    cells = 0;
    for (const auto& entry : fs::directory_iterator(QUARVELT_GAME_DIR)) {
        if (entry.path().extension() != ".INF")
            continue;
        PuzzleInfo info;
        if (!ReadPuzzleInfo(entry.path().string(), info).Ok())
            continue;
        if (info.boardRows * info.boardCols > cells) {
            cells = info.boardRows * info.boardCols;
            best = info.baseName;
        }
    }
    return best;
}

// The placements of a shipped puzzle's solution, kept with the tests: its source
// in assets/puzzles/ names the base, and the solution file has the source's name.
std::vector<std::pair<std::string, int>> SolutionOf(const std::string& base) {
    std::vector<std::pair<std::string, int>> placements;
    for (const auto& entry : fs::directory_iterator(QUARVELT_PUZZLE_SOURCES)) {
        std::ifstream source(entry.path());
        std::string key, value, line;
        bool ours = false;
        while (std::getline(source, line)) {
            std::istringstream words(line);
            if (words >> key >> value && key == "base" && value == base)
                ours = true;
        }
        if (!ours)
            continue;
        std::ifstream solution(std::string(QUARVELT_SOLUTIONS) + entry.path().filename().string());
        std::string code;
        int row = 0, col = 0;
        while (std::getline(solution, line)) {
            std::istringstream words(line);
            if (line.starts_with("#") || !(words >> code >> row >> col))
                continue;
            placements.emplace_back(code, row * 1000 + col);
        }
    }
    return placements;
}

void EmptyImageFolder() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ImagePath, ec))
        fs::remove(entry.path(), ec);
}

struct Board {
    std::string name;
    std::string boardText;   // a board file, or
    std::string puzzleBase;  // a shipped puzzle's base name
    bool runs = false;       // its Run reaches the playback
    int rows = 0;            // animation rows its playback paints
    int boardRows = 0, boardCols = 0;
};

// The pieces of the main window a Run works on.
struct Window {
    TimedGrid* grid;
    CaptionLabel* tally;
    GameBdLogic* logic;
    std::string images;
};

// Puts the board into the tables and onto the grid as a load leaves them.
bool LoadBoard(Board& board, const Window& window) {
    ImageIndex::Forget();
    ResetGlobals();
    AppPath = QUARVELT_GAME_DIR;
    ImagePath = window.images;
    if (!board.puzzleBase.empty()) {
        PuzzleInfo info;
        if (!LoadPuzzleFiles(AppPath, board.puzzleBase, info).Ok())
            return false;
        SpecialCond = info.specialCondCode;
        SpecialCondText = info.specialCondDesc;
        // Played with its solution in place, so that the Run reaches the playback.
        for (const auto& [code, at] : SolutionOf(board.puzzleBase)) {
            const size_t cell = static_cast<size_t>((at / 1000) * BoardCols + at % 1000);
            if (cell < BoardTable.size())
                BoardTable[cell].pictureName = code + "_______________00.BMP";
        }
    } else {
        BoardFile file;
        std::string error;
        if (!ParseBoardFile(board.boardText, file, error))
            return false;
        LoadBoardFile(file);
    }
    board.boardRows = BoardRows;
    board.boardCols = BoardCols;
    SizeBoardGrid(*window.grid);
    ResetPuzzle(*window.grid, *window.tally);
    ReadyToRun = True;
    return true;
}

// One Run through the main window's logic; the seconds from Run to what it
// first shows: the first frame painted, or else its first message.
double TimedRun(const Window& window) {
    Clock.Start();
    window.logic->MainMenuClick(2);  // Run
    Clock.ended = Clock.Now();
    const double shown = Clock.firstFrame >= 0 ? Clock.firstFrame : Clock.firstBox;
    return (shown >= 0 ? shown : Clock.ended) - Clock.started;
}

// `cold`: the first Run after loading, when the frame pictures are still to be unpacked.
void RunToFirstFrame(benchmark::State& state, Window window, Board* board, bool cold) {
    if (!LoadBoard(*board, window)) {
        state.SkipWithError("the board does not load");
        return;
    }
    for (auto _ : state) {
        window.logic->MainMenuClick(3);  // ReSet
        if (cold)
            EmptyImageFolder();
        state.SetIterationTime(TimedRun(window));
    }
    board->runs = Clock.firstFrame >= 0;
}

void DrawOneRow(benchmark::State& state, Window window, Board* board) {
    if (!LoadBoard(*board, window)) {
        state.SkipWithError("the board does not load");
        return;
    }
    for (auto _ : state) {
        window.logic->MainMenuClick(3);  // ReSet
        TimedRun(window);
        if (Clock.firstFrame < 0 || Clock.paintedRows < 2) {
            state.SkipWithError("the run paints no rows");
            break;
        }
        board->rows = Clock.paintedRows;
        // From the first painted row to the end of the playback, row by row.
        state.SetIterationTime((Clock.ended - Clock.firstFrame) / (Clock.paintedRows - 1));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Clock.timer.start();

    std::string images = (fs::temp_directory_path() / "quarvelt-run-bench-XXXXXX").string();
    if (!::mkdtemp(images.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    PaintOnlyLoop loop;
    AnsweredBoxes boxes;
    platform::Install({.boxes = &boxes, .events = &loop});

    // The board grid at the size of a main window, as the player sees it.
    TimedGrid grid;
    grid.resize(1100, 800);
    grid.show();
    CaptionLabel tally, puzzleName, condition;
    NoWindows windows;
    GameBdLogic logic(GameBdControls{grid, tally, puzzleName, condition}, windows);
    const Window window{&grid, &tally, &logic, images + "/"};

    int shippedCells = 0;
    const std::string shipped = LargestShippedPuzzle(shippedCells);
    std::vector<Board> boards;
    if (!shipped.empty())
        boards.push_back({"largest shipped puzzle " + shipped, "", shipped});
    else
        std::fprintf(stderr, "no shipped puzzle in %s\n", QUARVELT_GAME_DIR);
    boards.push_back({"60x60 board, three photons", ThreePhotonBoard(), ""});

    for (Board& board : boards) {
        benchmark::RegisterBenchmark((board.name + "/run-to-first-frame/first-run").c_str(),
                                     RunToFirstFrame, window, &board, true)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        benchmark::RegisterBenchmark((board.name + "/run-to-first-frame/after-reset").c_str(),
                                     RunToFirstFrame, window, &board, false)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        benchmark::RegisterBenchmark((board.name + "/draw-one-row").c_str(), DrawOneRow, window,
                                     &board)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(3);
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nThe playback pauses %.2f s between rows; times below are shares of it.\n",
                RowPauseSeconds);
    for (const Board& board : boards) {
        const auto seconds = [&](const std::string& what) {
            // The reported names carry the run's settings after the name given.
            const std::string name = board.name + "/" + what + "/";
            for (const auto& [reported, value] : reporter.seconds)
                if (reported.compare(0, name.size(), name) == 0)
                    return value;
            return -1.0;
        };
        const double first = seconds("run-to-first-frame/first-run");
        const double warm = seconds("run-to-first-frame/after-reset");
        const double row = seconds("draw-one-row");
        std::printf("%s (%d by %d):\n", board.name.c_str(), board.boardRows, board.boardCols);
        if (first >= 0)
            std::printf(
                "  Run to the first %s: %.2f pauses the first time (%.1f ms), %.2f "
                "pauses after ReSet (%.1f ms)\n",
                board.runs ? "frame" : "box (Run stops at the compile as shipped)",
                first / RowPauseSeconds, first * 1e3, warm / RowPauseSeconds, warm * 1e3);
        if (row >= 0 && board.rows > 0)
            std::printf("  one animation row drawn: %.4f of a pause (%.0f us, over %d rows)\n",
                        row / RowPauseSeconds, row * 1e6, board.rows);
        else
            std::printf("  no animation rows to draw\n");
    }
    std::error_code ec;
    fs::remove_all(images, ec);
    return 0;
}
