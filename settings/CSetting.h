// The settings interface that the effect, the run modes and the dialog share.
#pragma once

#include <windows.h>

class CSetting {
public:
    virtual ~CSetting() = default;
    // Reads every setting from the settings file; missing entries take their defaults.
    virtual int Load() = 0;
    // Puts every setting to its default, in memory only.
    virtual int SetDefaults() = 0;
    // Writes every setting to the settings file; a failure means nothing was written anywhere.
    virtual HRESULT Save() = 0;
};
