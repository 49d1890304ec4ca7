#include "platform/services.h"

#include "platform/headless.h"

namespace platform {

std::vector<int> AnswersOf(int flags) {
    switch (ButtonSetOf(flags)) {
        case MsgOkCancel:
            return {AnswerOk, AnswerCancel};
        case MsgAbortRetryIgnore:
            return {AnswerAbort, AnswerRetry, AnswerIgnore};
        case MsgYesNoCancel:
            return {AnswerYes, AnswerNo, AnswerCancel};
        case MsgYesNo:
            return {AnswerYes, AnswerNo};
        case MsgRetryCancel:
            return {AnswerRetry, AnswerCancel};
        default:
            return {AnswerOk};
    }
}

int DefaultAnswerOf(int flags) {
    auto answers = AnswersOf(flags);
    size_t index = static_cast<size_t>((flags >> 8) & 0x3);
    return index < answers.size() ? answers[index] : answers.front();
}

int EscapeAnswerOf(int flags) {
    auto answers = AnswersOf(flags);
    for (int answer : answers)
        if (answer == AnswerCancel)
            return AnswerCancel;
    return answers.size() == 1 ? answers.front() : 0;
}

namespace {

Services& Installed() {
    static Services services = HeadlessServices();
    return services;
}

}  // namespace

Services& Current() {
    return Installed();
}

void Install(const Services& services) {
    Services fallback = HeadlessServices();
    Services& current = Installed();
    current.boxes = services.boxes ? services.boxes : fallback.boxes;
    current.inputs = services.inputs ? services.inputs : fallback.inputs;
    current.pointer = services.pointer ? services.pointer : fallback.pointer;
    current.events = services.events ? services.events : fallback.events;
    current.desktop = services.desktop ? services.desktop : fallback.desktop;
    current.drives = services.drives ? services.drives : fallback.drives;
    current.clock = services.clock ? services.clock : fallback.clock;
}

void InstallHeadless() {
    Installed() = HeadlessServices();
}

int MsgBox(const std::string& text, int flags, const std::string& title) {
    return Current().boxes->Show(text, flags, title);
}

void Beep() {
    Current().boxes->Beep();
}

std::string InputBox(const std::string& prompt, const std::string& title,
                     const std::string& defaultText) {
    return Current().inputs->Ask(prompt, title, defaultText);
}

void SetPointer(Pointer pointer) {
    Current().pointer->Set(pointer);
}

void DoEvents() {
    Current().events->ProcessEvents();
}

std::string DateTimeText() {
    return Current().clock->DateTimeText();
}

void Warn(const std::string& text, const std::string& title) {
    Beep();
    MsgBox(text, MsgOkOnly | MsgExclamation, title);
}

void Tell(const std::string& text, const std::string& title) {
    Beep();
    MsgBox(text, MsgOkOnly | MsgInformation, title);
}

void Alarm(const std::string& text, const std::string& title) {
    Beep();
    MsgBox(text, MsgOkOnly | MsgCritical, title);
}

}  // namespace platform
