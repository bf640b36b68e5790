// Messages sent to a probe's dialog as the window would send them.
#include "support/DialogProbe.h"

DialogProbe::DialogProbe() {
    dialog.Init(&resources);
    log.Attach(dialog);
}

bool DialogProbe::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return dialog.HandleMessage(platform.Window(), msg, wParam, lParam);
}

bool DialogProbe::WheelDelta(int delta, int x, int y) {
    POINT screen = {x, y};
    ClientToScreen(platform.Window(), &screen);
    const WPARAM wParam = MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta)));
    return Send(WM_MOUSEWHEEL, wParam, MAKELPARAM(screen.x, screen.y));
}
