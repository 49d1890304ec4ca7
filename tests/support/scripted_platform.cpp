#include "support/scripted_platform.h"

#include <gtest/gtest.h>

namespace testsupport {

ScriptedPlatform::ScriptedPlatform() {
    platform::Install({this, this, this, this, this, this, this});
}

ScriptedPlatform::~ScriptedPlatform() {
    for (const auto& box : expected_)
        ADD_FAILURE() << "an expected message box never came"
                      << (box.title ? " (title \"" + *box.title + "\")" : std::string());
    for (const auto& input : inputs_)
        ADD_FAILURE() << "an expected input box never came (answer \"" << input << "\")";
    platform::InstallHeadless();
}

void ScriptedPlatform::ExpectBox(int answer) {
    expected_.push_back({answer, std::nullopt});
}

void ScriptedPlatform::ExpectBox(const std::string& title, int answer) {
    expected_.push_back({answer, title});
}

void ScriptedPlatform::ExpectInput(const std::string& answer) {
    inputs_.push_back(answer);
}

int ScriptedPlatform::Show(const std::string& text, int flags, const std::string& title) {
    boxes_.push_back({text, flags, title});
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected message box [" << title << "] " << Readable(text);
        return platform::DefaultAnswerOf(flags);
    }
    Expected next = expected_.front();
    expected_.pop_front();
    if (next.title) {
        EXPECT_EQ(*next.title, title) << "box text: " << Readable(text);
    }
    return next.answer;
}

std::string ScriptedPlatform::Ask(const std::string& prompt, const std::string& title,
                                  const std::string&) {
    prompts_.push_back(prompt);
    if (inputs_.empty()) {
        ADD_FAILURE() << "unexpected input box [" << title << "] " << Readable(prompt);
        return {};
    }
    std::string answer = inputs_.front();
    inputs_.pop_front();
    return answer;
}

void ScriptedPlatform::ProcessEvents() {
    ++yields_;
    clock_ += yieldStep_;
    if (onYield)
        onYield();
}

void ScriptedPlatform::WaitForEvents(int maxMilliseconds) {
    ++waits_;
    clock_ += maxMilliseconds / 1000.0;
}

bool ScriptedPlatform::StartSystemInfo() {
    ++systemInfoStarted;
    return systemInfoStarts;
}

bool ScriptedPlatform::List(std::vector<platform::Drive>& list) {
    if (drivesFail)
        return false;
    list = drives;
    return true;
}

std::string Readable(const std::string& text) {
    std::string out;
    for (char c : text)
        out += (c == '\r') ? '|' : c;
    return out;
}

}  // namespace testsupport
