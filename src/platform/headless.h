// Services for a process without a window (the data generators and trace
// tools): boxes go to standard error and take their default answer.
#pragma once

#include "platform/services.h"

namespace platform {

// The headless services; they live for the whole process.
Services HeadlessServices();

}  // namespace platform
