// A failing HRESULT raised as an exception: thrown where a call fails, caught once where it is reported.
#pragma once

#include <windows.h>

#include <exception>
#include <new>
#include <type_traits>

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

// The boundary where a raised failure turns back into an HRESULT: the call's own result (S_OK for a
// call without one), or the code of what it threw (E_FAIL for anything but an HResultError or an
// allocation failure). Nothing escapes.
template <typename Call> HRESULT ResultOf(Call&& call) noexcept {
    try {
        if constexpr (std::is_void_v<decltype(call())>) {
            call();
            return S_OK;
        } else {
            return call();
        }
    } catch (const HResultError& error) {
        return error.Code();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
