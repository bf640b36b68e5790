// Where the settings file lies: next to the program's module, named after its long file name.
#pragma once

#include <windows.h>

#include <string>

// Full path of the given module, however long it is; empty on failure.
std::wstring ModuleFileName(HMODULE module);

// The long form of an existing path (every 8.3 component replaced); empty on failure.
std::wstring LongPathName(const std::wstring& path);

// The file name with its last extension (if any) replaced by ".ini".
std::wstring ReplaceExtensionWithIni(const std::wstring& fileName);

// The settings file of a module file: its long form with the extension ".ini"; empty when the
// long form cannot be built, so that a different, truncated file is never used.
std::wstring SettingsFileForModule(const std::wstring& moduleFileName);

// The settings file of the module that holds this code.
std::wstring SettingsFileOfThisModule();
