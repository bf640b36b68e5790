// Scale-turn-translate matrices for the sprite drawing.
#include "effect/Transform2D.h"

#include <cmath>

D3DXMATRIX CentredTransform2D(D3DXVECTOR2 centre, D3DXVECTOR2 scaling, float rotation,
                              D3DXVECTOR2 translation) {
    const double c = std::cos(double{rotation});
    const double s = std::sin(double{rotation});
    const double m11 = scaling.x * c;
    const double m12 = scaling.x * s;
    const double m21 = -scaling.y * s;
    const double m22 = scaling.y * c;
    const double ox = centre.x + translation.x - (centre.x * m11 + centre.y * m21);
    const double oy = centre.y + translation.y - (centre.x * m12 + centre.y * m22);
    D3DXMATRIX m;
    m._11 = static_cast<float>(m11);
    m._12 = static_cast<float>(m12);
    m._13 = 0.0f;
    m._14 = 0.0f;
    m._21 = static_cast<float>(m21);
    m._22 = static_cast<float>(m22);
    m._23 = 0.0f;
    m._24 = 0.0f;
    m._31 = 0.0f;
    m._32 = 0.0f;
    m._33 = 1.0f;
    m._34 = 0.0f;
    m._41 = static_cast<float>(ox);
    m._42 = static_cast<float>(oy);
    m._43 = 0.0f;
    m._44 = 1.0f;
    return m;
}
