// The settings file's operations on the real file system.
#include "settings/SettingsDisk.h"

#include "framework/UniqueHandle.h"

#include <algorithm>

namespace {

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
using FileHandle = UniqueHandleOf<FileHandleTraits>;

HRESULT LastError() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

} // namespace

HRESULT Win32SettingsDisk::Read(const std::wstring& file, std::string& bytes) {
    bytes.clear();
    FileHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return LastError();
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle.get(), &size)) {
        return LastError();
    }
    if (size.QuadPart > static_cast<LONGLONG>(MaxFileSize)) {
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(handle.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr)) {
            bytes.clear();
            return LastError();
        }
        if (read == 0) {
            break; // the file shrank meanwhile
        }
        done += read;
    }
    bytes.resize(done);
    return S_OK;
}

bool Win32SettingsDisk::Exists(const std::wstring& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HRESULT Win32SettingsDisk::Write(const std::wstring& file, std::string_view bytes) {
    FileHandle handle(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return LastError();
    }
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 16));
        DWORD written = 0;
        if (!WriteFile(handle.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
            return LastError();
        }
        bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(handle.get())) {
        return LastError();
    }
    return S_OK;
}

HRESULT Win32SettingsDisk::Replace(const std::wstring& from, const std::wstring& to) {
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return LastError();
    }
    return S_OK;
}

void Win32SettingsDisk::Remove(const std::wstring& file) {
    DeleteFileW(file.c_str());
}

HRESULT Win32SettingsDisk::CreateFolders(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? S_OK : HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    }
    const std::size_t parentEnd = folder.find_last_of(L"\\/");
    if (parentEnd != std::wstring::npos && parentEnd > 0 && folder[parentEnd - 1] != L':') {
        if (HRESULT hr = CreateFolders(folder.substr(0, parentEnd)); FAILED(hr)) {
            return hr;
        }
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return LastError();
    }
    return S_OK;
}

SettingsDisk& RealSettingsDisk() {
    static Win32SettingsDisk disk;
    return disk;
}
