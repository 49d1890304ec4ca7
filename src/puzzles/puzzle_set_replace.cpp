#include "puzzles/puzzle_set_replace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "common/text.h"
#include "platform/files.h"
#include "puzzles/puzzle_keys.h"
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

// A quicker sum, eight bytes at a step, for fingerprints only held in memory:
// what a marker records stays Checksum's.
uint64_t QuickSum(const std::string& bytes) {
    constexpr uint64_t Prime = 1099511628211ull;
    uint64_t hash = 14695981039346656037ull ^ bytes.size();
    size_t at = 0;
    for (; at + sizeof(uint64_t) <= bytes.size(); at += sizeof(uint64_t)) {
        uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        hash = (hash ^ word) * Prime;
        hash ^= hash >> 29;
    }
    for (; at < bytes.size(); ++at)
        hash = (hash ^ static_cast<unsigned char>(bytes[at])) * Prime;
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

// What a marker says of its replace: it checks out (Yes); it vouches for
// nothing (No: it does not parse, or some new file is lost while no target
// holds the new bytes, so the old set stands whole); some new file is lost
// after others took their places (Lost); or something could not be read.
enum class Vouch { Yes, No, Lost, Unreadable };

struct MarkerCheck {
    Vouch vouch = Vouch::No;
    platform::RuntimeError error;  // Unreadable
    std::string lost;              // Lost: the first file whose new bytes are gone
};

// Reads `name` and tells whether it holds the bytes `entry` records; a read
// that says nothing of what stands there leaves `error` set.
bool HoldsRecorded(const platform::Folder& folder, const std::string& name, const SetEntry& entry,
                   platform::OpenFile& file, std::string& bytes, platform::RuntimeError& error) {
    if (folder.KindNow(name) == platform::Folder::Kind::None)
        return false;
    if (auto failure = ReadHeld(folder, name, PuzzleFileSizeLimit(entry.kind), file, bytes)) {
        if (!SaysWhatStands(folder, name, failure))
            error = failure;
        return false;
    }
    return bytes.size() == entry.size && Checksum(bytes) == entry.checksum;
}

// Whether the marker of `base` checks out; fills `plan`, `pending` (the files
// whose checked temporary is still to be renamed) and `checked` (the new file
// of each kind, temporary or already in place) when it does. Only what was
// read and found wrong counts against it; what could not be read is Unreadable.
MarkerCheck CheckMarker(const platform::Folder& folder, const std::string& base, SetPlan& plan,
                        std::vector<bool>& pending, CheckedSet& checked) {
    const std::string marker = PuzzleSetMarkerName(base);
    platform::OpenFile file;
    std::string text;
    if (auto error = ReadHeld(folder, marker, MarkerSizeLimit, file, text))
        return SaysWhatStands(folder, marker, error) ? MarkerCheck{}
                                                     : MarkerCheck{Vouch::Unreadable, error, {}};
    auto recorded = ParseMarker(base, text);
    if (!recorded)
        return {};
    plan = *recorded;
    pending.assign(plan.entries.size(), false);
    platform::RuntimeError error;
    std::string lost;
    for (size_t i = 0; i < plan.entries.size(); ++i) {
        const SetEntry& entry = plan.entries[i];
        const size_t k = static_cast<size_t>(entry.kind);
        pending[i] = HoldsRecorded(folder, Found(folder, PuzzleTempFileName(entry.name)), entry,
                                   checked.files[k], checked.bytes[k], error);
        if (!pending[i] &&
            !HoldsRecorded(folder, Found(folder, entry.name), entry, checked.files[k],
                           checked.bytes[k], error) &&
            lost.empty())
            lost = entry.name;
        if (error)
            return {Vouch::Unreadable, error, {}};
    }
    if (lost.empty())
        return CheckSetBytes(plan, checked.bytes).Ok() ? MarkerCheck{Vouch::Yes, {}, {}}
                                                       : MarkerCheck{};
    // Once any target holds what the marker records, clearing it would serve a mix.
    for (const SetEntry& entry : plan.entries) {
        platform::OpenFile held;
        std::string bytes;
        if (HoldsRecorded(folder, Found(folder, entry.name), entry, held, bytes, error))
            return {Vouch::Lost, {}, lost};
        if (error)
            return {Vouch::Unreadable, error, {}};
    }
    return {};
}

// Why a set could not be finished: a read-only file system says so.
PuzzleFileResult CannotFinish(const platform::Folder& folder, const std::string& base,
                              platform::RuntimeError error) {
    if (folder.ReadOnly())
        return Unfinished(base, std::move(error), "read-only file system");
    return Unfinished(base, std::move(error));
}

// Renames the checked temporary `temp` over `target`. Another file put under
// the temporary's name after its check gives way to the bytes checked.
platform::RuntimeError PlaceChecked(platform::Folder& folder, const std::string& temp,
                                    const std::string& target, const platform::OpenFile& file,
                                    const std::string& bytes) {
    auto error = folder.Rename(temp, target);
    if (!error && !folder.Holds(target, file))
        error = folder.WriteFileAtomic(target, bytes);
    return error;
}

// Ends a replace whose files are all in place: the marker goes only once the
// renames are on the disk, and the set is done only once it has gone.
platform::RuntimeError RemoveMarker(platform::Folder& folder, const std::string& marker) {
    if (auto error = folder.Sync())
        return error;
    if (auto error = folder.Remove(marker))
        return error;
    // The set is whole either way: a marker that comes back checks out.
    folder.Sync();
    return {};
}

PuzzleFileResult ReadSetFile(const platform::Folder& folder, const std::string& name,
                             PuzzleFile kind, std::string& bytes);

// How the information file of `base` stands in `folder`, as a save, an
// import or a delete would read it for its key.
InfState InfStateOf(const platform::Folder& folder, const std::string& base) {
    const std::string infName = base + PuzzleFileExtensions[0];
    std::string bytes;
    PuzzleInfo info;
    PuzzleFileResult read = ReadSetFile(folder, infName, PuzzleFile::Inf, bytes);
    if (read.status == PuzzleFileStatus::InfMissing)
        return InfState::Missing;
    if (read.Ok())
        read = ParsePuzzleInfo(bytes, infName, info);
    if (!read.Ok())
        return InfState::Unreadable;
    // An import never replaces a keyed puzzle; a save or a delete needs its key.
    return KeyRefuses(info, NoKey) ? InfState::Keyed : InfState::Readable;
}

struct SetOutcome {
    enum { None, Finished, Cleared, Stuck } what = None;
    PuzzleFileResult result;  // Stuck: Unfinished or Broken
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
    if (check.vouch == Vouch::Lost)
        return {
            SetOutcome::Stuck,
            {PuzzleFileStatus::Broken, base, check.lost + ": lost", {}, InfStateOf(folder, base)}};
    if (check.vouch == Vouch::No) {
        // The set's own files stand as they were before the replace began.
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
        const std::string temp = Found(folder, PuzzleTempFileName(entry.name));
        platform::RuntimeError error;
        if (pending[i]) {
            const size_t k = static_cast<size_t>(entry.kind);
            error = PlaceChecked(folder, temp, Found(folder, entry.name), checked.files[k],
                                 checked.bytes[k]);
        } else if (folder.KindNow(temp) != platform::Folder::Kind::None) {
            // Its new bytes are already in place; this is no file of the set.
            error = folder.Remove(temp);
        }
        if (error)
            return {SetOutcome::Stuck, CannotFinish(folder, base, error)};
    }
    if (auto error = RemoveMarker(folder, marker))
        return {SetOutcome::Stuck, CannotFinish(folder, base, error)};
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

// Reads the file `name` of a set through one descriptor. A missing file is
// damage: the game's own saves always write all seven. One larger than its
// kind can be is not read.
PuzzleFileResult ReadSetFile(const platform::Folder& folder, const std::string& name,
                             PuzzleFile kind, std::string& bytes) {
    bytes.clear();
    const std::string found = Found(folder, name);
    platform::OpenFile file;
    auto error = folder.OpenRead(found, PuzzleFileSizeLimit(kind), file);
    if (error.number == platform::ErrFileNotFound)
        return kind == PuzzleFile::Inf
                   ? PuzzleFileResult{PuzzleFileStatus::InfMissing, name, {}, {}}
                   : PuzzleFileResult{PuzzleFileStatus::Damaged, name, "missing", {}};
    if (error.number == platform::ErrOverflow)
        return CheckPuzzleFileSize(name, kind, file.Size());
    // A link, a folder, a pipe or a device where a file of the set should be is damage.
    if (error.number == platform::ErrPathFileAccess) {
        const platform::Folder::Kind what = folder.KindNow(found);
        if (what != platform::Folder::Kind::File && what != platform::Folder::Kind::None)
            return {PuzzleFileStatus::Damaged,
                    name,
                    what == platform::Folder::Kind::Link ? "link" : NotPlainFile,
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

// The set `base` as it stands in `folder` now, read in one pass. Each name
// is the one the folder knows (as listed, with its own changes since), which
// is the name a replace through it writes; what stands under it is looked at
// now, so that a file another copy of the game wrote there counts.
struct SetSnapshot {
    // What stands under each of its names and its marker's, and the bytes of
    // each plain file (only the size of one too large to be a puzzle file).
    uint64_t fingerprint = 0;
    bool any = false;  // some file of the set stands there
    bool inf = false;  // its information file does
    std::string infBytes;
};

SetSnapshot Snapshot(const platform::Folder& folder, const std::string& base) {
    SetSnapshot snapshot;
    std::string seen;
    for (const SetEntry& entry : PlanFor(base).value_or(SetPlan{}).entries) {
        std::string name = Found(folder, entry.name);
        if (folder.KindNow(name) == platform::Folder::Kind::None)
            name = entry.name;
        const platform::Folder::Kind kind = folder.KindNow(name);
        seen += std::to_string(static_cast<int>(kind));
        if (kind != platform::Folder::Kind::None)
            snapshot.any = true;
        if (kind == platform::Folder::Kind::File) {
            platform::OpenFile file;
            std::string bytes;
            const auto error = ReadHeld(folder, name, PuzzleFileSizeLimit(entry.kind), file, bytes);
            seen += " " + std::to_string(file.Size()) + " " +
                    (error ? std::to_string(error.number) : Hex(QuickSum(bytes)));
            if (entry.kind == PuzzleFile::Inf)
                snapshot.infBytes = std::move(bytes);
        }
        if (entry.kind == PuzzleFile::Inf)
            snapshot.inf = kind != platform::Folder::Kind::None;
        seen += "\n";
    }
    seen += std::to_string(static_cast<int>(folder.KindNow(PuzzleSetMarkerName(base))));
    snapshot.fingerprint = Checksum(seen);
    return snapshot;
}

// Puts the set `bytes`, checked against `plan`, in place in `folder`.
PuzzleFileResult ReplaceCheckedSet(platform::Folder& folder, SetPlan plan,
                                   const PuzzleSetBytes& bytes, const PuzzleSetState* expected) {
    const std::string& base = plan.base;
    platform::FolderLock lock(folder, true);
    if (lock.Error())
        return Failed(plan.entries[0].name, lock.Error());
    // A replace of this set cut short before is finished before another
    // begins; one that lost some of its new files is replaced whole.
    const SetOutcome earlier = FinishSet(folder, base);
    const bool broken =
        earlier.what == SetOutcome::Stuck && earlier.result.status == PuzzleFileStatus::Broken;
    if (earlier.what == SetOutcome::Stuck && !broken)
        return earlier.result;
    // What the caller decided on, it decided on the set as it was then.
    if (expected && Snapshot(folder, base).fingerprint != expected->fingerprint)
        return {PuzzleFileStatus::Changed, base, {}, {}};

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
        // A temporary here is no sound marker's: a leftover of a write that
        // never ended, or one of a broken set, which this replace puts back whole.
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
    platform::RuntimeError error = folder.Sync();
    bool written = false;
    if (!error) {
        error = folder.WriteFileAtomic(marker, MarkerText(plan));
        written = !error;
    }
    if (!error)
        error = folder.Sync();
    if (error) {
        // The marker of a broken set, or ours in its place, must keep
        // vouching: only a marker of our own over a sound set is taken back.
        if (written && broken)
            return CannotFinish(folder, base, error);
        RemoveTemps(folder, plan);
        if (written)
            folder.Remove(marker);
        return Failed(plan.entries[0].name, error);
    }

    // Committed: from here on the replace only goes forward.
    for (size_t i = 0; i < plan.entries.size(); ++i) {
        const size_t k = static_cast<size_t>(plan.entries[i].kind);
        if (auto failure =
                PlaceChecked(folder, temps[i], targets[i], checked.files[k], checked.bytes[k]))
            return CannotFinish(folder, base, failure);
    }
    if (auto failure = RemoveMarker(folder, marker))
        return CannotFinish(folder, base, failure);
    return {};
}

// What mends a set that lost new files, where it stands: only an export
// rewrites a drive's set; in the puzzle folder a save, an import or a delete
// needs the key its information file holds.
std::string BrokenRemedy(const PuzzleFileResult& result, const std::string& drive) {
    if (!drive.empty())
        return "Export it to drive " + drive + " again\rfrom the computer it came from.";
    switch (result.inf) {
        case InfState::Readable:
            return "Save or import it again,\ror DELETE it.";
        case InfState::Keyed:
            return "Save it again, or DELETE it,\rwith its key.";
        case InfState::Missing:
            return "Save or import it again.";
        case InfState::Unreadable:
            break;
    }
    return "Its information file can't be read,\rso its key can't be checked: remove\r" +
           result.file + ".* and ." + result.file + ".* from the\rpuzzle folder by hand.";
}

}  // namespace

uint64_t PuzzleSetFingerprint(const PuzzleSetBytes& bytes) {
    std::string sums;
    for (const std::string& file : bytes)
        sums += Hex(QuickSum(file));
    return QuickSum(sums);
}

std::string PuzzleSetMarkerName(const std::string& base) {
    return "." + base + MarkerExtension;
}

void DropPuzzleSetReplace(platform::Folder& folder, const std::string& base) {
    if (auto plan = PlanFor(base)) {
        folder.Remove(PuzzleSetMarkerName(base));
        RemoveTemps(folder, *plan);
    }
}

PuzzleFileResult CheckPuzzleSetFiles(const platform::Folder& folder, const PuzzleInfo& info) {
    for (size_t i = 0; i < PuzzleFileExtensions.size(); ++i) {
        const std::string& name = info.FileName(static_cast<PuzzleFile>(i));
        if (folder.KindNow(Found(folder, name)) == platform::Folder::Kind::None)
            return {PuzzleFileStatus::Damaged, name, "missing", {}};
    }
    return {};
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
                                  const PuzzleSetBytes& bytes, const PuzzleSetState* expected) {
    std::optional<SetPlan> plan = PlanFor(base);
    if (auto refusal = Refusal(plan, base, bytes))
        return *refusal;
    platform::Folder open;
    if (auto error = open.Open(folder))
        return Failed(base + PuzzleFileExtensions[0], error);
    return ReplaceCheckedSet(open, *plan, bytes, expected);
}

PuzzleFileResult ReplacePuzzleSet(platform::Folder& folder, const std::string& base,
                                  const PuzzleSetBytes& bytes, const PuzzleSetState* expected) {
    std::optional<SetPlan> plan = PlanFor(base);
    if (auto refusal = Refusal(plan, base, bytes))
        return *refusal;
    return ReplaceCheckedSet(folder, *plan, bytes, expected);
}

PuzzleSetState ReadPuzzleSetState(platform::Folder& folder, const std::string& base) {
    PuzzleSetState state;
    const std::string infName = base + PuzzleFileExtensions[0];
    platform::FolderLock lock(folder, false);
    state.infRead = lock.Error() ? Failed(infName, lock.Error())
                                 : SettlePending(folder, base, PendingSet::Finish);
    // A broken set is replaced whole: what decides is its information file as it stands.
    if (!state.infRead.Ok() && state.infRead.status != PuzzleFileStatus::Broken) {
        // What can't be looked at can't be taken for absent.
        state.exists = state.infExists = true;
        return state;
    }
    const SetSnapshot snapshot = Snapshot(folder, base);
    state.fingerprint = snapshot.fingerprint;
    state.exists = snapshot.any;
    state.infExists = snapshot.inf;
    state.infRead = state.infExists
                        ? ParsePuzzleInfo(snapshot.infBytes, infName, state.info)
                        : PuzzleFileResult{PuzzleFileStatus::InfMissing, infName, {}, {}};
    return state;
}

PuzzleSetRecovery RecoverPuzzleSets(const std::string& path) {
    platform::Folder folder;
    if (auto error = folder.Open(path)) {
        PuzzleSetRecovery recovery;
        recovery.failures.push_back(Failed(path, error));
        return recovery;
    }
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

std::string PuzzleFailureText(const PuzzleFileResult& result, const std::string& drive) {
    const std::string why =
        result.reason.empty() ? platform::ErrorText(result.error) : result.reason;
    switch (result.status) {
        case PuzzleFileStatus::Unfinished:
            return "PUZZLE " + result.file + " IS NOT WHOLE!\r\rA change of its files was cut " +
                   "short:\r" + why + "\r\rIts new files are kept, and\r" +
                   (drive.empty() ? "the game, at its next start,"
                                  : "the next export to drive " + drive) +
                   "\rputs them in place.";
        case PuzzleFileStatus::Broken:
            return "PUZZLE " + result.file + " IS DAMAGED!\r\rA change of its files was cut " +
                   "short,\rand some of its new files were lost:\r" + why + "\r\r" +
                   BrokenRemedy(result, drive);
        case PuzzleFileStatus::Changed:
            return "PUZZLE " + result.file +
                   " HAS CHANGED!\r\rAnother copy of the game changed "
                   "it.\rNothing was changed here.";
        case PuzzleFileStatus::Failed:
            if (result.error.number == platform::ErrFileAlreadyOpen)
                return "ERROR: PUZZLE FOLDER IN USE!\r\rAnother copy of the game is changing\rits "
                       "puzzles. Nothing was changed.";
            // A failing or full drive stops at one puzzle: the player is told which.
            if ((result.error.number == platform::ErrDeviceIO ||
                 result.error.number == platform::ErrDiskFull) &&
                !result.file.empty())
                return platform::ErrorText(result.error) + "\r\rPuzzle file: " + result.file;
            return platform::ErrorText(result.error);
        case PuzzleFileStatus::InfMissing:
            return "ERROR: PUZZLE INFORMATION FILE NOT FOUND!";
        default:
            return std::string(PuzzleDamagedText) + "\r\r" +
                   result.file.substr(result.file.find_last_of("/\\") + 1) + ": " + result.reason;
    }
}

}  // namespace quarvelt
