// A failing HRESULT raised as an exception: thrown where a call fails, caught once where it is reported.
#pragma once

#include <windows.h>

struct HResultError {
    HRESULT hr;
};

inline void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr)) {
        throw HResultError{hr};
    }
}
