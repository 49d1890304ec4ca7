// A scripted stand-in for the platform services. It records every message box
// and plays the answers a test queued; a box nobody expected fails the test,
// and so does an expected box that never came. Its clock only moves when the
// code under test yields or waits.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace testsupport {

struct BoxCall {
    std::string text;
    int flags = 0;
    std::string title;
};

class ScriptedPlatform : public platform::MessageBoxes,
                         public platform::InputBoxes,
                         public platform::MousePointer,
                         public platform::EventLoop,
                         public platform::Desktop,
                         public platform::Drives,
                         public platform::Clock {
  public:
    // Installs itself as the current services; the destructor puts the headless ones back.
    ScriptedPlatform();
    ~ScriptedPlatform() override;
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    // The next box is expected, answered with `answer`; with a title, the title must match.
    void ExpectBox(int answer = platform::AnswerOk);
    void ExpectBox(const std::string& title, int answer = platform::AnswerOk);
    void ExpectInput(const std::string& answer);

    const std::vector<BoxCall>& Boxes() const { return boxes_; }
    int Beeps() const { return beeps_; }
    const std::vector<std::string>& Prompts() const { return prompts_; }
    const std::vector<platform::Pointer>& PointerLog() const { return pointerLog_; }
    int Yields() const { return yields_; }
    int Waits() const { return waits_; }

    // Runs at every yield, as events would arrive while the code under test waits.
    std::function<void()> onYield;

    // Clock control: each yield advances the clock by `yieldStep` seconds.
    void SetClock(double seconds) { clock_ = seconds; }
    void SetYieldStep(double seconds) { yieldStep_ = seconds; }

    // Drive list control.
    std::vector<platform::Drive> drives;
    bool drivesFail = false;
    // The letters the code under test awaited a drive for, in order (0: none).
    std::vector<char> awaited;
    void Await(char letter) override { awaited.push_back(letter); }
    platform::WorkArea workArea{0, 0, 1280, 800};
    bool systemInfoStarts = false;
    int systemInfoStarted = 0;

    int Show(const std::string& text, int flags, const std::string& title) override;
    void Beep() override { ++beeps_; }
    std::string Ask(const std::string& prompt, const std::string& title,
                    const std::string& defaultText) override;
    void Set(platform::Pointer pointer) override { pointerLog_.push_back(pointer); }
    void ProcessEvents() override;
    void WaitForEvents(int maxMilliseconds) override;
    double Seconds() override { return clock_; }
    platform::WorkArea GetWorkArea() override { return workArea; }
    bool StartSystemInfo() override;
    bool List(std::vector<platform::Drive>& list) override;
    std::string DateTimeText() override { return dateTimeText; }

    // The clock's date-time text.
    std::string dateTimeText = "12/07/2026 09:30:00";

  private:
    struct Expected {
        int answer;
        std::optional<std::string> title;
    };
    std::deque<Expected> expected_;
    std::deque<std::string> inputs_;
    std::vector<BoxCall> boxes_;
    std::vector<std::string> prompts_;
    std::vector<platform::Pointer> pointerLog_;
    int beeps_ = 0;
    int yields_ = 0;
    int waits_ = 0;
    double clock_ = 1000.0;
    double yieldStep_ = 0.001;
};

// Shows CR line breaks as "|" so box texts read well in test failures.
std::string Readable(const std::string& text);

}  // namespace testsupport
