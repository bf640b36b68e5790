// The skin image built into the program.
#include "gui/BuiltInSkin.h"

#include "gui/SkinImage.h"

std::span<const BYTE> BuiltInSkinImage() {
    return {SkinImage, kSkinImageSize};
}
