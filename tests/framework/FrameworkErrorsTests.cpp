// Error messages, exit codes and the message box of a failure.
#include "framework/Framework.h"
#include "framework/FrameworkErrors.h"
#include "framework/FrameworkInternal.h"
#include "framework/HResultError.h"
#include "support/DebugOutputCatcher.h"
#include "support/FrameworkScope.h"
#include "support/MessageBoxCatcher.h"

#include <doctest/doctest.h>

#include <d3d9.h>

TEST_SUITE("framework") {

TEST_CASE("ReportIgnoredFailure: a failure is written with its step and description; a success is not") {
    DebugOutputCatcher debug;
    ReportIgnoredFailure(L"winmm.dll", S_OK);
    CHECK(DebugOutputCatcher::Text().empty());
    ReportIgnoredFailure(L"device cursor", D3DERR_INVALIDCALL);
    CHECK(DebugOutputCatcher::Text() ==
          std::wstring(L"IGNORED:device cursor: ") + ErrorDescription(D3DERR_INVALIDCALL) + L"\r\n");
}

TEST_CASE("FrameworkWindowProc: a failure raised while handling a message stays inside, is reported and "
          "ends the run") {
    FrameworkScope scope;
    FrameworkSetWindowMessageCallback(
        [](HWND, UINT message, WPARAM, LPARAM, bool*, void*) -> LRESULT {
            if (message == WM_APP) {
                throw HResultError(E_ACCESSDENIED);
            }
            return 0;
        },
        nullptr);
    HWND window = OpenFrameworkWindow(L"Raising");
    SendMessageW(window, WM_APP, 0, 0);
    CHECK(FrameworkGetExitCode() == 1);
    MSG quit{};
    CHECK(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_CASE("ErrorReportFor: each framework code has its exit code, anything else gives 1") {
    struct Row {
        HRESULT hr;
        int exitCode;
        const wchar_t* start;
    };
    const Row rows[] = {
        {kErrorNoDirect3D, 2, L"Could not initialize Direct3D. You may want"},
        {kErrorNoCompatibleDevices, 3, L"Could not find any compatible Direct3D devices."},
        {kErrorMediaNotFound, 4, L"Could not find required media."},
        {kErrorNonZeroRefCount, 5, L"The D3D device has a non-zero reference count"},
        {kErrorCreatingDevice, 6, L"Failed creating the Direct3D device."},
        {kErrorResettingDevice, 7, L"Failed resetting the Direct3D device."},
        {kErrorCreatingDeviceObjects, 8, L"Failed creating Direct3D device objects."},
        {kErrorResettingDeviceObjects, 9, L"Failed resetting Direct3D device objects."},
        {E_FAIL, 1, L"Unspecified error."},
        {D3DERR_INVALIDCALL, 1, L"The method call is not valid"},
        {static_cast<HRESULT>(0x8765ABCD), 1, L"n/a"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.hr);
        const ErrorReport report = ErrorReportFor(row.hr, false);
        CHECK(report.exitCode == row.exitCode);
        CHECK(report.text.rfind(row.start, 0) == 0);
    }
    CHECK(ErrorReportFor(kErrorNoCompatibleDevices, true).text ==
          L"Direct3D does not work over a remote session.");
}

TEST_CASE("ErrorReportFor: Win32 codes take the system's sentence without its line break") {
    const ErrorReport report = ErrorReportFor(static_cast<HRESULT>(0x80070002), false);
    CHECK(report.exitCode == 1);
    CHECK_FALSE(report.text.empty());
    CHECK(report.text != L"n/a");
    CHECK(report.text.find_first_of(L"\r\n") == std::wstring::npos);
}

TEST_CASE("FrameworkDisplayErrorMessage: stores the exit code; no box while boxes are off") {
    FrameworkScope scope;
    MessageBoxCatcher catcher;
    const HRESULT codes[] = {kErrorNoDirect3D,
                             kErrorNoCompatibleDevices,
                             kErrorMediaNotFound,
                             kErrorNonZeroRefCount,
                             kErrorCreatingDevice,
                             kErrorResettingDevice,
                             kErrorCreatingDeviceObjects,
                             kErrorResettingDeviceObjects,
                             E_OUTOFMEMORY};
    const int expected[] = {2, 3, 4, 5, 6, 7, 8, 9, 1};
    for (size_t i = 0; i < std::size(codes); ++i) {
        FrameworkDisplayErrorMessage(codes[i]);
        CHECK(FrameworkGetExitCode() == expected[i]);
    }
    CHECK(MessageBoxCatcher::Boxes().empty());
}

TEST_CASE("FrameworkDisplayErrorMessage: the box's caption is the window title, or a default for none") {
    FrameworkScope scope(false);
    REQUIRE(FrameworkInit(true, true, true) == S_OK);
    REQUIRE(FrameworkCreateWindow(L"Vitrelle test window") == S_OK);
    {
        MessageBoxCatcher catcher;
        FrameworkDisplayErrorMessage(kErrorCreatingDevice);
        REQUIRE(MessageBoxCatcher::Boxes().size() == 1);
        CHECK(MessageBoxCatcher::Boxes()[0].caption == L"Vitrelle test window");
        CHECK(MessageBoxCatcher::Boxes()[0].text == L"Failed creating the Direct3D device.");
    }
    FrameworkShutdown(0);
    FrameworkResetState();
    DrainMessages();
    REQUIRE(FrameworkInit(true, true, true) == S_OK);
    REQUIRE(FrameworkCreateWindow(L"") == S_OK);
    MessageBoxCatcher catcher;
    FrameworkDisplayErrorMessage(kErrorMediaNotFound);
    REQUIRE(MessageBoxCatcher::Boxes().size() == 1);
    CHECK(MessageBoxCatcher::Boxes()[0].caption == L"DirectX Application");
    CHECK(FrameworkGetExitCode() == 4);
}

} // TEST_SUITE
