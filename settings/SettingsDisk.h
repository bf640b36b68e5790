// The file operations the settings file needs, behind one interface so that a test can make the disk
// fail at any step.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

class SettingsDisk {
public:
    // A settings file larger than this is not read (a hand-edited file must not exhaust memory).
    static constexpr std::size_t MaxFileSize = 1 << 20;

    virtual ~SettingsDisk() = default;
    // The whole file; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) or ERROR_PATH_NOT_FOUND when it is
    // missing, ERROR_FILE_TOO_LARGE beyond MaxFileSize.
    virtual HRESULT Read(const std::wstring& file, std::string& bytes) = 0;
    virtual bool Exists(const std::wstring& file) = 0;
    // Creates (or empties) the file, writes the bytes and flushes them to the disk.
    virtual HRESULT Write(const std::wstring& file, std::string_view bytes) = 0;
    // Puts one file in the place of another in one step.
    virtual HRESULT Replace(const std::wstring& from, const std::wstring& to) = 0;
    virtual void Remove(const std::wstring& file) = 0;
    // Creates the folder and any missing folder above it.
    virtual HRESULT CreateFolders(const std::wstring& folder) = 0;
};

// The real file system.
class Win32SettingsDisk : public SettingsDisk {
public:
    HRESULT Read(const std::wstring& file, std::string& bytes) override;
    bool Exists(const std::wstring& file) override;
    HRESULT Write(const std::wstring& file, std::string_view bytes) override;
    HRESULT Replace(const std::wstring& from, const std::wstring& to) override;
    void Remove(const std::wstring& file) override;
    HRESULT CreateFolders(const std::wstring& folder) override;
};

// One shared real disk.
SettingsDisk& RealSettingsDisk();
