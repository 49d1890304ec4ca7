// A caption shown in a window, such as the main window's game-point tally.
#pragma once

#include <string>

namespace platform {

class Label {
public:
    virtual ~Label() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() const = 0;
};

}  // namespace platform
