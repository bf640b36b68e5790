// One coloured piece in the chamber: its picture in the atlas, its stretch, place and turn.
#pragma once

#include <windows.h>

struct Piece {
    // The 64 x 64 picture in the atlas, in atlas pixels.
    RECT Cell{};
    float ScaleX = 0.0f;
    float ScaleY = 0.0f;
    // Centre of the picture in chamber coordinates: origin at the apex, y downward.
    float X = 0.0f;
    float Y = 0.0f;
    float Angle = 0.0f;
};
