// Owning handle wrappers: release once, on reset, move and destruction; each kind with its own
// release call, seen on real handles.
#include "framework/Framework.h"
#include "framework/UniqueHandle.h"

#include <doctest/doctest.h>

namespace {

int closed = 0;

struct CountingTraits {
    using Handle = int;
    static Handle Invalid() { return 0; }
    static void Close(Handle) { ++closed; }
};

using Counted = UniqueHandleOf<CountingTraits>;

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}

} // namespace

TEST_SUITE("framework") {

TEST_CASE("UniqueHandle: closes once, on reset and at the end of its scope") {
    closed = 0;
    {
        Counted a(5);
        CHECK(static_cast<bool>(a));
        a.reset(6);
        CHECK(closed == 1);
        a.reset();
        CHECK(closed == 2);
        a.reset();
        CHECK(closed == 2);
        CHECK_FALSE(static_cast<bool>(a));
        a.reset(7);
    }
    CHECK(closed == 3);
}

TEST_CASE("UniqueHandle: moving hands the handle over without closing it") {
    closed = 0;
    Counted a(5);
    Counted b(std::move(a));
    CHECK(a.get() == 0);
    CHECK(b.get() == 5);
    Counted c(9);
    c = std::move(b);
    CHECK(closed == 1); // c's old handle 9
    CHECK(c.get() == 5);
    int raw = c.release();
    CHECK(raw == 5);
    CHECK(closed == 1);
}

TEST_CASE("UniqueHandle: each kind of handle goes with its own release call") {
    SUBCASE("kernel object") {
        HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        REQUIRE(event != nullptr);
        {
            UniqueHandle owned(event);
            CHECK(IsOpen(event));
        }
        CHECK_FALSE(IsOpen(event));
    }
    SUBCASE("window, and its menu") {
        HMENU menu = CreateMenu();
        UniqueWindow window(CreateWindowExW(0, L"STATIC", L"owned", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                            nullptr, menu, GetModuleHandleW(nullptr), nullptr));
        HWND raw = window.get();
        REQUIRE(IsWindow(raw));
        window.reset();
        CHECK_FALSE(IsWindow(raw));
        CHECK_FALSE(IsMenu(menu)); // a window takes its menu with it

        UniqueMenu owned(CreateMenu());
        HMENU rawMenu = owned.get();
        REQUIRE(IsMenu(rawMenu));
        owned.reset();
        CHECK_FALSE(IsMenu(rawMenu));
    }
    SUBCASE("bitmap and icon") {
        UniqueBitmap bitmap(CreateBitmap(8, 8, 1, 32, nullptr));
        HBITMAP rawBitmap = bitmap.get();
        REQUIRE(GetObjectType(rawBitmap) == OBJ_BITMAP);
        bitmap.reset();
        CHECK(GetObjectType(rawBitmap) == 0);

        UniqueIcon icon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
        HICON rawIcon = icon.get();
        ICONINFO info{};
        REQUIRE(GetIconInfo(rawIcon, &info));
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        icon.reset();
        CHECK_FALSE(DestroyIcon(rawIcon)); // gone already
    }
    SUBCASE("window DC, released for its own window") {
        UniqueWindow window(CreateWindowExW(0, L"STATIC", L"painted", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        WindowDC raw{};
        {
            const UniqueWindowDC dc = AcquireWindowDC(window.get());
            raw = dc.get();
            REQUIRE(raw.dc != nullptr);
            CHECK(raw.window == window.get());
        }
        // A common DC that went back to the cache cannot be released a second time.
        CHECK(ReleaseDC(raw.window, raw.dc) == 0);
    }
    SUBCASE("hook") {
        UniqueHook hook(SetWindowsHookExW(
            WH_CBT, [](int code, WPARAM w, LPARAM l) { return CallNextHookEx(nullptr, code, w, l); }, nullptr,
            GetCurrentThreadId()));
        HHOOK raw = hook.get();
        REQUIRE(raw != nullptr);
        hook.reset();
        CHECK_FALSE(UnhookWindowsHookEx(raw));
    }
    SUBCASE("module") {
        // A library nothing else in the test program loads.
        constexpr wchar_t kLibrary[] = L"msimg32.dll";
        REQUIRE(GetModuleHandleW(kLibrary) == nullptr);
        {
            UniqueModule module(LoadLibraryW(kLibrary));
            REQUIRE(module);
            CHECK(GetModuleHandleW(kLibrary) == module.get());
        }
        CHECK(GetModuleHandleW(kLibrary) == nullptr);
    }
}

TEST_CASE("FrameworkRegisterWindowClass: the class lives as long as its handle; a second one is left to "
          "the first") {
    constexpr wchar_t kName[] = L"VitrelleHandleTestClass";
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW found{};
    {
        UniqueWindowClass first = FrameworkRegisterWindowClass(kName, DefWindowProcW, instance, nullptr, nullptr);
        CHECK(first);
        CHECK(GetClassInfoW(instance, kName, &found));
        CHECK(found.style == CS_DBLCLKS);
        {
            UniqueWindowClass second =
                FrameworkRegisterWindowClass(kName, DefWindowProcW, instance, nullptr, nullptr);
            CHECK_FALSE(second);
        }
        CHECK(GetClassInfoW(instance, kName, &found));
    }
    CHECK_FALSE(GetClassInfoW(instance, kName, &found));
}
}
