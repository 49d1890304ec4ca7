// The transfer window listing a drive of 1,000 and of 10,000 puzzle sets, and
// importing all of them into an empty puzzle folder, once in a file system in
// memory and once in a folder on the disk, where every flush costs what it
// costs on a player's machine. The drive's file names are in lower case, so
// that every name the game asks for differs in case from the one on the
// drive. Prints how many times the larger drive takes what the smaller one
// takes: ten when the time grows in proportion.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/tables.h"
#include "platform/headless.h"
#include "platform/services.h"
#include "puzzles/ix_porter_logic.h"
#include "puzzles/puzzle_files.h"
#include "puzzles/puzzle_transfer.h"
#include "ratio_reporter.h"

namespace {

using namespace quarvelt;
namespace fs = std::filesystem;

constexpr int Small = 1000;
constexpr int Large = 10000;
// The drive D: answers the drive question.
class Drive : public platform::Drives, public platform::InputBoxes {
  public:
    bool List(std::vector<platform::Drive>& drives) override {
        drives = {{'D', platform::DriveKind::Removable, root}};
        return true;
    }
    std::string Ask(const std::string&, const std::string&, const std::string&) override {
        return "D:";
    }
    std::string root;
};

std::string BaseName(int n) {
    const std::string digits = std::to_string(n);
    return "S" + std::string(5 - digits.size(), '0') + digits;
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// `count` sets in `folder` (a drive's PUZZLE folder), each one small puzzle
// under its own base name written by the game's own writer, every file name
// then turned to lower case. Each set is written alone in a folder of its own
// and moved, so that no save reads the names of the thousands before it.
bool WriteDrive(const std::string& folder, int count) {
    const std::string scratch = folder + "../SCRATCH/";
    fs::create_directories(folder);
    fs::create_directories(scratch);
    PuzzleInfo info;
    info.boardRows = 10;
    info.boardCols = 10;
    info.puzzleKey = "UNKEYED";
    info.specialCondCode = "00                              ~";
    PuzzleTables tables = CurrentPuzzleTables();
    tables.board.assign(100, {"BLANK_______________00.BMP", 5, 0, False, False});
    tables.board[0] = {"LAMP________________00.BMP", 0, 0, False, True};
    for (int n = 1; n <= count; ++n) {
        const std::string base = BaseName(n);
        info.puzzleName = "Set " + base;
        info.SetBaseName(base);
        if (!SavePuzzleFiles(scratch, info, tables).Ok())
            return false;
        for (const std::string& name : TransferFileNames(base))
            fs::rename(scratch + name, folder + LowerCase(name));
    }
    fs::remove_all(scratch);
    return true;
}

std::string DriveRoot(const std::string& work, int count) {
    return work + "/D" + std::to_string(count) + "/";
}

// The two places measured: a file system in memory, and the disk.
struct Place {
    const char* name;
    std::string work;
    int iterations;
};

void List(benchmark::State& state, Drive& drive, const std::string& work, int count) {
    drive.root = DriveRoot(work, count);
    for (auto _ : state) {
        IXPorterLogic transfer;
        transfer.pzlMode = ImportMode;
        transfer.Activate();
        if (transfer.TransferCount() != count)
            state.SkipWithError("the drive does not list every set");
    }
}

void Import(benchmark::State& state, Drive& drive, const std::string& work, int count) {
    drive.root = DriveRoot(work, count);
    for (auto _ : state) {
        state.PauseTiming();
        PuzzlePath = work + "/LOCAL/";
        fs::remove_all(PuzzlePath);
        fs::create_directories(PuzzlePath);
        IXPorterLogic transfer;
        transfer.pzlMode = ImportMode;
        transfer.Activate();
        transfer.ListClick(std::vector<bool>(transfer.Items().size(), true));
        state.ResumeTiming();
        transfer.OkClick();
        state.PauseTiming();
        size_t copied = 0;
        for (const PuzzleTransfer& puzzle : transfer.LastTransfer())
            copied += puzzle.outcome == TransferOutcome::Copied;
        if (copied != static_cast<size_t>(count))
            state.SkipWithError("not every set was imported");
        state.ResumeTiming();
    }
}

std::string Name(const Place& place, const char* what, int count) {
    return std::string("Transfer/") + place.name + "/" + what + "/" + std::to_string(count);
}

// A fresh folder under `base`, or empty.
std::string WorkFolder(const fs::path& base) {
    std::string work = (base / "quarvelt-transfer-bench-XXXXXX").string();
    return ::mkdtemp(work.data()) ? work : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    // The disk is the build's own folder, which lies on a disk wherever the
    // system keeps its temporary files in memory.
    std::vector<Place> places = {
        {"memory",
         WorkFolder(fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                 : fs::temp_directory_path()),
         3},
        {"disk", WorkFolder(fs::current_path()), 1}};
    for (const Place& place : places)
        if (place.work.empty()) {
            std::perror("mkdtemp");
            return 1;
        }
    ResetGlobals();
    platform::SilentBoxes boxes;
    Drive drive;
    platform::Services services;
    services.boxes = &boxes;
    services.inputs = &drive;
    services.drives = &drive;
    platform::Install(services);

    int status = 0;
    // The drives are written once, in memory, and copied to the disk.
    for (int count : {Small, Large})
        if (!WriteDrive(DriveRoot(places[0].work, count) + "puzzle/", count)) {
            std::fprintf(stderr, "the benchmark drive can't be written\n");
            status = 1;
        }
    std::error_code ec;
    for (int count : {Small, Large})
        fs::copy(DriveRoot(places[0].work, count), DriveRoot(places[1].work, count),
                 fs::copy_options::recursive, ec);
    if (ec) {
        std::fprintf(stderr, "the benchmark drive can't be copied to the disk\n");
        status = 1;
    }
    if (status == 0) {
        for (const Place& place : places)
            for (int count : {Small, Large}) {
                benchmark::RegisterBenchmark(
                    Name(place, "list", count).c_str(),
                    [&, count](auto& state) { List(state, drive, place.work, count); })
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(place.iterations);
                benchmark::RegisterBenchmark(
                    Name(place, "import", count).c_str(),
                    [&, count](auto& state) { Import(state, drive, place.work, count); })
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(place.iterations);
            }
        benchmark::Initialize(&argc, argv);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        // The reported names carry the iteration count after the set count.
        auto seconds = [&reporter](const std::string& name) {
            const auto it = reporter.seconds.lower_bound(name + "/");
            return it != reporter.seconds.end() && it->first.rfind(name + "/", 0) == 0 ? it->second
                                                                                       : 0.0;
        };
        for (const Place& place : places)
            for (const char* what : {"list", "import"}) {
                const double small = seconds(Name(place, what, Small));
                const double large = seconds(Name(place, what, Large));
                if (small > 0 && large > 0)
                    std::printf(
                        "%s, %s: %d sets %.0f ms, %d sets %.0f ms; %d times the sets take "
                        "%.1f times as long\n",
                        place.name, what, Small, small * 1e3, Large, large * 1e3, Large / Small,
                        large / small);
            }
    }
    platform::InstallHeadless();
    for (const Place& place : places)
        fs::remove_all(place.work, ec);
    return status;
}
