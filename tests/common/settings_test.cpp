#include "common/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/library.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

class Settings : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;

    void SetUp() override {
        ResetGlobals();
        AppPath = dir.Path() + "game/";
        PuzzlePath = AppPath + "PUZZLE/";
        SuiteRoot = dir.Path() + "config/BRISKA/";
        CurrentDate = "12/07/2026";
    }
    void TearDown() override { ResetGlobals(); }

    std::string Read(const std::string& file, const std::string& section, const std::string& key) {
        std::string value;
        ReadWriteIni(file, section, key, value, False);
        return value;
    }
};

TEST_F(Settings, ProgramIniGetsReleaseThenVersionAndLaterTheDate) {
    ASSERT_FALSE(platform::CreateFolder(AppPath));
    WriteStartupInfo();
    EXPECT_EQ(dir.Read("game/QUARVELT.INI"),
              "[STARTUPINFO]\nReleaseDate=25 July 2019\nProgramVersion=2.00.01.2019\n");
    WriteCurrentDate();
    EXPECT_EQ(Read(ProgramIni(), "STARTUPINFO", "CurrentDate"), "12/07/2026");

    // Losing the file is harmless: the next start writes it again.
    std::remove(ProgramIni().c_str());
    WriteStartupInfo();
    EXPECT_EQ(Read(ProgramIni(), "STARTUPINFO", "ProgramVersion"), "2.00.01.2019");
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(Settings, FirstStartCreatesTheSuiteFolderAndItsThreeKeys) {
    ASSERT_FALSE(FolderExists(SuiteRoot));
    ASSERT_FALSE(EnsureSuiteRoot());
    EXPECT_TRUE(FolderExists(SuiteRoot));
    WriteSuiteSettings();
    EXPECT_EQ(dir.Read("config/BRISKA/VESTRAL.INI"), "[QUARVELT2]\nQuarvelt_Directory=" + AppPath +
                                                         "\nPuzzlePath=" + PuzzlePath +
                                                         "\n[APP_TYPE]\nCurrentApp=QUARVELT\n");
}

TEST_F(Settings, SuiteFoldersOfAnEarlierInstallationStay) {
    dir.Write(
        "config/BRISKA/VESTRAL.INI",
        "[QUARVELT2]\nQuarvelt_Directory=/opt/old/\nPuzzlePath=\n[APP_TYPE]\nCurrentApp=OTHER\n");
    WriteSuiteSettings();
    EXPECT_EQ(Read(SuiteIni(), "QUARVELT2", "Quarvelt_Directory"), "/opt/old/");
    EXPECT_EQ(Read(SuiteIni(), "QUARVELT2", "PuzzlePath"),
              PuzzlePath);  // present but empty counts as empty
    EXPECT_EQ(Read(SuiteIni(), "APP_TYPE", "CurrentApp"), "QUARVELT");
}

TEST_F(Settings, SuiteRootLivesInTheUserConfigurationFolder) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", (dir.Path() + "xdg").c_str(), 1);
    EXPECT_EQ(DefaultSuiteRoot(), dir.Path() + "xdg/BRISKA/");
    ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(DefaultSuiteRoot(), std::string(home) + "/.config/BRISKA/");
    }
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}
