// The thirteen piece shapes of the atlases, as signed distances in a 64 x 64 cell, and the six rows'
// hues. Coordinates are relative to the cell's centre, y pointing down.
#pragma once

#include "artwork/Shapes.h"

namespace atlas {

constexpr int kColumns = 13;
constexpr int kRows = 6;
constexpr int kCell = 64;

// Red, yellow, green, cyan, blue, magenta, in degrees.
constexpr double kRowHue[kRows] = {0, 60, 120, 180, 240, 300};

inline double Star(double x, double y) {
    constexpr double outer = 29.5, inner = 0.42 * outer;
    const double shift = outer * (1 - std::cos(shapes::kPi / 5)) / 2; // centres the star's height
    double pts[10][2];
    for (int i = 0; i < 10; ++i) {
        const double angle = -shapes::kPi / 2 + i * shapes::kPi / 5;
        const double r = i % 2 == 0 ? outer : inner;
        pts[i][0] = r * std::cos(angle);
        pts[i][1] = r * std::sin(angle) + shift;
    }
    return shapes::Polygon(x, y, pts);
}

inline double Triangle(double x, double y) {
    constexpr double r = 32; // circumradius; the box of the triangle is centred, not its centroid
    const double h = r * std::sqrt(3.0) / 2;
    const double pts[3][2] = {{0, -0.75 * r}, {h, 0.75 * r}, {-h, 0.75 * r}};
    return shapes::Polygon(x, y, pts);
}

// A band of the given width inside the outline of a shape.
inline double Outline(double d, double width) { return std::max(d, -(d + width)); }

inline double ShapeDistance(int column, double x, double y) {
    using namespace shapes;
    const double r = std::hypot(x, y);
    switch (column) {
    case 0: // filled square
        return RoundBox(x, y, 0, 0, 23, 23, 2.5);
    case 1: { // filled diamond
        const double pts[4][2] = {{0, -29}, {29, 0}, {0, 29}, {-29, 0}};
        return Polygon(x, y, pts);
    }
    case 2: // thin vertical bar
        return RoundBox(x, y, 0, 0, 5.5, 28, 2.5);
    case 3: // two short horizontal bars
        return std::min(RoundBox(x, y, 0, -10.5, 22, 5.5, 2.5), RoundBox(x, y, 0, 10.5, 22, 5.5, 2.5));
    case 4: // square outline
        return std::max(RoundBox(x, y, 0, 0, 24, 24, 3.5), -RoundBox(x, y, 0, 0, 16, 16, 1.5));
    case 5:
        return Star(x, y);
    case 6:
        return Outline(Star(x, y), 7);
    case 7: { // six-armed asterisk
        double d = 1e9;
        for (int i = 0; i < 3; ++i) {
            const double a = shapes::kPi / 2 + i * shapes::kPi / 3;
            const double ex = 24.5 * std::cos(a), ey = 24.5 * std::sin(a);
            d = std::min(d, Segment(x, y, -ex, -ey, ex, ey));
        }
        return d - 4.5;
    }
    case 8:
        return Triangle(x, y);
    case 9:
        return Outline(Triangle(x, y), 7.5);
    case 10: // filled circle
        return r - 27;
    case 11: // ring
        return std::abs(r - 22.5) - 4.5;
    default: // double ring
        return std::min(std::abs(r - 24) - 3.5, std::abs(r - 12) - 3.5);
    }
}

} // namespace atlas
