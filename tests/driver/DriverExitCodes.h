// The test driver's own exit codes, the same for every command. Below 200 a code is the program's own.
#pragma once

constexpr int kUsage = 200;    // the command or a step was not understood
constexpr int kFailed = 201;   // the driver could not do its part (start the program, make a window or file)
constexpr int kTimedOut = 202; // the program did not end in time, or a wait ran out; the program is ended
constexpr int kNoWindow = 203; // the program showed no window in time
constexpr int kEndedEarly = 204;   // the program ended while it should have kept running
constexpr int kCheckFailed = 205;  // a check step found something else
constexpr int kStillRunning = 206; // the steps ended and the program was still running
