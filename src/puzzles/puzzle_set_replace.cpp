#include "puzzles/puzzle_set_replace.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "common/text.h"
#include "platform/files.h"
#include "platform/folder_sync.h"

namespace quarvelt {
namespace {

constexpr const char* MarkerExtension = ".SET";
// One line of at most 24 + 1 + 20 + 1 + 16 + 1 characters per file.
constexpr uint64_t MarkerSizeLimit = 1024;
constexpr size_t ChecksumDigits = 16;
// What mkstemp adds to a name while WriteFileAtomic writes it.
constexpr size_t AtomicSuffixLength = 7;

struct SetEntry {
    std::string name;
    PuzzleFile kind = PuzzleFile::Inf;
    uint64_t size = 0;
    uint64_t checksum = 0;
};

// A replace: its base name and its seven files in the order they are renamed.
struct SetPlan {
    std::string base;
    std::vector<SetEntry> entries;
};

bool IsBaseName(const std::string& base) {
    return !base.empty() && base.size() <= MaxBaseNameLength && IsPlainFileName(base);
}

// The base name and kind of a file of a set.
std::optional<std::pair<std::string, PuzzleFile>> SplitSetName(const std::string& name) {
    for (size_t i = 0; i < PuzzleFileExtensions.size(); ++i) {
        const std::string extension = PuzzleFileExtensions[i];
        if (name.size() > extension.size() &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0) {
            std::string base = name.substr(0, name.size() - extension.size());
            if (IsBaseName(base))
                return std::make_pair(std::move(base), static_cast<PuzzleFile>(i));
        }
    }
    return std::nullopt;
}

// The name `hidden` stands for when it is "." + name + `suffix`.
std::optional<std::string> Unwrapped(const std::string& hidden, const std::string& suffix) {
    if (hidden.size() <= suffix.size() + 1 || hidden.front() != '.' ||
        hidden.compare(hidden.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    return hidden.substr(1, hidden.size() - suffix.size() - 1);
}

// The base name of a temporary the game writes, or nothing.
std::optional<std::string> TempBase(const std::string& name) {
    const std::string suffix = PuzzleTempFileName("").substr(1);
    auto inner = Unwrapped(name, suffix);
    if (!inner || PuzzleTempFileName(*inner) != name)
        return std::nullopt;
    auto split = SplitSetName(*inner);
    return split ? std::optional<std::string>(split->first) : std::nullopt;
}

std::optional<std::string> MarkerBase(const std::string& name) {
    auto base = Unwrapped(name, MarkerExtension);
    return base && IsBaseName(*base) ? base : std::nullopt;
}

// What a write killed between mkstemp and its rename leaves beside a file of
// a set, its temporary or its marker.
bool IsAtomicLeftover(const std::string& name) {
    if (name.size() <= AtomicSuffixLength + 1 || name.front() != '.' ||
        name[name.size() - AtomicSuffixLength] != '.' ||
        !std::all_of(name.end() - AtomicSuffixLength + 1, name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
        return false;
    const std::string inner = name.substr(1, name.size() - AtomicSuffixLength - 1);
    return SplitSetName(inner) || TempBase(inner) || MarkerBase(inner);
}

std::optional<SetPlan> PlanOf(const PuzzleSetNames& names) {
    SetPlan plan;
    std::set<PuzzleFile> kinds;
    for (const std::string& name : names) {
        auto split = SplitSetName(name);
        if (!split || (!plan.base.empty() && split->first != plan.base) ||
            !kinds.insert(split->second).second)
            return std::nullopt;
        plan.base = split->first;
        plan.entries.push_back({name, split->second, 0, 0});
    }
    return plan;
}

// FNV-1a: enough to tell the files a replace checked from any others.
uint64_t Checksum(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(uint64_t value) {
    std::string text(ChecksumDigits, '0');
    for (size_t i = ChecksumDigits; i-- > 0; value >>= 4)
        text[i] = "0123456789abcdef"[value & 15];
    return text;
}

std::string MarkerText(const SetPlan& plan) {
    std::string text;
    for (const SetEntry& entry : plan.entries)
        text += entry.name + " " + std::to_string(entry.size) + " " + Hex(entry.checksum) + "\n";
    return text;
}

std::optional<uint64_t> Number(const std::string& text, int radix, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : radix;
        if (digit >= radix)
            return std::nullopt;
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
    }
    return value;
}

// The plan a marker of the set `base` records: seven lines "name size checksum",
// one for each file of that set and of no other.
std::optional<SetPlan> ParseMarker(const std::string& base, const std::string& text) {
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    PuzzleSetNames names;
    std::vector<std::pair<uint64_t, uint64_t>> values;
    size_t at = 0;
    for (std::string& name : names) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos)
            return std::nullopt;
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const size_t first = line.find(' '), second = line.find(' ', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            return std::nullopt;
        name = line.substr(0, first);
        auto size = Number(line.substr(first + 1, second - first - 1), 10, 7);
        auto checksum = Number(line.substr(second + 1), 16, ChecksumDigits);
        if (!size || !checksum)
            return std::nullopt;
        values.emplace_back(*size, *checksum);
    }
    auto plan = PlanOf(names);
    if (at != text.size() || !plan || plan->base != base)
        return std::nullopt;
    for (size_t i = 0; i < values.size(); ++i)
        std::tie(plan->entries[i].size, plan->entries[i].checksum) = values[i];
    return plan;
}

bool Exists(const std::string& path) {
    return platform::IsFile(path) || platform::IsFolder(path) || platform::IsLink(path);
}

// The bytes of a regular file, not a link, of at most `limit` bytes.
platform::RuntimeError ReadChecked(const std::string& path, uint64_t limit, std::string& bytes) {
    if (!Exists(path))
        return platform::MakeError(platform::ErrFileNotFound);
    if (platform::IsLink(path) || !platform::IsFile(path))
        return platform::MakeError(platform::ErrPathFileAccess);
    uint64_t size = 0;
    if (auto error = platform::FileSize(path, size))
        return error;
    if (size > limit)
        return platform::MakeError(platform::ErrOverflow);
    return platform::ReadBytes(path, 0, size, bytes);
}

PuzzleFileResult Failed(const std::string& file, platform::RuntimeError error) {
    return {PuzzleFileStatus::Failed, file, {}, std::move(error)};
}

PuzzleFileResult Damaged(const std::string& file, std::string reason) {
    return {PuzzleFileStatus::Damaged, file, std::move(reason), {}};
}

// Reads the new set from `paths` (by PuzzleFile) as a load reads it and fills
// each entry's size and checksum. The set must store the names of the plan.
PuzzleFileResult CheckNewSet(SetPlan& plan, const PuzzleFilePaths& paths) {
    for (SetEntry& entry : plan.entries) {
        std::string bytes;
        if (auto error = ReadChecked(paths[static_cast<size_t>(entry.kind)],
                                     PuzzleFileSizeLimit(entry.kind), bytes))
            return Failed(entry.name, error);
        entry.size = bytes.size();
        entry.checksum = Checksum(bytes);
    }
    PuzzleInfo info;
    PuzzleTables tables;
    PuzzleFileResult result = ReadPuzzleFileSet(paths, info, tables);
    if (!result.Ok()) {
        // A temporary's name means nothing to the player; the file it becomes does.
        for (const SetEntry& entry : plan.entries)
            if (result.file == PuzzleTempFileName(entry.name))
                result.file = entry.name;
        return result;
    }
    for (const SetEntry& entry : plan.entries)
        if (UpperCase(info.FileName(entry.kind)) != UpperCase(entry.name))
            return Damaged(entry.name, "stored file name");
    return {};
}

void RemoveFile(const std::string& path, std::vector<std::string>* removed = nullptr) {
    if (platform::IsFile(path) && !platform::DeleteFile(path) && removed)
        removed->push_back(path.substr(path.find_last_of('/') + 1));
}

void RemoveTemps(const std::string& folder, const SetPlan& plan) {
    for (const SetEntry& entry : plan.entries)
        RemoveFile(folder + PuzzleTempFileName(entry.name));
}

// Whether the marker of `base` checks out; fills `plan` and `pending`, the
// files still to be renamed, when it does.
bool CheckMarker(const std::string& folder, const std::string& base, SetPlan& plan,
                 std::vector<bool>& pending) {
    std::string text;
    if (ReadChecked(folder + PuzzleSetMarkerName(base), MarkerSizeLimit, text))
        return false;
    auto recorded = ParseMarker(base, text);
    if (!recorded)
        return false;
    plan = *recorded;
    PuzzleFilePaths paths;
    pending.clear();
    for (const SetEntry& entry : plan.entries) {
        const std::string temp = folder + PuzzleTempFileName(entry.name);
        pending.push_back(Exists(temp));
        paths[static_cast<size_t>(entry.kind)] = pending.back() ? temp : folder + entry.name;
    }
    SetPlan found = plan;
    if (!CheckNewSet(found, paths).Ok())
        return false;
    for (size_t i = 0; i < plan.entries.size(); ++i)
        if (found.entries[i].size != plan.entries[i].size ||
            found.entries[i].checksum != plan.entries[i].checksum)
            return false;
    return true;
}

}  // namespace

std::string PuzzleSetMarkerName(const std::string& base) {
    return "." + base + MarkerExtension;
}

PuzzleFileResult ReplacePuzzleSet(const std::string& folder, const PuzzleSetNames& names,
                                  const ReplaceStepHook& step) {
    auto planned = PlanOf(names);
    if (!planned)
        return {PuzzleFileStatus::Refused, names[0], "file names", {}};
    SetPlan& plan = *planned;
    auto reach = [&step](int at) {
        if (step)
            step(at);
    };

    PuzzleFilePaths temps;
    for (const SetEntry& entry : plan.entries)
        temps[static_cast<size_t>(entry.kind)] = folder + PuzzleTempFileName(entry.name);
    if (PuzzleFileResult result = CheckNewSet(plan, temps); !result.Ok()) {
        RemoveTemps(folder, plan);
        return result;
    }

    // What the folder held, so that a set half put in place can be put back.
    std::vector<std::optional<std::string>> old(plan.entries.size());
    for (size_t i = 0; i < plan.entries.size(); ++i) {
        const SetEntry& entry = plan.entries[i];
        const std::string target = folder + entry.name;
        // No link is read or written through, and one write-protected file
        // keeps the whole set as it was.
        platform::RuntimeError error = platform::CheckWritable(target);
        if (!error && (platform::IsFolder(target) || platform::IsLink(target))) {
            error = platform::MakeError(platform::ErrPathFileAccess);
        } else if (!error && platform::IsFile(target)) {
            std::string bytes;
            error = ReadChecked(target, PuzzleFileSizeLimit(entry.kind), bytes);
            old[i] = std::move(bytes);
        }
        if (error) {
            RemoveTemps(folder, plan);
            return Failed(entry.name, error);
        }
    }

    // The temporaries reach the disk before the marker that vouches for them,
    // and the marker before the first rename.
    const std::string marker = folder + PuzzleSetMarkerName(plan.base);
    reach(0);
    platform::RuntimeError error = platform::SyncFolder(folder);
    if (!error)
        error = platform::WriteFileAtomic(marker, MarkerText(plan));
    if (!error)
        error = platform::SyncFolder(folder);
    if (error) {
        RemoveTemps(folder, plan);
        RemoveFile(marker);
        return Failed(PuzzleSetMarkerName(plan.base), error);
    }

    for (size_t i = 0; i < plan.entries.size(); ++i) {
        reach(static_cast<int>(i) + 1);
        const SetEntry& entry = plan.entries[i];
        if (auto renameError = platform::RenameFile(folder + PuzzleTempFileName(entry.name),
                                                    folder + entry.name)) {
            for (size_t j = 0; j < i; ++j) {
                const std::string target = folder + plan.entries[j].name;
                if (old[j])
                    platform::WriteFileAtomic(target, *old[j]);
                else
                    platform::DeleteFile(target);
            }
            RemoveTemps(folder, plan);
            RemoveFile(marker);
            platform::SyncFolder(folder);
            return Failed(entry.name, renameError);
        }
    }

    // A marker outliving renames that may not have reached the disk lets the
    // next start finish them.
    reach(ReplaceStepCount - 1);
    if (!platform::SyncFolder(folder))
        RemoveFile(marker);
    return {};
}

PuzzleSetRecovery RecoverPuzzleSets(const std::string& folder) {
    PuzzleSetRecovery recovery;
    std::vector<std::string> names;
    if (platform::ListFiles(folder, names))
        return recovery;

    std::vector<std::string> markers, leftovers;
    std::multimap<std::string, std::string> temps;  // by base name
    for (const std::string& name : names) {
        if (auto base = MarkerBase(name))
            markers.push_back(*base);
        else if (auto temp = TempBase(name))
            temps.emplace(*temp, name);
        else if (IsAtomicLeftover(name))
            leftovers.push_back(name);
    }

    std::set<std::string> unfinished;
    for (const std::string& base : markers) {
        const std::string marker = folder + PuzzleSetMarkerName(base);
        SetPlan plan;
        std::vector<bool> pending;
        if (!CheckMarker(folder, base, plan, pending)) {
            RemoveFile(marker, &recovery.removed);
            continue;
        }
        for (size_t i = 0; i < plan.entries.size() && !unfinished.count(base); ++i) {
            const std::string& name = plan.entries[i].name;
            if (!pending[i])
                continue;
            if (auto error =
                    platform::RenameFile(folder + PuzzleTempFileName(name), folder + name)) {
                recovery.failures.push_back(Failed(name, error));
                unfinished.insert(base);
            }
        }
        if (unfinished.count(base))
            continue;
        if (!platform::SyncFolder(folder))
            RemoveFile(marker);
        recovery.finished.push_back(base);
    }

    for (const auto& [base, name] : temps)
        if (!unfinished.count(base))
            RemoveFile(folder + name, &recovery.removed);
    for (const std::string& name : leftovers)
        RemoveFile(folder + name, &recovery.removed);
    if (!recovery.removed.empty())
        platform::SyncFolder(folder);
    return recovery;
}

}  // namespace quarvelt
