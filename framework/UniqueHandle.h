// Owning wrappers for Win32 handles, each naming its exact release call.
#pragma once

#include <windows.h>

#include <utility>

// Owns one handle of a kind described by Traits (its invalid value and its release call).
template <typename Traits> class UniqueHandleOf {
public:
    using Handle = typename Traits::Handle;

    UniqueHandleOf() = default;
    explicit UniqueHandleOf(Handle handle) : handle_(handle) {}
    UniqueHandleOf(const UniqueHandleOf&) = delete;
    UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;
    UniqueHandleOf(UniqueHandleOf&& other) noexcept : handle_(other.release()) {}
    UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandleOf() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return !(handle_ == Traits::Invalid()); }

    // Releases the handle held so far and takes the new one.
    void reset(Handle handle = Traits::Invalid()) {
        Handle old = std::exchange(handle_, handle);
        if (!(old == Traits::Invalid())) {
            Traits::Close(old);
        }
    }

    // Gives the handle up without releasing it.
    [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::Invalid()); }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { CloseHandle(h); }
};
using UniqueHandle = UniqueHandleOf<KernelHandleTraits>;

struct HookTraits {
    using Handle = HHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { UnhookWindowsHookEx(h); }
};
using UniqueHook = UniqueHandleOf<HookTraits>;

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};
using UniqueModule = UniqueHandleOf<ModuleTraits>;

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyIcon(h); }
};
using UniqueIcon = UniqueHandleOf<IconTraits>;

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};
using UniqueMenu = UniqueHandleOf<MenuTraits>;

struct BitmapTraits {
    using Handle = HBITMAP;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};
using UniqueBitmap = UniqueHandleOf<BitmapTraits>;

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyWindow(h); }
};
using UniqueWindow = UniqueHandleOf<WindowTraits>;

// A device context taken with GetDC: it goes back with ReleaseDC for the same window.
struct WindowDC {
    HWND window = nullptr;
    HDC dc = nullptr;
    bool operator==(const WindowDC& other) const { return dc == other.dc; }
};
struct WindowDCTraits {
    using Handle = WindowDC;
    static Handle Invalid() { return {}; }
    static void Close(Handle h) { ReleaseDC(h.window, h.dc); }
};
using UniqueWindowDC = UniqueHandleOf<WindowDCTraits>;

// The device context of a window's client area (null: the screen), or none when GetDC fails.
inline UniqueWindowDC AcquireWindowDC(HWND window) {
    return UniqueWindowDC(WindowDC{window, GetDC(window)});
}

// A window class this program registered, unregistered with the instance it was registered for.
struct RegisteredWindowClass {
    ATOM atom = 0;
    HINSTANCE instance = nullptr;
    bool operator==(const RegisteredWindowClass& other) const { return atom == other.atom; }
};
struct WindowClassTraits {
    using Handle = RegisteredWindowClass;
    static Handle Invalid() { return {}; }
    static void Close(Handle h) { UnregisterClassW(MAKEINTATOM(h.atom), h.instance); }
};
using UniqueWindowClass = UniqueHandleOf<WindowClassTraits>;
