// The skin image built into the program.
#include "gui/BuiltInSkin.h"

std::span<const BYTE> BuiltInSkinImage() { return {}; }
