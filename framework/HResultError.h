// A failing HRESULT raised as an exception: thrown where a call fails, caught once where it is reported.
#pragma once

#include <windows.h>

#include <exception>

class HResultError : public std::exception {
public:
    explicit HResultError(HRESULT hr) : hr_(hr) {}
    HRESULT Code() const noexcept { return hr_; }
    const char* what() const noexcept override { return "HRESULT failure"; }

private:
    HRESULT hr_;
};

inline void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr)) {
        throw HResultError(hr);
    }
}
