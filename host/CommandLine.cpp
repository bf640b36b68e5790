// Command-line dispatch: only the first two characters count.
#include "host/CommandLine.h"

#include <cwchar>

CommandLine ParseCommandLine(const wchar_t* tail) {
    CommandLine result;
    if (tail == nullptr || tail[0] != L'/') {
        return result;
    }
    switch (tail[1]) {
    case L'c':
    case L'C':
        result.parentIsForegroundWindow = true;
        break;
    case L'p':
    case L'P':
        result.mode = RunModeKind::Preview;
        result.parent = reinterpret_cast<HWND>(static_cast<LONG_PTR>(std::wcstol(tail + 2, nullptr, 10)));
        break;
    case L's':
    case L'S':
        result.mode = RunModeKind::Saver;
        break;
    default:
        break;
    }
    return result;
}
