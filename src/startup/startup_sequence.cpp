#include "startup/startup_sequence.h"

#include <array>
#include <vector>

#include "common/globals.h"
#include "common/library.h"
#include "common/settings.h"
#include "common/tables.h"
#include "platform/files.h"
#include "platform/services.h"
#include "puzzles/condition_catalogue.h"
#include "puzzles/puzzle_set_replace.h"

namespace quarvelt {
namespace {

constexpr const char* RequiredFilesTitle = "REQUIRED FILES CHECK";
constexpr int EndStatus = 1;

struct RequiredFile {
    const char* pattern;
    bool puzzleKind;  // moved into the puzzle folder; else an important file
};

constexpr std::array<RequiredFile, 10> RequiredFiles{{
    {"*.IDX", false},
    {"*.MIX", false},
    {"*.PZL", true},
    {"*.INF", true},
    {"*.TBX", true},
    {"*.KYC", true},
    {"*.SHC", true},
    {"*.SQC", true},
    {"*.TGC", true},
    {"*.HLP", false},
}};

int ShowFailure(const platform::RuntimeError& error) {
    platform::SetPointer(platform::Pointer::Default);
    platform::Alarm(platform::ErrorText(error), RequiredFilesTitle);
    return EndStatus;
}

int ShowMissing(const std::string& headline) {
    platform::SetPointer(platform::Pointer::Default);
    platform::Beep();
    platform::MsgBox(
        headline + "\rCan't continue -- TERMINATING!!!\r\rYOU MUST DO ANOTHER DOWNLOAD!",
        platform::MsgOkOnly + platform::MsgCritical, RequiredFilesTitle);
    return EndStatus;
}

std::vector<std::string> Matching(const std::string& folder, const char* pattern) {
    std::vector<std::string> list;
    const int16_t count = GetFileList(folder, pattern, list);
    if (count <= 0)
        return {};
    return {list.begin() + 1, list.begin() + 1 + count};
}

// Within one file system a rename moves the file in one step; elsewhere the
// copy is verified before its source goes.
platform::RuntimeError MoveFile(const std::string& from, const std::string& to) {
    if (!platform::RenameFile(from, to))
        return {};
    if (auto error = platform::CopyFileVerified(from, to))
        return error;
    return platform::DeleteFile(from);
}

}  // namespace

bool CheckDateAndTime(const std::string& dateTime) {
    CurrentDate = dateTime.substr(0, 10);
    if (CurrentDate.size() != 10) {
        platform::Beep();
        platform::MsgBox(
            "INVALIED DATE FORMAT!\r\rYour DATE format is incorrect.\rThe Short Date should be "
            "set\rto "
            "MM/DD/YYYY -- Please correct.",
            platform::MsgOkOnly + platform::MsgCritical, "WRONG   DATE   TYPE");
        return false;
    }
    CurrentTime = dateTime.size() >= 8 ? dateTime.substr(dateTime.size() - 8) : dateTime;
    if (CurrentTime.size() != 8) {
        platform::Beep();
        platform::MsgBox(
            "INVALIED TIME FORMAT!\r\rYour TIME format is incorrect.\rThe value in the entry box, "
            "should "
            "be\rset to HH:MM:SS -- Please correct.",
            platform::MsgOkOnly + platform::MsgCritical, "WRONG   TIME  STYLE");
        return false;
    }
    return true;
}

void SetFolderPaths(const std::string& programFolder) {
    AppPath =
        programFolder.empty() || programFolder.back() != '/' ? programFolder + "/" : programFolder;
    PuzzlePath = AppPath + "PUZZLE/";
    ImagePath = AppPath + "DATA/";
    SuiteRoot = DefaultSuiteRoot();
    CustomPuzzleFlag = 0;
}

bool FirstRunDone() {
    std::string value;
    ReadWriteIni(ProgramIni(), StartupSection, "FirstRunDone", value, False);
    return value == "-1";
}

int FirstRunCheck(StartupWindows& windows) {
    // Every kind is looked for before anything moves, so a missing kind leaves
    // the shipped files where they were.
    for (const auto& required : RequiredFiles) {
        const bool inProgramFolder = !Matching(AppPath, required.pattern).empty();
        if (!required.puzzleKind) {
            if (!inProgramFolder)
                return ShowMissing("MISSING IMPORTANT FILE: ");
            continue;
        }
        if (!inProgramFolder && Matching(PuzzlePath, required.pattern).empty()) {
            ShowMissing("ERROR: MISSING PUZZLE FILE(s)! ");
            WriteCurrentDate();
            return EndStatus;
        }
    }
    for (const auto& required : RequiredFiles) {
        if (!required.puzzleKind)
            continue;
        for (const auto& name : Matching(AppPath, required.pattern))
            if (auto error = MoveFile(AppPath + name, PuzzlePath + name))
                return ShowFailure(error);
    }
    std::string done = "-1";
    ReadWriteIni(ProgramIni(), StartupSection, "FirstRunDone", done, True);
    windows.ClearStatusLine();
    return 0;
}

int DefaultSpConds() {
    if (FileExists(SpecialCondPath()))
        return 0;
    if (auto error = WriteSpecialCondFile(SpecialCondPath(), DefaultSpecialCondRecords()))
        return ShowFailure(error);
    return 0;
}

void FinishPuzzleSets() {
    const PuzzleSetRecovery recovery = RecoverPuzzleSets(PuzzlePath);
    if (recovery.failures.empty())
        return;
    // Each set stays as the killed replace left it, and refused by every
    // reader, until a start can finish it; the game itself goes on.
    platform::SetPointer(platform::Pointer::Default);
    for (const PuzzleFileResult& failure : recovery.failures)
        platform::Warn(PuzzleFailureText(failure), RequiredFilesTitle);
    platform::SetPointer(platform::Pointer::Hourglass);
}

int RunStartupSequence(StartupWindows& windows) {
    platform::SetPointer(platform::Pointer::Hourglass);
    WriteStartupInfo();
    for (const std::string& folder : {PuzzlePath, ImagePath})
        if (auto error = platform::CreateFolder(folder))
            return ShowFailure(error);
    if (auto error = EnsureSuiteRoot())
        return ShowFailure(error);

    FinishPuzzleSets();
    windows.LoadMainWindow();
    if (!FirstRunDone())
        if (int status = FirstRunCheck(windows))
            return status;
    windows.InitMenus();
    WriteSuiteSettings();
    if (int status = DefaultSpConds())
        return status;
    platform::SetPointer(platform::Pointer::Default);
    return 0;
}

}  // namespace quarvelt
