// The program's work behind its process entry: pick a run mode, run it, return the exit code.
#pragma once

// Runs the mode that the command-line tail asks for and returns the process exit code.
int RunEntry(const wchar_t* commandLineTail);

// Name of the mutex that keeps a second running saver out.
inline constexpr wchar_t kSingleInstanceMutexName[] = L"DORA";
