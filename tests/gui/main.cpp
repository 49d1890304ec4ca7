// The Qt tests run offscreen, also when the build lists them without the test
// environment, on one screen of 1280 by 1024: a common laptop's, on which the
// widest shipped boards no longer fit beside the tool box.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::filesystem::path screens;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        std::error_code error;
        screens = std::filesystem::temp_directory_path(error) /
                  ("quarvelt-gui-screen-" + std::to_string(getpid()) + ".json");
        std::ofstream(screens)
            << R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1280, )"
               R"("height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QByteArray(screens.c_str()));
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    if (!screens.empty()) {
        std::error_code error;
        std::filesystem::remove(screens, error);
    }
    return RUN_ALL_TESTS();
}
