#include "puzzles/puzzle_set_replace.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "common/text.h"
#include "platform/files.h"

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

// What a write killed before its rename leaves beside a file of a set, its
// temporary or its marker: mkstemp's six letters or digits, or the folder's
// own writer's number of up to six digits.
bool IsAtomicLeftover(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    if (name.size() < 2 || name.front() != '.' || dot == 0 || dot == std::string::npos)
        return false;
    const std::string suffix = name.substr(dot + 1);
    const bool digits =
        std::all_of(suffix.begin(), suffix.end(), [](char c) { return c >= '0' && c <= '9'; });
    const bool alnum = std::all_of(suffix.begin(), suffix.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0;
    });
    if (suffix.empty() || suffix.size() >= AtomicSuffixLength ||
        !(digits || (alnum && suffix.size() == AtomicSuffixLength - 1)))
        return false;
    const std::string inner = name.substr(1, dot - 1);
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

PuzzleFileResult Failed(const std::string& file, platform::RuntimeError error) {
    return {PuzzleFileStatus::Failed, file, {}, std::move(error)};
}

PuzzleFileResult Damaged(const std::string& file, std::string reason) {
    return {PuzzleFileStatus::Damaged, file, std::move(reason), {}};
}

// The name under which `name` stands in `folder`, whatever its letter case;
// `name` itself when there is none.
std::string Found(const platform::Folder& folder, const std::string& name) {
    std::string found = folder.Find(name);
    return found.empty() ? name : found;
}

// The files of a set as checked, by PuzzleFile: each held open, with the
// bytes read through it.
struct CheckedSet {
    std::array<platform::OpenFile, PuzzleFileCount> files;
    std::array<std::string, PuzzleFileCount> bytes;
};

// Opens `name` in `folder` once, following no link, and reads through that
// descriptor a regular file of at most `limit` bytes.
platform::RuntimeError ReadHeld(const platform::Folder& folder, const std::string& name,
                                uint64_t limit, platform::OpenFile& file, std::string& bytes) {
    if (auto error = folder.OpenRead(name, limit, file))
        return error;
    return file.Read(file.Size(), bytes);
}

// Reads the new set from the files `names` (by PuzzleFile) of `folder` as a
// load reads it, each through the one descriptor `checked` keeps, and fills
// each entry's size and checksum from the same bytes. The set must store the
// names of the plan.
PuzzleFileResult CheckNewSet(const platform::Folder& folder, SetPlan& plan,
                             const PuzzleFilePaths& names, CheckedSet& checked) {
    PuzzleFilePaths paths;
    for (SetEntry& entry : plan.entries) {
        const size_t k = static_cast<size_t>(entry.kind);
        if (auto error = ReadHeld(folder, names[k], PuzzleFileSizeLimit(entry.kind),
                                  checked.files[k], checked.bytes[k]))
            return Failed(entry.name, error);
        entry.size = checked.bytes[k].size();
        entry.checksum = Checksum(checked.bytes[k]);
        paths[k] = checked.files[k].Path();
    }
    PuzzleInfo info;
    PuzzleTables tables;
    PuzzleFileResult result = ReadPuzzleFileSet(paths, info, tables);
    if (!result.Ok()) {
        // The information file is reported by the descriptor it was read
        // through, which means nothing to the player; the file it becomes does.
        const std::string& inf = paths[static_cast<size_t>(PuzzleFile::Inf)];
        for (const SetEntry& entry : plan.entries)
            if (entry.kind == PuzzleFile::Inf && result.file == inf.substr(inf.rfind('/') + 1))
                result.file = entry.name;
        return result;
    }
    for (const SetEntry& entry : plan.entries)
        if (UpperCase(info.FileName(entry.kind)) != UpperCase(entry.name))
            return Damaged(entry.name, "stored file name");
    return {};
}

void RemoveTemps(platform::Folder& folder, const SetPlan& plan) {
    for (const SetEntry& entry : plan.entries)
        folder.Remove(Found(folder, PuzzleTempFileName(entry.name)));
}

// Whether the marker of `base` checks out; fills `plan`, `pending` (the files
// still to be renamed) and `checked` when it does.
bool CheckMarker(const platform::Folder& folder, const std::string& base, SetPlan& plan,
                 std::vector<bool>& pending, CheckedSet& checked) {
    platform::OpenFile file;
    std::string text;
    if (ReadHeld(folder, PuzzleSetMarkerName(base), MarkerSizeLimit, file, text))
        return false;
    auto recorded = ParseMarker(base, text);
    if (!recorded)
        return false;
    plan = *recorded;
    PuzzleFilePaths names;
    pending.clear();
    for (const SetEntry& entry : plan.entries) {
        const std::string temp = Found(folder, PuzzleTempFileName(entry.name));
        pending.push_back(folder.KindNow(temp) != platform::Folder::Kind::None);
        names[static_cast<size_t>(entry.kind)] = pending.back() ? temp : Found(folder, entry.name);
    }
    SetPlan found = plan;
    if (!CheckNewSet(folder, found, names, checked).Ok())
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
    platform::Folder open;
    if (auto error = open.Open(folder))
        return Failed(names[0], error);
    return ReplacePuzzleSet(open, names, step);
}

PuzzleFileResult ReplacePuzzleSet(platform::Folder& folder, const PuzzleSetNames& names,
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
        temps[static_cast<size_t>(entry.kind)] = Found(folder, PuzzleTempFileName(entry.name));
    CheckedSet checked;
    if (PuzzleFileResult result = CheckNewSet(folder, plan, temps, checked); !result.Ok()) {
        RemoveTemps(folder, plan);
        return result;
    }

    // What the folder held, so that a set half put in place can be put back.
    std::vector<std::string> targets;
    std::vector<std::optional<std::string>> old(plan.entries.size());
    for (size_t i = 0; i < plan.entries.size(); ++i) {
        const SetEntry& entry = plan.entries[i];
        targets.push_back(Found(folder, entry.name));
        // No link is read or written through, and one write-protected file
        // keeps the whole set as it was.
        const platform::Folder::Kind kind = folder.KindNow(targets[i]);
        platform::RuntimeError error = folder.CheckWritable(targets[i]);
        if (!error && kind != platform::Folder::Kind::None &&
            kind != platform::Folder::Kind::File) {
            error = platform::MakeError(platform::ErrPathFileAccess);
        } else if (!error && kind == platform::Folder::Kind::File) {
            platform::OpenFile file;
            std::string bytes;
            error = ReadHeld(folder, targets[i], PuzzleFileSizeLimit(entry.kind), file, bytes);
            old[i] = std::move(bytes);
        }
        if (error) {
            RemoveTemps(folder, plan);
            return Failed(entry.name, error);
        }
    }

    // The temporaries reach the disk before the marker that vouches for them,
    // and the marker before the first rename.
    const std::string marker = PuzzleSetMarkerName(plan.base);
    reach(0);
    platform::RuntimeError error = folder.Sync();
    if (!error)
        error = folder.WriteFileAtomic(marker, MarkerText(plan));
    if (!error)
        error = folder.Sync();
    if (error) {
        RemoveTemps(folder, plan);
        folder.Remove(marker);
        return Failed(marker, error);
    }

    for (size_t i = 0; i < plan.entries.size(); ++i) {
        reach(static_cast<int>(i) + 1);
        const SetEntry& entry = plan.entries[i];
        const size_t k = static_cast<size_t>(entry.kind);
        error = folder.Rename(temps[k], targets[i]);
        const size_t placed = error ? i : i + 1;
        // A file put under the temporary's name after its check is no file of the set.
        if (!error && !folder.Holds(targets[i], checked.files[k]))
            error = platform::MakeError(platform::ErrPathFileAccess);
        if (error) {
            for (size_t j = 0; j < placed; ++j) {
                if (old[j])
                    folder.WriteFileAtomic(targets[j], *old[j]);
                else
                    folder.Remove(targets[j]);
            }
            RemoveTemps(folder, plan);
            folder.Remove(marker);
            folder.Sync();
            return Failed(entry.name, error);
        }
    }

    // A marker outliving renames that may not have reached the disk lets the
    // next start finish them.
    reach(ReplaceStepCount - 1);
    if (!folder.Sync())
        folder.Remove(marker);
    return {};
}

PuzzleSetRecovery RecoverPuzzleSets(const std::string& path) {
    PuzzleSetRecovery recovery;
    platform::Folder folder;
    if (folder.Open(path))
        return recovery;

    std::vector<std::string> markers, leftovers;
    std::multimap<std::string, std::string> temps;  // by base name
    for (const std::string& name : folder.FileNames(true)) {
        if (auto base = MarkerBase(name))
            markers.push_back(*base);
        else if (auto temp = TempBase(name))
            temps.emplace(*temp, name);
        else if (IsAtomicLeftover(name))
            leftovers.push_back(name);
    }
    auto remove = [&folder, &recovery](const std::string& name) {
        if (!folder.Remove(name))
            recovery.removed.push_back(name);
    };

    std::set<std::string> unfinished;
    for (const std::string& base : markers) {
        const std::string marker = PuzzleSetMarkerName(base);
        SetPlan plan;
        std::vector<bool> pending;
        CheckedSet checked;
        if (!CheckMarker(folder, base, plan, pending, checked)) {
            remove(marker);
            continue;
        }
        for (size_t i = 0; i < plan.entries.size() && !unfinished.count(base); ++i) {
            const SetEntry& entry = plan.entries[i];
            if (!pending[i])
                continue;
            const size_t k = static_cast<size_t>(entry.kind);
            const std::string target = Found(folder, entry.name);
            auto error = folder.Rename(Found(folder, PuzzleTempFileName(entry.name)), target);
            // Another file put under the temporary's name after its check gives
            // way to the bytes the marker vouches for.
            if (!error && !folder.Holds(target, checked.files[k]))
                error = folder.WriteFileAtomic(target, checked.bytes[k]);
            if (error) {
                recovery.failures.push_back(Failed(entry.name, error));
                unfinished.insert(base);
            }
        }
        if (unfinished.count(base))
            continue;
        if (!folder.Sync())
            folder.Remove(marker);
        recovery.finished.push_back(base);
    }

    for (const auto& [base, name] : temps)
        if (!unfinished.count(base))
            remove(name);
    for (const std::string& name : leftovers)
        remove(name);
    if (!recovery.removed.empty())
        folder.Sync();
    return recovery;
}

}  // namespace quarvelt
