// The framework's life with real windows and devices: creation, adoption, resets and shutdown.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "support/CallbackLog.h"
#include "support/FrameworkScope.h"
#include "support/MessageBoxCatcher.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

HRESULT requestFromCallback = S_OK;
IDirect3DDevice9* deviceSeenInCallback = nullptr;

HRESULT CALLBACK RequestDeviceWhileReset(IDirect3DDevice9* device, const D3DSURFACE_DESC*, void*) {
    deviceSeenInCallback = device;
    requestFromCallback = FrameworkCreateDevice(0, true, 640, 480);
    return S_OK;
}

bool CALLBACK RefuseEverything(DeviceSettings*, const D3DCAPS9*, void*) {
    return false;
}

IDirect3DDevice9* leaked = nullptr;

HRESULT CALLBACK KeepAReference(IDirect3DDevice9* device, const D3DSURFACE_DESC*, void*) {
    leaked = device;
    device->AddRef();
    return S_OK;
}

std::vector<EXECUTION_STATE> executionRequests;

EXECUTION_STATE WINAPI RecordExecutionState(EXECUTION_STATE flags) {
    executionRequests.push_back(flags);
    return ES_CONTINUOUS;
}

} // namespace

TEST_SUITE("framework") {

TEST_CASE("FrameworkCreateWindow: a window of 640 by 480; a second call changes nothing") {
    FrameworkScope scope;
    HWND window = OpenFrameworkWindow(L"First");
    REQUIRE(IsWindow(window));
    CHECK(WindowText(window) == L"First");
    CHECK(ClientSizeOf(window).cx == 640);
    CHECK(ClientSizeOf(window).cy == 480);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    CHECK(std::wstring(className) == L"Direct3DWindowClass");

    CHECK(FrameworkCreateWindow(L"Second", nullptr, nullptr, nullptr, 10, 10) == S_OK);
    CHECK(FrameworkGetHWND() == window);
    CHECK(WindowText(window) == L"First");
}

TEST_CASE("FrameworkCreateWindow: a title longer than 255 characters is cut to 255") {
    FrameworkScope scope;
    const std::wstring longTitle(300, L'x');
    REQUIRE(FrameworkCreateWindow(longTitle.c_str()) == S_OK);
    CHECK(GetFrameworkState().Window().Get(&WindowState::windowTitle) == std::wstring(255, L'x'));
    CHECK(WindowText(FrameworkGetHWND()).size() == 255);
}

TEST_CASE("FrameworkSetWindow: adopts a window, takes its title and refuses null windows") {
    FrameworkScope scope;
    HWND own = CreateWindowExW(0, L"STATIC", L"DORAPreviewWindow", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    REQUIRE(own != nullptr);
    CHECK(FrameworkSetWindow(own, nullptr, own) == E_INVALIDARG);
    REQUIRE(FrameworkSetWindow(own, own, own) == S_OK);
    CHECK(FrameworkGetHWND() == own);
    CHECK(GetWindowLongPtrW(own, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(FrameworkWindowProc));
    CHECK(GetFrameworkState().Window().Get(&WindowState::windowTitle) == L"DORAPreviewWindow");
    // The framework's procedure closes the adopted window on shutdown.
    FrameworkShutdown(0);
    CHECK_FALSE(IsWindow(own));
}

TEST_CASE("ChangeDevice: a windowed 800 by 600 device sizes the client area and centres the window") {
    FrameworkScope scope;
    HWND window = OpenFrameworkWindow(L"Placement");
    REQUIRE(ChangeDevice(WindowedSettings(window, 800, 600), nullptr, false, true) == S_OK);
    REQUIRE(FrameworkGetDevice() != nullptr);
    CHECK(ClientSizeOf(window).cx == 800);
    CHECK(ClientSizeOf(window).cy == 600);
    RECT outer{};
    GetWindowRect(window, &outer);
    const RECT work = WorkArea();
    CHECK(outer.left - work.left == (work.right - work.left - (outer.right - outer.left)) / 2);
    CHECK(outer.top - work.top == (work.bottom - work.top - (outer.bottom - outer.top)) / 2);
    CHECK(IsWindowVisible(window));
    const DeviceSettings current = FrameworkGetDeviceSettings();
    CHECK(current.pp.BackBufferWidth == 800);
    CHECK(current.pp.BackBufferHeight == 600);
}

TEST_CASE("Device change: full screen and windowed, the display is left to the power plan") {
    FrameworkScope scope;
    executionRequests.clear();
    FrameworkSetExecutionStateFunction(RecordExecutionState);
    REQUIRE(FrameworkCreateDevice(0, false, 0, 0) == S_OK);
    REQUIRE(FrameworkGetDeviceSettings().pp.Windowed == FALSE);
    CHECK(executionRequests == std::vector<EXECUTION_STATE>{ES_CONTINUOUS});
    REQUIRE(ChangeDevice(WindowedSettings(FrameworkGetHWND(), 640, 480), nullptr, false, true) == S_OK);
    CHECK(executionRequests == std::vector<EXECUTION_STATE>{ES_CONTINUOUS, ES_CONTINUOUS});
    FrameworkSetExecutionStateFunction(nullptr);
}

TEST_CASE("Device callbacks: matched pairs in order through create, a windowed resize and shutdown") {
    FrameworkScope scope;
    CallbackLog log;
    log.Install();
    HWND window = OpenFrameworkWindow(L"Callbacks");
    REQUIRE(ChangeDevice(WindowedSettings(window, 640, 480), nullptr, false, true) == S_OK);
    IDirect3DDevice9* device = FrameworkGetDevice();
    REQUIRE(ChangeDevice(WindowedSettings(window, 400, 300), nullptr, false, true) == S_OK);
    CHECK(FrameworkGetDevice() == device); // resized by a reset, not recreated
    CHECK(ClientSizeOf(window).cx == 400);
    FrameworkShutdown(0);
    CHECK(log.Joined() == "created, reset 640x480, lost, reset 400x300, lost, destroyed");
    CHECK(FrameworkGetDevice() == nullptr);
    CHECK_FALSE(IsWindow(window));
    CHECK(FrameworkGetExitCode() == 0);
}

TEST_CASE("Device callbacks: a failing created callback gives exit code 8 and no device") {
    FrameworkScope scope;
    CallbackLog log;
    log.createdResult = E_FAIL;
    log.Install();
    REQUIRE(FrameworkCreateWindow(L"Fails") == S_OK);
    CHECK(ChangeDevice(WindowedSettings(FrameworkGetHWND(), 320, 240), nullptr, false, true) ==
          kErrorCreatingDeviceObjects);
    CHECK(FrameworkGetExitCode() == 8);
    CHECK(FrameworkGetDevice() == nullptr);
    CHECK(log.Joined() == "created");
}

TEST_CASE("Device callbacks: a reset callback reporting missing media gives exit code 4 and balanced calls") {
    FrameworkScope scope;
    CallbackLog log;
    log.resetResult = kErrorMediaNotFound;
    log.Install();
    REQUIRE(FrameworkCreateWindow(L"Media") == S_OK);
    CHECK(ChangeDevice(WindowedSettings(FrameworkGetHWND(), 320, 240), nullptr, false, true) ==
          kErrorMediaNotFound);
    CHECK(FrameworkGetExitCode() == 4);
    CHECK(log.Joined() == "created, reset 320x240, destroyed");
}

TEST_CASE("FrameworkCreateDevice: refused from inside a device callback; the device stays") {
    FrameworkScope scope;
    requestFromCallback = S_OK;
    FrameworkSetDeviceResetCallback(RequestDeviceWhileReset, nullptr);
    REQUIRE(FrameworkCreateWindow(L"Reentry") == S_OK);
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    CHECK(requestFromCallback == E_FAIL);
    CHECK(FrameworkGetDevice() == deviceSeenInCallback);
    CHECK(FrameworkGetDeviceSettings().pp.BackBufferWidth == 320);
}

TEST_CASE("ChangeDevice: a modify callback refusing the first device gives E_ABORT and exit code 3") {
    FrameworkScope scope;
    MessageBoxCatcher catcher;
    REQUIRE(FrameworkCreateWindow(L"Refused") == S_OK);
    GetFrameworkState().Callbacks().Set(&CallbackState::modifyDeviceSettings, RefuseEverything);
    CHECK(ChangeDevice(WindowedSettings(FrameworkGetHWND(), 320, 240), nullptr, false, true) == E_ABORT);
    CHECK(FrameworkGetExitCode() == 3);
    CHECK(FrameworkGetDevice() == nullptr);
    CHECK_FALSE(GetFrameworkState().HasSettings());
    CHECK(MessageBoxCatcher::Boxes().empty());
}

TEST_CASE("CleanupEnvironment: a device still referenced at release gives exit code 5") {
    FrameworkScope scope;
    leaked = nullptr;
    FrameworkSetDeviceCreatedCallback(KeepAReference, nullptr);
    REQUIRE(FrameworkCreateWindow(L"Leak") == S_OK);
    REQUIRE(ChangeDevice(WindowedSettings(FrameworkGetHWND(), 320, 240), nullptr, false, true) == S_OK);
    FrameworkShutdown(0);
    CHECK(FrameworkGetExitCode() == 5);
    REQUIRE(leaked != nullptr);
    CHECK(leaked->Release() == 0);
}

TEST_CASE(
    "FrameworkCreateDevice: without a window it makes \"Direct3D Window\" with a 640 by 480 client area") {
    FrameworkScope scope;
    REQUIRE(FrameworkCreateDevice(0, true, 0, 0) == S_OK);
    HWND window = FrameworkGetHWND();
    REQUIRE(IsWindow(window));
    CHECK(WindowText(window) == L"Direct3D Window");
    CHECK(ClientSizeOf(window).cx == 640);
    CHECK(ClientSizeOf(window).cy == 480);
    CHECK((GetWindowLongPtrW(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW);
    REQUIRE(FrameworkGetDevice() != nullptr);
    const DeviceSettings s = FrameworkGetDeviceSettings();
    CHECK(s.pp.Windowed == TRUE);
    CHECK(s.pp.BackBufferWidth == 640);
    CHECK(s.pp.BackBufferHeight == 480);
    CHECK(s.pp.hDeviceWindow == window);
}

TEST_CASE(
    "FrameworkCreateDevice: a windowed 800 by 600 wish gives that client area, centred in the work area") {
    FrameworkScope scope;
    REQUIRE(FrameworkCreateWindow(L"Wish") == S_OK);
    REQUIRE(FrameworkCreateDevice(0, true, 800, 600) == S_OK);
    HWND window = FrameworkGetHWND();
    CHECK(ClientSizeOf(window).cx == 800);
    CHECK(ClientSizeOf(window).cy == 600);
    RECT outer{};
    GetWindowRect(window, &outer);
    const RECT work = WorkArea();
    CHECK(outer.left - work.left == (work.right - work.left - (outer.right - outer.left)) / 2);
    CHECK(outer.top - work.top == (work.bottom - work.top - (outer.bottom - outer.top)) / 2);
}

TEST_CASE(
    "FrameworkCreateDevice: a modify callback refusing the first device gives E_ABORT and exit code 3") {
    FrameworkScope scope;
    MessageBoxCatcher catcher;
    CHECK(FrameworkCreateDevice(0, true, 0, 0, nullptr, RefuseEverything, nullptr) == E_ABORT);
    CHECK(FrameworkGetExitCode() == 3);
    CHECK(FrameworkGetDevice() == nullptr);
    CHECK(MessageBoxCatcher::Boxes().empty());
}

TEST_CASE("FrameworkCreateDevice: a second attempt that succeeds clears the first attempt's exit code") {
    FrameworkScope scope;
    MessageBoxCatcher catcher;
    REQUIRE(FrameworkCreateDevice(0, true, 0, 0, nullptr, RefuseEverything, nullptr) == E_ABORT);
    REQUIRE(FrameworkGetExitCode() == 3);
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    CHECK(FrameworkGetDevice() != nullptr);
    CHECK(FrameworkGetExitCode() == 0);
    FrameworkShutdown(0);
    CHECK(FrameworkGetExitCode() == 0);
}

TEST_CASE("FrameworkCreateDevice: the refusal message is shown in a box when boxes are on") {
    FrameworkScope scope(false);
    REQUIRE(FrameworkInit(true, true, true) == S_OK);
    MessageBoxCatcher catcher;
    CHECK(FrameworkCreateDevice(0, true, 0, 0, nullptr, RefuseEverything, nullptr) == E_ABORT);
    REQUIRE(MessageBoxCatcher::Boxes().size() == 1);
    CHECK(MessageBoxCatcher::Boxes()[0].text == L"Could not find any compatible Direct3D devices.");
    CHECK(MessageBoxCatcher::Boxes()[0].caption == L"Direct3D Window");
}

} // TEST_SUITE
