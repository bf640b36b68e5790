// The scene guard on a real device: a scene it began is ended once, on every way out; a scene that
// cannot begin ends nothing.
#include "framework/Framework.h"
#include "framework/HResultError.h"
#include "host/ScopedScene.h"

#include "support/FrameworkScope.h"

#include <doctest/doctest.h>

#include <stdexcept>

TEST_SUITE("host") {

TEST_CASE("ScopedScene: ends its scene once, also when left by an exception; a failed begin ends nothing") {
    FrameworkScope scope;
    REQUIRE(FrameworkCreateDevice(0, true, 64, 64) == S_OK);
    IDirect3DDevice9* device = FrameworkGetDevice();
    {
        ScopedScene scene(device);
        // No scene begins inside another: the failure is thrown and the open scene stays open.
        CHECK_THROWS_AS(ScopedScene{device}, HResultError);
        CHECK(scene.End() == S_OK);
        CHECK(scene.End() == S_OK); // ended already: no second EndScene
    }
    CHECK_THROWS_AS(
        [&] {
            const ScopedScene scene(device);
            throw std::runtime_error("a failure inside the scene");
        }(),
        std::runtime_error);
    // The scene left by the exception was ended, so a new one begins.
    CHECK(device->BeginScene() == S_OK);
    CHECK(device->EndScene() == S_OK);
}

}
