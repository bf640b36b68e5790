// Dispatches the command line to one run mode; keeps a second running saver out.
#include "host/Entry.h"

#include "framework/Framework.h"
#include "framework/HResultError.h"
#include "framework/UniqueHandle.h"
#include "host/CPreviewMain.h"
#include "host/CSaverMain.h"
#include "host/CSettingMain.h"
#include "host/CommandLine.h"

#include <windows.h>

#include <exception>

namespace {

int RunSaver() {
    UniqueHandle mutex(CreateMutexW(nullptr, TRUE, kSingleInstanceMutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        return 1;
    }
    // The mutex is held for the whole run and goes only when its handle is closed.
    CSaverMain saver;
    return saver.Run();
}

int Dispatch(const CommandLine& commandLine) {
    switch (commandLine.mode) {
    case RunModeKind::Saver:
        return RunSaver();
    case RunModeKind::Preview: {
        CPreviewMain preview(commandLine.parent);
        return preview.Run();
    }
    case RunModeKind::Settings:
        break;
    }
    CSettingMain settings(commandLine.parentIsForegroundWindow ? GetForegroundWindow() : nullptr);
    return settings.Run();
}

} // namespace

int RunEntry(const wchar_t* commandLineTail) {
    try {
        return Dispatch(ParseCommandLine(commandLineTail));
    } catch (const HResultError& error) {
        // Run reports its own failures; this one came before it, while a run mode was being made.
        FrameworkDisplayErrorMessage(error.Code());
        return FrameworkGetExitCode();
    } catch (const std::exception&) {
        OutputDebugStringW(L"ERROR:unexpected failure\r\n");
        return 1;
    }
}
