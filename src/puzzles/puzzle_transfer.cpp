#include "puzzles/puzzle_transfer.h"

#include "common/text.h"
#include "puzzles/puzzle_names.h"

namespace quarvelt {
namespace {

using Kind = platform::Folder::Kind;

// The order the files travel in, which is not the order they are written in.
constexpr std::array<PuzzleFile, PuzzleFileCount> TravelOrder{
    PuzzleFile::Inf, PuzzleFile::Pzl, PuzzleFile::Tbx, PuzzleFile::Tgc,
    PuzzleFile::Shc, PuzzleFile::Sqc, PuzzleFile::Kyc};

const char* Extension(PuzzleFile file) {
    return PuzzleFileExtensions[static_cast<size_t>(file)];
}

// Why the set of the information file `inf` can't travel.
std::string Problem(const PuzzleFileResult& result, const std::string& inf) {
    if (result.status == PuzzleFileStatus::InfMissing)
        return result.file + ": missing";
    if (result.status == PuzzleFileStatus::Unfinished || result.status == PuzzleFileStatus::Broken)
        return inf + ": not whole";
    return result.file + ": " + (result.reason.empty() ? result.error.description : result.reason);
}

PendingSet PendingOn(bool onDrive) {
    return onDrive ? PendingSet::Refuse : PendingSet::Finish;
}

}  // namespace

TransferNames TransferFileNames(const std::string& base) {
    TransferNames names;
    for (size_t i = 0; i < TravelOrder.size(); ++i)
        names[i] = base + Extension(TravelOrder[i]);
    return names;
}

std::string CheckTransferNames(platform::Folder& folder, const std::string& file, bool onDrive,
                               PuzzleInfo& info, std::string& base) {
    if (onDrive && folder.KindOf(file) == Kind::Link)
        return file + ": link";
    if (PuzzleFileResult result = ReadWholePuzzleInfo(folder, file, PendingOn(onDrive), info);
        !result.Ok())
        return Problem(result, file);
    base = PuzzleBaseName(info.baseName);
    if (!IsPuzzleBaseName(base))
        return file + ": base name";
    if (UpperCase(file) != base + Extension(PuzzleFile::Inf))
        return file + ": file name";
    for (PuzzleFile kind : TravelOrder)
        if (UpperCase(info.FileName(kind)) != base + Extension(kind))
            return file + ": stored file name";
    // A set that lacks a file, or holds something else under one of its
    // names, is not whole: no load would take it.
    const std::string listed = folder.Find(file);
    for (PuzzleFile kind : TravelOrder) {
        const std::string name = base + Extension(kind);
        const std::string travels = folder.Find(name);
        const Kind what = folder.KindOf(name);
        if (what == Kind::Link)
            return name + ": link";
        if (what != Kind::File)
            return name + ": " + (what == Kind::None ? "missing" : NotPlainFile);
        if (onDrive && (travels != folder.Find(info.FileName(kind)) ||
                        (kind == PuzzleFile::Inf && travels != listed)))
            return name + ": not the file its information file names";
    }
    return {};
}

std::string CheckTransferPuzzle(platform::Folder& folder, const std::string& file, bool onDrive,
                                std::string& puzzleName, std::string& base, uint64_t* fingerprint) {
    PuzzleInfo info;
    if (std::string problem = CheckTransferNames(folder, file, onDrive, info, base);
        !problem.empty())
        return problem;
    if (onDrive) {
        PuzzleInfo read;
        PuzzleTables tables;
        PuzzleSetBytes bytes;
        if (PuzzleFileResult result =
                ReadWholePuzzleSet(folder, base, PendingSet::Refuse, read, tables, &bytes);
            !result.Ok())
            return Problem(result, file);
        if (fingerprint)
            *fingerprint = PuzzleSetFingerprint(bytes);
    }
    puzzleName = info.puzzleName.empty() ? base : info.puzzleName;
    return {};
}

PuzzleFileResult TransferPuzzleSet(platform::Folder& from, platform::Folder& to,
                                   const std::string& base, PendingSet pending,
                                   const PuzzleSetState* expected, const uint64_t* listed) {
    PuzzleInfo info;
    PuzzleTables tables;
    PuzzleSetBytes bytes;
    if (PuzzleFileResult result = ReadWholePuzzleSet(from, base, pending, info, tables, &bytes);
        !result.Ok())
        return result;
    if (PuzzleBaseName(info.baseName) != base)
        return {PuzzleFileStatus::Damaged, base + Extension(PuzzleFile::Inf), "base name", {}};
    if (listed && PuzzleSetFingerprint(bytes) != *listed)
        return {PuzzleFileStatus::NotAsListed, base, {}, {}};
    return ReplacePuzzleSet(to, base, bytes, expected);
}

}  // namespace quarvelt
