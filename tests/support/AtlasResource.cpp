// Atlas resources of the test program.
#include "support/AtlasResource.h"

#include "graphics/PngDecoder.h"

#include <windows.h>

#include <doctest/doctest.h>

std::span<const std::uint8_t> AtlasBytes(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (resource == nullptr) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource))),
            SizeofResource(module, resource)};
}

RgbaImage DecodeAtlas(int id) {
    CAPTURE(id);
    const std::span<const std::uint8_t> bytes = AtlasBytes(id);
    REQUIRE(!bytes.empty());
    RgbaImage image;
    REQUIRE(DecodePng(bytes, image) == S_OK);
    return image;
}
