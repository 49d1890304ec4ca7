// The operating-system services the game calls: message and input boxes, the
// mouse pointer, the event loop and its clock, the desktop and the drives.
// Core code reaches them through Current(); the Qt backend, the headless
// backend and the test double implement them.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Message-box flags: button set, icon and default button, added together.
enum : int {
    MsgOkOnly = 0,
    MsgOkCancel = 1,
    MsgAbortRetryIgnore = 2,
    MsgYesNoCancel = 3,
    MsgYesNo = 4,
    MsgRetryCancel = 5,
    MsgCritical = 16,
    MsgQuestion = 32,
    MsgExclamation = 48,
    MsgInformation = 64,
    MsgDefaultButton1 = 0,
    MsgDefaultButton2 = 256,
    MsgDefaultButton3 = 512,
};

// Message-box answers.
enum : int {
    AnswerOk = 1,
    AnswerCancel = 2,
    AnswerAbort = 3,
    AnswerRetry = 4,
    AnswerIgnore = 5,
    AnswerYes = 6,
    AnswerNo = 7,
};

inline int ButtonSetOf(int flags) {
    return flags & 0x7;
}
inline int IconOf(int flags) {
    return flags & 0x70;
}
// The answers of a box's buttons, left to right.
std::vector<int> AnswersOf(int flags);
// The answer of the default button (the first button when the flag names none).
int DefaultAnswerOf(int flags);
// The answer of closing the box without a button: Cancel where there is one, else OK for a
// lone OK button; 0 when the box cannot be dismissed that way.
int EscapeAnswerOf(int flags);

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // `text` and `title` are single-byte texts; lines are separated by CR (character 13).
    virtual int Show(const std::string& text, int flags, const std::string& title) = 0;
    virtual void Beep() = 0;
};

class InputBoxes {
  public:
    virtual ~InputBoxes() = default;
    // The text entered, or an empty text when the player cancels.
    virtual std::string Ask(const std::string& prompt, const std::string& title,
                            const std::string& defaultText) = 0;
};

enum class Pointer { Default, Hourglass };

class MousePointer {
  public:
    virtual ~MousePointer() = default;
    virtual void Set(Pointer pointer) = 0;
};

class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Lets pending events run (the runtime's yield).
    virtual void ProcessEvents() = 0;
    // Runs the event loop for `maxMilliseconds`, handling what arrives, without spinning.
    virtual void WaitForEvents(int maxMilliseconds) = 0;
    // A monotonic clock in seconds.
    virtual double Seconds() = 0;
};

struct WorkArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class Desktop {
  public:
    virtual ~Desktop() = default;
    // The screen area not taken by panels, in pixels.
    virtual WorkArea GetWorkArea() = 0;
    // Starts a system-information program; false when none could be started.
    virtual bool StartSystemInfo() = 0;
};

// Drive kinds, numbered as the game stores them.
enum class DriveKind : int {
    Unknown = 0,
    Removable = 1,
    Fixed = 2,
    Network = 3,
    CdRom = 4,
    RamDisk = 5,
};

struct Drive {
    char letter = 'C';  // upper-case drive letter
    DriveKind kind = DriveKind::Unknown;
    std::string rootPath;  // the folder the drive's files live under, with a trailing '/'
};

class Drives {
  public:
    virtual ~Drives() = default;
    // Fills `drives` in letter order; false when the list cannot be had.
    virtual bool List(std::vector<Drive>& drives) = 0;
    // The game asks the player to put a drive in at `letter` (0: no longer): a
    // drive put in meanwhile takes that letter while it is free.
    virtual void Await(char /*letter*/) {}
};

class Clock {
  public:
    virtual ~Clock() = default;
    // The present local date and time as the game shows it: "MM/DD/YYYY HH:MM:SS".
    virtual std::string DateTimeText() = 0;
};

struct Services {
    MessageBoxes* boxes = nullptr;
    InputBoxes* inputs = nullptr;
    MousePointer* pointer = nullptr;
    EventLoop* events = nullptr;
    Desktop* desktop = nullptr;
    Drives* drives = nullptr;
    Clock* clock = nullptr;
};

// The services in use. Until something is installed they are the headless ones.
Services& Current();
// Installs `services`; a null member keeps the headless service for it.
void Install(const Services& services);
// Back to the headless services.
void InstallHeadless();

// Short forms for core code.
int MsgBox(const std::string& text, int flags, const std::string& title);
void Beep();
// A beep, then a box with one OK button: an exclamation icon for a warning or
// refusal, an information icon for a result, a critical icon for an error
// that stops what was being done.
void Warn(const std::string& text, const std::string& title);
void Tell(const std::string& text, const std::string& title);
void Alarm(const std::string& text, const std::string& title);
std::string InputBox(const std::string& prompt, const std::string& title,
                     const std::string& defaultText = {});
void SetPointer(Pointer pointer);
void DoEvents();
std::string DateTimeText();

// Shows the hourglass for the life of the scope, then the default pointer.
class HourglassScope {
  public:
    HourglassScope() { SetPointer(Pointer::Hourglass); }
    ~HourglassScope() { SetPointer(Pointer::Default); }
    HourglassScope(const HourglassScope&) = delete;
    HourglassScope& operator=(const HourglassScope&) = delete;
};

}  // namespace platform
