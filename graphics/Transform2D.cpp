// Scale-turn-translate matrices for sprites and triangles.
#include "graphics/Transform2D.h"

#include <cmath>

D3DMATRIX ToD3DMatrix(const Matrix2D& m) {
    D3DMATRIX d = {};
    d._11 = m.m11;
    d._12 = m.m12;
    d._21 = m.m21;
    d._22 = m.m22;
    d._33 = 1.0f;
    d._41 = m.dx;
    d._42 = m.dy;
    d._44 = 1.0f;
    return d;
}

Matrix2D CentredTransform2D(Vector2 centre, Vector2 scaling, float rotation, Vector2 translation) {
    const double c = std::cos(double{rotation});
    const double s = std::sin(double{rotation});
    const double m11 = scaling.x * c;
    const double m12 = scaling.x * s;
    const double m21 = -scaling.y * s;
    const double m22 = scaling.y * c;
    const double ox = centre.x + translation.x - (centre.x * m11 + centre.y * m21);
    const double oy = centre.y + translation.y - (centre.x * m12 + centre.y * m22);
    return {static_cast<float>(m11), static_cast<float>(m12), static_cast<float>(m21),
            static_cast<float>(m22), static_cast<float>(ox),  static_cast<float>(oy)};
}
