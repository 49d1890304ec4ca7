// Services for a process without a window (the data generators and trace
// tools): boxes go to standard error and take their default answer.
#pragma once

#include "platform/services.h"

namespace platform {

// The headless services; they live for the whole process.
Services HeadlessServices();

// Boxes for programs that must stay silent (benchmarks, fuzz targets): every
// box takes its default answer and is only counted.
class SilentBoxes : public MessageBoxes {
  public:
    int Show(const std::string&, int flags, const std::string&) override {
        ++shown;
        return DefaultAnswerOf(flags);
    }
    void Beep() override {}
    int shown = 0;
};

}  // namespace platform
