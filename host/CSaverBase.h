// The base of the three run modes: runs the program from start to end and gives its exit code.
#pragma once

#include "effect/CSaver.h"

#include <memory>

class CSaverBase {
public:
    // Creates the effect, which reads the settings file.
    CSaverBase();
    CSaverBase(const CSaverBase&) = delete;
    CSaverBase& operator=(const CSaverBase&) = delete;
    virtual ~CSaverBase() = 0;

    // Runs the mode to its end; the result is the process exit code.
    virtual int Run();

protected:
    CSaver& Effect() { return *effect_; }

private:
    std::unique_ptr<CSaver> effect_;
};
