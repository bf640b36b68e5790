// Builds the settings file's path from the module's long file name, at any length.
#include "settings/SettingsPath.h"

#include <string_view>
#include <vector>

std::wstring ModuleFileName(HMODULE module) {
    // GetModuleFileNameW truncates silently when the buffer is too small: grow until it fits.
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size() - 1 && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return std::wstring(buffer.data(), length);
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

namespace {

constexpr std::wstring_view kLocalPrefix = L"\\\\?\\";
constexpr std::wstring_view kUncPrefix = L"\\\\?\\UNC\\";

// Long paths only work with the "\\?\" prefix (without it, Wine's GetLongPathNameW was seen to
// crash on a path of 1200 characters). Returns the prefix that was added, to take off again.
std::wstring_view AddLongPathPrefix(std::wstring& path) {
    if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\")) {
        return {};
    }
    if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') {
        path.insert(0, kLocalPrefix);
        return kLocalPrefix;
    }
    if (path.starts_with(L"\\\\")) {
        path.replace(0, 2, kUncPrefix);
        return kUncPrefix;
    }
    return {};
}

} // namespace

std::wstring LongPathName(const std::wstring& path) {
    if (path.empty()) {
        return {};
    }
    std::wstring query = path;
    std::wstring_view prefix = AddLongPathPrefix(query);
    DWORD needed = GetLongPathNameW(query.c_str(), nullptr, 0);
    std::wstring result;
    // A path can grow between the two calls only if it is renamed meanwhile: try twice.
    for (int attempt = 0; attempt < 2 && needed != 0 && result.empty(); ++attempt) {
        std::vector<wchar_t> buffer(needed);
        DWORD length = GetLongPathNameW(query.c_str(), buffer.data(), needed);
        if (length == 0) {
            return {};
        }
        if (length < needed) {
            result.assign(buffer.data(), length);
        }
        needed = length;
    }
    if (result.starts_with(prefix)) {
        result.erase(0, prefix.size());
        if (prefix == kUncPrefix) {
            result.insert(0, L"\\\\");
        }
    }
    return result;
}

std::wstring ReplaceExtensionWithIni(const std::wstring& fileName) {
    std::size_t nameStart = fileName.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    std::size_t dot = fileName.find_last_of(L'.');
    std::wstring base = fileName;
    if (dot != std::wstring::npos && dot >= nameStart) {
        base.erase(dot);
    }
    return base + L".ini";
}

std::wstring SettingsFileForModule(const std::wstring& moduleFileName) {
    std::wstring longName = LongPathName(moduleFileName);
    if (longName.empty()) {
        return {};
    }
    return ReplaceExtensionWithIni(longName);
}

std::wstring SettingsFileOfThisModule() {
    // The module that holds this code: the screen saver itself, not a process that loaded it.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&SettingsFileOfThisModule), &module);
    return SettingsFileForModule(ModuleFileName(module));
}
