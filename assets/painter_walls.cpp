// Barriers and peep holes: stone walls along the sides, across the centre, or
// as arms from the centre to a side.
#include <QPainterPath>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "painter_internal.h"

namespace assets::detail {
namespace {

constexpr double T = WallThickness;
constexpr double Short = 30.0;  // a "short" wall covers this much of its side
constexpr double ArmLow = Mid - T / 2;

enum Piece : unsigned {
    EdgeL = 1u << 0,
    EdgeR = 1u << 1,
    EdgeT = 1u << 2,
    EdgeB = 1u << 3,
    ShortLeftFromTop = 1u << 4,
    ShortLeftFromBottom = 1u << 5,
    ShortRightFromTop = 1u << 6,
    ShortRightFromBottom = 1u << 7,
    ShortTopFromLeft = 1u << 8,
    ShortTopFromRight = 1u << 9,
    ShortBottomFromLeft = 1u << 10,
    ShortBottomFromRight = 1u << 11,
    ArmL = 1u << 12,  // from the centre to the left side
    ArmR = 1u << 13,
    ArmU = 1u << 14,
    ArmD = 1u << 15,
    Post = 1u << 16,  // a block standing on the centre
};

struct BarrierShape {
    std::string_view code;
    unsigned pieces;
};

// How each barrier's name reads as walls. "Top"/"Bottom"/"Left"/"Right" alone
// are walls along that side; "Center and X" is a post with an arm toward X;
// "Center X and Y" two arms meeting at the centre; "Short" pieces start in the
// named corner and cover a little over half the side.
constexpr std::array<BarrierShape, 50> Barriers{{
    {"BAL__", EdgeL},
    {"BAR__", EdgeR},
    {"BAT__", EdgeT},
    {"BAB__", EdgeB},
    {"BALR_", EdgeL | EdgeR},
    {"BATB_", EdgeT | EdgeB},
    {"BASQ_", EdgeL | EdgeR | EdgeT | EdgeB},
    {"BALB_", EdgeL | EdgeB},
    {"BALT_", EdgeL | EdgeT},
    {"BARB_", EdgeR | EdgeB},
    {"BART_", EdgeR | EdgeT},
    {"BALRB", EdgeL | EdgeR | EdgeB},
    {"BALRT", EdgeL | EdgeR | EdgeT},
    {"BALTB", EdgeL | EdgeT | EdgeB},
    {"BARTB", EdgeR | EdgeT | EdgeB},
    {"BABSL", EdgeB | ShortLeftFromBottom},
    {"BABSR", EdgeB | ShortRightFromBottom},
    {"BATSL", EdgeT | ShortLeftFromTop},
    {"BATSR", EdgeT | ShortRightFromTop},
    {"BALST", EdgeL | ShortTopFromLeft},
    {"BALSB", EdgeL | ShortBottomFromLeft},
    {"BARST", EdgeR | ShortTopFromRight},
    {"BARSB", EdgeR | ShortBottomFromRight},
    {"BASLT", ShortLeftFromTop},
    {"BASRT", ShortRightFromTop},
    {"BASLB", ShortLeftFromBottom},
    {"BASRB", ShortRightFromBottom},
    {"BAHC_", ArmL | ArmR},
    {"BAVC_", ArmU | ArmD},
    {"BALHC", EdgeL | ArmL | ArmR},
    {"BARHC", EdgeR | ArmL | ArmR},
    {"BAVBC", EdgeB | ArmU | ArmD},
    {"BAVTC", EdgeT | ArmU | ArmD},
    {"BACC_", ArmL | ArmR | ArmU | ArmD},
    {"BACCD", Post | ArmD},
    {"BACCU", Post | ArmU},
    {"BACCL", Post | ArmL},
    {"BACCR", Post | ArmR},
    {"BACLL", ArmL | ArmD},
    {"BACLU", ArmL | ArmU},
    {"BACRD", ArmR | ArmD},
    {"BACRU", ArmR | ArmU},
    {"BACLR", Post | ArmL | ArmR},
    {"BACLD", ArmL | ArmR | ArmD},
    {"BACTL", EdgeT | ArmL},
    {"BACTR", EdgeT | ArmR},
    {"BACBL", EdgeB | ArmL},
    {"BACBR", EdgeB | ArmR},
    {"BACUL", ArmU | EdgeL},
    {"BACUR", ArmU | EdgeR},
}};

struct Block {
    QRectF rect;
    bool post = false;
};

std::vector<Block> BlocksOf(unsigned pieces) {
    const double far = Cell - T;
    const std::array<std::pair<Piece, QRectF>, 16> rects{{
        {EdgeL, QRectF(0, 0, T, Cell)},
        {EdgeR, QRectF(far, 0, T, Cell)},
        {EdgeT, QRectF(0, 0, Cell, T)},
        {EdgeB, QRectF(0, far, Cell, T)},
        {ShortLeftFromTop, QRectF(0, 0, T, Short)},
        {ShortLeftFromBottom, QRectF(0, Cell - Short, T, Short)},
        {ShortRightFromTop, QRectF(far, 0, T, Short)},
        {ShortRightFromBottom, QRectF(far, Cell - Short, T, Short)},
        {ShortTopFromLeft, QRectF(0, 0, Short, T)},
        {ShortTopFromRight, QRectF(Cell - Short, 0, Short, T)},
        {ShortBottomFromLeft, QRectF(0, far, Short, T)},
        {ShortBottomFromRight, QRectF(Cell - Short, far, Short, T)},
        {ArmL, QRectF(0, ArmLow, Mid + T / 2, T)},
        {ArmR, QRectF(ArmLow, ArmLow, Mid + T / 2, T)},
        {ArmU, QRectF(ArmLow, 0, T, Mid + T / 2)},
        {ArmD, QRectF(ArmLow, ArmLow, T, Mid + T / 2)},
    }};
    std::vector<Block> blocks;
    for (const auto& [piece, rect] : rects) {
        if (pieces & piece) {
            blocks.push_back({rect});
        }
    }
    if (pieces & Post) {
        blocks.push_back({QRectF(Mid - 7, Mid - 7, 14, 14), true});
    }
    return blocks;
}

const QColor Stone(118, 110, 104);
const QColor StoneLight(170, 162, 150);
const QColor StoneDark(62, 56, 54);
const QColor Mortar(78, 70, 66);

// Bricks laid along the block's long side, two courses, joints staggered.
void DrawMortar(QPainter& g, const QRectF& r) {
    const bool horizontal = r.width() >= r.height();
    const double length = horizontal ? r.width() : r.height();
    const double depth = horizontal ? r.height() : r.width();
    QPen pen(Mortar, 1.0);
    pen.setCapStyle(Qt::FlatCap);
    g.setPen(pen);
    auto line = [&](double a0, double b0, double a1, double b1) {
        if (horizontal) {
            g.drawLine(QPointF(r.left() + a0, r.top() + b0), QPointF(r.left() + a1, r.top() + b1));
        } else {
            g.drawLine(QPointF(r.left() + b0, r.top() + a0), QPointF(r.left() + b1, r.top() + a1));
        }
    };
    line(0, depth / 2, length, depth / 2);
    const double brick = 8.0;
    for (int course = 0; course < 2; ++course) {
        const double start = course == 0 ? brick : brick / 2;
        for (double a = start; a < length - 1.0; a += brick) {
            line(a, course == 0 ? 0.5 : depth / 2, a, course == 0 ? depth / 2 : depth - 0.5);
        }
    }
}

void DrawBlocks(QPainter& g, const std::vector<Block>& blocks) {
    QPainterPath all;
    all.setFillRule(Qt::WindingFill);
    for (const Block& b : blocks) {
        all.addRect(b.rect);
    }
    all = all.simplified();
    g.setPen(Qt::NoPen);
    g.setBrush(Stone);
    g.drawPath(all);
    g.save();
    g.setClipPath(all);
    for (const Block& b : blocks) {
        if (b.post) {
            g.setPen(Qt::NoPen);
            g.setBrush(StoneDark);
            g.drawRect(b.rect);
            g.setBrush(Stone);
            g.drawRect(b.rect.adjusted(1.5, 1.5, -1.5, -1.5));
            g.setBrush(StoneLight);
            g.drawEllipse(b.rect.center(), 2.0, 2.0);
        } else {
            DrawMortar(g, b.rect);
        }
    }
    // Bevel: light falls from the top left.
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(StoneLight, 2.0));
    g.drawPath(all.translated(1.0, 1.0));
    g.setPen(QPen(StoneDark, 2.0));
    g.drawPath(all.translated(-1.0, -1.0));
    g.restore();
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(QColor(30, 26, 26), 1.0));
    g.drawPath(all);
}

const BarrierShape* FindBarrier(const std::string& code) {
    for (const BarrierShape& b : Barriers) {
        if (b.code == code) {
            return &b;
        }
    }
    return nullptr;
}

// A peep hole: a wall with a channel just wide enough for a small photon.
void DrawPeepHole(QPainter& g, char orientation, char where) {
    const double gap = 9.0;
    const double thick = 10.0;
    double at = Mid - thick / 2;  // wall's near face across the cell
    if (where == 'T' || where == 'L') {
        at = 0;
    } else if (where == 'B' || where == 'R') {
        at = Cell - thick;
    }
    const double a = Mid - gap / 2;
    const double b = Mid + gap / 2;
    std::vector<Block> blocks;
    if (orientation == 'H') {
        blocks.push_back({QRectF(0, at, a, thick)});
        blocks.push_back({QRectF(b, at, Cell - b, thick)});
    } else {
        blocks.push_back({QRectF(at, 0, thick, a)});
        blocks.push_back({QRectF(at, b, thick, Cell - b)});
    }
    DrawBlocks(g, blocks);
    // Rings round the channel's mouths show it is a hole, not two walls.
    QPen rim(QColor(210, 200, 170), 1.2);
    g.setPen(rim);
    g.setBrush(Qt::NoBrush);
    if (orientation == 'H') {
        g.drawLine(QPointF(a - 0.5, at + 1), QPointF(a - 0.5, at + thick - 1));
        g.drawLine(QPointF(b + 0.5, at + 1), QPointF(b + 0.5, at + thick - 1));
    } else {
        g.drawLine(QPointF(at + 1, a - 0.5), QPointF(at + thick - 1, a - 0.5));
        g.drawLine(QPointF(at + 1, b + 0.5), QPointF(at + thick - 1, b + 0.5));
    }
}

}  // namespace

bool IsWallObject(const std::string& code) {
    return code.rfind("BA", 0) == 0 || code.rfind("PH", 0) == 0;
}

void PaintWalls(QPainter& g, const std::string& code, Layer layer) {
    if (layer != Layer::Over) {
        return;  // walls stand over any photon that runs into them
    }
    if (code.rfind("PH", 0) == 0 && code.size() >= 4) {
        DrawPeepHole(g, code[2], code[3]);
        return;
    }
    if (const BarrierShape* b = FindBarrier(code)) {
        DrawBlocks(g, BlocksOf(b->pieces));
    }
}

}  // namespace assets::detail
