#include "painter.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/vocabulary.h"
#include "painter_internal.h"

namespace assets {
namespace detail {

QColor Mix(const QColor& a, const QColor& b, double t) {
    auto mixChannel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(mixChannel(a.red(), b.red()), mixChannel(a.green(), b.green()),
                  mixChannel(a.blue(), b.blue()), mixChannel(a.alpha(), b.alpha()));
}

QColor WithAlpha(const QColor& c, int alpha) {
    QColor out = c;
    out.setAlpha(std::clamp(alpha, 0, 255));
    return out;
}

QColor PhotonColour(char colour) {
    switch (colour) {
        case 'R':
            return QColor(255, 38, 38);
        case 'G':
            return QColor(40, 232, 64);
        case 'B':
            // Pure blue vanishes on the navy cells; a lighter blue keeps it a disc.
            return QColor(64, 104, 255);
        case 'C':
            return QColor(0, 232, 240);
        case 'M':
            return QColor(244, 40, 236);
        case 'Y':
            return QColor(255, 236, 32);
        default:
            return QColor(255, 255, 255);
    }
}

double PhotonRadius(char size) {
    switch (size) {
        case 'S':
            return 3.5;
        case 'L':
            return 9.0;
        default:
            return 6.0;
    }
}

void DrawPhoton(QPainter& g, QPointF at, char size, char colour, double strength) {
    const double r = PhotonRadius(size);
    const QColor c = PhotonColour(colour);
    const QColor halo = colour == 'W' ? QColor(190, 215, 255) : c;
    g.setPen(Qt::NoPen);
    if (strength < 1.0) {
        // Trail ghosts: slightly smaller plain discs, so the size still reads.
        const int a = static_cast<int>(std::lround(255 * strength));
        g.setBrush(WithAlpha(halo, a / 3));
        g.drawEllipse(at, r * 0.85 + 1.5, r * 0.85 + 1.5);
        g.setBrush(WithAlpha(c, a));
        g.drawEllipse(at, r * 0.85, r * 0.85);
        return;
    }
    g.setBrush(WithAlpha(halo, 55));
    g.drawEllipse(at, r + 3.5, r + 3.5);
    g.setBrush(WithAlpha(halo, 110));
    g.drawEllipse(at, r + 1.6, r + 1.6);
    g.setBrush(c);
    g.drawEllipse(at, r, r);
    const QPointF shift(-r * 0.2, -r * 0.2);
    g.setBrush(Mix(c, Qt::white, 0.55));
    g.drawEllipse(at + shift, r * 0.55, r * 0.55);
    g.setBrush(Qt::white);
    const double spot = std::max(1.0, r * 0.22);
    g.drawEllipse(at + shift * 1.6, spot, spot);
}

Material MaterialOf(char colourLetter) {
    switch (colourLetter) {
        case 'G':
            return {QColor(150, 152, 160), QColor(210, 212, 220), QColor(84, 86, 96)};
        case 'O':
            return {QColor(255, 138, 20), QColor(255, 196, 100), QColor(176, 80, 0)};
        default:
            return {QColor(146, 88, 40), QColor(200, 140, 80), QColor(86, 48, 18)};
    }
}

char Opposite(char side) {
    switch (side) {
        case 'L':
            return 'R';
        case 'R':
            return 'L';
        case 'T':
            return 'B';
        case 'B':
            return 'T';
        default:
            return '_';
    }
}

namespace {

QPointF SidePoint(char side) {
    switch (side) {
        case 'L':
            return {0, Mid};
        case 'R':
            return {Cell, Mid};
        case 'T':
            return {Mid, 0};
        case 'B':
            return {Mid, Cell};
        default:
            return {Mid, Mid};
    }
}

QPointF TravelVector(char direction) {
    switch (direction) {
        case 'L':
            return {-1, 0};
        case 'R':
            return {1, 0};
        case 'T':
            return {0, -1};
        case 'B':
            return {0, 1};
        default:
            return {0, 0};
    }
}

bool Has(const PhotonLook& photon) {
    return photon.size != '_' && photon.colour != '_' && photon.direction != '_';
}

double Length(QPointF v) {
    return std::hypot(v.x(), v.y());
}

// One photon's way through the cell: in from the entry side to the turning
// point, then out along its own direction (or nowhere: it ends at the turn).
struct Track {
    QPointF entry;
    QPointF turn;
    double inLength = 0;
    QPointF outDirection;
    double outLength = 0;
    char inSize = '_', inColour = '_';
    char outSize = '_', outColour = '_';

    QPointF At(double s) const {
        if (s <= inLength) {
            return inLength > 0 ? entry + (turn - entry) * (s / inLength) : turn;
        }
        return turn + outDirection * (s - inLength);
    }
    bool Before(double s) const { return s < inLength; }
};

// Where the way of a photon that leaves nowhere stops: detectors swallow it at
// the centre, walls stop it at their inner face.
QPointF StopPoint(const std::string& code, char entrySide) {
    if (!IsWallObject(code)) {
        return {Mid, Mid};
    }
    const char travel = Opposite(entrySide);
    return SidePoint(travel) - TravelVector(travel) * WallThickness;
}

struct Motion {
    Track first;   // leaving photon 1's way (or the only way)
    Track second;  // leaving photon 2's way, splitters only
    bool hasFirst = false;
    bool hasSecond = false;
    double s = 0;  // distance travelled at this frame
    bool bounce = false;
};

bool MotionOf(const BoardPicture& p, Motion* m) {
    if (p.frames <= 0 || p.frame <= 0) {
        return false;
    }
    const bool entering = p.entrySide != '_' && p.inSize != '_' && p.inColour != '_';
    // A mixer holds what enters it until its partner comes: its frames show the
    // photon going in, never the white one, which the next cell's frames bring.
    const bool out1 = Has(p.out1) && !(entering && quarvelt::IsMixerCode(p.code));
    const bool out2 = Has(p.out2);
    if (!entering && !out1) {
        return false;
    }
    Track base;
    base.entry = entering ? SidePoint(p.entrySide) : QPointF(Mid, Mid);
    base.turn = QPointF(Mid, Mid);
    base.inSize = entering ? p.inSize : '_';
    base.inColour = entering ? p.inColour : '_';
    if (entering && out1 && p.out1.direction == p.entrySide) {
        QPointF face;
        if (ReflectorBouncePoint(p.code, p.entrySide, &face)) {
            base.turn = face;
            m->bounce = true;
        }
    }
    if (entering && !out1 && !out2) {
        base.turn = StopPoint(p.code, p.entrySide);
    }
    base.inLength = entering ? Length(base.turn - base.entry) : 0.0;

    auto leaving = [&base](const PhotonLook& look) {
        Track t = base;
        t.outDirection = TravelVector(look.direction);
        const QPointF exit = SidePoint(look.direction);
        t.outLength = Length(exit - t.turn);
        t.outSize = look.size;
        t.outColour = look.colour;
        return t;
    };
    m->first = out1 ? leaving(p.out1) : base;
    m->hasFirst = out1 || !out2;  // without any leaving photon the way just ends
    if (out2) {
        m->second = leaving(p.out2);
        m->hasSecond = true;
    }
    const Track& longest = out1 ? m->first : (out2 ? m->second : m->first);
    const double total = longest.inLength + longest.outLength;
    const int frame = std::min(p.frame, p.frames);
    m->s = total * (2.0 * frame - 1.0) / (2.0 * p.frames);
    return true;
}

void DrawTrackPhoton(QPainter& g, const Track& t, double s, bool leaving, bool drawIncoming) {
    const bool before = t.Before(s);
    if (!before && !leaving) {
        return;
    }
    if (before && !drawIncoming) {
        return;
    }
    const char size = before ? t.inSize : t.outSize;
    // A short fading trail points back to where the photon came from.
    const double r = PhotonRadius(size);
    const double steps[2] = {r * 1.7, r * 0.9};
    const double strengths[2] = {0.14, 0.3};
    for (int i = 0; i < 2; ++i) {
        const double back = s - steps[i];
        if (back < 0) {
            continue;
        }
        const bool ghostBefore = t.Before(back);
        if (ghostBefore && !drawIncoming) {
            continue;
        }
        if (!ghostBefore && !leaving) {
            continue;
        }
        DrawPhoton(g, t.At(back), ghostBefore ? t.inSize : t.outSize,
                   ghostBefore ? t.inColour : t.outColour, strengths[i]);
    }
    DrawPhoton(g, t.At(s), size, before ? t.inColour : t.outColour);
}

void DrawMotion(QPainter& g, const Motion& m, const BoardPicture& p) {
    const bool out1 = Has(p.out1);
    if (m.hasFirst) {
        DrawTrackPhoton(g, m.first, m.s, out1, true);
    }
    if (m.hasSecond) {
        DrawTrackPhoton(g, m.second, m.s, true, !m.hasFirst);
    }
}

void DrawCellGround(QPainter& g) {
    g.fillRect(QRectF(0, 0, Cell, Cell), QColor(12, 16, 32));
    // One-pixel rims, lighter above and left, so that a board reads as a grid.
    g.fillRect(QRectF(0, 0, Cell, 1), QColor(36, 46, 78));
    g.fillRect(QRectF(0, 0, 1, Cell), QColor(36, 46, 78));
    g.fillRect(QRectF(0, Cell - 1, Cell, 1), QColor(4, 6, 14));
    g.fillRect(QRectF(Cell - 1, 0, 1, Cell), QColor(4, 6, 14));
}

ObjectState StateOf(const BoardPicture& p) {
    ObjectState s;
    const bool step = p.frames > 0 && p.frame > 0;
    if (quarvelt::IsDetectorCode(p.code)) {
        s.lit = p.state == 1 || (step && p.frame >= p.frames);
    } else if (p.code == "LAMP_") {
        s.lit = p.emission;
    } else if (p.code.rfind("SHH", 0) == 0 || p.code.rfind("SHV", 0) == 0) {
        // A photon crossing a shutter crosses it open.
        s.open = step ? 4.0 : std::clamp(p.state, 0, 4);
    } else if (p.code == "SHUTT" && step) {
        s.clock = static_cast<double>(std::min(p.frame, p.frames)) / p.frames;
    }
    return s;
}

QImage Finish(const QImage& canvas) {
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace
}  // namespace detail

using namespace detail;

QImage PaintBoardPicture(const BoardPicture& picture) {
    QImage canvas(BoardPictureSize, BoardPictureSize, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter g(&canvas);
        DrawCellGround(g);
        g.setRenderHint(QPainter::Antialiasing, true);

        BoardPicture p = picture;
        if (p.code == "LAMP_" && p.emission) {
            // The lamp's emission frames 0 to 4 carry its photon out; 5 is the lamp alone.
            p.entrySide = '_';
            if (p.out1.size == '_') {
                p.out1 = {'M', 'W', 'R'};
            }
            p.frame = p.state + 1;
            p.frames = 5;
            if (p.state >= 5) {
                p.frame = 0;
            }
        }
        ObjectState state = StateOf(picture);
        Motion motion;
        const bool moving = MotionOf(p, &motion);
        state.bounce = moving && motion.bounce && motion.s >= motion.first.inLength - 4.0 &&
                       motion.s <= motion.first.inLength + 4.0;

        PaintObject(g, p.code, Layer::Under, state);
        if (moving) {
            QPainterPath front;
            const bool clip = motion.first.inLength > 0 &&
                              ReflectorFaceRegion(p.code, motion.first.entry, &front);
            if (clip) {
                g.save();
                g.setClipPath(front);
            }
            DrawMotion(g, motion, p);
            if (clip) {
                g.restore();
            }
        }
        PaintObject(g, p.code, Layer::Over, state);
    }
    return Finish(canvas);
}

QImage PaintToolPicture(const std::string& toolCode, const std::string& boardCode, bool down) {
    // The board code says what to draw; the tool code serves when it is missing.
    const std::string& code = boardCode.empty() ? toolCode : boardCode;
    const int n = ToolPictureSize;
    QImage canvas(n, n, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter g(&canvas);
        const QColor lightRim(150, 162, 196);
        const QColor midRim(84, 94, 126);
        const QColor darkRim(10, 12, 24);
        const QColor face = down ? QColor(14, 17, 32) : QColor(32, 40, 68);
        g.fillRect(QRectF(0, 0, n, n), face);
        // Raised: light from the top left. Pressed: the same rims swapped.
        const QColor topLeft = down ? darkRim : lightRim;
        const QColor bottomRight = down ? midRim : darkRim;
        g.fillRect(QRectF(0, 0, n, 1), topLeft);
        g.fillRect(QRectF(0, 0, 1, n), topLeft);
        g.fillRect(QRectF(0, n - 1, n, 1), bottomRight);
        g.fillRect(QRectF(n - 1, 0, 1, n), bottomRight);
        g.fillRect(QRectF(1, 1, n - 2, 1), down ? darkRim : midRim);
        g.fillRect(QRectF(1, 1, 1, n - 2), down ? darkRim : midRim);
        g.fillRect(QRectF(1, n - 2, n - 2, 1), down ? face : midRim.darker(160));
        g.fillRect(QRectF(n - 2, 1, 1, n - 2), down ? face : midRim.darker(160));

        g.setRenderHint(QPainter::Antialiasing, true);
        const double inner = n - 5.0;
        const double offset = down ? 3.0 : 2.0;
        g.translate(offset, offset);
        g.scale(inner / Cell, inner / Cell);
        ObjectState state;
        PaintObject(g, code, Layer::Under, state);
        PaintObject(g, code, Layer::Over, state);
        if (down) {
            g.resetTransform();
            g.fillRect(QRectF(2, 2, n - 4, n - 4), QColor(0, 0, 0, 60));
        }
    }
    return Finish(canvas);
}

}  // namespace assets
