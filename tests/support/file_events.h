// The file-event hook in tests: watching a set's replace step by step, and
// a hook that holds only for as long as a test needs it.
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <functional>
#include <string>
#include <utility>

#include "platform/files.h"

namespace testsupport {

// The steps of a set's replace: 0 before its marker is written, 1 to 7 before
// each rename of a file of the set (and one more for each file rewritten
// after its rename, its temporary swapped), 8 before the marker is removed.
inline constexpr int ReplaceSteps = 9;

// A hook that runs `action` at each step of a replace; the operation then
// fails with the errno `action` answers, or goes on when it answers 0.
inline std::function<int(const platform::FileEvent&)> AtReplaceSteps(
    std::function<int(int step)> action) {
    return [action = std::move(action), renames = 0](const platform::FileEvent& event) mutable {
        const std::string& name = event.name;
        const bool marker = name.size() > 4 && name.front() == '.' &&
                            (name.compare(name.size() - 4, 4, ".SET") == 0 ||
                             name.find(".SET.") != std::string::npos);
        if (event.kind == platform::FileEventKind::Create && marker)
            return action(0);
        if (event.kind == platform::FileEventKind::Rename && !marker && name.front() != '.')
            return action(++renames);
        if (event.kind == platform::FileEventKind::Remove && marker)
            return action(ReplaceSteps - 1);
        return 0;
    };
}

// Write-protects the file `path` at the fourth rename of a replace, and that
// rename is refused as the system would refuse it.
inline std::function<int(const platform::FileEvent&)> ProtectAtFourthRename(std::string path) {
    return AtReplaceSteps([path = std::move(path)](int step) {
        if (step != 4)
            return 0;
        ::chmod(path.c_str(), 0444);
        return EACCES;
    });
}

// Another copy of the game at work: `act` runs before the `nth` opening for
// reading of `name` (every one when `nth` is 0), with the hook set aside meanwhile.
inline std::function<int(const platform::FileEvent&)> AtOpenRead(std::string name, int nth,
                                                                 std::function<void()> act) {
    return [=, seen = 0, busy = false](const platform::FileEvent& event) mutable {
        if (!busy && event.kind == platform::FileEventKind::OpenRead && event.name == name &&
            (++seen == nth || nth == 0)) {
            busy = true;
            act();
            busy = false;
        }
        return 0;
    };
}

// Sets the hook for as long as it lives.
class FileEventHookScope {
  public:
    explicit FileEventHookScope(std::function<int(const platform::FileEvent&)> hook) {
        platform::SetFileEventHook(std::move(hook));
    }
    ~FileEventHookScope() { platform::SetFileEventHook({}); }
    FileEventHookScope(const FileEventHookScope&) = delete;
    FileEventHookScope& operator=(const FileEventHookScope&) = delete;
};

}  // namespace testsupport
