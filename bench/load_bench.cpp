// Loading a 60 by 60 puzzle with every cell filled through the puzzle library,
// warm (every picture already in the image folder): reading the seven files,
// re-pointing the tool rows at the index and drawing all 3600 cells, against
// reading the seven files alone. Prints how many times the whole load takes
// what the files alone take.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "board/board_model.h"
#include "board/headless_grid.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "platform/headless.h"
#include "platform/services.h"
#include "puzzles/creator_logic.h"
#include "puzzles/puzzle_files.h"
#include "ratio_reporter.h"

namespace {

using namespace quarvelt;

constexpr const char* FilesName = "LoadPuzzle/seven-files";
constexpr const char* WholeName = "LoadPuzzle/whole-load";
constexpr int Side = 60;

class Host : public CreatorHost {
  public:
    platform::BoardGrid& Grid() override { return grid; }
    platform::Label& Tally() override { return tally; }
    platform::Label& PuzzleName() override { return name; }
    platform::Label& Condition() override { return condition; }
    void PuzzleOpened(bool) override {}
    void ShowExPort(bool) override {}
    void Repaint() override {}
    HeadlessGrid grid;
    CaptionLabel tally, name, condition;
};

// Every cell holds an object: reflectors, filters, lenses and detectors in turn.
bool SaveFullBoard(Host& host) {
    BoardRows = Side;
    BoardCols = Side;
    ClearPuzzleBoard(host.grid, host.tally, False);
    LoadToolboxObjects();
    const char* codes[] = {"REFLU", "REFRD", "FLTHC", "LENCC", "LENCV", "DETWH", "MXVCR"};
    for (int16_t cell = 0; cell < CellCount; ++cell)
        BoardTable[static_cast<size_t>(cell)].pictureName =
            std::string(codes[cell % 7]) + "_______________00.BMP";
    BoardTable[0].pictureName = "LAMP________________00.BMP";
    BoardTable[0].lampFlag = True;
    PuzzleInfo info;
    info.puzzleName = "Full Board";
    info.SetBaseName("FULLBOARD");
    info.boardRows = Side;
    info.boardCols = Side;
    info.puzzleKey = "UNKEYED";
    info.specialCondCode = EmptyCondCode;
    return SavePuzzleFiles(PuzzlePath, info, CurrentPuzzleTables()).Ok();
}

bool LoadThroughTheLibrary(Host& host) {
    PuzzleMode = "LOAD";
    CreatorLogic creator(host);
    creator.Activate();
    for (size_t i = 0; i < creator.Items().size(); ++i)
        if (creator.Items()[i] == "Full Board")
            creator.ListClick(static_cast<int>(i));
    creator.CmdClick();
    return !creator.Visible() && CellCount == Side * Side;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "quarvelt-load-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    AppPath = QUARVELT_GAME_DIR;
    ImagePath = folder + "/DATA/";
    PuzzlePath = folder + "/PUZZLE/";
    std::filesystem::create_directories(ImagePath);
    std::filesystem::create_directories(PuzzlePath);
    PuzzleLoadPause = 0;
    platform::SilentBoxes boxes;
    platform::Services services;
    services.boxes = &boxes;
    platform::Install(services);

    Host host;
    int status = 0;
    // The first load extracts the pictures; the runs below find them in place.
    if (!SaveFullBoard(host) || !LoadThroughTheLibrary(host)) {
        std::fprintf(stderr, "the benchmark puzzle does not save and load\n");
        status = 1;
    }
    if (status == 0) {
        benchmark::RegisterBenchmark(FilesName, [](benchmark::State& state) {
            for (auto _ : state) {
                PuzzleInfo info;
                PuzzleTables tables = CurrentPuzzleTables();
                if (!ReadPuzzleFiles(PuzzlePath, "FULLBOARD", info, tables).Ok())
                    state.SkipWithError("the seven files do not read");
                benchmark::DoNotOptimize(tables);
            }
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(WholeName, [&host](benchmark::State& state) {
            for (auto _ : state)
                if (!LoadThroughTheLibrary(host))
                    state.SkipWithError("the puzzle does not load");
        })->Unit(benchmark::kMillisecond);
        benchmark::Initialize(&argc, argv);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        const auto files = reporter.seconds.find(FilesName);
        const auto whole = reporter.seconds.find(WholeName);
        if (files != reporter.seconds.end() && whole != reporter.seconds.end() && files->second > 0)
            std::printf(
                "a 60 by 60 puzzle, every cell filled: %.2f ms to read the seven files, %.2f ms "
                "for the whole load; the whole load takes %.1f times the files alone\n",
                files->second * 1e3, whole->second * 1e3, whole->second / files->second);
    }
    platform::InstallHeadless();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return status;
}
