// Shared pieces of the picture painter: the palette, the photon, and the
// object artwork split into the layer under the photon and the layer over it.
// All object art is drawn in cell units (48 by 48); tool pictures scale it.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <string>

namespace assets::detail {

inline constexpr double Cell = 48.0;
inline constexpr double Mid = Cell / 2.0;

// Photon looks. Radii differ by half again from size to size so that the
// three sizes stay apart even through the palette reduction.
// The side across the cell: the way a photon entering through `side` travels.
char Opposite(char side);
QColor PhotonColour(char colour);
double PhotonRadius(char size);
void DrawPhoton(QPainter& g, QPointF at, char size, char colour, double strength = 1.0);

QColor Mix(const QColor& a, const QColor& b, double t);
QColor WithAlpha(const QColor& c, int alpha);

// The three colours of keys, closing squares and shutters.
struct Material {
    QColor base;
    QColor light;
    QColor dark;
};
Material MaterialOf(char colourLetter);  // 'B' brown, 'G' gray, 'O' orange

// What an object shows besides the photon.
struct ObjectState {
    bool lit = false;     // detector lit, lamp switched on
    double open = 0.0;    // coloured shutter, 0 closed to 4 open
    double clock = 0.0;   // delay shutter's hand, 0 to 1 of a turn
    bool bounce = false;  // a reflector is hit on its face this frame
};

enum class Layer { Under, Over };

// Paints one object's layer. Unknown codes paint nothing, like the empty cell.
void PaintObject(QPainter& g, const std::string& code, Layer layer, const ObjectState& state);

// Walls of barriers and peep holes (painter_walls.cpp).
bool IsWallObject(const std::string& code);
void PaintWalls(QPainter& g, const std::string& code, Layer layer);
inline constexpr double WallThickness = 8.0;

// Straight reflectors turn a photon back at their face, not at the cell
// centre; `entrySide` is where it came in.
bool ReflectorBouncePoint(const std::string& code, char entrySide, QPointF* point);
// The part of the cell in front of a reflector's face, when a photon coming in
// at `entry` meets the face; a reflected photon never shows behind it.
bool ReflectorFaceRegion(const std::string& code, QPointF entry, QPainterPath* region);

}  // namespace assets::detail
