// Contact sheet of the picture painter: every object at rest, a choice of
// photon steps frame by frame, and every tool picture raised and pressed.
//   quarvelt_preview <sheet.png> [--scale N] [--reduced] [--bench]
// --reduced shows the sheet as the shipped 8-bit pictures look, reduced to
// the painter's palette.
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "painter.h"
#include "painter_internal.h"

namespace {

using assets::BoardPicture;
using assets::PhotonLook;

const std::vector<std::string>& BoardCodes() {
    static const std::vector<std::string> codes{
        "BLANK", "LAMP_", "DETWH", "DETRD", "DETGN", "DETBL", "DETYE", "DETCY", "DETMG", "LENCC",
        "LENCV", "FLTHC", "FLTHM", "FLTHY", "FLTVC", "FLTVM", "FLTVY", "REFHT", "REFHB", "REFVR",
        "REFVL", "REFLD", "REFLU", "REFRD", "REFRU", "SHUTT", "SHHBN", "SHHGR", "SHHOR", "SHVBN",
        "SHVGR", "SHVOR", "PHHB_", "PHHC_", "PHHT_", "PHVC_", "PHVL_", "PHVR_", "DIAM_", "APPLE",
        "FACE_", "HEART", "MINRL", "PUZZL", "SQRBN", "SQRGR", "SQROR", "KEYBN", "KEYGR", "KEYOR",
        "SPLTF", "SPLTL", "SPLTB", "SPLTR", "SPLRR", "SPLRL", "SPLBR", "SPLBL", "SPLGR", "SPLGL",
        "MXHCB", "MXHCT", "MXVCL", "MXVCR", "MXHMB", "MXHMT", "MXVML", "MXVMR", "MXHYB", "MXHYT",
        "MXVYL", "MXVYR", "BACBL", "BACBR", "BACC_", "BACCD", "BACCL", "BACCR", "BACCU", "BACLD",
        "BACLL", "BACLR", "BACLU", "BACRD", "BACRU", "BACTL", "BACTR", "BACUL", "BACUR", "BAHC_",
        "BALB_", "BALHC", "BALRB", "BALRT", "BALT_", "BALTB", "BABSL", "BABSR", "BATSL", "BATSR",
        "BALST", "BALSB", "BARST", "BARSB", "BASLT", "BASRT", "BASLB", "BASRB", "BAVBC", "BAVC_",
        "BAVTC", "BARHC", "BARB_", "BART_", "BARTB", "BAL__", "BALR_", "BAR__", "BASQ_", "BAT__",
        "BATB_", "BAB__"};
    return codes;
}

struct Tool {
    std::string tool;
    std::string board;
};

std::vector<Tool> Tools() {
    std::vector<Tool> tools;
    for (const std::string& code : BoardCodes()) {
        if (code.rfind("BA", 0) == 0) {
            tools.push_back({code, code});
        }
    }
    for (const char* code :
         {"PHHB_", "PHHC_", "PHHT_", "PHVC_", "PHVL_", "PHVR_", "REFHT", "REFHB",
          "REFVL", "REFVR", "REFLU", "REFLD", "REFRU", "REFRD", "FLTHC", "FLTHM",
          "FLTHY", "FLTVC", "FLTVM", "FLTVY", "MXHCB", "MXHCT", "MXVCL", "MXVCR",
          "MXHMB", "MXHMT", "MXVML", "MXVMR", "MXHYB", "MXHYT", "MXVYL", "MXVYR"}) {
        tools.push_back({code, code});
    }
    const std::vector<Tool> rest{
        {"APPLE", "APPLE"}, {"DIAY_", "DIAM_"}, {"FACY_", "FACE_"}, {"HRTRD", "HEART"},
        {"KEYBN", "KEYBN"}, {"KEYGR", "KEYGR"}, {"KEYOR", "KEYOR"}, {"MINER", "MINRL"},
        {"PUZM_", "PUZZL"}, {"SQBN_", "SQRBN"}, {"SQGR_", "SQRGR"}, {"SQOR_", "SQROR"},
        {"SHHBN", "SHHBN"}, {"SHHGR", "SHHGR"}, {"SHHOR", "SHHOR"}, {"SHVBN", "SHVBN"},
        {"SHVGR", "SHVGR"}, {"SHVOR", "SHVOR"}, {"BLANK", "BLANK"}, {"DETWH", "DETWH"},
        {"DETRD", "DETRD"}, {"DETGN", "DETGN"}, {"DETBL", "DETBL"}, {"DETYL", "DETYE"},
        {"DETCY", "DETCY"}, {"DETMG", "DETMG"}, {"LAMP_", "LAMP_"}, {"LENCC", "LENCC"},
        {"LENCV", "LENCV"}, {"SPLTF", "SPLTF"}, {"SPLTB", "SPLTB"}, {"SPLRR", "SPLRR"},
        {"SPLRL", "SPLRL"}, {"SPLBR", "SPLBR"}, {"SPLBL", "SPLBL"}, {"SPLGR", "SPLGR"},
        {"SPLGL", "SPLGL"}};
    tools.insert(tools.end(), rest.begin(), rest.end());
    return tools;
}

BoardPicture Rest(const std::string& code, int state = 0) {
    BoardPicture p;
    p.code = code;
    p.state = state;
    return p;
}

// One step's frames: entering photon, leaving photons as the picture name gives them.
std::vector<QImage> Step(const std::string& code, char side, char size, char colour,
                         PhotonLook out1, PhotonLook out2 = {}, int frames = 3) {
    std::vector<QImage> images;
    for (int k = 1; k <= frames; ++k) {
        BoardPicture p;
        p.code = code;
        p.entrySide = side;
        p.inSize = size;
        p.inColour = colour;
        p.out1 = out1;
        p.out2 = out2;
        p.frame = k;
        p.frames = frames;
        images.push_back(assets::PaintBoardPicture(p));
    }
    return images;
}

std::vector<QImage> Pass(const std::string& code, char side, char size, char colour,
                         int frames = 3) {
    return Step(code, side, size, colour, {size, colour, assets::detail::Opposite(side)}, {},
                frames);
}

using Group = std::vector<QImage>;
using Row = std::vector<Group>;

QImage Sheet(const std::vector<Row>& rows) {
    const int cellGap = 2;
    const int groupGap = 12;
    const int rowGap = 10;
    const int margin = 12;
    int width = 0;
    int height = margin;
    for (const Row& row : rows) {
        int w = margin;
        int h = 0;
        for (const Group& group : row) {
            for (const QImage& image : group) {
                w += image.width() + cellGap;
                h = std::max(h, image.height());
            }
            w += groupGap;
        }
        width = std::max(width, w + margin);
        height += h + rowGap;
    }
    height += margin;
    QImage sheet(width, height, QImage::Format_ARGB32);
    sheet.fill(QColor(52, 54, 60));
    QPainter g(&sheet);
    int y = margin;
    for (const Row& row : rows) {
        int x = margin;
        int h = 0;
        for (const Group& group : row) {
            for (const QImage& image : group) {
                g.drawImage(x, y, image);
                x += image.width() + cellGap;
                h = std::max(h, image.height());
            }
            x += groupGap;
        }
        y += h + rowGap;
    }
    return sheet;
}

std::vector<Row> Contents() {
    std::vector<Row> rows;
    // Every object at rest, sixteen to a row.
    Row row;
    for (const std::string& code : BoardCodes()) {
        row.push_back({assets::PaintBoardPicture(Rest(code))});
        if (row.size() == 16) {
            rows.push_back(row);
            row.clear();
        }
    }
    if (!row.empty()) {
        rows.push_back(row);
    }
    // The empty cell crossed by every colour, one row per size, each from another side.
    const char colours[] = {'R', 'G', 'B', 'C', 'M', 'Y', 'W'};
    const char sides[] = {'L', 'T', 'R', 'B'};
    for (char size : {'S', 'M', 'L'}) {
        Row r;
        for (int i = 0; i < 7; ++i) {
            r.push_back(Pass("BLANK", sides[i % 4], size, colours[i]));
        }
        rows.push_back(r);
    }
    // Filters, lenses, reflectors.
    rows.push_back({
        Step("FLTHC", 'T', 'M', 'W', {'M', 'C', 'B'}),
        Step("FLTVY", 'L', 'L', 'M', {'L', 'R', 'R'}),
        Step("LENCC", 'L', 'S', 'G', {'M', 'G', 'R'}),
        Step("LENCV", 'R', 'L', 'Y', {'M', 'Y', 'L'}),
    });
    rows.push_back({
        Step("REFLD", 'L', 'M', 'R', {'M', 'R', 'B'}),
        Step("REFLD", 'R', 'M', 'G', {'M', 'G', 'L'}),
        Step("REFRU", 'T', 'L', 'C', {'L', 'C', 'R'}),
        Step("REFHT", 'T', 'L', 'W', {'L', 'W', 'T'}),
        Step("REFHT", 'B', 'S', 'M', {'S', 'M', 'T'}),
    });
    // Splitters, mixers.
    rows.push_back({
        Step("SPLTF", 'L', 'M', 'W', {'M', 'W', 'R'}, {'M', 'W', 'T'}),
        Step("SPLTB", 'B', 'L', 'Y', {'L', 'Y', 'T'}, {'L', 'Y', 'R'}),
        Step("SPLRL", 'L', 'M', 'W', {'M', 'C', 'R'}, {'M', 'R', 'T'}),
        Step("SPLRR", 'L', 'S', 'R', {'_', '_', '_'}, {'S', 'R', 'B'}),
        Step("SPLBR", 'T', 'M', 'G', {'M', 'G', 'B'}),
    });
    rows.push_back({
        Step("MXHCB", 'B', 'S', 'R', {'S', 'W', 'T'}, {}, 3),
        Step("MXHCB", 'B', 'M', 'C', {'M', 'W', 'T'}, {}, 2),
        Step("MXVYL", 'L', 'L', 'B', {'L', 'W', 'R'}, {}, 2),
        Step("MXHMB", 'T', 'M', 'G', {'M', 'W', 'B'}, {}, 2),
    });
    // Detectors lighting up, barriers stopping photons, a peep hole.
    {
        Group lit = Step("DETRD", 'B', 'M', 'R', {'_', '_', '_'});
        BoardPicture on = Rest("DETRD", 1);
        lit.push_back(assets::PaintBoardPicture(on));
        rows.push_back({
            lit,
            Step("DETBL", 'B', 'S', 'B', {'_', '_', '_'}),
            Step("BAL__", 'R', 'M', 'Y', {'_', '_', '_'}),
            Step("BALRB", 'L', 'L', 'W', {'_', '_', '_'}),
            Pass("PHHC_", 'T', 'S', 'G'),
            Pass("PHHT_", 'L', 'L', 'M'),
        });
    }
    // Shutters: coloured ones opening 0 to 4 and crossed, the delay shutter's 15 frames.
    {
        Row r;
        for (const char* code : {"SHHBN", "SHVOR"}) {
            Group g;
            for (int s = 0; s <= 4; ++s) {
                g.push_back(assets::PaintBoardPicture(Rest(code, s)));
            }
            r.push_back(g);
        }
        r.push_back(Pass("SHHGR", 'T', 'M', 'B'));
        rows.push_back(r);
        rows.push_back({Pass("SHUTT", 'L', 'M', 'W', 15)});
    }
    // The lamp: resting, then its emission 0 to 5.
    {
        Group g{assets::PaintBoardPicture(Rest("LAMP_"))};
        for (int s = 0; s <= 5; ++s) {
            BoardPicture p = Rest("LAMP_", s);
            p.emission = true;
            p.out1 = {'M', 'W', 'R'};
            g.push_back(assets::PaintBoardPicture(p));
        }
        rows.push_back({g});
    }
    // Tool pictures, raised and pressed side by side.
    Row tools;
    for (const Tool& t : Tools()) {
        tools.push_back({assets::PaintToolPicture(t.tool, t.board, false),
                         assets::PaintToolPicture(t.tool, t.board, true)});
        if (tools.size() == 12) {
            rows.push_back(tools);
            tools.clear();
        }
    }
    if (!tools.empty()) {
        rows.push_back(tools);
    }
    return rows;
}

// Draws about as many pictures as a build does and reports the time per picture.
void Bench() {
    const char colours[] = {'R', 'G', 'B', 'C', 'M', 'Y', 'W'};
    const char sizes[] = {'S', 'M', 'L'};
    const char sides[] = {'L', 'R', 'T', 'B'};
    int count = 0;
    bool same = true;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& code : BoardCodes()) {
        for (char side : sides) {
            for (char size : sizes) {
                for (int c = 0; c < 7; c += 2) {
                    for (int k = 1; k <= 3; ++k) {
                        BoardPicture p;
                        p.code = code;
                        p.entrySide = side;
                        p.inSize = size;
                        p.inColour = colours[c];
                        p.out1 = {size, colours[c], assets::detail::Opposite(side)};
                        p.frame = k;
                        p.frames = 3;
                        const QImage image = assets::PaintBoardPicture(p);
                        ++count;
                        if (count % 97 == 0) {
                            same = same && image == assets::PaintBoardPicture(p);
                        }
                    }
                }
            }
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d board pictures in %.3f s: %.1f us each; repeat identical: %s\n", count, seconds,
                seconds * 1e6 / count, same ? "yes" : "NO");
    const auto paletteStart = std::chrono::steady_clock::now();
    const size_t entries = assets::PicturePalette().size();
    std::printf(
        "palette of %zu colours in %.3f s\n", entries,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - paletteStart).count());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <sheet.png> [--scale N] [--bench]\n", argv[0]);
        return 2;
    }
    int scale = 1;
    bool bench = false;
    bool reduced = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
            scale = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--bench") == 0) {
            bench = true;
        } else if (std::strcmp(argv[i], "--reduced") == 0) {
            reduced = true;
        }
    }
    QImage sheet = Sheet(Contents());
    if (reduced) {
        const std::vector<QRgb>& palette = assets::PicturePalette();
        sheet = sheet
                    .convertToFormat(QImage::Format_Indexed8,
                                     QList<QRgb>(palette.begin(), palette.end()),
                                     Qt::ThresholdDither | Qt::AvoidDither)
                    .convertToFormat(QImage::Format_ARGB32);
    }
    if (scale > 1) {
        sheet = sheet.scaled(sheet.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (bench) {
        Bench();
    }
    return 0;
}
