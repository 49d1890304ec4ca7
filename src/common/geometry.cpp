#include "common/geometry.h"

#include <cstdio>
#include <limits>

namespace quarvelt {

namespace {
constexpr int16_t MinBoardWidth = 10;
}

int16_t GetCellIndex(int16_t column, int16_t row, int16_t width) {
    if (width < MinBoardWidth) {
        return -1;
    }
    // Any two 16-bit values multiply and add within int, so only the narrowing can fail.
    const int index = column + row * width;
    if (index < std::numeric_limits<int16_t>::min() ||
        index > std::numeric_limits<int16_t>::max()) {
        return -1;
    }
    return static_cast<int16_t>(index);
}

std::string FormatCellPos(int16_t index, int16_t width) {
    if (index <= 0 || width < MinBoardWidth) {
        return "000000";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%03d%03d", index / width, index % width);
    return text;
}

}  // namespace quarvelt
