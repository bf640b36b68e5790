// Helpers for tests of the framework with real windows and devices.
#include "support/FrameworkScope.h"

#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"

#include <doctest/doctest.h>

FrameworkScope::FrameworkScope(bool init) {
    FrameworkShutdown(0);
    FrameworkResetState();
    DrainMessages();
    if (init) {
        REQUIRE(FrameworkInit(true, false, true) == S_OK);
    }
}

FrameworkScope::~FrameworkScope() {
    // The test's callback objects may be gone already: the closing shutdown calls none of them.
    FrameworkSetDeviceCreatedCallback(nullptr, nullptr);
    FrameworkSetDeviceResetCallback(nullptr, nullptr);
    FrameworkSetDeviceLostCallback(nullptr, nullptr);
    FrameworkSetDeviceDestroyedCallback(nullptr, nullptr);
    FrameworkSetFrameMoveCallback(nullptr, nullptr);
    FrameworkSetFrameRenderCallback(nullptr, nullptr);
    FrameworkSetKeyboardCallback(nullptr, nullptr);
    FrameworkSetWindowMessageCallback(nullptr, nullptr);
    GetFrameworkState().With([](FrameworkFields& f) {
        f.modifyDeviceSettings = nullptr;
        f.isDeviceAcceptable = nullptr;
    });
    FrameworkShutdown(0);
    FrameworkSetClock(nullptr);
    FrameworkResetState();
    DrainMessages();
}

void DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

DeviceSettings WindowedSettings(HWND window, UINT width, UINT height) {
    DeviceSettings s;
    s.AdapterOrdinal = 0;
    s.DeviceType = D3DDEVTYPE_HAL;
    s.AdapterFormat = D3DFMT_X8R8G8B8;
    s.BehaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    s.pp.BackBufferWidth = width;
    s.pp.BackBufferHeight = height;
    s.pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    s.pp.BackBufferCount = 1;
    s.pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    s.pp.hDeviceWindow = window;
    s.pp.Windowed = TRUE;
    return s;
}

SIZE ClientSizeOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

namespace {

HRESULT CALLBACK LogCreated(IDirect3DDevice9*, const D3DSURFACE_DESC*, void* context) {
    auto* log = static_cast<CallbackLog*>(context);
    log->calls.push_back("created");
    return log->createdResult;
}
HRESULT CALLBACK LogReset(IDirect3DDevice9*, const D3DSURFACE_DESC* desc, void* context) {
    auto* log = static_cast<CallbackLog*>(context);
    log->calls.push_back("reset " + std::to_string(desc->Width) + "x" + std::to_string(desc->Height));
    return log->resetResult;
}
void CALLBACK LogLost(void* context) {
    static_cast<CallbackLog*>(context)->calls.push_back("lost");
}
void CALLBACK LogDestroyed(void* context) {
    static_cast<CallbackLog*>(context)->calls.push_back("destroyed");
}

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

void CallbackLog::Install() {
    FrameworkSetDeviceCreatedCallback(LogCreated, this);
    FrameworkSetDeviceResetCallback(LogReset, this);
    FrameworkSetDeviceLostCallback(LogLost, this);
    FrameworkSetDeviceDestroyedCallback(LogDestroyed, this);
}

std::string CallbackLog::Joined() const {
    std::string all;
    for (const std::string& call : calls) {
        all += all.empty() ? call : ", " + call;
    }
    return all;
}

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
