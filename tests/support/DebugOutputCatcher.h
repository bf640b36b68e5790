// Collects what the program writes to its debug output while this lives.
#pragma once

#include "framework/DebugOutput.h"

#include <string>

class DebugOutputCatcher {
public:
    DebugOutputCatcher() {
        Text().clear();
        FrameworkSetDebugOutput([](const wchar_t* text) { Text() += text; });
    }
    DebugOutputCatcher(const DebugOutputCatcher&) = delete;
    DebugOutputCatcher& operator=(const DebugOutputCatcher&) = delete;
    ~DebugOutputCatcher() { FrameworkSetDebugOutput(nullptr); }

    static std::wstring& Text() {
        static std::wstring text;
        return text;
    }
};
