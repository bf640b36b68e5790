// The skin image built into the program: a complete DDS file.
#pragma once

#include <windows.h>

#include <span>

std::span<const BYTE> BuiltInSkinImage();
