// The 2-D transform of the sprite drawing: scale and turn about one centre, then translate.
#pragma once

#include <d3dx9math.h>

// The same matrix as D3DXMatrixTransformation2D with `centre` as scaling and rotation centre and no
// scaling rotation: a point p goes to Rot(rotation) (scaling * (p - centre)) + centre + translation
// (row vectors, y downward, a positive rotation turns clockwise on the screen). Written out here
// because the tiling needs tens of thousands of them per frame.
D3DXMATRIX CentredTransform2D(D3DXVECTOR2 centre, D3DXVECTOR2 scaling, float rotation,
                              D3DXVECTOR2 translation);
