// Where the settings file is kept and how it is written: beside the program where that folder can be
// written, else in the user's own application-data folder, and always whole or not at all.
#pragma once

#include "settings/ProfileText.h"
#include "settings/SettingsDisk.h"

#include <functional>
#include <string>

struct SettingsLocations {
    std::wstring programFile; // beside the program, named after it; empty when unknown
    std::wstring userFile;    // the user's own; empty when unknown
};

// %APPDATA%\Vitrelle\Vitrelle.ini; empty when the user has no application-data folder.
std::wstring UserSettingsFile();

// The two places for the program that holds this code.
SettingsLocations SettingsLocationsOfThisModule();

class SettingsStore {
public:
    explicit SettingsStore(SettingsLocations locations, SettingsDisk& disk = RealSettingsDisk());

    // The file that is read: the user's own whenever it exists, else the one beside the program.
    std::wstring FileToRead() const;
    // Its text; empty when it is missing or cannot be read.
    ProfileText Read() const;
    // Edits the text that Read gives and writes all of it: over the user's own file while it exists,
    // else beside the program, else into a new file of the user's (its folders created). Each attempt
    // writes a temporary file beside the target and then puts it in the target's place in one step,
    // so a failure leaves the old file as it was. S_OK, or the failure of the last attempt.
    HRESULT Write(const std::function<void(ProfileText&)>& edit) const;

private:
    HRESULT WriteWhole(const std::wstring& file, const std::string& bytes, bool createFolders) const;

    SettingsLocations locations_;
    SettingsDisk* disk_;
};
