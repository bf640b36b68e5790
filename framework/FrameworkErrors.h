// The framework's own result codes, their messages and the process exit codes they stand for.
#pragma once

#include <windows.h>

#include <string>

constexpr HRESULT kErrorNoDirect3D = static_cast<HRESULT>(0x80040901);
constexpr HRESULT kErrorNoCompatibleDevices = static_cast<HRESULT>(0x80040902);
constexpr HRESULT kErrorMediaNotFound = static_cast<HRESULT>(0x80040903);
constexpr HRESULT kErrorNonZeroRefCount = static_cast<HRESULT>(0x80040904);
constexpr HRESULT kErrorCreatingDevice = static_cast<HRESULT>(0x80040905);
constexpr HRESULT kErrorResettingDevice = static_cast<HRESULT>(0x80040906);
constexpr HRESULT kErrorCreatingDeviceObjects = static_cast<HRESULT>(0x80040907);
constexpr HRESULT kErrorResettingDeviceObjects = static_cast<HRESULT>(0x80040908);

// Exit code of a run on the reference rasterizer.
constexpr int kExitCodeReferenceDevice = 11;

struct ErrorReport {
    std::wstring text;
    int exitCode = 1;
};

// The English sentence for a well-known result code, "n/a" for an unknown one.
const wchar_t* ErrorDescription(HRESULT hr);

// What the user is told for a failure, and the exit code the process ends with.
// remoteSession selects the remote-desktop wording of the no-device message.
ErrorReport ErrorReportFor(HRESULT hr, bool remoteSession);

// The message box caption for a window title.
std::wstring ErrorCaption(const std::wstring& title);
