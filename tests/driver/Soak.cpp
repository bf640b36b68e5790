// The soak command of the test driver.
#include "driver/Soak.h"

#include "driver/ChildProcess.h"
#include "driver/DriverExitCodes.h"
#include "driver/Interact.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSampleMs = 10000;
constexpr DWORD kSettleMs = 60000;
// A storm settles for longer. Wine's Direct3D queues its commands in an 8 MB ring in the process heap,
// whose pages are touched for the first time over the storm's first 250 or so resizes: the working
// set climbs by some 4 MB until the ring has come round once, and then stays flat.
constexpr DWORD kStormSettleMs = 120000;
// How long a storm's sample waits after its resize. Under Wine a device reset frees the
// 64 MB buffer that all vertex data is sub-allocated from and zeroes a new one, which takes a few
// hundred milliseconds: a sample in that time sees wherever the zeroing has got to, up to 70 MB off.
constexpr DWORD kResizeSettleMs = 1000;
constexpr double kWorkingSetLimitMb = 2.0;
constexpr long kObjectLimit = 5;
constexpr DWORD kWindowTimeoutMs = 60000;
constexpr DWORD kEndTimeoutMs = 30000;

// Client centres of the dialog's three lists (the dialog lies at 20, 20; each list box is 120 by 20
// at x 120 of the dialog, in the rows at y 30, 90 and 150).
constexpr POINT kCombos[] = {{200, 60}, {200, 120}, {200, 180}};
// The client sizes a resize storm goes through.
constexpr SIZE kSizes[] = {{800, 600}, {640, 480}, {1024, 700}, {720, 540}};

struct Sample {
    double seconds;
    double workingSetMb;
    long handles;
    long gdiObjects;
    long userObjects;
};

// The handles a process holds, from the system's list of every open handle. (Under Wine,
// GetProcessHandleCount reports 0 for every process, and GetGuiResources 0 for every kind of object.)
long HandleCount(DWORD processId) {
    struct HandleEntry {
        ULONG processId;
        BYTE objectType;
        BYTE flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using QueryFunction = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    static const auto query = reinterpret_cast<QueryFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return -1;
    }
    std::vector<BYTE> buffer(1 << 20);
    LONG status = 0;
    ULONG length = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
               kInfoLengthMismatch &&
           buffer.size() < (1u << 28)) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return -1;
    }
    ULONG count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    const std::size_t offset = sizeof(void*); // the count, padded to the entries' alignment
    long held = 0;
    for (ULONG i = 0; i < count && offset + (i + 1) * sizeof(HandleEntry) <= buffer.size(); ++i) {
        HandleEntry entry{};
        std::memcpy(&entry, buffer.data() + offset + i * sizeof(HandleEntry), sizeof entry);
        held += entry.processId == processId;
    }
    return held;
}

Sample Take(HANDLE process, DWORD startTick) {
    Sample s{};
    s.seconds = (GetTickCount() - startTick) / 1000.0;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        s.workingSetMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
    }
    s.handles = HandleCount(GetProcessId(process));
    s.gdiObjects = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
    s.userObjects = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
    std::printf("%8.1f s  working set %8.2f MB  handles %5ld  GDI %5ld  USER %5ld\n", s.seconds, s.workingSetMb,
                s.handles, s.gdiObjects, s.userObjects);
    std::fflush(stdout);
    return s;
}

void Resize(HWND window, SIZE client) {
    RECT outer{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
}

// The largest distance of the samples from the first one counted; true when all stay within limits.
bool WithinLimits(const std::vector<Sample>& counted) {
    if (counted.empty()) {
        std::printf("soak: no sample was counted\n");
        return false;
    }
    const Sample& base = counted.front();
    double memory = 0.0;
    long handles = 0;
    long gdi = 0;
    long user = 0;
    for (const Sample& s : counted) {
        memory = std::max(memory, std::fabs(s.workingSetMb - base.workingSetMb));
        handles = std::max(handles, std::labs(s.handles - base.handles));
        gdi = std::max(gdi, std::labs(s.gdiObjects - base.gdiObjects));
        user = std::max(user, std::labs(s.userObjects - base.userObjects));
    }
    const Sample& last = counted.back();
    std::printf("soak: from %.1f s to %.1f s (%zu samples): working set %.2f -> %.2f MB (largest change %.2f MB), "
                "handles %ld -> %ld (%ld), GDI %ld -> %ld (%ld), USER %ld -> %ld (%ld)\n",
                base.seconds, last.seconds, counted.size(), base.workingSetMb, last.workingSetMb, memory,
                base.handles, last.handles, handles, base.gdiObjects, last.gdiObjects, gdi, base.userObjects,
                last.userObjects, user);
    return memory <= kWorkingSetLimitMb && handles <= kObjectLimit && gdi <= kObjectLimit && user <= kObjectLimit;
}

} // namespace

int Soak(int argc, wchar_t** argv) {
    if (argc < 3) {
        return kUsage;
    }
    const std::wstring phase = argv[0];
    const DWORD durationMs = static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) * 1000;
    const bool combos = phase == L"combos";
    const bool resizes = phase.rfind(L"resizes:", 0) == 0;
    const int resizeCount = resizes ? std::wcstol(phase.c_str() + 8, nullptr, 10) : 0;
    if (!combos && !resizes && phase != L"still") {
        return kUsage;
    }
    ChildProcess child;
    if (!child.Start(argv[2], std::vector<std::wstring>(argv + 3, argv + argc))) {
        return kFailed;
    }
    HWND window = nullptr;
    const DWORD start = GetTickCount();
    while (!(window = child.VisibleWindow(kDeviceWindowClass))) {
        if (child.Wait(100) || GetTickCount() - start > kWindowTimeoutMs) {
            return child.Ended() ? kEndedEarly : kNoWindow;
        }
    }
    std::vector<Sample> counted;
    DWORD nextSample = GetTickCount();
    auto sampleWhenDue = [&](bool counts, DWORD settleMs) {
        if (static_cast<LONG>(GetTickCount() - nextSample) >= 0) {
            child.WaitPumping(settleMs);
            const Sample s = Take(child.Handle(), start);
            if (counts) {
                counted.push_back(s);
            }
            nextSample += kSampleMs;
        }
    };
    if (resizes) {
        // Two minutes of resizes first; then the counted ones.
        int firstCounted = -1;
        for (int i = 0; (firstCounted < 0 || i < firstCounted + resizeCount) && !child.Ended(); ++i) {
            // The back buffers are as large as the window: samples compare the first size only.
            const bool firstSize = i % std::size(kSizes) == 0;
            if (firstCounted < 0 && firstSize && GetTickCount() - start >= kStormSettleMs) {
                firstCounted = i;
                nextSample = GetTickCount();
            }
            Resize(window, kSizes[i % std::size(kSizes)]);
            child.WaitPumping(100);
            if (firstSize) {
                sampleWhenDue(firstCounted >= 0, kResizeSettleMs);
            }
        }
    } else {
        for (int step = 0; GetTickCount() - start < durationMs && !child.Ended(); ++step) {
            if (combos) {
                const POINT combo = kCombos[step % std::size(kCombos)];
                ClickAt(window, combo.x, combo.y); // opens the list
                child.WaitPumping(700);
                ClickAt(window, combo.x, combo.y); // and closes it
            }
            child.WaitPumping(combos ? 800 : 1000);
            sampleWhenDue(GetTickCount() - start >= kSettleMs, 0);
        }
    }
    if (child.Ended()) {
        std::printf("soak: the program ended early with %d\n", child.ExitCode());
        return kEndedEarly;
    }
    const bool within = WithinLimits(counted);
    PressKeyOn(window, VK_ESCAPE);
    const int code = child.Finish(kEndTimeoutMs);
    return within ? code : kCheckFailed;
}
