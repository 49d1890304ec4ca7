// A 256-colour palette fitted to the pictures this painter draws: the colours
// every picture must keep exactly, then median-cut boxes over the colours of a
// sample of pictures, so that glows and edges keep their hue when reduced.
#include <QColor>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "painter.h"
#include "painter_internal.h"

namespace assets {
namespace {

struct Weighted {
    QRgb colour;
    double weight;
};

int Channel(QRgb c, int k) {
    return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c);
}

struct Box {
    std::vector<Weighted> colours;
    int longest = 0;  // channel of the widest range
    int range = 0;
    double weight = 0;

    void Measure() {
        weight = 0;
        range = -1;
        for (const Weighted& w : colours) {
            weight += w.weight;
        }
        for (int k = 0; k < 3; ++k) {
            int low = 255, high = 0;
            for (const Weighted& w : colours) {
                low = std::min(low, Channel(w.colour, k));
                high = std::max(high, Channel(w.colour, k));
            }
            if (high - low > range) {
                range = high - low;
                longest = k;
            }
        }
    }
    // Boxes spread wide and much used are split first.
    double Priority() const { return colours.size() < 2 ? -1.0 : weight * range; }

    QRgb Mean() const {
        double sum[3] = {0, 0, 0};
        for (const Weighted& w : colours) {
            for (int k = 0; k < 3; ++k) {
                sum[k] += Channel(w.colour, k) * w.weight;
            }
        }
        auto mean = [&](int k) { return static_cast<int>(std::lround(sum[k] / weight)); };
        return qRgb(mean(0), mean(1), mean(2));
    }
};

std::vector<QImage> Sample() {
    static const char* const codes[] = {
        "BLANK", "LAMP_", "DETWH", "DETRD", "DETGN", "DETBL", "DETYE", "DETCY", "DETMG",
        "LENCC", "LENCV", "FLTHC", "FLTHM", "FLTHY", "FLTVC", "FLTVM", "FLTVY", "REFHT",
        "REFLD", "SHUTT", "SHHBN", "SHHGR", "SHHOR", "PHHC_", "DIAM_", "APPLE", "FACE_",
        "HEART", "MINRL", "PUZZL", "SQRBN", "SQRGR", "SQROR", "KEYBN", "KEYGR", "KEYOR",
        "SPLTF", "SPLRR", "SPLBR", "SPLGR", "MXHCB", "MXHMB", "MXHYB", "BACC_", "BASQ_"};
    static const char colours[] = {'R', 'G', 'B', 'C', 'M', 'Y', 'W'};
    std::vector<QImage> images;
    for (const char* code : codes) {
        BoardPicture rest;
        rest.code = code;
        images.push_back(PaintBoardPicture(rest));
        images.push_back(PaintToolPicture(code, code, false));
        images.push_back(PaintToolPicture(code, code, true));
        for (int i = 0; i < 7; ++i) {
            BoardPicture step = rest;
            step.entrySide = 'L';
            step.inSize = "SML"[i % 3];
            step.inColour = colours[i];
            step.out1 = {step.inSize, colours[i], 'R'};
            step.frame = 1 + i % 3;
            step.frames = 3;
            images.push_back(PaintBoardPicture(step));
        }
    }
    for (int state = 0; state <= 5; ++state) {
        BoardPicture lamp;
        lamp.code = "LAMP_";
        lamp.emission = true;
        lamp.state = state;
        lamp.out1 = {'M', 'W', 'R'};
        images.push_back(PaintBoardPicture(lamp));
        BoardPicture shutter;
        shutter.code = "SHVOR";
        shutter.state = state % 5;
        images.push_back(PaintBoardPicture(shutter));
    }
    for (const char* code : {"DETWH", "DETRD", "DETGN", "DETBL", "DETYE", "DETCY", "DETMG"}) {
        BoardPicture lit;
        lit.code = code;
        lit.state = 1;
        images.push_back(PaintBoardPicture(lit));
    }
    return images;
}

std::vector<QRgb> Build() {
    using detail::Mix;
    using detail::PhotonColour;
    // Colours that must come back exactly: the ground, the photons, their cores.
    std::vector<QRgb> palette{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(12, 16, 32),
                              qRgb(36, 46, 78), qRgb(4, 6, 14)};
    for (char c : {'R', 'G', 'B', 'C', 'M', 'Y'}) {
        palette.push_back(PhotonColour(c).rgb());
        palette.push_back(Mix(PhotonColour(c), Qt::white, 0.55).rgb());
    }
    std::map<QRgb, double> counts;
    for (const QImage& image : Sample()) {
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                counts[line[x] | 0xFF000000u] += 1.0;
            }
        }
    }
    Box all;
    for (const auto& [colour, count] : counts) {
        if (std::find(palette.begin(), palette.end(), colour) == palette.end()) {
            // Rare colours (highlights, thin edges) matter more than their pixel count.
            all.colours.push_back({colour, std::sqrt(count)});
        }
    }
    all.Measure();
    std::vector<Box> boxes{all};
    const size_t wanted = 256 - palette.size();
    while (boxes.size() < wanted) {
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return a.Priority() < b.Priority();
        });
        if (widest->Priority() <= 0) {
            break;
        }
        Box box = std::move(*widest);
        const int k = box.longest;
        std::sort(box.colours.begin(), box.colours.end(),
                  [k](const Weighted& a, const Weighted& b) {
                      const int ca = Channel(a.colour, k), cb = Channel(b.colour, k);
                      return ca != cb ? ca < cb : a.colour < b.colour;
                  });
        double half = 0;
        size_t cut = 0;
        while (cut + 1 < box.colours.size() && half + box.colours[cut].weight < box.weight / 2) {
            half += box.colours[cut].weight;
            ++cut;
        }
        cut = std::clamp<size_t>(cut, 1, box.colours.size() - 1);
        Box upper;
        upper.colours.assign(box.colours.begin() + static_cast<std::ptrdiff_t>(cut),
                             box.colours.end());
        box.colours.resize(cut);
        box.Measure();
        upper.Measure();
        *widest = std::move(box);
        boxes.push_back(std::move(upper));
    }
    for (const Box& box : boxes) {
        if (!box.colours.empty()) {
            palette.push_back(box.Mean());
        }
    }
    palette.resize(256, qRgb(0, 0, 0));
    return palette;
}

}  // namespace

const std::vector<QRgb>& PicturePalette() {
    static const std::vector<QRgb> palette = Build();
    return palette;
}

}  // namespace assets
