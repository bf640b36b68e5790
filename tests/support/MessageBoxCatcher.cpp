// A thread hook that reads each message box as it opens and closes it.
#include "support/MessageBoxCatcher.h"

namespace {

LRESULT CALLBACK CatchMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[64] = {};
        GetClassNameW(box, className, 64);
        if (std::wstring(className) == L"#32770") {
            MessageBoxCatcher::Box caught;
            wchar_t text[1024] = {};
            GetWindowTextW(box, text, 1024);
            caught.caption = text;
            EnumChildWindows(
                box,
                [](HWND child, LPARAM param) -> BOOL {
                    wchar_t name[64] = {};
                    GetClassNameW(child, name, 64);
                    if (_wcsicmp(name, L"Static") == 0) {
                        wchar_t childText[1024] = {};
                        GetWindowTextW(child, childText, 1024);
                        reinterpret_cast<std::wstring*>(param)->append(childText);
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&caught.text));
            MessageBoxCatcher::Boxes().push_back(caught);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

MessageBoxCatcher::MessageBoxCatcher() {
    Boxes().clear();
    hook_ = SetWindowsHookExW(WH_CBT, CatchMessageBox, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() {
    UnhookWindowsHookEx(hook_);
}

std::vector<MessageBoxCatcher::Box>& MessageBoxCatcher::Boxes() {
    static std::vector<Box> boxes;
    return boxes;
}
