// The base of the three run modes: runs the program from start to end and gives its exit code.
#pragma once

class CSaverBase {
public:
    CSaverBase() = default;
    CSaverBase(const CSaverBase&) = delete;
    CSaverBase& operator=(const CSaverBase&) = delete;
    virtual ~CSaverBase() = 0;

    // Runs the mode to its end; the result is the process exit code.
    virtual int Run();
};
