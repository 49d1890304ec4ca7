// A whole compile of a 60 by 60 board, warm (every frame picture already in
// the image folder), answered from the index in memory against the same
// compile scanning the index file from record 1 for every look-up, as it was
// first written. Prints the time per photon step and how many times faster the
// in-memory compile is. A third run asks the in-memory index on every step,
// without the compile remembering its answers, to show what each part saves.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/text.h"
#include "engine/board_trace.h"
#include "engine/compiler.h"
#include "engine/frame_pictures.h"
#include "engine/picture_names.h"
#include "ratio_reporter.h"

namespace {

using namespace quarvelt;

constexpr const char* InMemoryName = "CompilePuzzle/in-memory";
constexpr const char* EachStepName = "CompilePuzzle/index-every-step";
constexpr const char* FileScanName = "CompilePuzzle/file-scan";
constexpr int Size = 60;

// The lamp's photon runs a serpentine of reflectors over rows 0 to 57 and
// returns up the first column to a white detector; on its last row two
// splitters send photons 2 and 3 down to detectors of their own in rows 58-59.
std::string SerpentineBoard() {
    std::vector<std::vector<std::string>> codes(Size, std::vector<std::string>(Size, "BLANK"));
    codes[0][0] = "LAMP_";
    codes[0][5] = "LENCC";  // the white detector wants a large photon
    for (int r = 0; r <= 57; ++r) {
        const bool rightward = r % 2 == 0;
        codes[r][Size - 1] = rightward ? "REFLD" : "REFLU";
        if (r > 0)
            codes[r][1] = rightward ? "REFRU" : "REFRD";
    }
    codes[57][1] = "BLANK";
    codes[57][0] = "REFRU";
    codes[1][0] = "DETWH";
    for (int c : {10, 30}) {
        codes[57][c] = "SPLTF";
        codes[59][c] = "REFRU";
        codes[59][c + 10] = "REFLU";
        codes[58][c + 10] = "DETWH";
    }
    std::string text = "size 60 60\n";
    for (const auto& row : codes) {
        text += "row";
        for (const auto& code : row)
            text += " " + code;
        text += "\n";
    }
    return text;
}

// Calls `match` with each record's name, opening the index for the call and
// reading it from record 1, until `match` answers true.
template <typename Match>
bool ScanIndex(Match match) {
    std::FILE* file = std::fopen((AppPath + ImageIndexName).c_str(), "rb");
    if (!file)
        return false;
    char record[ImageIndexRecordLength];
    bool any = false;
    while (std::fread(record, sizeof record, 1, file) == 1) {
        any = true;
        if (match(std::string(record + 6, 64)))
            break;
    }
    std::fclose(file);
    return any;
}

std::string ScanFindObjectImage(const std::string& code, const std::string& colour,
                                const std::string& size, const std::string& travel) {
    if (code.size() != 5)
        return "ERROR3";
    std::string key(8, ' ');
    const std::string trimmed = quarvelt::TrimBlanks(quarvelt::UpperCase(code));
    key.replace(0, trimmed.size(), trimmed);
    if (!size.empty())
        key[5] = size[0];
    if (!colour.empty())
        key[6] = colour[0];
    key[7] = EntrySideOf(travel);
    key = quarvelt::UpperCase(key);
    for (size_t length : {size_t{8}, size_t{5}}) {
        std::string found;
        const bool any = ScanIndex([&](const std::string& name) {
            if (quarvelt::TrimBlanks(quarvelt::UpperCase(name.substr(0, length))) !=
                key.substr(0, length))
                return false;
            found = quarvelt::TrimBlanks(quarvelt::UpperCase(name));
            return true;
        });
        if (!any)
            return "ERROR2";
        if (!found.empty())
            return found;
    }
    return "ERROR1";
}

int16_t ScanGetLastFrameNumber(const std::string& name) {
    const std::string stem = quarvelt::UpperCase(name.substr(0, 20));
    int highest = -1;
    const bool any = ScanIndex([&](const std::string& record) {
        const std::string trimmed = quarvelt::TrimBlanks(record);
        if (trimmed.size() == 26 && quarvelt::UpperCase(trimmed.substr(0, 20)) == stem)
            highest = std::max(highest, std::atoi(trimmed.substr(20, 2).c_str()));
        return false;
    });
    return static_cast<int16_t>(any ? highest : -2);
}

size_t Steps() {
    size_t steps = 0;
    for (const auto* path : {&PhotonPathTable1, &PhotonPathTable2, &PhotonPathTable3})
        for (const PhotonPathRow& row : *path)
            steps += row.cell != -1 ? 1 : 0;
    return steps;
}

bool CompileOnce() {
    ResetPhotonTables();
    ResetMixerInputTable();
    Flag ok = False;
    CompilePuzzle(ok);
    return IsTrue(ok);
}

void Compile(benchmark::State& state, PictureLookups lookups) {
    const PictureLookups saved = CompileLookups();
    CompileLookups() = lookups;
    for (auto _ : state) {
        if (!CompileOnce()) {
            state.SkipWithError("the board did not compile");
            break;
        }
    }
    CompileLookups() = saved;
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Steps()));
}
}  // namespace

int main(int argc, char** argv) {
    std::string images =
        (std::filesystem::temp_directory_path() / "quarvelt-bench-XXXXXX").string();
    if (!::mkdtemp(images.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    AppPath = QUARVELT_GAME_DIR;
    ImagePath = images + "/";

    BoardFile board;
    std::string error;
    if (!ParseBoardFile(SerpentineBoard(), board, error)) {
        std::fprintf(stderr, "the benchmark board: %s\n", error.c_str());
        return 1;
    }
    LoadBoardFile(board);

    // The first compile extracts the pictures; both methods must then agree.
    int status = 0;
    const PictureLookups memory = CompileLookups();
    const PictureLookups scan{ScanFindObjectImage, ScanGetLastFrameNumber};
    std::vector<PhotonPathRow> expected;
    if (!CompileOnce()) {
        std::fprintf(stderr, "the benchmark board does not compile\n");
        status = 1;
    } else {
        expected = PhotonPathTable1;
        CompileLookups() = scan;
        const bool scanned = CompileOnce();
        CompileLookups() = memory;
        if (!scanned || PhotonPathTable1.size() != expected.size()) {
            std::fprintf(stderr, "the file-scan compile fails\n");
            status = 1;
        }
        for (size_t i = 0; status == 0 && i < expected.size(); ++i)
            if (PhotonPathTable1[i].firstFrame != expected[i].firstFrame) {
                std::fprintf(stderr, "the two compiles disagree at row %zu\n", i);
                status = 1;
            }
    }

    if (status == 0) {
        const size_t steps = Steps();
        benchmark::RegisterBenchmark(InMemoryName, Compile, memory)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(EachStepName, Compile,
                                     PictureLookups{FindObjectImage, GetLastFrameNumber})
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(FileScanName, Compile, scan)->Unit(benchmark::kMillisecond);
        benchmark::Initialize(&argc, argv);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        const auto fast = reporter.seconds.find(InMemoryName);
        const auto slow = reporter.seconds.find(FileScanName);
        if (fast != reporter.seconds.end() && slow != reporter.seconds.end() && fast->second > 0)
            std::printf(
                "%zu photon steps, %zu index records: %.2f ms a compile, %.2f us a step in "
                "memory, %.1f us a step scanning the file; the in-memory compile is %.0f times "
                "faster\n",
                steps, ImageIndex::Current().Records().size(), fast->second * 1e3,
                fast->second * 1e6 / static_cast<double>(steps),
                slow->second * 1e6 / static_cast<double>(steps), slow->second / fast->second);
    }
    std::error_code ec;
    std::filesystem::remove_all(images, ec);
    return status;
}
