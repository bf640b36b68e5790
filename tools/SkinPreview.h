// Preview pictures of the skin for the artist's eye: the skin enlarged, and the controls drawn from it
// at the dialog's sizes the way the dialog stretches and tints them.
#pragma once

#include "artwork/Image.h"

#include <string>

void WriteSkinPreviews(const Image& skin, const std::string& folder);
