// The artwork of every object but the walls. Each object paints a body under
// the photon and its outline, edges and light over it, so that a crossing
// photon shows through.
#include <QPainterPath>
#include <QPolygonF>
#include <array>
#include <cmath>

#include "common/vocabulary.h"
#include "painter_internal.h"

namespace assets::detail {
namespace {

constexpr double Pi = 3.14159265358979323846;

bool Starts(const std::string& code, const char* prefix) {
    return code.rfind(prefix, 0) == 0;
}

QPen Pen(const QColor& c, double width) {
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Fill(QPainter& g, const QPainterPath& path, const QColor& c) {
    g.setPen(Qt::NoPen);
    g.setBrush(c);
    g.drawPath(path);
}

void Stroke(QPainter& g, const QPainterPath& path, const QColor& c, double width) {
    g.setPen(Pen(c, width));
    g.setBrush(Qt::NoBrush);
    g.drawPath(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(points)));
    p.closeSubpath();
    return p;
}

// Rotates the object's drawing about the cell centre.
void TurnAboutCentre(QPainter& g, double degrees) {
    g.translate(Mid, Mid);
    g.rotate(degrees);
    g.translate(-Mid, -Mid);
}

void Sparkle(QPainter& g, QPointF at, double size, const QColor& c) {
    g.setPen(Pen(c, 1.0));
    g.drawLine(at - QPointF(size, 0), at + QPointF(size, 0));
    g.drawLine(at - QPointF(0, size), at + QPointF(0, size));
    g.setPen(Pen(c, 0.8));
    const double d = size * 0.45;
    g.drawLine(at - QPointF(d, d), at + QPointF(d, d));
    g.drawLine(at - QPointF(d, -d), at + QPointF(d, -d));
}

// ---- Lamp: a spotlight facing right, its lens on the cell centre.

void Lamp(QPainter& g, Layer layer, const ObjectState& s) {
    const QColor metal(112, 120, 144);
    const QColor metalLight(188, 196, 218);
    const QColor metalDark(44, 48, 64);
    const QPainterPath head = Polygon({{12, 13}, {24, 5}, {24, 43}, {12, 35}});
    const QRectF lens(20.5, 6, 7, 36);
    if (layer == Layer::Under) {
        if (s.lit) {
            g.setPen(Qt::NoPen);
            g.setBrush(QColor(255, 236, 150, 40));
            g.drawEllipse(QPointF(27, Mid), 13, 21);
            g.setBrush(QColor(255, 240, 170, 70));
            g.drawEllipse(QPointF(26, Mid), 8, 19);
            g.setPen(Pen(QColor(255, 232, 140, 210), 1.4));
            for (int i = -2; i <= 2; ++i) {
                const double a = i * 0.42;
                const QPointF from(27 + 3 * std::cos(a), Mid + 17 * std::sin(a));
                g.drawLine(from, from + QPointF(6 * std::cos(a), 6 * std::sin(a)));
            }
        }
        QPainterPath base;
        base.addRoundedRect(QRectF(3, 16, 11, 16), 2.5, 2.5);
        Fill(g, base, metal.darker(125));
        Fill(g, head, metal);
        g.setBrush(s.lit ? QColor(255, 248, 206) : QColor(56, 64, 92));
        g.setPen(Qt::NoPen);
        g.drawEllipse(lens);
        if (!s.lit) {
            g.setPen(Pen(QColor(120, 134, 170), 1.0));
            g.drawArc(lens.adjusted(1.2, 3, -1.2, -3), 100 * 16, 70 * 16);
        }
        return;
    }
    Stroke(g, head, metalDark, 1.0);
    g.setPen(Pen(metalLight, 1.2));
    g.drawLine(QPointF(13, 13.6), QPointF(23, 7));
    g.setPen(Pen(QColor(70, 76, 96), 1.0));
    for (double x : {15.5, 18.5}) {
        g.drawLine(QPointF(x, 13 - (x - 12) * 0.66 + 1.5), QPointF(x, 35 + (x - 12) * 0.66 - 1.5));
    }
    g.setPen(Pen(s.lit ? QColor(255, 255, 240) : QColor(150, 160, 190), 1.4));
    g.setBrush(Qt::NoBrush);
    g.drawEllipse(lens);
    g.setPen(Pen(metalDark, 1.0));
    g.drawRoundedRect(QRectF(3, 16, 11, 16), 2.5, 2.5);
    g.setPen(Qt::NoPen);
    g.setBrush(s.lit ? QColor(90, 255, 120) : QColor(90, 24, 24));
    g.drawEllipse(QPointF(8, Mid), 2.0, 2.0);
}

// ---- Detectors: a cup open at the bottom, in the detector's colour; the
// ring inside shows the size it takes.

struct DetectorKind {
    char colour;
    char size;
};

DetectorKind DetectorOf(const std::string& code) {
    static const std::array<std::pair<const char*, DetectorKind>, 7> kinds{{
        {"DETWH", {'W', 'L'}},
        {"DETRD", {'R', 'M'}},
        {"DETGN", {'G', 'L'}},
        {"DETBL", {'B', 'S'}},
        {"DETYE", {'Y', 'L'}},
        {"DETCY", {'C', 'S'}},
        {"DETMG", {'M', 'M'}},
    }};
    for (const auto& [name, kind] : kinds) {
        if (code == name) {
            return kind;
        }
    }
    return {'W', 'L'};
}

const QPainterPath& CupWall() {
    static const QPainterPath path = [] {
        QPainterPath p;
        p.moveTo(8, 41);
        p.lineTo(8, 23);
        p.arcTo(QRectF(8, 7, 32, 32), 180, -180);
        p.lineTo(40, 41);
        p.lineTo(35, 41);
        p.lineTo(35, 23);
        p.arcTo(QRectF(13, 12, 22, 22), 0, 180);
        p.lineTo(13, 41);
        p.closeSubpath();
        return p;
    }();
    return path;
}

const QPainterPath& CupHollow() {
    static const QPainterPath path = [] {
        QPainterPath p;
        p.moveTo(13, 41);
        p.lineTo(13, 23);
        p.arcTo(QRectF(13, 12, 22, 22), 180, -180);
        p.lineTo(35, 41);
        p.closeSubpath();
        return p;
    }();
    return path;
}

void Detector(QPainter& g, const std::string& code, Layer layer, const ObjectState& s) {
    const DetectorKind kind = DetectorOf(code);
    const QColor c = PhotonColour(kind.colour);
    if (layer == Layer::Under) {
        if (s.lit) {
            g.setPen(Qt::NoPen);
            g.setBrush(WithAlpha(c, 60));
            g.drawEllipse(QPointF(Mid, 23), 22, 22);
            Fill(g, CupHollow(), Mix(c, Qt::white, 0.3));
        } else {
            Fill(g, CupHollow(), QColor(16, 20, 38));
            QPen ring(Mix(c, QColor(16, 20, 38), 0.45), 1.0);
            ring.setDashPattern({2.0, 2.0});
            g.setPen(ring);
            g.setBrush(Qt::NoBrush);
            const double r = PhotonRadius(kind.size);
            g.drawEllipse(QPointF(Mid, Mid), r, r);
        }
        return;
    }
    const QColor body = s.lit ? c : Mix(c, QColor(0, 0, 0), 0.42);
    Fill(g, CupWall(), body);
    Stroke(g, CupWall(), s.lit ? Mix(c, Qt::white, 0.5) : Mix(c, QColor(0, 0, 0), 0.75), 1.0);
    g.setPen(Pen(WithAlpha(Qt::white, s.lit ? 200 : 90), 1.2));
    g.setBrush(Qt::NoBrush);
    g.drawArc(QRectF(10, 9, 28, 28), 110 * 16, 55 * 16);
    // Feet: the receiver stands open toward the bottom side.
    g.setPen(Qt::NoPen);
    g.setBrush(s.lit ? Mix(c, QColor(0, 0, 0), 0.25) : Mix(c, QColor(0, 0, 0), 0.6));
    g.drawRect(QRectF(4, 41, 11, 3));
    g.drawRect(QRectF(33, 41, 11, 3));
    if (s.lit) {
        g.setPen(Pen(c, 1.6));
        for (int i = 0; i < 7; ++i) {
            const double a = Pi + Pi * (i + 0.5) / 7.0;
            const QPointF dir(std::cos(a), std::sin(a));
            g.drawLine(QPointF(Mid, 23) + dir * 18.5, QPointF(Mid, 23) + dir * 22.5);
        }
    }
}

// ---- Lenses, upright, crossed from side to side.

void Lens(QPainter& g, bool convex, Layer layer) {
    QPainterPath p;
    if (convex) {
        p.moveTo(Mid, 4);
        p.quadTo(9, Mid, Mid, 44);
        p.quadTo(39, Mid, Mid, 4);
    } else {
        p.moveTo(13, 5);
        p.lineTo(35, 5);
        p.quadTo(25, Mid, 35, 43);
        p.lineTo(13, 43);
        p.quadTo(23, Mid, 13, 5);
    }
    const QColor glass(140, 200, 255);
    if (layer == Layer::Under) {
        Fill(g, p, WithAlpha(glass, 70));
        return;
    }
    Fill(g, p, WithAlpha(glass, 30));
    Stroke(g, p, QColor(196, 232, 255), 1.4);
    g.setPen(Pen(QColor(255, 255, 255, 170), 1.2));
    if (convex) {
        QPainterPath shine;
        shine.moveTo(21, 11);
        shine.quadTo(15, 20, 16.5, 27);
        g.drawPath(shine);
    } else {
        QPainterPath shine;
        shine.moveTo(16, 9);
        shine.quadTo(20, 17, 19, 25);
        g.drawPath(shine);
    }
}

// ---- Filters: a tinted glass bar held by two clamps.

void Filter(QPainter& g, const std::string& code, Layer layer) {
    const bool horizontal = code[3] == 'H';
    const QColor c = PhotonColour(code[4]);
    g.save();
    if (!horizontal) {
        TurnAboutCentre(g, 90);
    }
    const QRectF bar(2, Mid - 7, Cell - 4, 14);
    if (layer == Layer::Under) {
        g.fillRect(bar, WithAlpha(c, 120));
    } else {
        g.fillRect(bar, WithAlpha(c, 55));
        g.setPen(Pen(Mix(c, Qt::white, 0.35), 1.3));
        g.drawLine(QPointF(bar.left(), bar.top()), QPointF(bar.right(), bar.top()));
        g.drawLine(QPointF(bar.left(), bar.bottom()), QPointF(bar.right(), bar.bottom()));
        g.setPen(Pen(QColor(255, 255, 255, 120), 1.0));
        g.drawLine(QPointF(bar.left() + 3, bar.top() + 2.5),
                   QPointF(bar.right() - 3, bar.top() + 2.5));
        const QColor clamp(70, 76, 96);
        g.setPen(Pen(QColor(20, 22, 32), 1.0));
        g.setBrush(clamp);
        g.drawRect(QRectF(0.5, bar.top() - 2.5, 4, bar.height() + 5));
        g.drawRect(QRectF(Cell - 4.5, bar.top() - 2.5, 4, bar.height() + 5));
    }
    g.restore();
}

// ---- Reflectors: a silvered face toward the named side, a hatched back.

constexpr double MirrorHalfThickness = 2.2;

void Mirror(QPainter& g, QPointF a, QPointF b, QPointF face, bool bounce, QPointF bounceAt) {
    const QPointF along = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const double h = MirrorHalfThickness;
    const QPainterPath strip = Polygon({a + face * h, b + face * h, b - face * h, a - face * h});
    Fill(g, strip, QColor(92, 108, 142));
    // Hatching marks the back, the side that lets photons through.
    g.setPen(Pen(QColor(130, 146, 184), 1.0));
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    for (double t = 3.0; t < length - 1.0; t += 4.5) {
        const QPointF p = a + along * t - face * h;
        g.drawLine(p, p - face * 3.2 - along * 2.2);
    }
    g.setPen(Pen(QColor(236, 246, 255), 1.8));
    g.drawLine(a + face * 1.6, b + face * 1.6);
    g.setPen(Pen(QColor(40, 46, 64), 1.0));
    g.setBrush(QColor(150, 160, 186));
    g.drawEllipse(a, 2.4, 2.4);
    g.drawEllipse(b, 2.4, 2.4);
    if (bounce) {
        Sparkle(g, bounceAt + face * 2.0, 4.5, QColor(255, 255, 255, 230));
    }
}

struct MirrorPlace {
    QPointF a, b, face;
};

bool StraightMirror(const std::string& code, MirrorPlace* m) {
    if (code == "REFHT") {
        *m = {{4, 14}, {44, 14}, {0, -1}};
    } else if (code == "REFHB") {
        *m = {{4, 34}, {44, 34}, {0, 1}};
    } else if (code == "REFVL") {
        *m = {{14, 4}, {14, 44}, {-1, 0}};
    } else if (code == "REFVR") {
        *m = {{34, 4}, {34, 44}, {1, 0}};
    } else {
        return false;
    }
    return true;
}

bool CornerMirror(const std::string& code, MirrorPlace* m) {
    const double k = 1.0 / std::sqrt(2.0);
    if (code == "REFLD") {
        *m = {{7, 7}, {41, 41}, {-k, k}};
    } else if (code == "REFLU") {
        *m = {{7, 41}, {41, 7}, {-k, -k}};
    } else if (code == "REFRD") {
        *m = {{7, 41}, {41, 7}, {k, k}};
    } else if (code == "REFRU") {
        *m = {{7, 7}, {41, 41}, {k, -k}};
    } else {
        return false;
    }
    return true;
}

void Reflector(QPainter& g, const std::string& code, Layer layer, const ObjectState& s) {
    if (layer != Layer::Over) {
        return;
    }
    MirrorPlace m;
    if (StraightMirror(code, &m)) {
        const QPointF hit(m.a.x() == m.b.x() ? m.a.x() : Mid, m.a.y() == m.b.y() ? m.a.y() : Mid);
        Mirror(g, m.a, m.b, m.face, s.bounce, hit);
    } else if (CornerMirror(code, &m)) {
        Mirror(g, m.a, m.b, m.face, false, {});
    }
}

// ---- Splitters: a glass cube with a half-silvered diagonal; "/" turns the
// second photon left, "\" right; colour splitters are tinted.

void Splitter(QPainter& g, const std::string& code, Layer layer) {
    const char side = code[4];
    const bool left = side == 'L' || side == 'F';
    const char colour = code[3] == 'T' ? 'W' : code[3];
    const bool tinted = colour != 'W';
    const QColor c = tinted ? PhotonColour(colour) : QColor(150, 200, 255);
    const QRectF cube(10, 10, 28, 28);
    const QPointF a = left ? cube.bottomLeft() : cube.topLeft();
    const QPointF b = left ? cube.topRight() : cube.bottomRight();
    if (layer == Layer::Under) {
        g.fillRect(cube, WithAlpha(c, tinted ? 60 : 45));
        return;
    }
    g.fillRect(cube, WithAlpha(c, tinted ? 25 : 18));
    g.setPen(Pen(tinted ? Mix(c, Qt::white, 0.4) : QColor(176, 210, 244), 1.2));
    g.setBrush(Qt::NoBrush);
    g.drawRect(cube);
    if (tinted) {
        g.setPen(Pen(c, 3.0));
        g.drawLine(a, b);
        g.setPen(Pen(QColor(255, 255, 255, 200), 0.9));
        g.drawLine(a, b);
    } else {
        g.setPen(Pen(QColor(120, 134, 170), 2.6));
        g.drawLine(a, b);
        QPen silver(QColor(240, 246, 255), 2.0);
        silver.setCapStyle(Qt::FlatCap);
        silver.setDashPattern({1.6, 1.4});
        g.setPen(silver);
        g.drawLine(a, b);
    }
}

// ---- Mixers: a prism in its two colours, its flat side toward the one side
// it takes photons from.

char MixerIntake(const std::string& code) {
    const char last = code[4];
    if (code[2] == 'V' || code[3] == 'C') {
        return last;
    }
    return last == 'T' ? 'B' : 'T';
}

void Mixer(QPainter& g, const std::string& code, Layer layer) {
    const char colour = code[3];
    const QColor first = PhotonColour(colour);
    const QColor second = PhotonColour(colour == 'C' ? 'R' : colour == 'M' ? 'G' : 'B');
    double turn = 0;
    switch (MixerIntake(code)) {
        case 'T':
            turn = 180;
            break;
        case 'L':
            turn = 90;
            break;
        case 'R':
            turn = -90;
            break;
        default:
            break;
    }
    g.save();
    TurnAboutCentre(g, turn);
    const QPointF apex(Mid, 7);
    const QPointF baseLeft(7, 39);
    const QPointF baseRight(41, 39);
    const QPointF baseMid(Mid, 39);
    const QPainterPath leftHalf = Polygon({apex, baseLeft, baseMid});
    const QPainterPath rightHalf = Polygon({apex, baseMid, baseRight});
    if (layer == Layer::Under) {
        Fill(g, leftHalf, WithAlpha(first, 120));
        Fill(g, rightHalf, WithAlpha(second, 120));
    } else {
        Fill(g, leftHalf, WithAlpha(first, 40));
        Fill(g, rightHalf, WithAlpha(second, 40));
        Stroke(g, Polygon({apex, baseLeft, baseRight}), QColor(226, 232, 255), 1.3);
        g.setPen(Pen(Qt::white, 2.4));
        g.drawLine(baseLeft + QPointF(2, 0), baseRight - QPointF(2, 0));
        // The intake mark below the flat side, pointing in.
        Fill(g, Polygon({{Mid - 4, 46}, {Mid + 4, 46}, {Mid, 42}}), QColor(236, 240, 255));
        Sparkle(g, apex + QPointF(0, 1), 3.0, QColor(255, 255, 255, 220));
    }
    g.restore();
}

// ---- Delay shutter: a clock face whose hand sweeps while a photon waits.

void DelayShutter(QPainter& g, Layer layer, const ObjectState& s) {
    const QPointF c(Mid, Mid);
    if (layer == Layer::Under) {
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(34, 44, 76, 220));
        g.drawEllipse(c, 17, 17);
        return;
    }
    g.setBrush(Qt::NoBrush);
    g.setPen(Pen(QColor(40, 46, 66), 4.4));
    g.drawEllipse(c, 18, 18);
    g.setPen(Pen(QColor(168, 178, 206), 2.6));
    g.drawEllipse(c, 18, 18);
    for (int i = 0; i < 12; ++i) {
        const double a = 2 * Pi * i / 12;
        const QPointF dir(std::sin(a), -std::cos(a));
        const bool quarter = i % 3 == 0;
        g.setPen(Pen(QColor(190, 200, 226), quarter ? 1.6 : 1.0));
        g.drawLine(c + dir * (quarter ? 11.5 : 13.0), c + dir * 15.0);
    }
    const double a = 2 * Pi * s.clock;
    const QPointF hand(std::sin(a), -std::cos(a));
    g.setPen(Pen(QColor(255, 196, 48), 2.0));
    g.drawLine(c, c + hand * 12.5);
    g.setPen(Pen(QColor(200, 210, 236), 1.6));
    g.drawLine(c, c + QPointF(6.5, 0));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 210, 90));
    g.drawEllipse(c, 2.2, 2.2);
}

// ---- Coloured shutters: a row of slats between two rails across the cell.
// Closed, the slats face the viewer edge to edge; opening, they turn about
// their long axes until only their edges stand, with gaps between.

void SlatShutter(QPainter& g, const std::string& code, Layer layer, const ObjectState& s) {
    const Material m = MaterialOf(code[3]);
    g.save();
    if (code[2] == 'V') {
        TurnAboutCentre(g, 90);
    }
    const double top = Mid - 8;
    const double height = 16;
    if (layer == Layer::Under) {
        g.fillRect(QRectF(0, top, Cell, height), WithAlpha(m.dark, 60));
    } else {
        const double turn = std::clamp(s.open, 0.0, 4.0) / 4.0;  // 0 closed, 1 open
        const double angle = turn * Pi / 2;
        const double face = 8.0 * std::cos(angle);
        const double edge = 1.6 * std::sin(angle) + 0.4;
        const QColor faceColour = Mix(m.base, m.dark, 0.45 * turn);
        for (double x : {4.0, 12.0, 20.0, 28.0, 36.0, 44.0}) {
            const double left = x - (face + edge) / 2;
            g.setPen(Qt::NoPen);
            if (face > 0.3) {
                g.setBrush(faceColour);
                g.drawRect(QRectF(left, top + 1, face, height - 2));
                g.setBrush(WithAlpha(m.light, 200));
                g.drawRect(QRectF(left, top + 1, std::min(1.2, face), height - 2));
            }
            g.setBrush(m.dark);
            g.drawRect(QRectF(left + face, top + 1, edge, height - 2));
        }
        g.setPen(Pen(Mix(m.dark, QColor(0, 0, 0), 0.3), 1.0));
        g.setBrush(m.base);
        g.drawRect(QRectF(0.5, top - 2.5, Cell - 1, 3.5));
        g.drawRect(QRectF(0.5, top + height - 1, Cell - 1, 3.5));
        g.setPen(Pen(m.light, 0.9));
        g.drawLine(QPointF(1.5, top - 1.6), QPointF(Cell - 1.5, top - 1.6));
        g.drawLine(QPointF(1.5, top + height), QPointF(Cell - 1.5, top + height));
    }
    g.restore();
}

// ---- Bonus objects.

void Diamond(QPainter& g, Layer layer) {
    const QPointF a(17, 11), b(31, 11), g1(9, 19), g2(19, 19), g3(29, 19), g4(39, 19), p(Mid, 41);
    if (layer == Layer::Under) {
        Fill(g, Polygon({a, b, g3, g2}), QColor(255, 252, 214));
        Fill(g, Polygon({g1, a, g2}), QColor(252, 230, 120));
        Fill(g, Polygon({b, g4, g3}), QColor(230, 194, 60));
        Fill(g, Polygon({g1, g2, p}), QColor(246, 214, 90));
        Fill(g, Polygon({g2, g3, p}), QColor(255, 242, 170));
        Fill(g, Polygon({g3, g4, p}), QColor(212, 170, 40));
        return;
    }
    g.setPen(Pen(QColor(255, 255, 236), 0.8));
    g.drawLine(g1, g4);
    g.drawLine(a, g2);
    g.drawLine(b, g3);
    g.drawLine(g2, p);
    g.drawLine(g3, p);
    Stroke(g, Polygon({a, b, g4, p, g1}), QColor(150, 110, 10), 1.1);
    Sparkle(g, QPointF(35, 9), 4.0, QColor(255, 255, 255, 230));
}

const QPainterPath& AppleBody() {
    static const QPainterPath path = [] {
        QPainterPath l, r;
        l.addEllipse(QPointF(19, 28), 10.5, 12);
        r.addEllipse(QPointF(29, 28), 10.5, 12);
        return l.united(r);
    }();
    return path;
}

void Apple(QPainter& g, Layer layer) {
    if (layer == Layer::Under) {
        Fill(g, AppleBody(), QColor(222, 30, 42));
        return;
    }
    Stroke(g, AppleBody(), QColor(110, 8, 18), 1.1);
    g.setPen(Pen(QColor(110, 70, 30), 2.2));
    g.drawLine(QPointF(Mid, 18), QPointF(26, 9));
    g.save();
    g.translate(31, 12);
    g.rotate(-25);
    g.setPen(Pen(QColor(20, 100, 30), 0.8));
    g.setBrush(QColor(70, 196, 80));
    g.drawEllipse(QPointF(0, 0), 5.5, 2.6);
    g.restore();
    g.save();
    g.translate(16, 25);
    g.rotate(20);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 170, 170, 170));
    g.drawEllipse(QPointF(0, 0), 2.6, 5.0);
    g.restore();
}

void Face(QPainter& g, Layer layer) {
    const QPointF c(Mid, Mid);
    if (layer == Layer::Under) {
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(255, 212, 40));
        g.drawEllipse(c, 16, 16);
        return;
    }
    g.setPen(Pen(QColor(170, 118, 0), 1.2));
    g.setBrush(Qt::NoBrush);
    g.drawEllipse(c, 16, 16);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(70, 44, 0));
    g.drawEllipse(QPointF(18.5, 19), 2.2, 3.4);
    g.drawEllipse(QPointF(29.5, 19), 2.2, 3.4);
    QPainterPath smile;
    smile.moveTo(15.5, 27);
    smile.quadTo(Mid, 38, 32.5, 27);
    Stroke(g, smile, QColor(70, 44, 0), 2.2);
    g.setPen(Pen(QColor(255, 246, 190, 200), 1.4));
    g.drawArc(QRectF(11, 11, 26, 26), 105 * 16, 50 * 16);
}

const QPainterPath& HeartShape() {
    static const QPainterPath path = [] {
        QPainterPath p;
        p.moveTo(Mid, 41);
        p.cubicTo(12, 32, 6, 24, 8, 17);
        p.cubicTo(10, 9, 21, 8, Mid, 15);
        p.cubicTo(27, 8, 38, 9, 40, 17);
        p.cubicTo(42, 24, 36, 32, Mid, 41);
        p.closeSubpath();
        return p;
    }();
    return path;
}

void Heart(QPainter& g, Layer layer) {
    if (layer == Layer::Under) {
        Fill(g, HeartShape(), QColor(236, 40, 92));
        return;
    }
    Stroke(g, HeartShape(), QColor(130, 8, 44), 1.2);
    g.save();
    g.translate(15, 17);
    g.rotate(-35);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 180, 200, 180));
    g.drawEllipse(QPointF(0, 0), 2.5, 4.5);
    g.restore();
}

// One hexagonal crystal seen from the side: a prism with a pointed tip.
void Crystal(QPainter& g, QPointF foot, double degrees, double width, double height, Layer layer) {
    g.save();
    g.translate(foot);
    g.rotate(degrees);
    const double w = width / 2;
    const double tip = width * 0.8;
    const QPainterPath leftFace = Polygon({{-w, 0}, {-w, -height + tip}, {0, -height}, {0, 0}});
    const QPainterPath rightFace = Polygon({{0, 0}, {0, -height}, {w, -height + tip}, {w, 0}});
    if (layer == Layer::Under) {
        Fill(g, leftFace, QColor(110, 236, 170));
        Fill(g, rightFace, QColor(28, 160, 100));
    } else {
        Stroke(g, Polygon({{-w, 0}, {-w, -height + tip}, {0, -height}, {w, -height + tip}, {w, 0}}),
               QColor(8, 78, 48), 1.0);
        g.setPen(Pen(QColor(210, 255, 230, 200), 0.8));
        g.drawLine(QPointF(0, -height + 1), QPointF(0, -1));
    }
    g.restore();
}

void Mineral(QPainter& g, Layer layer) {
    if (layer == Layer::Under) {
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(96, 88, 84));
        g.drawEllipse(QPointF(Mid, 40), 15, 4.5);
    }
    Crystal(g, QPointF(17, 40), -28, 8, 22, layer);
    Crystal(g, QPointF(31, 40), 26, 8, 20, layer);
    Crystal(g, QPointF(Mid, 41), 0, 10, 33, layer);
    if (layer == Layer::Over) {
        Sparkle(g, QPointF(30, 12), 3.5, QColor(255, 255, 255, 220));
    }
}

const QPainterPath& PuzzlePiece() {
    static const QPainterPath path = [] {
        QPainterPath body;
        body.addRect(QRectF(12, 14, 23, 23));
        QPainterPath top, right, left, bottom;
        top.addEllipse(QPointF(23.5, 11), 4.6, 4.6);
        right.addEllipse(QPointF(38, 25.5), 4.6, 4.6);
        left.addEllipse(QPointF(12, 25.5), 4.2, 4.2);
        bottom.addEllipse(QPointF(23.5, 37), 4.2, 4.2);
        return body.united(top).united(right).subtracted(left).subtracted(bottom);
    }();
    return path;
}

void Puzzle(QPainter& g, Layer layer) {
    if (layer == Layer::Under) {
        Fill(g, PuzzlePiece(), QColor(214, 64, 200));
        return;
    }
    Stroke(g, PuzzlePiece(), QColor(110, 18, 100), 1.2);
    g.setPen(Pen(QColor(255, 170, 246, 190), 1.2));
    g.drawLine(QPointF(16.5, 17.5), QPointF(19.5, 17.5));
    g.drawLine(QPointF(16.5, 17.5), QPointF(16.5, 21));
}

// ---- Keys and closing squares, in brown, gray or orange.

const QPainterPath& KeyShape() {
    static const QPainterPath path = [] {
        QPainterPath bow, hole, shaft, tooth1, tooth2;
        bow.addEllipse(QPointF(12.5, Mid), 7.5, 7.5);
        hole.addEllipse(QPointF(12.5, Mid), 3.2, 3.2);
        shaft.addRect(QRectF(19, Mid - 2.2, 23, 4.4));
        tooth1.addRect(QRectF(32, Mid + 2, 3, 5));
        tooth2.addRect(QRectF(38, Mid + 2, 4, 6.5));
        return bow.united(shaft).united(tooth1).united(tooth2).subtracted(hole);
    }();
    return path;
}

void Key(QPainter& g, const std::string& code, Layer layer) {
    const Material m = MaterialOf(code[3]);
    g.save();
    TurnAboutCentre(g, -35);
    if (layer == Layer::Under) {
        Fill(g, KeyShape(), m.base);
    } else {
        Stroke(g, KeyShape(), m.dark, 1.1);
        g.setPen(Pen(m.light, 1.1));
        g.drawLine(QPointF(20, Mid - 1.1), QPointF(40.5, Mid - 1.1));
        g.setBrush(Qt::NoBrush);
        g.drawArc(QRectF(6.5, Mid - 6, 12, 12), 70 * 16, 100 * 16);
    }
    g.restore();
}

void ClosingSquare(QPainter& g, const std::string& code, Layer layer) {
    if (layer != Layer::Over) {
        return;
    }
    const Material m = MaterialOf(code[3]);
    const QRectF o(8, 8, 32, 32);
    const QRectF i(15, 15, 18, 18);
    Fill(g, Polygon({o.topLeft(), o.topRight(), i.topRight(), i.topLeft()}), m.light);
    Fill(g, Polygon({o.topLeft(), i.topLeft(), i.bottomLeft(), o.bottomLeft()}),
         Mix(m.light, m.base, 0.5));
    Fill(g, Polygon({o.bottomLeft(), i.bottomLeft(), i.bottomRight(), o.bottomRight()}), m.dark);
    Fill(g, Polygon({o.topRight(), o.bottomRight(), i.bottomRight(), i.topRight()}),
         Mix(m.dark, m.base, 0.4));
    g.setPen(Pen(Mix(m.dark, QColor(0, 0, 0), 0.4), 1.0));
    g.setBrush(Qt::NoBrush);
    g.drawRect(o);
    g.drawRect(i);
}

}  // namespace

bool ReflectorBouncePoint(const std::string& code, char entrySide, QPointF* point) {
    MirrorPlace m;
    if (!StraightMirror(code, &m)) {
        return false;
    }
    const bool faceSide =
        (entrySide == 'T' && m.face.y() < 0) || (entrySide == 'B' && m.face.y() > 0) ||
        (entrySide == 'L' && m.face.x() < 0) || (entrySide == 'R' && m.face.x() > 0);
    if (!faceSide) {
        return false;
    }
    *point = (m.a + m.b) / 2 + m.face * MirrorHalfThickness;
    return true;
}

bool ReflectorFaceRegion(const std::string& code, QPointF entry, QPainterPath* region) {
    MirrorPlace m;
    if (!StraightMirror(code, &m) && !CornerMirror(code, &m)) {
        return false;
    }
    const QPointF middle = (m.a + m.b) / 2;
    const QPointF toEntry = entry - middle;
    if (toEntry.x() * m.face.x() + toEntry.y() * m.face.y() <= 0) {
        return false;  // comes in through the back
    }
    const QPointF along = (m.b - m.a) * 2.0;
    const QPointF a = middle - along + m.face * MirrorHalfThickness;
    const QPointF b = middle + along + m.face * MirrorHalfThickness;
    *region = Polygon({a, b, b + m.face * 100.0, a + m.face * 100.0});
    return true;
}

void PaintObject(QPainter& g, const std::string& code, Layer layer, const ObjectState& state) {
    if (code.size() != 5) {
        return;
    }
    if (IsWallObject(code)) {
        PaintWalls(g, code, layer);
    } else if (code == "LAMP_") {
        Lamp(g, layer, state);
    } else if (quarvelt::IsDetectorCode(code)) {
        Detector(g, code, layer, state);
    } else if (code == "LENCC" || code == "LENCV") {
        Lens(g, code == "LENCV", layer);
    } else if (quarvelt::IsFilterCode(code)) {
        Filter(g, code, layer);
    } else if (Starts(code, "REF")) {
        Reflector(g, code, layer, state);
    } else if (quarvelt::IsSplitterCode(code)) {
        Splitter(g, code, layer);
    } else if (quarvelt::IsMixerCode(code)) {
        Mixer(g, code, layer);
    } else if (code == "SHUTT") {
        DelayShutter(g, layer, state);
    } else if (Starts(code, "SHH") || Starts(code, "SHV")) {
        SlatShutter(g, code, layer, state);
    } else if (code == "DIAM_") {
        Diamond(g, layer);
    } else if (code == "APPLE") {
        Apple(g, layer);
    } else if (code == "FACE_") {
        Face(g, layer);
    } else if (code == "HEART") {
        Heart(g, layer);
    } else if (code == "MINRL") {
        Mineral(g, layer);
    } else if (code == "PUZZL") {
        Puzzle(g, layer);
    } else if (Starts(code, "KEY")) {
        Key(g, code, layer);
    } else if (Starts(code, "SQR")) {
        ClosingSquare(g, code, layer);
    }
}

}  // namespace assets::detail
