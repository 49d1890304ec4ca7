// The picture search from memory against the same search scanning the index
// file from record 1 on every call, as it was first written. Prints how many
// times faster the in-memory search is.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/text.h"
#include "engine/picture_names.h"
#include "platform/records.h"
#include "ratio_reporter.h"

namespace {

using quarvelt::ImageIndexRecord;

constexpr const char* InMemoryName = "FindObjectImage/in-memory";
constexpr const char* FileScanName = "FindObjectImage/file-scan";

// 55 codes, each with a resting picture and three frames of all 84 entry
// situations: 13,915 records, about the size of the shipped index.
void WriteIndex(const std::string& folder) {
    std::vector<platform::RecordBuffer> records;
    auto add = [&](const std::string& name) {
        ImageIndexRecord record;
        record.archiveId = "000001";
        record.imageName = name;
        record.imageSize = 1000;
        record.recType = 'B';
        record.archiveOffset = static_cast<int32_t>(records.size()) * 1001 + 1;
        records.push_back(record.ToRecord());
    };
    for (int code = 0; code < 55; ++code) {
        const std::string prefix = "OB" + std::string(1, static_cast<char>('A' + code / 10)) +
                                   std::to_string(code % 10) + "_";
        add(quarvelt::RestingImageName(prefix));
        for (char size : std::string("SML"))
            for (char colour : std::string("RGBCMYW"))
                for (char side : std::string("LRTB"))
                    for (int frame = 1; frame <= 3; ++frame)
                        add(quarvelt::MakeObjectImageName(prefix, {size, colour, side},
                                                          {size, colour, side}, {}, frame));
    }
    const std::string path = folder + quarvelt::ImageIndexName;
    if (platform::WriteRecordFile(path, records)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

// Opens the index, reads record after record, closes it: twice when the exact pass fails.
std::string ScanFindObjectImage(const std::string& code, const std::string& colour,
                                const std::string& size, const std::string& travel) {
    std::string key(8, ' ');
    const std::string trimmed = quarvelt::TrimBlanks(quarvelt::UpperCase(code));
    key.replace(0, trimmed.size(), trimmed);
    key[5] = size[0];
    key[6] = colour[0];
    key[7] = quarvelt::EntrySideOf(travel);
    key = quarvelt::UpperCase(key);
    for (size_t length : {size_t{8}, size_t{5}}) {
        std::FILE* file = std::fopen((quarvelt::AppPath + quarvelt::ImageIndexName).c_str(), "rb");
        if (!file)
            return "ERROR2";
        char record[quarvelt::ImageIndexRecordLength];
        while (std::fread(record, sizeof record, 1, file) == 1) {
            const std::string name(record + 6, 64);
            if (quarvelt::TrimBlanks(quarvelt::UpperCase(name.substr(0, length))) ==
                key.substr(0, length)) {
                std::fclose(file);
                return quarvelt::TrimBlanks(quarvelt::UpperCase(name));
            }
        }
        std::fclose(file);
    }
    return "ERROR1";
}

struct Query {
    std::string code, colour, size, travel;
};

// Hits early, in the middle and late in the index, a fallback and a miss.
const std::vector<Query>& Queries() {
    static const std::vector<Query> queries = {
        {"OBA0_", "W", "M", "R"}, {"OBA3_", "R", "S", "T"}, {"OBC7_", "C", "L", "L"},
        {"OBE1_", "G", "M", "B"}, {"OBF4_", "Y", "S", "R"}, {"OBF4_", "W", "L", "X"},
        {"ZZZZZ", "W", "M", "R"},
    };
    return queries;
}

void FindInMemory(benchmark::State& state) {
    for (auto _ : state)
        for (const Query& q : Queries())
            benchmark::DoNotOptimize(quarvelt::FindObjectImage(q.code, q.colour, q.size, q.travel));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Queries().size()));
}

void FindByFileScan(benchmark::State& state) {
    for (auto _ : state)
        for (const Query& q : Queries())
            benchmark::DoNotOptimize(ScanFindObjectImage(q.code, q.colour, q.size, q.travel));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Queries().size()));
}
}  // namespace

int main(int argc, char** argv) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "quarvelt-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    folder += "/";
    quarvelt::AppPath = folder;
    WriteIndex(folder);

    int status = 0;
    for (const Query& q : Queries()) {
        if (quarvelt::FindObjectImage(q.code, q.colour, q.size, q.travel) !=
            ScanFindObjectImage(q.code, q.colour, q.size, q.travel)) {
            std::fprintf(stderr, "the two searches disagree on %s\n", q.code.c_str());
            status = 1;
        }
    }
    if (status == 0) {
        benchmark::RegisterBenchmark(InMemoryName, FindInMemory);
        benchmark::RegisterBenchmark(FileScanName, FindByFileScan);
        benchmark::Initialize(&argc, argv);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        const auto memory = reporter.seconds.find(InMemoryName);
        const auto scan = reporter.seconds.find(FileScanName);
        if (memory != reporter.seconds.end() && scan != reporter.seconds.end() &&
            memory->second > 0)
            std::printf(
                "%zu records: the in-memory search is %.0f times faster than the file scan\n",
                quarvelt::ImageIndex::Current().Records().size(), scan->second / memory->second);
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return status;
}
