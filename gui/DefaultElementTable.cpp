// The built-in look of every control type, registered by each dialog's InstallDefaultElements.
#include "gui/DefaultElementTable.h"

#include <d3d9.h>

namespace {

using T = ControlType;

// One row per line, so the table reads as a table.
// clang-format off
// Colours in the order Normal, Disabled, Hidden, Focus, MouseOver, Pressed.
#define WHITE_SET {0xFFFFFFFF, 0xC8808080, 0x00000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}
#define SCROLL_SET {0xFFFFFFFF, 0xFFC8C8C8, 0x00000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}

constexpr DefaultElementRow rows[] = {
    {T::Static, 0, {0, 0, 0, 0}, 5, WHITE_SET,
     {0xFFFFFFFF, 0xC8C8C8C8, 0x00000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
    {T::Button, 0, {0, 0, 136, 54}, 5, {0x96FFFFFF, 0xC8808080, 0x00000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xC8FFFFFF},
     {0xFFFFFFFF, 0xC8808080, 0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
    {T::Button, 1, {136, 0, 252, 54}, 5, {0x00FFFFFF, 0xC8808080, 0x00000000, 0x1EFFFFFF, 0xA0FFFFFF, 0x3C000000},
     {0xFFFFFFFF, 0xC8808080, 0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
    {T::CheckBox, 0, {0, 54, 27, 81}, 4, WHITE_SET, WHITE_SET},
    {T::CheckBox, 1, {27, 54, 54, 81}, 4, WHITE_SET, WHITE_SET},
    {T::RadioButton, 0, {54, 54, 81, 81}, 4, WHITE_SET, WHITE_SET},
    {T::RadioButton, 1, {81, 54, 108, 81}, 4, WHITE_SET, WHITE_SET},
    {T::ComboBox, 0, {7, 81, 247, 123}, 5, {0x96C8C8C8, 0x46C8C8C8, 0x00000000, 0xAAE6E6E6, 0xFFFFFFFF, 0xFFFFFFFF},
     {0xFFFFFFFF, 0xC8C8C8C8, 0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000}},
    {T::ComboBox, 1, {98, 189, 151, 238}, 5, {0x96FFFFFF, 0x46FFFFFF, 0x00000000, 0xC8FFFFFF, 0xFFFFFFFF, 0xFF969696},
     {0xFFFFFFFF, 0xC8C8C8C8, 0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000}},
    {T::ComboBox, 2, {13, 123, 241, 160}, 0, WHITE_SET,
     {0xFF000000, 0xC8808080, 0x00000000, 0xFF000000, 0xFF000000, 0xFF000000}},
    {T::ComboBox, 3, {12, 163, 239, 183}, 0, WHITE_SET, WHITE_SET},
    {T::Slider, 0, {1, 187, 93, 228}, 0, {0x96FFFFFF, 0x46FFFFFF, 0x00000000, 0xC8FFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
     WHITE_SET},
    {T::Slider, 1, {151, 193, 192, 234}, 0, WHITE_SET, WHITE_SET},
    {T::ScrollBar, 0, {196, 212, 218, 223}, 0, SCROLL_SET, WHITE_SET},
    {T::ScrollBar, 1, {196, 192, 218, 212}, 0, SCROLL_SET, WHITE_SET},
    {T::ScrollBar, 2, {196, 223, 218, 244}, 0, SCROLL_SET, WHITE_SET},
    {T::ScrollBar, 3, {220, 192, 238, 234}, 0, WHITE_SET, WHITE_SET},
    // Edit box: text area and the eight border pieces.
    {T::EditBox, 0, {14, 90, 241, 113}, 0, WHITE_SET, WHITE_SET},
    {T::EditBox, 1, {8, 82, 14, 90}, 0, WHITE_SET, WHITE_SET},
    {T::EditBox, 2, {14, 82, 241, 90}, 0, WHITE_SET, WHITE_SET},
    {T::EditBox, 3, {241, 82, 246, 90}, 0, WHITE_SET, WHITE_SET},
    {T::EditBox, 4, {8, 90, 14, 113}, 0, WHITE_SET, WHITE_SET},
    {T::EditBox, 5, {241, 90, 246, 113}, 0, WHITE_SET, WHITE_SET},
    {T::EditBox, 6, {8, 113, 14, 121}, 0, WHITE_SET, WHITE_SET},
    {T::EditBox, 7, {14, 113, 241, 121}, 0, WHITE_SET, WHITE_SET},
    {T::EditBox, 8, {241, 113, 246, 121}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 0, {14, 90, 241, 113}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 1, {8, 82, 14, 90}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 2, {14, 82, 241, 90}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 3, {241, 82, 246, 90}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 4, {8, 90, 14, 113}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 5, {241, 90, 246, 113}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 6, {8, 113, 14, 121}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 7, {14, 113, 241, 121}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 8, {241, 113, 246, 121}, 0, WHITE_SET, WHITE_SET},
    {T::ImeEditBox, 9, {0, 0, 136, 54}, 5, WHITE_SET, WHITE_SET},
    {T::ListBox, 0, {13, 123, 241, 160}, 0, WHITE_SET, WHITE_SET},
    {T::ListBox, 1, {16, 166, 240, 183}, 0, WHITE_SET, WHITE_SET},
};

// clang-format on

#undef WHITE_SET
#undef SCROLL_SET

} // namespace

std::span<const DefaultElementRow> DefaultElementRows() { return rows; }
