// Turning a page of the largest manual the format allows (32,767 pages, about
// 89 MB), against reading one record of it. Prints how many times one page
// turn takes what reading one record takes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/globals.h"
#include "help/help_file.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "platform/records.h"
#include "platform/services.h"
#include "ratio_reporter.h"

namespace {

using namespace quarvelt;

constexpr const char* TurnName = "HelpManual/page-turn";
constexpr const char* RecordName = "HelpManual/one-record";
constexpr int16_t PagesPerTopic = 10;

// Pages 1 to 32,767 in topics of ten, each with 25 full lines.
bool WriteLargestManual(const std::string& path) {
    std::vector<HelpPageRecord> pages(MaxHelpPages);
    for (size_t i = 0; i < pages.size(); ++i) {
        HelpPageRecord& page = pages[i];
        page.pageNo = static_cast<int16_t>(i + 1);
        page.topicNo = static_cast<int16_t>(i / PagesPerTopic + 1);
        for (HelpPageLine& line : page.lines)
            line.text = "Page " + std::to_string(i + 1) + std::string(70, '.');
    }
    return !WriteHelpManual(path, pages);
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "quarvelt-help-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    platform::SilentBoxes boxes;
    platform::Services services;
    services.boxes = &boxes;
    platform::Install(services);
    HelpPageSpan = 0;

    const std::string path = folder + "/" + HelpManualName;
    int status = 0;
    if (!WriteLargestManual(path)) {
        std::fprintf(stderr, "the benchmark manual cannot be written\n");
        status = 1;
    }
    if (status == 0) {
        benchmark::RegisterBenchmark(TurnName, [&path, &boxes](benchmark::State& state) {
            HelpPageModel model;
            model.HelpFileName = path;
            int16_t page = 1;
            for (auto _ : state) {
                int16_t inTopic = 0;
                // Topics hold ten pages, the last one seven.
                const int16_t last = (MaxHelpPages - 1) / PagesPerTopic * PagesPerTopic + 1;
                const int16_t expected = page >= last ? MaxHelpPages - last + 1 : PagesPerTopic;
                if (model.GetPage(page, inTopic) != 0 || inTopic != expected || boxes.shown != 0)
                    state.SkipWithError("a page of the manual does not load");
                // Pages spread over the whole file.
                page = static_cast<int16_t>((page + 7919) % static_cast<int>(MaxHelpPages) + 1);
            }
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(RecordName, [&path](benchmark::State& state) {
            uint64_t offset = 0;
            for (auto _ : state) {
                std::string bytes;
                if (platform::ReadBytes(path, offset, HelpPageRecordLength, bytes))
                    state.SkipWithError("a record of the manual does not read");
                benchmark::DoNotOptimize(bytes);
                offset =
                    (offset + 7919 * HelpPageRecordLength) % (MaxHelpPages * HelpPageRecordLength);
            }
        })->Unit(benchmark::kMicrosecond);
        benchmark::Initialize(&argc, argv);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        const auto turn = reporter.seconds.find(TurnName);
        const auto record = reporter.seconds.find(RecordName);
        if (turn != reporter.seconds.end() && record != reporter.seconds.end() &&
            record->second > 0)
            std::printf(
                "a manual of %zu pages: %.3f ms to turn one page, %.3f ms to read one record; "
                "a page turn takes %.0f times one record\n",
                MaxHelpPages, turn->second * 1e3, record->second * 1e3,
                turn->second / record->second);
    }
    platform::InstallHeadless();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return status;
}
