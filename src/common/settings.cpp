#include "common/settings.h"

#include "common/globals.h"
#include "common/library.h"
#include "platform/files.h"

namespace quarvelt {
namespace {

void Write(const std::string& file, const char* section, const char* key, std::string value) {
    ReadWriteIni(file, section, key, value, True);
}

// Writes the key only when it has no value yet, so the first installation's folders stay.
void WriteWhenEmpty(const std::string& file, const char* section, const char* key,
                    const std::string& value) {
    std::string current;
    ReadWriteIni(file, section, key, current, False);
    if (current.empty())
        Write(file, section, key, value);
}

}  // namespace

std::string ProgramIni() {
    return AppPath + ProgramIniName;
}

std::string SuiteIni() {
    return SuiteRoot + SuiteIniName;
}

std::string DefaultSuiteRoot() {
    return platform::UserConfigFolder() + "BRISKA/";
}

platform::RuntimeError EnsureSuiteRoot() {
    return platform::CreateFolder(SuiteRoot);
}

void WriteStartupInfo() {
    Write(ProgramIni(), StartupSection, "ReleaseDate", ReleaseDateValue);
    Write(ProgramIni(), StartupSection, "ProgramVersion", ProgramVersionValue);
}

void WriteCurrentDate() {
    Write(ProgramIni(), StartupSection, "CurrentDate", CurrentDate);
}

void WriteSuiteSettings() {
    WriteWhenEmpty(SuiteIni(), SuiteSection, "Quarvelt_Directory", AppPath);
    WriteWhenEmpty(SuiteIni(), SuiteSection, "PuzzlePath", PuzzlePath);
    Write(SuiteIni(), AppTypeSection, "CurrentApp", "QUARVELT");
}

}  // namespace quarvelt
