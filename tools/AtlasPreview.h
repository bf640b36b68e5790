// Preview pictures of a piece atlas: the atlas enlarged, and its pieces scattered and added up on black
// the way the saver paints them.
#pragma once

#include "artwork/Image.h"

#include <string>

// Writes PREFIX-zoom.png and PREFIX-glow.png.
void WriteAtlasPreviews(const Image& atlas, const std::string& prefix);
