#include "bmp.h"

#include <array>
#include <cstdint>
#include <vector>

#include "painter.h"

namespace assets {
namespace {

struct Rgb {
    int r, g, b;
};

// The painter's palette, fitted to the pictures it draws.
const std::array<Rgb, 256>& Palette() {
    static const std::array<Rgb, 256> palette = [] {
        std::array<Rgb, 256> p{};
        const auto& colours = PicturePalette();
        for (size_t i = 0; i < p.size() && i < colours.size(); ++i)
            p[i] = {qRed(colours[i]), qGreen(colours[i]), qBlue(colours[i])};
        return p;
    }();
    return palette;
}

// The nearest palette entry of every colour at 5 bits a channel.
const std::vector<uint8_t>& NearestTable() {
    static const std::vector<uint8_t> table = [] {
        std::vector<uint8_t> t(32768);
        const auto& palette = Palette();
        for (int key = 0; key < 32768; ++key) {
            const int r = ((key >> 10) & 31) * 255 / 31;
            const int g = ((key >> 5) & 31) * 255 / 31;
            const int b = (key & 31) * 255 / 31;
            int best = 0;
            long bestDistance = -1;
            for (int i = 0; i < 256; ++i) {
                const long dr = r - palette[i].r, dg = g - palette[i].g, db = b - palette[i].b;
                // Weighted toward green as the eye is.
                const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (bestDistance < 0 || distance < bestDistance) {
                    bestDistance = distance;
                    best = i;
                }
            }
            t[key] = static_cast<uint8_t>(best);
        }
        return t;
    }();
    return table;
}

void Put16(std::string& out, size_t at, uint16_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeIndexedBmp(const QImage& source) {
    // Transparent parts show the black behind them.
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = image.width(), height = image.height();
    const int stride = (width + 3) / 4 * 4;
    const uint32_t pixelOffset = 14 + 40 + 256 * 4;
    const uint32_t pixelBytes = static_cast<uint32_t>(stride * height);
    std::string out(pixelOffset + pixelBytes, '\0');
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, pixelOffset + pixelBytes);
    Put32(out, 10, pixelOffset);
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<uint32_t>(width));
    Put32(out, 22, static_cast<uint32_t>(height));  // bottom-up rows
    Put16(out, 26, 1);
    Put16(out, 28, 8);
    Put32(out, 30, 0);  // no compression
    Put32(out, 34, pixelBytes);
    Put32(out, 38, 3780);  // 96 dpi
    Put32(out, 42, 3780);
    Put32(out, 46, 256);
    Put32(out, 50, 0);
    const auto& palette = Palette();
    for (int i = 0; i < 256; ++i) {
        const size_t at = 54 + static_cast<size_t>(i) * 4;
        out[at] = static_cast<char>(palette[i].b);
        out[at + 1] = static_cast<char>(palette[i].g);
        out[at + 2] = static_cast<char>(palette[i].r);
    }
    const auto& nearest = NearestTable();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        char* row = out.data() + pixelOffset + static_cast<size_t>((height - 1 - y) * stride);
        for (int x = 0; x < width; ++x) {
            const QRgb c = line[x];
            const int key = ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3);
            row[x] = static_cast<char>(nearest[static_cast<size_t>(key)]);
        }
    }
    return out;
}

}  // namespace assets
