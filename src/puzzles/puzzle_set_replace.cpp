#include "puzzles/puzzle_set_replace.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "common/text.h"
#include "platform/files.h"
#include "puzzles/puzzle_names.h"

namespace quarvelt {
namespace {

constexpr const char* MarkerExtension = ".SET";
// One line of at most 24 + 1 + 20 + 1 + 16 + 1 characters per file.
constexpr uint64_t MarkerSizeLimit = 1024;
constexpr size_t ChecksumDigits = 16;

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
    return IsPuzzleBaseName(base);
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
// temporary or its marker.
bool IsAtomicLeftover(const std::string& name) {
    const auto inner = platform::AtomicLeftoverOf(name);
    return inner && (SplitSetName(*inner) || TempBase(*inner) || MarkerBase(*inner));
}

// The seven file names of one set, in the order they are renamed.
using PuzzleSetNames = std::array<std::string, PuzzleFileCount>;

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

PuzzleFileResult Unfinished(const std::string& base, platform::RuntimeError error,
                            std::string reason = {}) {
    return {PuzzleFileStatus::Unfinished, base, std::move(reason), std::move(error)};
}

// The name under which `name` stands in `folder`, whatever its letter case;
// `name` itself when there is none.
std::string Found(const platform::Folder& folder, const std::string& name) {
    std::string found = folder.Find(name);
    return found.empty() ? name : found;
}

// The plan of a replace of the set `base`, in PuzzleFile order; nothing for a
// base name the library would not take.
std::optional<SetPlan> PlanFor(const std::string& base) {
    if (!IsBaseName(base))
        return std::nullopt;
    SetPlan plan{base, {}};
    for (size_t i = 0; i < PuzzleFileExtensions.size(); ++i)
        plan.entries.push_back({base + PuzzleFileExtensions[i], static_cast<PuzzleFile>(i), 0, 0});
    return plan;
}

// The files of a set as checked, by PuzzleFile: each held open, with the
// bytes read through it.
struct CheckedSet {
    std::array<platform::OpenFile, PuzzleFileCount> files;
    PuzzleSetBytes bytes;
};

// Opens `name` in `folder` once, following no link, and reads through that
// descriptor a regular file of at most `limit` bytes.
platform::RuntimeError ReadHeld(const platform::Folder& folder, const std::string& name,
                                uint64_t limit, platform::OpenFile& file, std::string& bytes) {
    if (auto error = folder.OpenRead(name, limit, file))
        return error;
    return file.Read(file.Size(), bytes);
}

// Whether a failed read of `name` says something of what stands there (it is
// missing, too large, a link or not a plain file) rather than that it could
// not be read (no descriptor left, no permission, a failing device).
bool SaysWhatStands(const platform::Folder& folder, const std::string& name,
                    const platform::RuntimeError& error) {
    switch (error.number) {
        case platform::ErrFileNotFound:
        case platform::ErrOverflow:
            return true;
        case platform::ErrPathFileAccess:
            return folder.KindNow(name) != platform::Folder::Kind::File;
        default:
            return false;
    }
}

// Whether the set `bytes` reads as a load reads it and stores the names of `plan`.
PuzzleFileResult CheckSetBytes(const SetPlan& plan, const PuzzleSetBytes& bytes) {
    PuzzleInfo info;
    PuzzleTables tables;
    const std::string& infName = plan.entries[static_cast<size_t>(PuzzleFile::Inf)].name;
    if (PuzzleFileResult result = ParsePuzzleSet(bytes, infName, info, tables); !result.Ok())
        return result;
    for (const SetEntry& entry : plan.entries)
        if (UpperCase(info.FileName(entry.kind)) != UpperCase(entry.name))
            return {PuzzleFileStatus::Damaged, entry.name, "stored file name", {}};
    return {};
}

// Why `bytes` can't replace the set `base`, or nothing: checked before any
// folder is opened, so that a set no reader would take changes nothing.
std::optional<PuzzleFileResult> Refusal(const std::optional<SetPlan>& plan, const std::string& base,
                                        const PuzzleSetBytes& bytes) {
    if (!plan)
        return PuzzleFileResult{PuzzleFileStatus::Refused, base, "base name", {}};
    if (PuzzleFileResult result = CheckSetBytes(*plan, bytes); !result.Ok())
        return PuzzleFileResult{PuzzleFileStatus::Refused, result.file, result.reason, {}};
    return std::nullopt;
}

void RemoveTemps(platform::Folder& folder, const SetPlan& plan) {
    for (const SetEntry& entry : plan.entries)
        folder.Remove(Found(folder, PuzzleTempFileName(entry.name)));
}

enum class Vouch { Yes, No, Unreadable };

struct MarkerCheck {
    Vouch vouch = Vouch::No;
    platform::RuntimeError error;  // Unreadable
};

// Whether the marker of `base` checks out; fills `plan`, `pending` (the files
// still to be renamed) and `checked` when it does. Only what was read and
// found wrong makes it No; a marker or file that could not be read is
// Unreadable.
MarkerCheck CheckMarker(const platform::Folder& folder, const std::string& base, SetPlan& plan,
                        std::vector<bool>& pending, CheckedSet& checked) {
    auto failed = [&folder](const std::string& name, platform::RuntimeError error) {
        return SaysWhatStands(folder, name, error) ? MarkerCheck{}
                                                   : MarkerCheck{Vouch::Unreadable, error};
    };
    const std::string marker = PuzzleSetMarkerName(base);
    platform::OpenFile file;
    std::string text;
    if (auto error = ReadHeld(folder, marker, MarkerSizeLimit, file, text))
        return failed(marker, error);
    auto recorded = ParseMarker(base, text);
    if (!recorded)
        return {};
    plan = *recorded;
    pending.clear();
    for (const SetEntry& entry : plan.entries) {
        const size_t k = static_cast<size_t>(entry.kind);
        const std::string temp = Found(folder, PuzzleTempFileName(entry.name));
        pending.push_back(folder.KindNow(temp) != platform::Folder::Kind::None);
        const std::string name = pending.back() ? temp : Found(folder, entry.name);
        if (auto error = ReadHeld(folder, name, PuzzleFileSizeLimit(entry.kind), checked.files[k],
                                  checked.bytes[k]))
            return failed(name, error);
        if (checked.bytes[k].size() != entry.size || Checksum(checked.bytes[k]) != entry.checksum)
            return {};
    }
    if (!CheckSetBytes(plan, checked.bytes).Ok())
        return {};
    return {Vouch::Yes, {}};
}

// Why a set could not be finished: a read-only file system says so.
PuzzleFileResult CannotFinish(const platform::Folder& folder, const std::string& base,
                              platform::RuntimeError error) {
    if (folder.ReadOnly())
        return Unfinished(base, std::move(error), "read-only file system");
    return Unfinished(base, std::move(error));
}

struct SetOutcome {
    enum { None, Finished, Cleared, Stuck } what = None;
    PuzzleFileResult result;  // Stuck: Unfinished
};

// Finishes, or clears, the replace of `base` whose marker stands in `folder`;
// the caller holds the folder's exclusive lock.
SetOutcome FinishSet(platform::Folder& folder, const std::string& base) {
    const std::string marker = PuzzleSetMarkerName(base);
    if (folder.KindNow(marker) == platform::Folder::Kind::None)
        return {};
    SetPlan plan;
    std::vector<bool> pending;
    CheckedSet checked;
    const MarkerCheck check = CheckMarker(folder, base, plan, pending, checked);
    if (check.vouch == Vouch::Unreadable)
        return {SetOutcome::Stuck, CannotFinish(folder, base, check.error)};
    if (check.vouch == Vouch::No) {
        // A marker that was read and does not check out vouches for nothing:
        // the game's own replaces never leave one (their files are written and
        // flushed before it), so its temporaries go and the set's own files
        // stay as they are.
        if (auto error = folder.Remove(marker))
            return {SetOutcome::Stuck, CannotFinish(folder, base, error)};
        for (const std::string& name : folder.FileNames(true))
            if (TempBase(name) == base)
                folder.Remove(name);
        folder.Sync();
        return {SetOutcome::Cleared, {}};
    }
    for (size_t i = 0; i < plan.entries.size(); ++i) {
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
        if (error)
            return {SetOutcome::Stuck, CannotFinish(folder, base, error)};
    }
    // The marker goes only once the renames are on the disk.
    if (auto error = folder.Sync())
        return {SetOutcome::Stuck, CannotFinish(folder, base, error)};
    if (auto error = folder.Remove(marker))
        return {SetOutcome::Stuck, CannotFinish(folder, base, error)};
    folder.Sync();
    return {SetOutcome::Finished, {}};
}

// What a reader does about a marker of `base`: nothing to do, finished, or refused.
PuzzleFileResult SettlePending(platform::Folder& folder, const std::string& base,
                               PendingSet pending) {
    if (folder.KindNow(PuzzleSetMarkerName(base)) == platform::Folder::Kind::None)
        return {};
    if (pending == PendingSet::Refuse)
        return Unfinished(base, {}, "not finished");
    platform::FolderLock lock(folder, true);
    if (lock.Error())
        return Unfinished(base, lock.Error());
    const SetOutcome outcome = FinishSet(folder, base);
    return outcome.what == SetOutcome::Stuck ? outcome.result : PuzzleFileResult{};
}

// Reads the file `name` of a set through one descriptor. A missing file reads
// as empty, as a record file does; one larger than its kind can be is not read.
PuzzleFileResult ReadSetFile(const platform::Folder& folder, const std::string& name,
                             PuzzleFile kind, std::string& bytes) {
    bytes.clear();
    const std::string found = Found(folder, name);
    platform::OpenFile file;
    auto error = folder.OpenRead(found, PuzzleFileSizeLimit(kind), file);
    if (error.number == platform::ErrFileNotFound)
        return kind == PuzzleFile::Inf
                   ? PuzzleFileResult{PuzzleFileStatus::InfMissing, name, {}, {}}
                   : PuzzleFileResult{};
    if (error.number == platform::ErrOverflow)
        return CheckPuzzleFileSize(name, kind, file.Size());
    // A link or a pipe or device where a file of the set should be is damage.
    if (error.number == platform::ErrPathFileAccess) {
        const platform::Folder::Kind what = folder.KindNow(found);
        if (what == platform::Folder::Kind::Link || what == platform::Folder::Kind::Other)
            return {PuzzleFileStatus::Damaged,
                    name,
                    what == platform::Folder::Kind::Link ? "link" : "not a plain file",
                    {}};
    }
    if (!error)
        error = file.Read(file.Size(), bytes);
    return error ? Failed(name, error) : PuzzleFileResult{};
}

// The base name of the set whose information file is `infName`, or nothing.
std::optional<std::string> InfBase(const std::string& infName) {
    auto split = SplitSetName(UpperCase(infName));
    return split && split->second == PuzzleFile::Inf ? std::optional(split->first) : std::nullopt;
}

// Puts the set `bytes`, checked against `plan`, in place in `folder`.
PuzzleFileResult ReplaceCheckedSet(platform::Folder& folder, SetPlan plan,
                                   const PuzzleSetBytes& bytes, const ReplaceStepHook& step) {
    const std::string& base = plan.base;
    auto reach = [&step](int at) {
        if (step)
            step(at);
    };

    platform::FolderLock lock(folder, true);
    if (lock.Error())
        return Failed(plan.entries[0].name, lock.Error());
    // A replace of this set cut short before is finished before another begins.
    if (const SetOutcome earlier = FinishSet(folder, base); earlier.what == SetOutcome::Stuck)
        return earlier.result;

    // No link is read or written through, one write-protected file keeps the
    // whole set as it was, and a file past the largest a puzzle file can be
    // is no puzzle file: it is neither read nor replaced.
    std::vector<std::string> targets;
    for (const SetEntry& entry : plan.entries) {
        targets.push_back(Found(folder, entry.name));
        const platform::Folder::Kind kind = folder.KindNow(targets.back());
        platform::RuntimeError error = folder.CheckWritable(targets.back());
        if (!error && kind != platform::Folder::Kind::None &&
            kind != platform::Folder::Kind::File) {
            error = platform::MakeError(platform::ErrPathFileAccess);
        } else if (!error && kind == platform::Folder::Kind::File) {
            platform::OpenFile file;
            error = folder.OpenRead(targets.back(), PuzzleFileSizeLimit(entry.kind), file);
            if (error.number == platform::ErrOverflow)
                return CheckPuzzleFileSize(entry.name, entry.kind, file.Size());
        }
        if (error)
            return Failed(entry.name, error);
    }

    // The temporaries, each written, flushed and read back through one descriptor.
    CheckedSet checked;
    std::vector<std::string> temps;
    for (SetEntry& entry : plan.entries) {
        const size_t k = static_cast<size_t>(entry.kind);
        temps.push_back(PuzzleTempFileName(entry.name));
        // A temporary no marker vouches for is a leftover of a write that never ended.
        folder.Remove(Found(folder, temps.back()));
        if (auto error = folder.CreateFile(temps.back(), bytes[k], checked.files[k])) {
            RemoveTemps(folder, plan);
            return Failed(entry.name, error);
        }
        checked.bytes[k] = bytes[k];
        entry.size = bytes[k].size();
        entry.checksum = Checksum(bytes[k]);
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

    // Committed: from here on the replace only goes forward.
    for (size_t i = 0; i < plan.entries.size(); ++i) {
        reach(static_cast<int>(i) + 1);
        const size_t k = static_cast<size_t>(plan.entries[i].kind);
        error = folder.Rename(temps[i], targets[i]);
        // A file put under the temporary's name after its check is no file of the set.
        if (!error && !folder.Holds(targets[i], checked.files[k]))
            error = folder.WriteFileAtomic(targets[i], checked.bytes[k]);
        if (error)
            return CannotFinish(folder, base, error);
    }

    // A marker outliving renames that may not have reached the disk lets the
    // next start finish them.
    reach(ReplaceStepCount - 1);
    if (!folder.Sync() && !folder.Remove(marker))
        folder.Sync();
    return {};
}

}  // namespace

std::string PuzzleSetMarkerName(const std::string& base) {
    return "." + base + MarkerExtension;
}

PuzzleFileResult ReadWholePuzzleInfo(platform::Folder& folder, const std::string& infName,
                                     PendingSet pending, PuzzleInfo& info) {
    platform::FolderLock lock(folder, false);
    if (lock.Error())
        return Failed(infName, lock.Error());
    if (auto base = InfBase(infName))
        if (PuzzleFileResult result = SettlePending(folder, *base, pending); !result.Ok())
            return result;
    std::string bytes;
    if (PuzzleFileResult result = ReadSetFile(folder, infName, PuzzleFile::Inf, bytes);
        !result.Ok())
        return result;
    return ParsePuzzleInfo(bytes, infName, info);
}

PuzzleFileResult ReadWholePuzzleSet(platform::Folder& folder, const std::string& base,
                                    PendingSet pending, PuzzleInfo& info, PuzzleTables& tables,
                                    PuzzleSetBytes* bytes) {
    const std::string infName = base + PuzzleFileExtensions[0];
    platform::FolderLock lock(folder, false);
    if (lock.Error())
        return Failed(infName, lock.Error());
    if (PuzzleFileResult result = SettlePending(folder, base, pending); !result.Ok())
        return result;
    PuzzleSetBytes read;
    PuzzleInfo stored;
    if (PuzzleFileResult result = ReadSetFile(folder, infName, PuzzleFile::Inf, read[0]);
        !result.Ok())
        return result;
    if (PuzzleFileResult result = ParsePuzzleInfo(read[0], infName, stored); !result.Ok())
        return result;
    for (size_t i = 1; i < read.size(); ++i) {
        const auto kind = static_cast<PuzzleFile>(i);
        if (PuzzleFileResult result = ReadSetFile(folder, stored.FileName(kind), kind, read[i]);
            !result.Ok())
            return result;
    }
    if (PuzzleFileResult result = ParsePuzzleSet(read, infName, info, tables); !result.Ok())
        return result;
    if (bytes)
        *bytes = std::move(read);
    return {};
}

PuzzleFileResult ReplacePuzzleSet(const std::string& folder, const std::string& base,
                                  const PuzzleSetBytes& bytes, const ReplaceStepHook& step) {
    std::optional<SetPlan> plan = PlanFor(base);
    if (auto refusal = Refusal(plan, base, bytes))
        return *refusal;
    platform::Folder open;
    if (auto error = open.Open(folder))
        return Failed(base + PuzzleFileExtensions[0], error);
    return ReplaceCheckedSet(open, *plan, bytes, step);
}

PuzzleFileResult ReplacePuzzleSet(platform::Folder& folder, const std::string& base,
                                  const PuzzleSetBytes& bytes, const ReplaceStepHook& step) {
    std::optional<SetPlan> plan = PlanFor(base);
    if (auto refusal = Refusal(plan, base, bytes))
        return *refusal;
    return ReplaceCheckedSet(folder, *plan, bytes, step);
}

PuzzleSetRecovery RecoverPuzzleSets(const std::string& path) {
    platform::Folder folder;
    if (folder.Open(path))
        return {};
    return RecoverPuzzleSets(folder);
}

PuzzleSetRecovery RecoverPuzzleSets(platform::Folder& folder) {
    PuzzleSetRecovery recovery;
    platform::FolderLock lock(folder, true);
    if (lock.Error()) {
        recovery.failures.push_back(Failed({}, lock.Error()));
        return recovery;
    }
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
        const SetOutcome outcome = FinishSet(folder, base);
        if (outcome.what == SetOutcome::Finished)
            recovery.finished.push_back(base);
        if (outcome.what == SetOutcome::Stuck) {
            recovery.failures.push_back(outcome.result);
            unfinished.insert(base);
        }
    }
    for (const auto& [base, name] : temps)
        if (!unfinished.count(base) && folder.KindNow(name) != platform::Folder::Kind::None)
            remove(name);
    for (const std::string& name : leftovers)
        remove(name);
    if (!recovery.removed.empty())
        folder.Sync();
    return recovery;
}

std::string PuzzleFailureText(const PuzzleFileResult& result, const std::string& finisher) {
    const std::string why =
        result.reason.empty() ? platform::ErrorText(result.error) : result.reason;
    switch (result.status) {
        case PuzzleFileStatus::Unfinished:
            return "PUZZLE " + result.file + " IS NOT WHOLE!\r\rA change of its files was cut " +
                   "short:\r" + why + "\r\rIts new files are kept, and\r" + finisher +
                   "\rputs them in place.";
        case PuzzleFileStatus::Failed:
            if (result.error.number == platform::ErrFileAlreadyOpen)
                return "ERROR: PUZZLE FOLDER IN USE!\r\rAnother copy of the game is changing\rits "
                       "puzzles. Nothing was changed.";
            return platform::ErrorText(result.error);
        case PuzzleFileStatus::InfMissing:
            return "ERROR: PUZZLE INFORMATION FILE NOT FOUND!";
        default:
            return std::string(PuzzleDamagedText) + "\r\r" +
                   result.file.substr(result.file.find_last_of("/\\") + 1) + ": " + result.reason;
    }
}

}  // namespace quarvelt
