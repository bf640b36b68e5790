// Result codes of the graphics layer: the image, texture and mesh failures that Direct3D programs
// report in facility 0x876, with the values they have always had there.
#pragma once

#include <windows.h>

namespace GraphicsError {

constexpr HRESULT Make(unsigned code) {
    return static_cast<HRESULT>(0x80000000u | 0x876u << 16 | code);
}

constexpr HRESULT CannotModifyIndexBuffer = Make(2900);
constexpr HRESULT InvalidMesh = Make(2901);
constexpr HRESULT CannotAttributeSort = Make(2902);
constexpr HRESULT SkinningNotSupported = Make(2903);
constexpr HRESULT TooManyInfluences = Make(2904);
// Image data that cannot be decoded: damaged, truncated, of an unsupported kind or too large.
constexpr HRESULT InvalidData = Make(2905);
constexpr HRESULT LoadedMeshHasNoData = Make(2906);
constexpr HRESULT DuplicateNamedFragment = Make(2907);
constexpr HRESULT CannotRemoveLastItem = Make(2908);

} // namespace GraphicsError
