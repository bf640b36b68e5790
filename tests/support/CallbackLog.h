// Records the device callbacks in the order they come, with the results the test wants them to give.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CallbackLog {
    std::vector<std::string> calls;
    HRESULT createdResult = S_OK;
    HRESULT resetResult = S_OK;
    void Install();
    std::string Joined() const;
};
