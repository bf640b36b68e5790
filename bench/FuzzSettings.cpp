// Fuzzes the settings: random and mutated settings files through the record's Load, ten simulation
// frames, the dialog and Save (see tests/support/SettingsFuzzer.h). Prints the cases per second and the
// memory used; exits with 1 on a finding (a crash ends the program with its own code).
//   FuzzSettings [CASES [SEED]]    default: 100000 cases, seed 1
#include "support/SettingsFuzzer.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

// Memory may grow while the first cases warm up the allocator; after that it must stay put.
constexpr int kWarmUpCases = 2000;
constexpr double kLargestGrowthMb = 32.0;

double WorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const long cases = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000;
    const unsigned long long seed = argc > 2 ? std::wcstoull(argv[2], nullptr, 10) : 1;
    SettingsFuzzer fuzzer(seed);
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    double baselineMb = WorkingSetMb();
    double largestMb = baselineMb;
    for (long i = 0; i < cases; ++i) {
        const std::string bytes = fuzzer.NextFile();
        std::string finding;
        try {
            finding = CheckSettingsFile(bytes);
        } catch (const std::exception& error) {
            finding = std::string("exception: ") + error.what();
        }
        if (!finding.empty()) {
            std::printf("FuzzSettings: case %ld (seed %llu): %s\nfile (first 300 bytes): %s\n", i, seed,
                        finding.c_str(), bytes.substr(0, 300).c_str());
            return 1;
        }
        if (i == kWarmUpCases) {
            baselineMb = WorkingSetMb();
            largestMb = baselineMb;
        }
        if (i > kWarmUpCases && i % 1000 == 0) {
            largestMb = std::max(largestMb, WorkingSetMb());
            if (largestMb - baselineMb > kLargestGrowthMb) {
                std::printf("FuzzSettings: memory grew from %.1f MB to %.1f MB by case %ld\n", baselineMb,
                            largestMb, i);
                return 1;
            }
        }
    }
    LARGE_INTEGER end{};
    QueryPerformanceCounter(&end);
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("FuzzSettings: %ld cases (seed %llu) in %.1f s: %.0f cases per second, no finding; working set "
                "%.1f MB after warm-up, at most %.1f MB\n",
                cases, seed, seconds, static_cast<double>(cases) / seconds, baselineMb, largestMb);
    return 0;
}
