// A test that starts from a fresh program: the scripted platform installed,
// the program folder a temporary one with its DATA/ image folder, and the
// index read anew.
#pragma once

#include <gtest/gtest.h>

#include "common/globals.h"
#include "common/image_index.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace testsupport {

class GameFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        quarvelt::ResetGlobals();
        quarvelt::ImageIndex::Forget();
        quarvelt::AppPath = folder.Path();
        quarvelt::ImagePath = quarvelt::AppPath + "DATA/";
        ASSERT_FALSE(platform::CreateFolder(quarvelt::ImagePath));
    }
    void TearDown() override {
        quarvelt::ResetGlobals();
        quarvelt::ImageIndex::Forget();
    }

    ScriptedPlatform platform;
    TempFolder folder;
};

}  // namespace testsupport
