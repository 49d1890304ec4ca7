#include <gtest/gtest.h>

#include <QCursor>
#include <QInputDialog>
#include <QLineEdit>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

#include "modal.h"
#include "platform/drives_linux.h"
#include "platform/qt/qt_services.h"
#include "support/temp_folder.h"

namespace {

using namespace platform;
using guitest::Utf8;
using guitest::WhenModalShown;

TEST(InputBox, ReturnsTheTextTyped) {
    bool seen = false;
    WhenModalShown<QInputDialog>([&seen](QInputDialog* dialog) {
        seen = true;
        EXPECT_EQ(Utf8(dialog->windowTitle()), "Save \u201CPuzzle\u201D");
        EXPECT_EQ(Utf8(dialog->labelText()), "Name of the puzzle:\n(eight letters at most)");
        EXPECT_EQ(Utf8(dialog->textValue()), "CAF\u00C9");
        auto* edit = dialog->findChild<QLineEdit*>();
        if (edit)
            edit->setText(QString::fromUtf8("Caf\u00E9 \u20AC5 \u4E2D"));
        dialog->accept();
    });
    qt::QtInputBoxes inputs;
    std::string text = inputs.Ask("Name of the puzzle:\r\n(eight letters at most)",
                                  "Save \x93Puzzle\x94", "CAF\xC9");
    EXPECT_TRUE(seen);
    EXPECT_EQ(text,
              "Caf\xE9 \x80"
              "5 ?");
}

TEST(InputBox, CancelGivesAnEmptyText) {
    WhenModalShown<QInputDialog>([](QInputDialog* dialog) {
        dialog->setTextValue(QStringLiteral("typed"));
        dialog->reject();
    });
    qt::QtInputBoxes inputs;
    EXPECT_EQ(inputs.Ask("Name:", "Save", "DEFAULT"), "");
}

Qt::CursorShape OverrideShape() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::BitmapCursor;
}

TEST(MousePointer, HourglassUntilOneDefault) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    qt::QtMousePointer pointer;

    pointer.Set(Pointer::Hourglass);
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    pointer.Set(Pointer::Hourglass);
    pointer.Set(Pointer::Default);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Default without an hourglass leaves another override alone.
    QApplication::setOverrideCursor(Qt::CrossCursor);
    pointer.Set(Pointer::Default);
    EXPECT_EQ(OverrideShape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(EventLoop, WaitSleepsForTheTimeAskedAndRunsEvents) {
    qt::QtEventLoop events;
    bool ran = false;
    QTimer::singleShot(20, [&ran] { ran = true; });

    const double secondsBefore = events.Seconds();
    const std::clock_t cpuBefore = std::clock();
    const auto before = std::chrono::steady_clock::now();
    events.WaitForEvents(400);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    const double cpu = static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    const double measured = events.Seconds() - secondsBefore;

    EXPECT_TRUE(ran);
    EXPECT_GE(wall, 0.38);
    EXPECT_LT(wall, 5.0);
    // A busy wait would use about as much CPU as wall time.
    EXPECT_LT(cpu, wall / 2);
    EXPECT_GE(measured, 0.38);
    EXPECT_LE(measured, wall + 0.01);
}

TEST(EventLoop, ZeroWaitAndYieldRunPendingEvents) {
    qt::QtEventLoop events;
    int ran = 0;
    QMetaObject::invokeMethod(
        qApp, [&ran] { ++ran; }, Qt::QueuedConnection);
    const auto before = std::chrono::steady_clock::now();
    events.WaitForEvents(0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_EQ(ran, 1);

    QMetaObject::invokeMethod(
        qApp, [&ran] { ++ran; }, Qt::QueuedConnection);
    events.ProcessEvents();
    EXPECT_EQ(ran, 2);
}

// Puts a folder of fake programs first and alone on the search path.
class SystemInfo : public ::testing::Test {
  protected:
    void SetUp() override { savedPath_ = qgetenv("PATH"); }
    void TearDown() override { qputenv("PATH", savedPath_); }

    void AddProgram(const std::string& name) {
        std::string path = folder_.Write(
            "bin/" + name, "#!/bin/sh\necho started > '" + folder_.Path() + name + ".ran'\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    void UseFakePrograms() {
        std::filesystem::create_directories(folder_.Path() + "bin");
        qputenv("PATH", QByteArray::fromStdString(folder_.Path() + "bin"));
    }
    bool Ran(const std::string& name) {
        return std::filesystem::exists(folder_.Path() + name + ".ran");
    }
    bool RanWithin(const std::string& name, std::chrono::seconds limit) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (!Ran(name) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return Ran(name);
    }

    testsupport::TempFolder folder_;
    QByteArray savedPath_;
};

TEST_F(SystemInfo, StartsTheFirstProgramFound) {
    AddProgram("lxtask");
    AddProgram("hardinfo");
    UseFakePrograms();
    qt::QtDesktop desktop;
    EXPECT_TRUE(desktop.StartSystemInfo());
    EXPECT_TRUE(RanWithin("hardinfo", std::chrono::seconds(10)));
    EXPECT_FALSE(Ran("lxtask"));
}

TEST_F(SystemInfo, FalseWhenNoneIsInstalled) {
    UseFakePrograms();
    qt::QtDesktop desktop;
    EXPECT_FALSE(desktop.StartSystemInfo());
}

TEST(QtServices, InstallKeepsTheHeadlessDrives) {
    qt::InstallQtServices();
    EXPECT_NE(dynamic_cast<qt::QtMessageBoxes*>(Current().boxes), nullptr);
    EXPECT_NE(dynamic_cast<qt::QtEventLoop*>(Current().events), nullptr);
    EXPECT_NE(dynamic_cast<LinuxDrives*>(Current().drives), nullptr);
    WorkArea area = Current().desktop->GetWorkArea();
    EXPECT_GT(area.width, 0);
    EXPECT_GT(area.height, 0);
    InstallHeadless();
}

}  // namespace
