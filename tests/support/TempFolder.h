// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::wstring& Path() const { return path_; }
    // Path of a file or folder inside this folder.
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Whole-file helpers for tests.
std::string ReadBytes(const std::wstring& file);
void WriteBytes(const std::wstring& file, const std::string& bytes);
bool FileExists(const std::wstring& file);
