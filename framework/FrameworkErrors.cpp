// Result-code sentences, the framework's error messages and their exit codes.
#include "framework/FrameworkErrors.h"

#include "graphics/GraphicsErrors.h"

#include <d3d9.h>

#include <array>

namespace {

struct Description {
    HRESULT hr;
    const wchar_t* text;
};

constexpr std::array kDescriptions{
    Description{S_OK, L"The operation completed successfully."},
    Description{S_FALSE, L"The operation completed without doing anything."},
    Description{E_FAIL, L"Unspecified error."},
    Description{E_INVALIDARG, L"One or more arguments are not valid."},
    Description{E_OUTOFMEMORY, L"Not enough memory to complete the operation."},
    Description{E_NOTIMPL, L"The operation is not implemented."},
    Description{E_NOINTERFACE, L"No such interface is supported."},
    Description{E_POINTER, L"A pointer that is not valid was given."},
    Description{E_ABORT, L"The operation was aborted."},
    Description{E_ACCESSDENIED, L"Access is denied."},
    Description{E_HANDLE, L"A handle that is not valid was given."},
    Description{E_UNEXPECTED, L"A catastrophic failure occurred."},
    Description{D3DERR_WRONGTEXTUREFORMAT, L"The pixel format of the texture surface is not valid."},
    Description{D3DERR_UNSUPPORTEDCOLOROPERATION,
                L"The device does not support a colour blending operation."},
    Description{D3DERR_UNSUPPORTEDCOLORARG, L"The device does not support a colour argument."},
    Description{D3DERR_UNSUPPORTEDALPHAOPERATION,
                L"The device does not support an alpha blending operation."},
    Description{D3DERR_UNSUPPORTEDALPHAARG, L"The device does not support an alpha argument."},
    Description{D3DERR_TOOMANYOPERATIONS,
                L"The application asks for more texture operations than the device supports."},
    Description{D3DERR_CONFLICTINGTEXTUREFILTER, L"The current texture filters cannot be used together."},
    Description{D3DERR_UNSUPPORTEDFACTORVALUE, L"The device does not support the texture factor value."},
    Description{D3DERR_CONFLICTINGRENDERSTATE, L"The current render states cannot be used together."},
    Description{D3DERR_UNSUPPORTEDTEXTUREFILTER, L"The device does not support the texture filter."},
    Description{D3DERR_CONFLICTINGTEXTUREPALETTE, L"The current textures cannot be used together."},
    Description{D3DERR_DRIVERINTERNALERROR, L"The display driver reported an internal error."},
    Description{D3DERR_NOTFOUND, L"The requested item was not found."},
    Description{D3DERR_MOREDATA, L"There is more data than the buffer can hold."},
    Description{D3DERR_DEVICELOST, L"The device has been lost and cannot be reset yet."},
    Description{D3DERR_DEVICENOTRESET, L"The device has been lost and can be reset now."},
    Description{D3DERR_NOTAVAILABLE, L"The device does not support the queried technique."},
    Description{D3DERR_OUTOFVIDEOMEMORY, L"There is not enough display memory for the operation."},
    Description{D3DERR_INVALIDDEVICE, L"The requested device type is not valid."},
    Description{D3DERR_INVALIDCALL,
                L"The method call is not valid; a parameter may have a value that is not valid."},
    Description{D3DERR_DRIVERINVALIDCALL, L"The display driver rejected the call."},
    Description{D3DERR_WASSTILLDRAWING, L"The previous drawing operation on this surface is still running."},
    Description{D3DERR_DEVICEREMOVED, L"The hardware adapter has been removed."},
    Description{D3DERR_DEVICEHUNG, L"The device stopped responding and was reset."},
    Description{GraphicsError::CannotModifyIndexBuffer, L"The index buffer cannot be modified."},
    Description{GraphicsError::InvalidMesh, L"The mesh is not valid."},
    Description{GraphicsError::CannotAttributeSort, L"Sorting by attribute is not supported for this mesh."},
    Description{GraphicsError::SkinningNotSupported, L"Skinning is not supported."},
    Description{GraphicsError::TooManyInfluences, L"Too many influences were given."},
    Description{GraphicsError::InvalidData, L"The data is not valid."},
    Description{GraphicsError::LoadedMeshHasNoData, L"The loaded mesh has no data."},
    Description{GraphicsError::DuplicateNamedFragment, L"A fragment with that name already exists."},
    Description{GraphicsError::CannotRemoveLastItem, L"The last item cannot be removed."},
    Description{kErrorNoDirect3D, L"Could not initialize Direct3D."},
    Description{kErrorNoCompatibleDevices, L"Could not find any compatible Direct3D devices."},
    Description{kErrorMediaNotFound, L"Could not find required media."},
    Description{kErrorNonZeroRefCount, L"The device has a non-zero reference count."},
    Description{kErrorCreatingDevice, L"Failed creating the Direct3D device."},
    Description{kErrorResettingDevice, L"Failed resetting the Direct3D device."},
    Description{kErrorCreatingDeviceObjects, L"Failed creating Direct3D device objects."},
    Description{kErrorResettingDeviceObjects, L"Failed resetting Direct3D device objects."},
};

constexpr size_t kMaxMessageLength = 511;

// What the user is told for each of the framework's own failures, and the exit code.
struct FrameworkFailure {
    HRESULT hr;
    const wchar_t* text;
    int exitCode;
};

constexpr std::array kFrameworkFailures{
    FrameworkFailure{kErrorNoDirect3D,
                     L"Could not initialize Direct3D. You may want to check that the latest version of "
                     L"DirectX is correctly installed on your system.  Also make sure that this program "
                     L"was compiled with header files that match the installed DirectX DLLs.",
                     2},
    FrameworkFailure{kErrorNoCompatibleDevices, L"Could not find any compatible Direct3D devices.", 3},
    FrameworkFailure{kErrorMediaNotFound,
                     L"Could not find required media. Ensure that the DirectX SDK is correctly installed.",
                     4},
    FrameworkFailure{
        kErrorNonZeroRefCount,
        L"The D3D device has a non-zero reference count, meaning some objects were not released.", 5},
    FrameworkFailure{kErrorCreatingDevice, L"Failed creating the Direct3D device.", 6},
    FrameworkFailure{kErrorResettingDevice, L"Failed resetting the Direct3D device.", 7},
    FrameworkFailure{kErrorCreatingDeviceObjects, L"Failed creating Direct3D device objects.", 8},
    FrameworkFailure{kErrorResettingDeviceObjects, L"Failed resetting Direct3D device objects.", 9},
};

const FrameworkFailure* FindFrameworkFailure(HRESULT hr) {
    for (const FrameworkFailure& failure : kFrameworkFailures) {
        if (failure.hr == hr) {
            return &failure;
        }
    }
    return nullptr;
}

std::wstring SystemMessage(DWORD code) {
    wchar_t buffer[kMaxMessageLength + 1] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                                  static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    // The system's messages end in a line break, which a message box or a log line does not want.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

} // namespace

const wchar_t* ErrorDescription(HRESULT hr) {
    for (const Description& d : kDescriptions) {
        if (d.hr == hr) {
            return d.text;
        }
    }
    return L"n/a";
}

ErrorReport ErrorReportFor(HRESULT hr, bool remoteSession) {
    ErrorReport report;
    if (hr == kErrorNoCompatibleDevices && remoteSession) {
        report = {L"Direct3D does not work over a remote session.", 3};
    } else if (const FrameworkFailure* failure = FindFrameworkFailure(hr)) {
        report = {failure->text, failure->exitCode};
    } else {
        const DWORD facility = (static_cast<DWORD>(hr) >> 16) & 0x1FFF;
        if (facility == FACILITY_WIN32 || facility == FACILITY_WINDOWS) {
            report = {SystemMessage(static_cast<DWORD>(hr) & 0xFFFF), 1};
        } else {
            report = {ErrorDescription(hr), 1};
        }
    }
    if (report.text.size() > kMaxMessageLength) {
        report.text.resize(kMaxMessageLength);
    }
    return report;
}

std::wstring ErrorCaption(const std::wstring& title) {
    return title.empty() ? std::wstring(L"DirectX Application") : title;
}
