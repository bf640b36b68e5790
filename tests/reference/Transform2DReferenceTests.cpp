// The scale-turn-translate matrix against the reference library's own, loaded at run time.
#include "graphics/Transform2D.h"
#include "support/ReferenceLibrary.h"

#include <d3dx9math.h> // declarations and types only: the library is loaded at run time

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>

TEST_SUITE("reference") {

TEST_CASE("CentredTransform2D: the same matrix as D3DXMatrixTransformation2D about one centre") {
    const ReferenceLibrary library;
    const auto transform =
        library.Get<decltype(&D3DXMatrixTransformation2D)>("D3DXMatrixTransformation2D");
    if (transform == nullptr) {
        MESSAGE("the reference library is not present: skipped");
        return;
    }
    const D3DXVECTOR2 centres[] = {{0, 0}, {32, 32}, {96, 110.85f}, {-5, 1000}};
    const D3DXVECTOR2 scalings[] = {{1, 1}, {-1, 1}, {0.2f, 1.9f}, {0, 0.5f}};
    const float rotations[] = {0.0f, 0.3f, -1.0472f, 3.14159f, -7.5f, 40.0f};
    const D3DXVECTOR2 translations[] = {{0, 0}, {-2900.5f, 1711.25f}, {12.5f, -3.75f}};
    double worst = 0;
    for (const D3DXVECTOR2& c : centres) {
        for (const D3DXVECTOR2& s : scalings) {
            for (float r : rotations) {
                for (const D3DXVECTOR2& t : translations) {
                    D3DXMATRIX want;
                    transform(&want, &c, 0.0f, &s, &c, r, &t);
                    const D3DMATRIX got =
                        ToD3DMatrix(CentredTransform2D({c.x, c.y}, {s.x, s.y}, r, {t.x, t.y}));
                    // The translation row is compared relative to the sizes it is made of.
                    const double reach =
                        1.0 + std::fabs(t.x) + std::fabs(t.y) + 2 * (std::fabs(c.x) + std::fabs(c.y));
                    for (int i = 0; i < 4; ++i) {
                        for (int j = 0; j < 4; ++j) {
                            const double scale = i == 3 ? reach : 1.0;
                            worst = std::max(worst, std::fabs(got.m[i][j] - want.m[i][j]) / scale);
                        }
                    }
                }
            }
        }
    }
    CHECK(worst < 1e-5);
}
}
