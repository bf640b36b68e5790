// The interact command of the test driver: starts the program and plays real mouse and key input on its
// window, step by step, with checks between the steps.
//
// VitrelleDriver interact PROGRAM [ARGS...] -- STEP...
// Steps (coordinates are client coordinates of the program's Direct3D window):
//   click:X,Y  rclick:X,Y  down:X,Y  up:X,Y  move:X,Y  drag:X1,Y1,X2,Y2   mouse input
//   key:NAME   a key pressed and released (F1, ESC, SPACE, RETURN, LEFT, RIGHT, UP, DOWN, HOME, END,
//              a letter or digit, or a code such as 0x41)
//   wait:MS    sleep; the program must not end meanwhile
//   alive:MS   the same, said as a check
//   exit:MS    the program must end within MS; interact then returns its exit code
//   cursor:shown|hidden   the system cursor's visibility must become as said within 5 s
//   pause:FILE create FILE and wait until the test script removes it (to take a screenshot)
// Every wait is bounded: the whole run ends after 120 s, and the program is ended when a step fails.
#pragma once

#include <windows.h>

// argv: PROGRAM [ARGS...] -- STEP...; the result is the program's exit code or a driver failure
// (DriverExitCodes.h).
int Interact(int argc, wchar_t** argv);

// Real input on a window, as a user gives it: the window brought to the front, then a left click at a
// client point, or a key pressed and released.
void ClickAt(HWND window, int x, int y);
void PressKeyOn(HWND window, WORD key);
