// Signed distances of simple shapes and colour mixing, shared by the artwork generators.
// A distance is negative inside the shape, zero on its edge and positive outside.
#pragma once

#include "artwork/Image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace shapes {

constexpr double kPi = 3.14159265358979323846;

inline double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

inline double Smooth(double edge0, double edge1, double v) {
    double t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

inline Rgba Mix(Rgba a, Rgba b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

inline Rgba Scaled(Rgba c, double k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

inline Rgba WithAlpha(Rgba c, double a) { return {c.r, c.g, c.b, a}; }

// Paints src over dst (straight, not premultiplied, alpha).
inline Rgba Over(Rgba dst, Rgba src) {
    double a = src.a + dst.a * (1 - src.a);
    if (a <= 0) {
        return {};
    }
    auto channel = [&](double s, double d) { return (s * src.a + d * dst.a * (1 - src.a)) / a; };
    return {channel(src.r, dst.r), channel(src.g, dst.g), channel(src.b, dst.b), a};
}

// Box centred on (cx, cy) with half sizes hw, hh and corner radius r.
inline double RoundBox(double x, double y, double cx, double cy, double hw, double hh, double r) {
    double qx = std::abs(x - cx) - (hw - r);
    double qy = std::abs(y - cy) - (hh - r);
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

inline double Circle(double x, double y, double cx, double cy, double r) { return std::hypot(x - cx, y - cy) - r; }

// Distance to the segment from (ax, ay) to (bx, by).
inline double Segment(double x, double y, double ax, double ay, double bx, double by) {
    double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    double t = Clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
    return std::hypot(px - dx * t, py - dy * t);
}

// Any polygon (even-odd rule), exact distance to its outline.
template <std::size_t N> double Polygon(double x, double y, const double (&pts)[N][2]) {
    double d = 1e9;
    bool inside = false;
    for (std::size_t i = 0, j = N - 1; i < N; j = i++) {
        d = std::min(d, Segment(x, y, pts[j][0], pts[j][1], pts[i][0], pts[i][1]));
        if ((pts[i][1] > y) != (pts[j][1] > y) &&
            x < (pts[j][0] - pts[i][0]) * (y - pts[i][1]) / (pts[j][1] - pts[i][1]) + pts[i][0]) {
            inside = !inside;
        }
    }
    return inside ? -d : d;
}

} // namespace shapes
