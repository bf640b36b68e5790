// Test driver: a Windows program that end-to-end tests use to start and hold the real program.
//   VitrelleDriver hold-mutex NAME PROGRAM [ARGS...]  run PROGRAM while this process holds mutex NAME
//   VitrelleDriver run-short PROGRAM [ARGS...]        run PROGRAM through its short 8.3 path
// Both return PROGRAM's exit code; 200 and above are the driver's own failures.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kUsage = 200;
constexpr int kFailed = 201;

std::wstring Quote(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring quoted = L"\"";
    for (wchar_t c : arg) {
        if (c == L'"') {
            quoted += L'\\';
        }
        quoted += c;
    }
    return quoted + L"\"";
}

int Run(const std::wstring& program, int argc, wchar_t** argv) {
    std::wstring commandLine = Quote(program);
    for (int i = 0; i < argc; ++i) {
        commandLine += L" " + Quote(argv[i]);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fwprintf(stderr, L"VitrelleDriver: cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
        return kFailed;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = kFailed;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 4 && std::wstring(argv[1]) == L"hold-mutex") {
        HANDLE mutex = CreateMutexW(nullptr, TRUE, argv[2]);
        if (mutex == nullptr) {
            return kFailed;
        }
        int code = Run(argv[3], argc - 4, argv + 4);
        CloseHandle(mutex);
        return code;
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"run-short") {
        wchar_t shortName[MAX_PATH];
        DWORD length = GetShortPathNameW(argv[2], shortName, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return kFailed;
        }
        std::fwprintf(stderr, L"VitrelleDriver: starting %ls\n", shortName);
        return Run(shortName, argc - 3, argv + 3);
    }
    std::fwprintf(stderr, L"usage: VitrelleDriver hold-mutex NAME PROGRAM [ARGS...] | run-short PROGRAM [ARGS...]\n");
    return kUsage;
}
