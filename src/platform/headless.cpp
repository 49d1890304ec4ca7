#include "platform/headless.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <thread>

#include "platform/drives_linux.h"

namespace platform {
namespace {

std::string ToConsole(const std::string& text) {
    std::string out;
    for (char c : text)
        out += (c == '\r') ? '\n' : c;
    return out;
}

class ConsoleBoxes : public MessageBoxes {
  public:
    int Show(const std::string& text, int flags, const std::string& title) override {
        std::fprintf(stderr, "[%s] %s\n", ToConsole(title).c_str(), ToConsole(text).c_str());
        return DefaultAnswerOf(flags);
    }
    void Beep() override {}
};

class ConsoleInputs : public InputBoxes {
  public:
    std::string Ask(const std::string&, const std::string&,
                    const std::string& defaultText) override {
        return defaultText;
    }
};

class NoPointer : public MousePointer {
  public:
    void Set(Pointer) override {}
};

class SleepingLoop : public EventLoop {
  public:
    void ProcessEvents() override {}
    void WaitForEvents(int maxMilliseconds) override {
        if (maxMilliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(maxMilliseconds));
    }
    double Seconds() override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    }
};

class FixedDesktop : public Desktop {
  public:
    WorkArea GetWorkArea() override { return {0, 0, 1024, 768}; }
    bool StartSystemInfo() override { return false; }
};

class LocalClock : public Clock {
public:
    std::string DateTimeText() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        char text[32] = "";
        if (::localtime_r(&now, &local))
            std::strftime(text, sizeof text, "%m/%d/%Y %H:%M:%S", &local);
        return text;
    }
};

}  // namespace

Services HeadlessServices() {
    static ConsoleBoxes boxes;
    static ConsoleInputs inputs;
    static NoPointer pointer;
    static SleepingLoop events;
    static FixedDesktop desktop;
    static LinuxDrives drives;
    static LocalClock clock;
    return {&boxes, &inputs, &pointer, &events, &desktop, &drives, &clock};
}

}  // namespace platform
