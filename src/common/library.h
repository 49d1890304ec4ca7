// The small services every part of the game calls: files and folders, path
// parts, file lists, drives, settings values, waiting, and text clean-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/globals.h"

namespace quarvelt {

// True when the file exists under its name or under one that differs only in case.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The path up to and including its last '/' or '\'; empty when it has none.
std::string GetFilePath(const std::string& path);
// The part after the last '/' or '\'; empty when the path has none.
std::string GetFileName(const std::string& path);
// The name with its extension forced to `ext` (given without its dot); "ERROR" for a blank name.
std::string SetFileExt(const std::string& name, const std::string& ext);

// Lists the files of `folder` matching "*.EXT" (by the last three characters)
// or "BASE.*" (by the name without its last four characters), without regard to
// case, into entries 1 to n of `list`; returns n, or a negative error number
// (-76 for a missing folder). A list with no entry beyond 0 is sized to 0..1024
// first; a full list grows to count + 256. The count stops at 32,767 names,
// the most it can number: it never wraps or turns into an error.
int16_t GetFileList(const std::string& folder, const std::string& pattern,
                    std::vector<std::string>& list);

// The names GetFileList's `pattern` matches, in their order, however many
// there are; a pattern it can't use matches none.
std::vector<std::string> MatchFileNames(const std::vector<std::string>& names,
                                        const std::string& pattern);

// True when drive "X:" is in the drive list with the kind named by `kind`
// ("REMOVABLE", "USB", "CDROM", "FIXED", ..., "ALL"); false on any failure.
bool IsDriveOfType(const std::string& drive, const std::string& kind);

// Reads (writeFlag other than -1) or writes (-1) one value of a settings file;
// the file always gets the extension INI. Problems are shown in a box.
void ReadWriteIni(const std::string& file, const std::string& section, const std::string& key,
                  std::string& value, Flag writeFlag);

// Trims blanks from both ends, then removes every NUL character.
std::string StripNulls(const std::string& text);

// Waits the given seconds while the event loop keeps running; yields at least once.
void WaitSeconds(float seconds);

// The text right-aligned in exactly `width` characters (cut to its leftmost
// `width` characters when longer), optionally without commas and a leading "$".
std::string RightJustify(const std::string& text, int16_t width, Flag dropCommas, Flag dropDollar);

}  // namespace quarvelt
