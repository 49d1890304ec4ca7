// The transfer window listing a drive of 1,000 and of 10,000 puzzle sets, and
// importing all of them into an empty puzzle folder. The drive's file names
// are in lower case, so that every name the game asks for differs in case
// from the one on the drive. Prints how many times the larger drive takes
// what the smaller one takes: ten when the time grows in proportion.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/tables.h"
#include "platform/headless.h"
#include "platform/records.h"
#include "platform/services.h"
#include "puzzles/ix_porter_logic.h"
#include "puzzles/puzzle_files.h"
#include "ratio_reporter.h"

namespace {

using namespace quarvelt;
namespace fs = std::filesystem;

constexpr int Small = 1000;
constexpr int Large = 10000;
constexpr const char* TemplateBase = "S00000";
// The stored file names in the information record, from byte 40, 24 bytes each.
constexpr std::array<PuzzleFile, PuzzleFileCount> StoredOrder{
    PuzzleFile::Pzl, PuzzleFile::Inf, PuzzleFile::Tbx, PuzzleFile::Shc,
    PuzzleFile::Kyc, PuzzleFile::Sqc, PuzzleFile::Tgc};

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

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// `count` sets in `folder` (a drive's PUZZLE folder), each a copy of one small
// puzzle under its own base name, every file name in lower case.
bool WriteDrive(const std::string& folder, int count) {
    const std::string source = folder + "../TEMPLATE/";
    fs::create_directories(source);
    fs::create_directories(folder);
    PuzzleInfo info;
    info.puzzleName = "Set";
    info.SetBaseName(TemplateBase);
    info.boardRows = 10;
    info.boardCols = 10;
    info.puzzleKey = "UNKEYED";
    info.specialCondCode = "00                              ~";
    PuzzleTables tables = CurrentPuzzleTables();
    tables.board.assign(100, {"BLANK_______________00.BMP", 5, 0, False, False});
    tables.board[0] = {"LAMP________________00.BMP", 0, 0, False, True};
    if (!SavePuzzleFiles(source, info, tables).Ok())
        return false;
    const TransferNames names = TransferFileNames(TemplateBase);
    std::vector<std::string> bytes;
    for (const std::string& name : names) {
        std::string file;
        if (platform::ReadWholeFile(source + name, file))
            return false;
        bytes.push_back(file);
    }
    for (int n = 1; n <= count; ++n) {
        const std::string base = BaseName(n);
        info.puzzleName = "Set " + base;
        info.SetBaseName(base);
        // Only the information file names its set; the other six are the same for all.
        platform::RecordBuffer record(bytes[0]);
        record.PutText(0, 40, info.puzzleName);
        for (size_t i = 0; i < StoredOrder.size(); ++i)
            record.PutText(40 + 24 * i, 24, info.FileName(StoredOrder[i]));
        record.PutText(208, 20, base);
        const TransferNames travel = TransferFileNames(base);
        WriteBytes(folder + LowerCase(travel[0]), record.Bytes());
        for (size_t i = 1; i < travel.size(); ++i)
            WriteBytes(folder + LowerCase(travel[i]), bytes[i]);
    }
    return true;
}

std::string DriveRoot(const std::string& work, int count) {
    return work + "/D" + std::to_string(count) + "/";
}

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

std::string Name(const char* what, int count) {
    return std::string("Transfer/") + what + "/" + std::to_string(count);
}

}  // namespace

int main(int argc, char** argv) {
    // A file system in memory where there is one: the transfer is measured, not the disk.
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string work = (base / "quarvelt-transfer-bench-XXXXXX").string();
    if (!::mkdtemp(work.data())) {
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
    for (int count : {Small, Large})
        if (!WriteDrive(DriveRoot(work, count) + "puzzle/", count)) {
            std::fprintf(stderr, "the benchmark drive can't be written\n");
            status = 1;
        }
    if (status == 0) {
        for (int count : {Small, Large}) {
            benchmark::RegisterBenchmark(
                Name("list", count).c_str(),
                [&, count](auto& state) { List(state, drive, work, count); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
            benchmark::RegisterBenchmark(
                Name("import", count).c_str(),
                [&, count](auto& state) { Import(state, drive, work, count); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
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
        for (const char* what : {"list", "import"}) {
            const double small = seconds(Name(what, Small));
            const double large = seconds(Name(what, Large));
            if (small > 0 && large > 0)
                std::printf(
                    "%s: %d sets %.0f ms, %d sets %.0f ms; %d times the sets take %.1f "
                    "times as long\n",
                    what, Small, small * 1e3, Large, large * 1e3, Large / Small, large / small);
        }
    }
    platform::InstallHeadless();
    std::error_code ec;
    fs::remove_all(work, ec);
    return status;
}
