// The settings file's places and its whole-file writing.
#include "settings/SettingsStore.h"

#include "settings/SettingsPath.h"

#include <shlobj.h>

#include <utility>
#include <vector>

namespace {

std::wstring FolderOf(const std::wstring& file) {
    const std::size_t separator = file.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : file.substr(0, separator);
}

bool IsMissing(HRESULT hr) {
    return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

} // namespace

std::wstring UserSettingsFile() {
    PWSTR folder = nullptr;
    std::wstring file;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder)) && folder) {
        file = std::wstring(folder) + L"\\Vitrelle\\Vitrelle.ini";
    }
    CoTaskMemFree(folder);
    return file;
}

SettingsLocations SettingsLocationsOfThisModule() {
    return {SettingsFileOfThisModule(), UserSettingsFile()};
}

SettingsStore::SettingsStore(SettingsLocations locations, SettingsDisk& disk)
    : locations_(std::move(locations)), disk_(&disk) {}

std::wstring SettingsStore::FileToRead() const {
    if (!locations_.userFile.empty() && disk_->Exists(locations_.userFile)) {
        return locations_.userFile;
    }
    return locations_.programFile;
}

ProfileText SettingsStore::Read() const {
    const std::wstring file = FileToRead();
    std::string bytes;
    if (file.empty() || FAILED(disk_->Read(file, bytes))) {
        return {};
    }
    return ProfileText::FromBytes(bytes);
}

HRESULT SettingsStore::Write(const std::function<void(ProfileText&)>& edit) const {
    const std::wstring source = FileToRead();
    std::vector<std::wstring> targets;
    if (!locations_.userFile.empty() && source == locations_.userFile) {
        targets = {locations_.userFile};
    } else {
        targets = {locations_.programFile, locations_.userFile};
    }
    std::string bytes;
    HRESULT hr = source.empty() ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) : disk_->Read(source, bytes);
    if (FAILED(hr) && !IsMissing(hr)) {
        // A file that cannot be read whole cannot be rewritten without losing what it holds; it stays
        // as it is, and only a new file of the user's can take the settings.
        if (source == locations_.userFile) {
            return hr;
        }
        targets = {locations_.userFile};
        bytes.clear();
    }
    ProfileText text = ProfileText::FromBytes(bytes);
    edit(text);
    const std::string written = text.ToBytes();
    hr = HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    for (const std::wstring& target : targets) {
        if (target.empty()) {
            continue;
        }
        hr = WriteWhole(target, written, target == locations_.userFile);
        if (SUCCEEDED(hr)) {
            return S_OK;
        }
    }
    return hr;
}

HRESULT SettingsStore::WriteWhole(const std::wstring& file, const std::string& bytes, bool createFolders) const {
    if (createFolders) {
        if (HRESULT hr = disk_->CreateFolders(FolderOf(file)); FAILED(hr)) {
            return hr;
        }
    }
    // Beside the target, so that the last step is a rename within one folder.
    const std::wstring temporary = file + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    HRESULT hr = disk_->Write(temporary, bytes);
    if (SUCCEEDED(hr)) {
        hr = disk_->Replace(temporary, file);
    }
    if (FAILED(hr)) {
        disk_->Remove(temporary);
    }
    return hr;
}
