// The two settings files: the program's own "QUARVELT.INI" beside the
// executable and the suite's "VESTRAL.INI" in the suite folder it shares with
// the other games of the family.
#pragma once

#include <string>

#include "platform/errors.h"

namespace quarvelt {

inline constexpr const char* ProgramIniName = "QUARVELT.INI";
inline constexpr const char* SuiteIniName = "VESTRAL.INI";
inline constexpr const char* StartupSection = "STARTUPINFO";
inline constexpr const char* SuiteSection = "QUARVELT2";
inline constexpr const char* AppTypeSection = "APP_TYPE";
inline constexpr const char* ReleaseDateValue = "25 July 2019";
inline constexpr const char* ProgramVersionValue = "2.00.01.2019";

std::string ProgramIni();  // AppPath + "QUARVELT.INI"
std::string SuiteIni();    // SuiteRoot + "VESTRAL.INI"

// The suite folder: "BRISKA/" in the user's configuration folder.
std::string DefaultSuiteRoot();
// Creates SuiteRoot when it is missing.
platform::RuntimeError EnsureSuiteRoot();

// [STARTUPINFO] "ReleaseDate", then "ProgramVersion".
void WriteStartupInfo();
// [STARTUPINFO] "CurrentDate" := CurrentDate.
void WriteCurrentDate();
// [QUARVELT2] "Quarvelt_Directory" and "PuzzlePath" when they read empty, then
// [APP_TYPE] "CurrentApp" := "QUARVELT".
void WriteSuiteSettings();

}  // namespace quarvelt
