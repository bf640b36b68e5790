// Codes shared by the GUI toolkit: control types, event codes, drawing states and the event callback.
#pragma once

#include <windows.h>

#include <cstdint>

class CGuiControl;

// Type code stored in every control; also the key of the default-element table.
enum class ControlType : int32_t {
    Button = 0,
    Static = 1,
    CheckBox = 2,
    RadioButton = 3,
    ComboBox = 4,
    Slider = 5,
    EditBox = 6,
    ImeEditBox = 7,
    ListBox = 8,
    ScrollBar = 9,
};

// Event codes passed to a dialog's callback.
enum class GuiEvent : uint32_t {
    ButtonClicked = 0x0101,
    ComboBoxSelectionChanged = 0x0201,
    SliderValueChanged = 0x0501,
};

// Index into a colour set: the state a control is drawn in.
enum class ControlState : uint32_t {
    Normal = 0,
    Disabled = 1,
    Hidden = 2,
    Focus = 3,
    MouseOver = 4,
    Pressed = 5,
};

constexpr int kControlStateCount = 6;

// Called synchronously from inside the control operation that produced the event.
using GuiEventCallback = void (*)(UINT event, int controlId, CGuiControl* control, void* userContext);
