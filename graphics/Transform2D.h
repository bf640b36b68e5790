// Two-dimensional affine transforms for sprites and triangles: row vectors, y downward.
#pragma once

#include <windows.h>

#include <d3d9types.h>

struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;
};

// A point p goes to (p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy).
struct Matrix2D {
    float m11 = 1.0f, m12 = 0.0f;
    float m21 = 0.0f, m22 = 1.0f;
    float dx = 0.0f, dy = 0.0f;

    Vector2 Apply(Vector2 p) const { return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
    static Matrix2D Scaling(float sx, float sy) { return {sx, 0.0f, 0.0f, sy, 0.0f, 0.0f}; }
};

// The same transform as a Direct3D world matrix (z kept, w 1).
D3DMATRIX ToD3DMatrix(const Matrix2D& m);

// Scale and turn about `centre`, then translate: p goes to Rot(rotation) (scaling * (p - centre)) +
// centre + translation. A positive rotation turns clockwise on the screen. Written out here because
// the tiling needs tens of thousands of them per frame.
Matrix2D CentredTransform2D(Vector2 centre, Vector2 scaling, float rotation, Vector2 translation);
