// The file-event hook in tests: watching a set's replace step by step, and
// a hook that holds only for as long as a test needs it.
#pragma once

#include <cerrno>
#include <functional>
#include <string>
#include <utility>

#include "platform/files.h"

namespace testsupport {

// The steps of a set's replace: 0 before its marker is written, 1 to 7 before
// each rename of a file of the set, 8 before the marker is removed.
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
